#include "app/dialogs/TInfo.h"

#include <QDesktopServices>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>
#include <initializer_list>

#include "app/dialogs/FormParts.h"
#include "app/dialogs/Pictures.h"
#include "app/widgets/Glyphs.h"
#include "app/widgets/TXPSpeedButton.h"

namespace torvane {
namespace {

TXPSpeedButton* MakeLinkButton(QWidget* parent, const QString& caption, const QPixmap& glyph,
                               const QRect& geometry) {
  TXPSpeedButton* button = MakeButton(parent, caption, glyph, geometry);
  button->SetMargin(8);
  return button;
}

}  // namespace

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
  Version = MakeLabel(this, QStringLiteral("1.0"), QPoint(18, 96));
  Label1 = MakeLabel(this, QStringLiteral("Konvertierung auf"), QPoint(18, 112));
  Label3 = MakeLabel(this, QStringLiteral("Mantelflächen (Rundachse)"), QPoint(18, 128));
  Label4 = MakeLabel(this, QStringLiteral("©"), QPoint(18, 152));
  Label2 = MakeLabel(this, QStringLiteral("Torvane-Projekt"),
                     QPoint(18 + Label4->width() + 3, 152));
  int widest = QFontMetrics(font()).horizontalAdvance(QStringLiteral("Version 1.0"));
  for (const QLabel* label : {Label13, Label1, Label3, Label2})
    widest = std::max(widest, label->geometry().right() + 1 - 18);
  const int divider = std::max(152, 18 + widest + 8);
  const int right = divider + 16;  // left edge of the right column's texts

  Shape5 = MakeBox(this, QRect(8, 8, divider - 8 + 1, 25), Qt::white);
  Label5 = MakeLabel(this, QStringLiteral("Version"), QPoint(16, 14));
  Label5->setFont(bold);
  Label5->adjustSize();
  Shape3 = MakeBox(this, QRect(divider, 8, 369 - divider, 25), Qt::white);
  Label8 = MakeLabel(this, QStringLiteral("Kontakt"), QPoint(right, 14));
  Label8->setFont(bold);
  Label8->adjustSize();
  Shape4 = MakeBox(this, QRect(8, 32, 361, 161), ColourValue(15852762));
  Shape1 = MakeBox(this, QRect(divider, 32, 1, 161), Qt::black, QColor());
  // The boxes are drawn over the labels made before them: bring those up.
  for (QWidget* widget : std::initializer_list<QWidget*>{Image1, Label13, Version, Label1, Label3,
                                                         Label4, Label2, Label5, Label8})
    widget->raise();

  Name = MakeLabel(this, QStringLiteral("Torvane-Projekt"), QPoint(right, 40));
  Name->setFont(bold);
  Name->adjustSize();
  Label6 = MakeLabel(this, QStringLiteral("Telefon"), QPoint(right, 64));
  Label9 = MakeLabel(this, QStringLiteral("Telefax"), QPoint(right, 80));
  const int values = right + std::max({48, Label6->width() + 8, Label9->width() + 8});
  Telefon = MakeLabel(this, QStringLiteral("+49 000 1234-0"), QPoint(values, 64));
  Telefax = MakeLabel(this, QStringLiteral("+49 000 1234-9"), QPoint(values, 80));

  Email = MakeLinkButton(this, QStringLiteral("info@torvane.test"), EnvelopeGlyph(),
                         QRect(right, 104, 129, 33));
  Link = MakeLinkButton(this, QStringLiteral("www.torvane.test"), GlobeGlyph(),
                        QRect(right, 144, 129, 33));
  Schliessen = MakeButton(this, QStringLiteral("&Schließen"), CheckGlyph(),
                          QRect(120, 200, 145, 33));
  for (TXPSpeedButton* button : {Email, Link, Schliessen}) button->SetPenActive(QPen(kNavy, 1));

  connect(Link, &TXPSpeedButton::OnClick, this, &TInfo::LinkClick);
  connect(Email, &TXPSpeedButton::OnClick, this, &TInfo::EmailClick);
  connect(Schliessen, &TXPSpeedButton::OnClick, this, &TInfo::SchliessenClick);
}

QString TInfo::LinkTarget() const { return QStringLiteral("http://") + Link->Caption(); }

QString TInfo::EmailTarget() const {
  return QStringLiteral("mailto:") + Email->Caption() +
         QStringLiteral("?subject=Kontakt Torvane 1.0&Body=");
}

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
  Version->setText(QStringLiteral("Version 1.0"));
  Version->adjustSize();
}

void TInfo::LinkClick() { Open(LinkTarget()); }
void TInfo::EmailClick() { Open(EmailTarget()); }
void TInfo::SchliessenClick() { accept(); }

// No browser or mail program, or a link the desktop refuses: the user sees
// that nothing opened, and the program has nothing to add.
void TInfo::Open(const QString& target) {
  const QUrl url(target, QUrl::TolerantMode);
  if (opener_)
    opener_(url);
  else
    QDesktopServices::openUrl(url);
}

}  // namespace torvane
