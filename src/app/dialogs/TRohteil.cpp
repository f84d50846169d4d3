// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialogs/TRohteil.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <string_view>

#include "app/dialogs/NumberKeys.h"
#include "app/widgets/ErrorReport.h"
#include "app/widgets/Glyphs.h"
#include "app/widgets/TXPSpeedButton.h"
#include "conversion/Diameter.h"
#include "text/FloatText.h"

namespace torvane {
namespace {

// The cylinder lies on its side with its end face to the right. The face's
// top and bottom points sit where the red diameter marks of the dialog are
// placed, so the two must move together: picture origin 8,16 in the dialog,
// face top at 56,8 and bottom at 56,92 in the picture.
QPixmap CylinderPicture() {
  constexpr qreal kFaceX = 56.5;
  constexpr qreal kBackX = 14.5;
  constexpr qreal kTop = 8.5;
  constexpr qreal kBottom = 92.5;
  constexpr qreal kHalfDepth = 13;  // the ellipses' horizontal half axis
  constexpr qreal kMiddle = (kTop + kBottom) / 2;
  const QColor outline(48, 56, 64);

  QPixmap picture(100, 100);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);

  // Lateral surface: the back face's visible left half, the two generating
  // lines, closed under the front face, which is drawn over it.
  QPainterPath body;
  body.moveTo(kFaceX, kTop);
  body.lineTo(kBackX, kTop);
  body.arcTo(QRectF(kBackX - kHalfDepth, kTop, 2 * kHalfDepth, kBottom - kTop), 90, 180);
  body.lineTo(kFaceX, kBottom);
  body.closeSubpath();
  QLinearGradient metal(0, kTop, 0, kBottom);
  metal.setColorAt(0.0, QColor(150, 160, 170));
  metal.setColorAt(0.22, QColor(238, 242, 246));
  metal.setColorAt(0.55, QColor(184, 192, 200));
  metal.setColorAt(1.0, QColor(98, 108, 118));
  painter.setPen(QPen(outline, 1));
  painter.setBrush(metal);
  painter.drawPath(body);

  // The end face, lit from the upper left.
  const QRectF face(kFaceX - kHalfDepth, kTop, 2 * kHalfDepth, kBottom - kTop);
  QLinearGradient faceShade(face.topLeft(), face.bottomRight());
  faceShade.setColorAt(0.0, QColor(226, 231, 236));
  faceShade.setColorAt(1.0, QColor(160, 170, 180));
  painter.setBrush(faceShade);
  painter.drawEllipse(face);

  // Centre line of the cylinder axis, dash-dot as in a drawing.
  QPen axis(QColor(70, 80, 90), 1, Qt::DashDotLine);
  axis.setDashPattern({6, 2, 1, 2});
  painter.setPen(axis);
  painter.drawLine(QPointF(0.5, kMiddle), QPointF(kFaceX + kHalfDepth + 8, kMiddle));
  return picture;
}

QWidget* MakeLine(QWidget* parent, const QRect& geometry, const QColor& colour) {
  auto* line = new QWidget(parent);
  line->setGeometry(geometry);
  line->setAutoFillBackground(true);
  QPalette palette = line->palette();
  palette.setColor(QPalette::Window, colour);
  line->setPalette(palette);
  return line;
}

TXPSpeedButton* MakeButton(QWidget* parent, const QString& caption, const QPixmap& glyph,
                           const QRect& geometry) {
  auto* button = new TXPSpeedButton(parent);
  button->setGeometry(geometry);
  button->SetCaption(caption);
  button->SetGlyph(glyph);
  button->SetBrushNormal(QColor(192, 192, 192));
  button->SetBrushActive(QColor(193, 224, 255));
  button->setCursor(Qt::PointingHandCursor);
  return button;
}

}  // namespace

