// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's preview: its place below the panes, the toolbar button
// and menu item that show and hide it, and its links to the result pane
// (the caret highlights a move, a click on a move moves the caret, edits
// are read again after a short pause).

#include <QAction>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPainter>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>
#include <string_view>

#include "EditorPane.h"
#include "TMainform.h"
#include "PreviewPanel.h"
#include "app/dialogs/TRohteil.h"
#include "app/widgets/TXPSpeedButton.h"
#include "conversion/Conversion.h"
#include "settings/Settings.h"

namespace torvane {
namespace {

// A cylinder with a contour on it, 16 x 16.
QPixmap PreviewGlyph() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(QColor(0, 0, 96), 1));
  QLinearGradient body(0, 3, 0, 13);
  body.setColorAt(0, QColor(235, 240, 248));
  body.setColorAt(1, QColor(150, 165, 190));
  painter.setBrush(body);
  painter.drawRect(QRectF(3.5, 3.5, 10, 9));
  painter.drawEllipse(QRectF(1.5, 3.5, 4, 9));
  painter.setPen(QPen(QColor(200, 0, 200), 1.5));
  painter.drawPolyline(QPolygonF({QPointF(6, 10), QPointF(8, 6), QPointF(10, 9), QPointF(13, 5)}));
  return pixmap;
}

// Re-reads the result pane after it has rested for a moment, and keeps the
// caret and the highlighted move together.
class PreviewLink : public QObject {
 public:
  PreviewLink(TMainform& form, Settings& settings, Conversion& conversion)
      : QObject(&form), form_(form), settings_(settings), conversion_(conversion) {
    timer_.setSingleShot(true);
    timer_.setInterval(300);
    connect(&timer_, &QTimer::timeout, this, [this] { Settled(); });
  }

  void TextChanged() {
    stale_ = true;
    if (form_.Vorschau->isVisible()) timer_.start();
  }

  // After a conversion the new program is shown at once, fitted anew.
  void Converted() {
    newProgram_ = true;
    if (form_.Vorschau->isVisible()) Read();
  }

  void Shown() {
    if (stale_) Settled();
  }

  // A change of styling (the pane colours what it scrolls into view) looks
  // like a change of text to the pane's notification: a fingerprint of the
  // text tells the two apart before a program of a million lines is read
  // again.
  void Settled() {
    const std::size_t fingerprint = Fingerprint();
    if (fingerprint != fingerprint_ || newProgram_) Read(fingerprint);
  }

  void Read() { Read(Fingerprint()); }

  void Read(std::size_t fingerprint) {
    timer_.stop();
    stale_ = false;
    fingerprint_ = fingerprint;
    // The settings and the diameter of the last conversion wrote the pane;
    // before the first one, those that the next conversion would use.
    long double diameter = conversion_.Diameter();
    ConversionSettings settings = conversion_.Settings();
    if (diameter == 0) {
      settings = settings_.Published();
      diameter = form_.Rohteil != nullptr ? form_.Rohteil->Diameter() : 0;
    }
    if (diameter <= 0) {
      form_.Vorschau->ShowNothing(QStringLiteral("Kein Zylinderdurchmesser: erst konvertieren."));
      return;
    }
    const EditorPane& ziel = *form_.Ziel;
    form_.Vorschau->ShowProgram([&ziel](const LineTaker& take) { ziel.ForEachLine(take); },
                                settings, diameter, !newProgram_);
    newProgram_ = false;
    int line = 0;
    int index = 0;
    form_.Ziel->getCursorPosition(&line, &index);
    form_.Vorschau->SetCaretLine(static_cast<std::size_t>(line) + 1);
  }

 private:
  TMainform& form_;
  Settings& settings_;
  Conversion& conversion_;
  std::size_t Fingerprint() const {
    return std::hash<std::string_view>{}(form_.Ziel->DocumentText());
  }

  QTimer timer_;
  std::size_t fingerprint_ = 0;
  bool stale_ = true;
  bool newProgram_ = true;
};

}  // namespace

