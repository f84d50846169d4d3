// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialogs/Pictures.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <numbers>

#include "app/dialogs/FormParts.h"

namespace torvane {
namespace {

QPixmap Blank(int width, int height) {
  QPixmap pixmap(width, height);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// A cylinder lying on its side, seen slightly from the right so that the
// right end face shows. `box` is the whole outline: the body runs from the
// left end's outer edge to the right face's outer edge. Returns the end
// face's horizontal half axis, which the caller needs to place points on
// the surface.
qreal DrawCylinder(QPainter& painter, const QRectF& box, qreal halfDepth, const QColor& outline,
                   qreal penWidth) {
  const qreal left = box.left() + halfDepth;
  const qreal right = box.right() - halfDepth;
  QPainterPath body;
  body.moveTo(right, box.top());
  body.lineTo(left, box.top());
  body.arcTo(QRectF(left - halfDepth, box.top(), 2 * halfDepth, box.height()), 90, 180);
  body.lineTo(right, box.bottom());
  body.closeSubpath();
  QLinearGradient metal(0, box.top(), 0, box.bottom());
  metal.setColorAt(0.0, QColor(140, 150, 162));
  metal.setColorAt(0.25, QColor(240, 244, 248));
  metal.setColorAt(0.6, QColor(182, 190, 200));
  metal.setColorAt(1.0, QColor(92, 102, 114));
  painter.setPen(QPen(outline, penWidth));
  painter.setBrush(metal);
  painter.drawPath(body);

  const QRectF face(right - halfDepth, box.top(), 2 * halfDepth, box.height());
  QLinearGradient faceShade(face.topLeft(), face.bottomRight());
  faceShade.setColorAt(0.0, QColor(228, 233, 238));
  faceShade.setColorAt(1.0, QColor(150, 160, 172));
  painter.setBrush(faceShade);
  painter.drawEllipse(face);
  return halfDepth;
}

// The contour the pictures show: a wave across the drawing, in plane
// coordinates u (along, 0..1) and v (across, 0..1).
qreal ContourV(qreal u) { return 0.5 + 0.32 * std::sin(2 * std::numbers::pi * 1.25 * u); }

// The contour wrapped around the cylinder: u runs along the axis, v becomes
// the angle of the rotary axis, growing downwards as it does on the flat
// drawing. Only the half that faces the viewer is
// drawn, which on this view is the left half of each cross-section ellipse.
QPainterPath WrappedContour(const QRectF& box, qreal halfDepth, qreal uFrom, qreal uTo) {
  const qreal left = box.left() + halfDepth + 4;
  const qreal right = box.right() - 2 * halfDepth - 6;
  const qreal middle = box.center().y();
  const qreal radius = box.height() / 2;
  QPainterPath path;
  constexpr int kSteps = 120;
  for (int i = 0; i <= kSteps; ++i) {
    const qreal u = uFrom + (uTo - uFrom) * i / kSteps;
    const qreal angle = (ContourV(u) - 0.5) * std::numbers::pi * 0.9;
    const QPointF point(left + (right - left) * (u - uFrom) / (uTo - uFrom) -
                            halfDepth * std::cos(angle) + halfDepth,
                        middle + radius * std::sin(angle));
    if (i == 0)
      path.moveTo(point);
    else
      path.lineTo(point);
  }
  return path;
}

QPen RoundPen(const QColor& colour, qreal width) {
  return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

}  // namespace

QPixmap ProgramIcon() {
  QPixmap pixmap = Blank(32, 32);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF box(2.5, 7.5, 27, 17);
  const qreal halfDepth = DrawCylinder(painter, box, 4, QColor(0, 0, 96), 1);
  painter.setPen(RoundPen(QColor(200, 20, 20), 1.6));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(WrappedContour(box, halfDepth, 0, 1));
  return pixmap;
}

QPixmap SplashPicture() {
  constexpr int kWidth = 350;
  constexpr int kHeight = 200;
  QPixmap pixmap(kWidth, kHeight);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);

  QLinearGradient sky(0, 0, 0, kHeight);
  sky.setColorAt(0.0, QColor(4, 18, 84));
  sky.setColorAt(1.0, QColor(20, 64, 150));
  painter.fillRect(pixmap.rect(), sky);

  // Title.
  const QFont titleFont = FormFont(34, true);
  const QString title = QStringLiteral("TORVANE");
  painter.setPen(Qt::white);
  painter.setFont(titleFont);
  painter.drawText(QPointF(20, 46), title);
  painter.setPen(QColor(255, 220, 90));
  painter.setFont(FormFont(14, true));
  painter.drawText(QPointF(20 + QFontMetricsF(titleFont).horizontalAdvance(title) + 8, 46),
                   QStringLiteral("1.0"));
  painter.setPen(QColor(200, 214, 240));
  painter.setFont(FormFont(12));
  painter.drawText(QPointF(22, 66), QStringLiteral("NC-Programme für die Rundachse"));

  // The flat drawing: a grid with the contour on it.
  const QRectF plane(20.5, 86.5, 112, 66);
  painter.setPen(QPen(QColor(255, 255, 255, 40), 1));
  painter.setBrush(QColor(255, 255, 255, 18));
  painter.drawRect(plane);
  for (int i = 1; i < 8; ++i) {
    const qreal x = plane.left() + plane.width() * i / 8;
    painter.drawLine(QPointF(x, plane.top()), QPointF(x, plane.bottom()));
  }
  for (int i = 1; i < 5; ++i) {
    const qreal y = plane.top() + plane.height() * i / 5;
    painter.drawLine(QPointF(plane.left(), y), QPointF(plane.right(), y));
  }
  QPainterPath flat;
  for (int i = 0; i <= 120; ++i) {
    const qreal u = i / 120.0;
    const QPointF point(plane.left() + 6 + (plane.width() - 12) * u,
                        plane.top() + plane.height() * ContourV(u));
    if (i == 0)
      flat.moveTo(point);
    else
      flat.lineTo(point);
  }
  painter.setBrush(Qt::NoBrush);
  painter.setPen(RoundPen(QColor(255, 200, 40), 2.2));
  painter.drawPath(flat);
  painter.setPen(QColor(200, 214, 240));
  painter.setFont(FormFont(10, true));
  painter.drawText(QPointF(plane.left(), plane.bottom() + 13), QStringLiteral("XYZ"));

  // Arrow from the drawing to the cylinder.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 255, 210));
  painter.drawPolygon(QPolygonF({QPointF(144, 114), QPointF(164, 114), QPointF(164, 106),
                                 QPointF(180, 119.5), QPointF(164, 133), QPointF(164, 125),
                                 QPointF(144, 125)}));

  // The cylinder with the contour on its surface, its axis dash-dot as in a
  // drawing, showing beyond both ends.
  const QRectF box(190.5, 80.5, 142, 78);
  QPen axis(QColor(255, 255, 255, 150), 1, Qt::CustomDashLine);
  axis.setDashPattern({8, 3, 1, 3});
  painter.setPen(axis);
  painter.drawLine(QPointF(box.left() - 8, box.center().y()),
                   QPointF(box.right() + 10, box.center().y()));
  const qreal halfDepth = DrawCylinder(painter, box, 13, QColor(10, 20, 60), 1.2);
  const QPainterPath wrapped = WrappedContour(box, halfDepth, 0, 1);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(RoundPen(QColor(60, 20, 10, 140), 3.4));
  painter.drawPath(wrapped.translated(0.8, 1.0));
  painter.setPen(RoundPen(QColor(220, 40, 20), 2.2));
  painter.drawPath(wrapped);
  painter.setPen(QColor(200, 214, 240));
  painter.drawText(QPointF(box.left() + 2, box.bottom() + 13), QStringLiteral("MANTEL"));

  painter.setPen(QColor(232, 238, 250));
  painter.setFont(FormFont(11));
  painter.drawText(QRectF(0, 178, kWidth, 18), Qt::AlignHCenter | Qt::AlignVCenter,
                   QStringLiteral("Konvertierung auf Mantelflächen (Rundachse)"));
  return pixmap;
}

QPixmap ConversionGlyph() {
  QPixmap pixmap = Blank(16, 16);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF box(0.5, 3.5, 15, 9);
  const qreal halfDepth = DrawCylinder(painter, box, 2.5, QColor(0, 0, 96), 1);
  painter.setPen(RoundPen(QColor(200, 20, 20), 1.2));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(WrappedContour(box, halfDepth, 0, 1));
  return pixmap;
}

QPixmap MachineGlyph() {
  QPixmap pixmap = Blank(16, 16);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  // The axis' end face, and an arrow turning round it.
  painter.setPen(QPen(QColor(0, 0, 96), 1));
  painter.setBrush(QColor(200, 200, 215));
  painter.drawEllipse(QRectF(4.5, 4.5, 7, 7));
  painter.setPen(RoundPen(QColor(200, 20, 20), 1.4));
  painter.setBrush(Qt::NoBrush);
  painter.drawArc(QRectF(1.5, 1.5, 13, 13), 100 * 16, 250 * 16);
  painter.setBrush(QColor(200, 20, 20));
  painter.drawPolygon(QPolygonF({QPointF(8.5, 0.5), QPointF(11.5, 2.5), QPointF(8.5, 4.5)}));
  return pixmap;
}

QPixmap FolderGlyph() {
  QPixmap pixmap = Blank(16, 16);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor outline(150, 110, 20);
  QPainterPath back;
  back.moveTo(1.5, 3.5);
  back.lineTo(6, 3.5);
  back.lineTo(7.5, 5);
  back.lineTo(14.5, 5);
  back.lineTo(14.5, 13.5);
  back.lineTo(1.5, 13.5);
  back.closeSubpath();
  painter.setPen(QPen(outline, 1));
  painter.setBrush(QColor(232, 188, 70));
  painter.drawPath(back);
  QLinearGradient front(0, 7, 0, 14);
  front.setColorAt(0, QColor(255, 230, 130));
  front.setColorAt(1, QColor(245, 200, 80));
  painter.setBrush(front);
  painter.drawPolygon(QPolygonF(
      {QPointF(1.5, 13.5), QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(14.5, 13.5)}));
  return pixmap;
}

namespace {

// The steppers' signs: a bar, crossed for plus.
QPixmap SignGlyph(bool plus) {
  QPixmap pixmap = Blank(16, 16);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(RoundPen(kNavy, 2.4));
  painter.drawLine(QPointF(4, 8), QPointF(12, 8));
  if (plus) painter.drawLine(QPointF(8, 4), QPointF(8, 12));
  return pixmap;
}

}  // namespace

QPixmap PlusGlyph() { return SignGlyph(true); }

QPixmap MinusGlyph() { return SignGlyph(false); }

}  // namespace torvane
