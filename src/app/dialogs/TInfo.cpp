// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialogs/TInfo.h"

#include <QDesktopServices>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QShowEvent>
#include <QtGlobal>

#include <Qsci/qsciglobal.h>

#include <algorithm>
#include <initializer_list>

#include "app/dialogs/FormParts.h"
#include "app/dialogs/Pictures.h"
#include "app/widgets/Glyphs.h"
#include "app/widgets/TXPSpeedButton.h"

namespace torvane {

TInfo::TInfo(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("Info"));
  setWindowTitle(QStringLiteral("Info"));
  setFixedSize(377, 239);
  setFont(FormFont(11));
  const QFont bold = FormFont(11, true);

  // The left column's labels first: the line between the columns stands
  // right of the widest of them, so that no text runs across it in a face
  // wider than the one the box was drawn for. The right column moves with it.
  Image1 = new QLabel(this);
  Image1->setGeometry(16, 40, 32, 32);
  Image1->setPixmap(ProgramIcon());
  Label13 = MakeLabel(this, QStringLiteral("Torvane"), QPoint(18, 80));
  Label13->setFont(bold);
  Label13->adjustSize();
  Version = MakeLabel(this, QStringLiteral(TORVANE_VERSION), QPoint(18, 96));
  Label1 = MakeLabel(this, QStringLiteral("Konvertierung auf"), QPoint(18, 112));
  Label3 = MakeLabel(this, QStringLiteral("Mantelflächen (Rundachse)"), QPoint(18, 128));
  Label4 = MakeLabel(this, QStringLiteral("©"), QPoint(18, 152));
  Label2 = MakeLabel(this, QStringLiteral("Torvane-Projekt"),
                     QPoint(18 + Label4->width() + 3, 152));
  int widest = QFontMetrics(font()).horizontalAdvance(QStringLiteral("Version " TORVANE_VERSION));
  for (const QLabel* label : {Label13, Label1, Label3, Label2})
    widest = std::max(widest, label->geometry().right() + 1 - 18);
  const int divider = std::max(152, 18 + widest + 8);
  const int right = divider + 16;  // left edge of the right column's texts

  Shape5 = MakeBox(this, QRect(8, 8, divider - 8 + 1, 25), Qt::white);
  Label5 = MakeLabel(this, QStringLiteral("Version"), QPoint(16, 14));
  Label5->setFont(bold);
  Label5->adjustSize();
  Shape3 = MakeBox(this, QRect(divider, 8, 369 - divider, 25), Qt::white);
  Label8 = MakeLabel(this, QStringLiteral("Details"), QPoint(right, 14));
  Label8->setFont(bold);
  Label8->adjustSize();
  Shape4 = MakeBox(this, QRect(8, 32, 361, 161), ColourValue(15852762));
  Shape1 = MakeBox(this, QRect(divider, 32, 1, 161), Qt::black, QColor());
  // The boxes are drawn over the labels made before them: bring those up.
  for (QWidget* widget : std::initializer_list<QWidget*>{Image1, Label13, Version, Label1, Label3,
                                                         Label4, Label2, Label5, Label8})
    widget->raise();

  // Captions left, values in one column beside the widest caption.
  LabelLizenz = MakeLabel(this, QStringLiteral("Lizenz"), QPoint(right, 40));
  LabelQt = MakeLabel(this, QStringLiteral("Qt"), QPoint(right, 56));
  LabelQScintilla = MakeLabel(this, QStringLiteral("QScintilla"), QPoint(right, 72));
  const int values = right + std::max({48, LabelLizenz->width() + 8, LabelQt->width() + 8,
                                       LabelQScintilla->width() + 8});
  Lizenz = MakeLabel(this, QStringLiteral("GPL-3.0 oder später"), QPoint(values, 40));
  // The Qt library the program runs with, which may be newer than the one
  // it was built against; QScintilla's version is the one it was built
  // against, which its library's name pins down.
  QtVersion = MakeLabel(this, QString::fromLatin1(qVersion()), QPoint(values, 56));
  QScintillaVersion =
      MakeLabel(this, QStringLiteral(QSCINTILLA_VERSION_STR), QPoint(values, 72));
  LabelOrdner = MakeLabel(this, QStringLiteral("Einstellungen in"), QPoint(right, 96));
  Ordner = MakeLabel(this, QString(), QPoint(right, 112));

  OrdnerOeffnen = MakeButton(this, QStringLiteral("&Ordner öffnen"), FolderGlyph(),
                             QRect(right, 144, 129, 33));
  OrdnerOeffnen->SetMargin(8);
  Schliessen = MakeButton(this, QStringLiteral("&Schließen"), CheckGlyph(),
                          QRect(120, 200, 145, 33));
  for (TXPSpeedButton* button : {OrdnerOeffnen, Schliessen}) button->SetPenActive(QPen(kNavy, 1));
  SetSettingsFolder(QString());

  connect(OrdnerOeffnen, &TXPSpeedButton::OnClick, this, &TInfo::OrdnerOeffnenClick);
  connect(Schliessen, &TXPSpeedButton::OnClick, this, &TInfo::SchliessenClick);
}

void TInfo::SetSettingsFolder(const QString& folder) {
  settingsFolder_ = folder;
  // The column ends at the grey box's right edge, less the left margin.
  const int width = Shape4->geometry().right() - 8 - Ordner->x();
  Ordner->setText(folder.isEmpty()
                      ? QStringLiteral("–")
                      : Ordner->fontMetrics().elidedText(folder, Qt::ElideMiddle, width));
  Ordner->adjustSize();
  Ordner->setToolTip(folder);
  OrdnerOeffnen->setEnabled(!folder.isEmpty());
}

QUrl TInfo::FolderTarget() const { return QUrl::fromLocalFile(settingsFolder_); }

// Centred on the screen rather than on the main window. Placing it before
// it shows also keeps the dialog from centring itself on its parent.
void TInfo::setVisible(bool visible) {
  if (visible && !isVisible()) {
    const QScreen* screen =
        parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
      QRect frame = frameGeometry();
      frame.moveCenter(screen->availableGeometry().center());
      move(frame.topLeft());
    }
  }
  QDialog::setVisible(visible);
}

void TInfo::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TInfo::FormShow() {
  Version->setText(QStringLiteral("Version " TORVANE_VERSION));
  Version->adjustSize();
}

// No file manager, or a folder the desktop refuses: the user sees that
// nothing opened, and the program has nothing to add.
void TInfo::OrdnerOeffnenClick() {
  if (settingsFolder_.isEmpty()) return;
  if (opener_)
    opener_(FolderTarget());
  else
    QDesktopServices::openUrl(FolderTarget());
}

void TInfo::SchliessenClick() { accept(); }

}  // namespace torvane