void TMainform::BuildPreview() {
  Vorschau = new PreviewPanel(this);
  Vorschau->hide();
  // Panes above, preview below, the border between them draggable.
  auto* splitter = new QSplitter(Qt::Vertical, this);
  splitter->setObjectName("Splitter_Vorschau");
  splitter->setHandleWidth(4);
  splitter->setChildrenCollapsible(false);
  centralWidget()->layout()->replaceWidget(Panel_Haupt, splitter);
  splitter->addWidget(Panel_Haupt);
  splitter->addWidget(Vorschau);
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 1);

  Button_Vorschau = new TXPSpeedButton(Panel2);
  Button_Vorschau->SetCaption(QStringLiteral("&Vorschau"));
  Button_Vorschau->SetGlyph(PreviewGlyph());
  Button_Vorschau->SetMargin(5);
  Button_Vorschau->SetRadius(2);
  Button_Vorschau->SetFlat(true);
  // Dressed like its neighbours; it stays down while the preview is shown.
  Button_Vorschau->SetBrushNormal(Button_Einstellungen->BrushNormal());
  Button_Vorschau->SetPenNormal(Button_Einstellungen->PenNormal());
  Button_Vorschau->SetBrushActive(Button_Einstellungen->BrushActive());
  Button_Vorschau->SetPenActive(Button_Einstellungen->PenActive());
  Button_Vorschau->SetBrushDown(Button_Einstellungen->BrushDown());
  Button_Vorschau->SetPenDown(Button_Einstellungen->PenDown());
  Button_Vorschau->setCursor(Qt::PointingHandCursor);
  Button_Vorschau->setFixedSize(113, 30);
  Button_Vorschau->SetGroupIndex(13);
  Button_Vorschau->SetAllowAllUp(true);
  if (auto* toolbar = qobject_cast<QHBoxLayout*>(Panel2->layout()))
    toolbar->insertWidget(toolbar->indexOf(Button_Einstellungen) + 1, Button_Vorschau);

  Vorschau1 = new QAction(QStringLiteral("&Vorschau"), this);
  Vorschau1->setCheckable(true);
  menuBar()->insertAction(Info1, Vorschau1);

  auto* link = new PreviewLink(*this, settings_, conversion_);
  auto show = [this, splitter, link](bool visible) {
    if (visible == Vorschau->isVisible()) return;
    Vorschau->setVisible(visible);
    Vorschau1->setChecked(visible);
    Button_Vorschau->SetDown(visible);
    if (!visible) return;
    const int height = splitter->height();
    splitter->setSizes({height * 11 / 20, height - height * 11 / 20});
    link->Shown();
  };
  connect(Vorschau1, &QAction::toggled, this, show);
  connect(Button_Vorschau, &TXPSpeedButton::OnClick, this,
          [this, show] { show(!Vorschau->isVisible()); });
  // The pane asks its editor for no notification per insert (they cost a
  // million-line program dearly); the content flag of its screen updates
  // says the text may have changed.
  connect(Ziel, &QsciScintillaBase::SCN_UPDATEUI, link, [link](int updated) {
    if (updated & QsciScintillaBase::SC_UPDATE_CONTENT) link->TextChanged();
  });
  connect(XPSpeedButton3, &TXPSpeedButton::OnClick, link, [link] { link->Converted(); });
  connect(HPGLerzeugen1, &QAction::triggered, link, [link] { link->Converted(); });
  connect(Ziel, &QsciScintilla::cursorPositionChanged, Vorschau,
          [this](int line, int) { Vorschau->SetCaretLine(static_cast<std::size_t>(line) + 1); });
  connect(Vorschau, &PreviewPanel::LineClicked, this, [this](std::size_t line) {
    // The whole line selected: seen at once in MANTEL, which keeps no focus
    // while the user works in the picture.
    const int index = static_cast<int>(line) - 1;
    Ziel->setSelection(index, 0, index, static_cast<int>(Ziel->LineAt(index).size()));
    Ziel->ensureLineVisible(index);
  });
}

}  // namespace torvane
