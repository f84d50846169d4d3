// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/widgets/Glyphs.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <functional>

namespace torvane {
namespace {

constexpr int kSize = 16;

QPixmap Blank(int images) {
  QPixmap pixmap(kSize * images, kSize);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

QPen RoundPen(const QColor& colour, qreal width) {
  return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void DrawCheck(QPainter& painter, const QColor& colour, qreal width, const QRectF& box) {
  const auto at = [&](qreal x, qreal y) {
    return QPointF(box.left() + x * box.width(), box.top() + y * box.height());
  };
  painter.setPen(RoundPen(colour, width));
  painter.setBrush(Qt::NoBrush);
  painter.drawPolyline(QPolygonF({at(0.12, 0.52), at(0.40, 0.80), at(0.90, 0.18)}));
}

// Draws the four looks of a toggle, one per 16-pixel cell, with the given
// outline (box or circle) and latched mark.
QPixmap Strip(const std::function<void(QPainter&, const QRectF&)>& outline,
              const std::function<void(QPainter&, const QRectF&)>& mark) {
  struct Look {
    QColor fill;
    QColor border;
    bool marked;
  };
  const Look looks[] = {
      {Qt::white, QColor(80, 80, 80), false},            // up
      {QColor(232, 232, 232), QColor(168, 168, 168), false},  // disabled
      {QColor(193, 224, 255), QColor(0, 0, 128), false},  // pressed
      {Qt::white, QColor(0, 0, 128), true},               // latched
  };
  QPixmap pixmap = Blank(4);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < 4; ++i) {
    const QRectF cell(i * kSize + 2.5, 2.5, 11, 11);
    painter.setPen(QPen(looks[i].border, 1));
    painter.setBrush(looks[i].fill);
    outline(painter, cell);
    if (looks[i].marked) mark(painter, cell);
  }
  return pixmap;
}

}  // namespace

QPixmap CheckGlyph() {
  QPixmap pixmap = Blank(1);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  DrawCheck(painter, QColor(0, 140, 40), 2.6, QRectF(1.5, 1.5, 13, 13));
  return pixmap;
}

QPixmap CrossGlyph() {
  QPixmap pixmap = Blank(1);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(RoundPen(QColor(200, 30, 30), 2.6));
  painter.drawLine(QPointF(4, 4), QPointF(12, 12));
  painter.drawLine(QPointF(12, 4), QPointF(4, 12));
  return pixmap;
}

QPixmap CheckBoxGlyphStrip() {
  return Strip([](QPainter& painter, const QRectF& cell) { painter.drawRect(cell); },
               [](QPainter& painter, const QRectF& cell) {
                 DrawCheck(painter, QColor(0, 0, 128), 2.0, cell.adjusted(2, 2, -2, -2));
               });
}

QPixmap OptionGlyphStrip() {
  return Strip([](QPainter& painter, const QRectF& cell) { painter.drawEllipse(cell); },
               [](QPainter& painter, const QRectF& cell) {
                 painter.setPen(Qt::NoPen);
                 painter.setBrush(QColor(0, 0, 128));
                 painter.drawEllipse(cell.center(), 2.8, 2.8);
               });
}

}  // namespace torvane