TRohteil::TRohteil(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("Rohteil"));
  setWindowTitle(QStringLiteral("Durchmesser Zylinder"));
  setFixedSize(254, 182);
  QFont dialogFont(QStringLiteral("MS Sans Serif"));
  dialogFont.setStyleHint(QFont::SansSerif);
  dialogFont.setPixelSize(11);
  setFont(dialogFont);

  PANELZYL2 = new QWidget(this);
  PANELZYL2->setGeometry(0, 0, 254, 135);

  Image3 = new QLabel(PANELZYL2);
  Image3->setGeometry(8, 16, 105, 105);
  Image3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Image3->setPixmap(CylinderPicture());

  const QColor red(255, 0, 0);
  Shape11 = MakeLine(PANELZYL2, QRect(64, 24, 65, 1), red);
  Shape18 = MakeLine(PANELZYL2, QRect(64, 24, 1, 9), red);
  Shape1 = MakeLine(PANELZYL2, QRect(64, 100, 1, 9), red);

  Label15 = new QLabel(QStringLiteral("Durchmesser"), PANELZYL2);
  Label15->move(138, 18);
  Label15->adjustSize();

  ZYL2_R = new QLineEdit(QStringLiteral("100"), PANELZYL2);
  ZYL2_R->setGeometry(136, 32, 65, 19);
  ZYL2_R->setStyleSheet(QStringLiteral(
      "QLineEdit { border: 1px solid #7a7a7a; background: white; padding: 0px 2px; }"));
  ZYL2_R->installEventFilter(this);
  Einheit = new QLabel(QStringLiteral("mm"), PANELZYL2);
  Einheit->move(ZYL2_R->geometry().right() + 5, 34);
  Einheit->adjustSize();

  Panel3 = new QWidget(this);
  Panel3->setGeometry(0, 135, 254, 47);
  Shape2 = MakeLine(Panel3, QRect(0, 0, 254, 1), Qt::black);
  Abbruch = MakeButton(Panel3, QStringLiteral("&Abbrechen"), CrossGlyph(), QRect(8, 11, 113, 30));
  XPSpeedButton3 =
      MakeButton(Panel3, QStringLiteral("Über&nehmen"), CheckGlyph(), QRect(134, 11, 113, 30));
  connect(Abbruch, &TXPSpeedButton::OnClick, this, &TRohteil::AbbruchClick);
  connect(XPSpeedButton3, &TXPSpeedButton::OnClick, this, &TRohteil::XPSpeedButton3Click);
}

bool TRohteil::Run() { return exec() == QDialog::Accepted; }

// Every show starts from the stored diameter, so a text typed and then
// cancelled is gone. The field speaks German whatever the user's system
// says: the decimal comma, never the locale's separator.
void TRohteil::FormShow() {
  ZYL2_R->setText(QString::fromLatin1(FloatToGeneral(diameter_)).replace(u'.', u','));
  ZYL2_R->selectAll();
  ZYL2_R->setFocus();
}

void TRohteil::XPSpeedButton3Click() {
  // A character outside Latin-1 becomes "?", which no number contains. A
  // point, pasted or from an older habit, counts as the decimal comma.
  const QByteArray text = ZYL2_R->text().toLatin1();
  const std::string_view bytes(text.constData(), static_cast<std::size_t>(text.size()));
  const QByteArray number = QByteArray(text).replace(',', '.');
  const auto value = StrToFloatStrict(
      std::string_view(number.constData(), static_cast<std::size_t>(number.size())));
  if (!value) {
    // The dialog stays open with the text, so that the user can mend it.
    ShowErrorReport(this, QString::fromLatin1(InvalidFloatMessage(bytes)));
    return;
  }
  // A cylinder has a diameter above 0: a negative one would wind the
  // program the wrong way round at a radial position inside the part, and
  // 0 divides by zero in every angle. The converter refuses the same ones.
  if (const auto problem = DiameterProblem(*value)) {
    ShowErrorReport(this, QString::fromLatin1(*problem));
    return;
  }
  diameter_ = *value;
  accept();
}

void TRohteil::AbbruchClick() { reject(); }

void TRohteil::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

// The dialog closes only through its buttons: Enter must not take over a
// half-typed value and Escape must not cancel by accident.
void TRohteil::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      event->accept();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

bool TRohteil::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ZYL2_R && event->type() == QEvent::KeyPress)
    return ZYL2_RKeyPress(static_cast<QKeyEvent*>(event));
  return QDialog::eventFilter(watched, event);
}

// Filters what the user types, character by character, before the field
// sees it. Returns true when the key is used up here.
bool TRohteil::ZYL2_RKeyPress(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      return true;
    default:
      return FilterNumberKeyPress(ZYL2_R, event, u',');
  }
}

}  // namespace torvane
