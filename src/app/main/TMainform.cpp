// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMainform.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "EditorPane.h"
#include "MainGlyphs.h"
#include "WarningList.h"
#include "app/dialogs/Pictures.h"
#include "app/widgets/ErrorReport.h"
#include "app/widgets/Glyphs.h"
#include "app/widgets/TXPSpeedButton.h"
#include "highlighter/NCSyn.h"
#include "MainWindowRules.h"
#include "settings/Settings.h"

namespace torvane {
namespace {

// The toolbar buttons' colours: silver at rest, light blue under the mouse
// and while pressed (the program's colour value 16769217).
const QColor kButtonFace(192, 192, 192);
const QColor kButtonHot(193, 224, 255);

QFont DialogFont() {
  QFont font("MS Sans Serif");
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  return font;
}

TXPSpeedButton* ToolbarButton(QWidget* parent, const QString& caption, const QPixmap& glyph) {
  auto* button = new TXPSpeedButton(parent);
  button->SetCaption(caption);
  button->SetGlyph(glyph);
  button->SetMargin(5);
  button->SetRadius(2);
  button->SetFlat(true);
  button->SetBrushNormal(kButtonFace);
  button->SetPenNormal(QPen(QColor(128, 128, 128)));
  button->SetBrushActive(kButtonHot);
  button->SetPenActive(QPen(QColor(49, 106, 197)));
  button->SetBrushDown(kButtonHot);
  button->SetPenDown(QPen(QColor(49, 106, 197)));
  button->setCursor(Qt::PointingHandCursor);
  button->setFixedSize(113, 30);
  return button;
}

// The toolbar's buttons share one width, and a button whose caption needs
// more room in the face at hand gets it ("Einstellungen" ran out of room in
// faces a little wider than the one the toolbar was drawn for).
void FitToolbarButtons(QWidget* toolbar) {
  for (TXPSpeedButton* button :
       toolbar->findChildren<TXPSpeedButton*>(QString(), Qt::FindDirectChildrenOnly))
    button->setFixedSize(std::max(113, button->sizeHint().width()), 30);
}

// A pane under its 24-pixel header.
QWidget* PaneWithHeader(QWidget* parent, const QString& title, QLabel*& label,
                        EditorPane*& pane) {
  auto* panel = new QWidget(parent);
  panel->setMinimumWidth(100);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* header = new QWidget(panel);
  header->setFixedHeight(24);
  header->setAutoFillBackground(true);
  QPalette palette = header->palette();
  palette.setColor(QPalette::Window, QColor(0, 0, 128));
  palette.setColor(QPalette::WindowText, Qt::white);
  header->setPalette(palette);
  label = new QLabel(title, header);
  QFont bold = DialogFont();
  bold.setBold(true);
  label->setFont(bold);
  label->move(8, 6);
  pane = new EditorPane(panel);
  layout->addWidget(header);
  layout->addWidget(pane, 1);
  return panel;
}

}  // namespace

TMainform::TMainform(Settings& settings, Conversion& conversion, QWidget* parent)
    : QMainWindow(parent), settings_(settings), conversion_(conversion) {
  setObjectName("Mainform");
  setWindowTitle("Torvane 1.0");
  setFont(DialogFont());
  resize(650, 510);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  setCentralWidget(central);

  BuildToolbar();
  BuildPanes();
  layout->addWidget(Panel2);
  layout->addWidget(Panel_Haupt, 1);

  StatusBar = new QStatusBar(this);
  StatusBar->setFixedHeight(19);
  StatusBar->setSizeGripEnabled(false);
  // A label rather than a status message: menus' hover texts would wipe
  // a message, and the status text is the program's only report.
  statusText_ = new QLabel(StatusBar);
  StatusBar->addWidget(statusText_, 1);
  BAbbrechen = new TXPSpeedButton(StatusBar);
  BAbbrechen->SetCaption(QStringLiteral("Abbrechen"));
  BAbbrechen->SetGlyph(CrossGlyph());
  BAbbrechen->SetBrushNormal(kButtonFace);
  BAbbrechen->SetBrushActive(kButtonHot);
  BAbbrechen->setCursor(Qt::PointingHandCursor);
  BAbbrechen->setFixedSize(100, 17);
  BAbbrechen->setToolTip(QStringLiteral("Konvertierung abbrechen (Esc)"));
  BAbbrechen->hide();
  StatusBar->addPermanentWidget(BAbbrechen);
  connect(BAbbrechen, &TXPSpeedButton::OnClick, this, &TMainform::CancelConversion);
  setStatusBar(StatusBar);

  BuildMenu();
  BuildPreview();
  FitToolbarButtons(Panel2);
  Panel2->installEventFilter(this);  // a new face fits the buttons anew
  // Never narrower than the toolbar: below its width the buttons would be
  // pushed over each other. So only the height is set here; the minimum
  // width is the layout's, which follows the buttons' widths.
  setMinimumHeight(250);
}

TMainform::~TMainform() {
  // The panes must let go of the highlighters before those are destroyed.
  Quelle->SetHighlighter(nullptr);
  Ziel->SetHighlighter(nullptr);
}

void TMainform::BuildToolbar() {
  Panel2 = new QWidget(this);
  Panel2->setFixedHeight(41);
  auto* layout = new QHBoxLayout(Panel2);
  layout->setContentsMargins(8, 4, 0, 7);
  layout->setSpacing(7);
  XPSpeedButton1 = ToolbarButton(Panel2, QStringLiteral("&NC öffnen"), FolderGlyph());
  XPSpeedButton3 = ToolbarButton(Panel2, QStringLiteral("&MANTEL"), ConversionGlyph());
  Button_Pruefen = ToolbarButton(Panel2, QStringLiteral("&Prüfen"), CheckGlyph());
  Button_Pruefen->setToolTip(
      QStringLiteral("MANTEL abfahren wie die Maschine und mit der Bahn der Quelle vergleichen"));
  XPSpeedButton2 = ToolbarButton(Panel2, QStringLiteral("N&C speichern"), SaveGlyph());
  Button_Einstellungen =
      ToolbarButton(Panel2, QStringLiteral("&Einstellungen"), SettingsGlyph());
  for (auto* button :
       {XPSpeedButton1, XPSpeedButton3, Button_Pruefen, XPSpeedButton2, Button_Einstellungen})
    layout->addWidget(button);
  layout->addStretch(1);

  Panel1 = new QWidget(Panel2);
  Panel1->setFixedSize(48, 41);
  Image1 = new QLabel(Panel1);
  Image1->setPixmap(InfoIcon());
  Image1->setGeometry(8, 2, 32, 32);
  Image1->setCursor(Qt::PointingHandCursor);
  Image1->setToolTip("Info");
  Image1->installEventFilter(this);
  layout->addWidget(Panel1, 0, Qt::AlignTop);

  connect(XPSpeedButton1, &TXPSpeedButton::OnClick, this, &TMainform::Button_LadenClick);
  connect(XPSpeedButton3, &TXPSpeedButton::OnClick, this, &TMainform::WandelnClick);
  connect(Button_Pruefen, &TXPSpeedButton::OnClick, this, &TMainform::PruefenClick);
  connect(XPSpeedButton2, &TXPSpeedButton::OnClick, this, &TMainform::PLT_SpeichernClick);
  connect(Button_Einstellungen, &TXPSpeedButton::OnClick, this,
          &TMainform::Button_EinstellungenClick);
}

void TMainform::BuildPanes() {
  Panel_Haupt = new QSplitter(Qt::Horizontal, this);
  Panel_Haupt->setObjectName("Panel_Haupt");
  Panel_Haupt->setHandleWidth(3);
  Panel_Haupt->setChildrenCollapsible(false);
  Panel_Links = PaneWithHeader(Panel_Haupt, "XYZ (DIN/ISO)", Label1, Quelle);
  Panel_Rechts = PaneWithHeader(Panel_Haupt, "MANTEL", Label2, Ziel);
  Quelle->setObjectName("Quelle");
  Ziel->setObjectName("Ziel");
  Panel_Haupt->addWidget(Panel_Links);
  Panel_Haupt->addWidget(Panel_Rechts);
  Warnungen = new WarningList(Panel_Rechts);
  Panel_Rechts->layout()->addWidget(Warnungen);
  connect(Warnungen, &WarningList::LineChosen, this, &TMainform::ShowSourceLine);
}

void TMainform::BuildMenu() {
  QMenuBar* bar = menuBar();
  Datei1 = bar->addMenu(QStringLiteral("&Datei"));
  NCDateiffnen1 = Datei1->addAction(QStringLiteral("&NC-Datei öffnen ..."));
  AlsNCDateispeichern1 = Datei1->addAction(QStringLiteral("NC-Daten speichern ..."));
  HPGLerzeugen1 = bar->addAction(QStringLiteral("&MANTEL erzeugen"));
  Pruefen1 = bar->addAction(QStringLiteral("&Prüfen"));
  Einstellungen1 = bar->addAction(QStringLiteral("&Einstellungen"));
  Info1 = bar->addAction(QStringLiteral("&Info"));
  Beenden1 = bar->addAction(QStringLiteral("&Beenden"));
  connect(NCDateiffnen1, &QAction::triggered, this, &TMainform::Button_LadenClick);
  connect(AlsNCDateispeichern1, &QAction::triggered, this,
          &TMainform::AlsNCDateispeichern1Click);
  connect(HPGLerzeugen1, &QAction::triggered, this, &TMainform::WandelnClick);
  connect(Pruefen1, &QAction::triggered, this, &TMainform::PruefenClick);
  connect(Einstellungen1, &QAction::triggered, this, &TMainform::Button_EinstellungenClick);
  connect(Info1, &QAction::triggered, this, &TMainform::Info1Click);
  connect(Beenden1, &QAction::triggered, this, &TMainform::Beenden1Click);
}

QString TMainform::StatusText() const { return statusText_->text(); }

void TMainform::SetStatus(const QString& text, bool alarm) {
  QPalette palette = statusText_->palette();
  palette.setColor(QPalette::WindowText, alarm ? QColor(192, 0, 0)
                                               : StatusBar->palette().color(QPalette::WindowText));
  statusText_->setPalette(palette);
  statusText_->setText(text);
}

void TMainform::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  // The splash comes with the window rather than a moment after it.
  if (ShowSplash && ReadCommandLine(arguments_).kind == CommandLineRequest::Kind::Splash)
    ShowSplash();
  // After the window is on screen, so that messages stand over it.
  QTimer::singleShot(0, this, &TMainform::FormShow);
}

void TMainform::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void TMainform::FormResize() {
  const int width = Panel_Haupt->contentsRect().width();
  const int left = LeftPaneWidth(width);
  Panel_Haupt->setSizes({left, width - left - Panel_Haupt->handleWidth()});
}

bool TMainform::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Panel2 &&
      (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange))
    FitToolbarButtons(Panel2);
  if (watched == Image1 && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    Info1Click();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainform::FormShow() {
  Guarded([this] {
    settings_.LoadSettings();
    // The conversion takes its settings, number format included, from the
    // latest load at every run, so a saved format applies at once.
    quelleHighlighter_ = std::make_unique<TNCSyn>();
    Quelle->SetHighlighter(quelleHighlighter_.get());
    HandleCommandLine();
  });
  FormResize();
}

}  // namespace torvane
