// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainGlyphs.h"

#include <QPainter>

namespace torvane {
namespace {

QPixmap Canvas(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

}  // namespace

QPixmap SaveGlyph() {
  QPixmap pixmap = Canvas(16);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(20, 40, 90), 1));
  p.setBrush(QColor(60, 100, 180));
  p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 1.5, 7, 5));
  p.setBrush(QColor(200, 200, 200));
  p.drawRect(QRectF(3.5, 9.5, 9, 5));
  return pixmap;
}

QPixmap SettingsGlyph() {
  QPixmap pixmap = Canvas(16);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(8, 8);
  p.setPen(QPen(QColor(60, 60, 60), 1));
  p.setBrush(QColor(140, 140, 150));
  for (int i = 0; i < 8; ++i) {
    p.save();
    p.rotate(i * 45.0);
    p.drawRect(QRectF(-1.5, -7.5, 3, 3));
    p.restore();
  }
  p.drawEllipse(QPointF(0, 0), 5.5, 5.5);
  p.setBrush(QColor(240, 240, 240));
  p.drawEllipse(QPointF(0, 0), 2, 2);
  return pixmap;
}

QPixmap InfoIcon() {
  QPixmap pixmap = Canvas(32);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient disc(12, 10, 20);
  disc.setColorAt(0, QColor(120, 170, 255));
  disc.setColorAt(1, QColor(20, 60, 170));
  p.setPen(QPen(QColor(10, 30, 100), 1));
  p.setBrush(disc);
  p.drawEllipse(QRectF(1.5, 1.5, 29, 29));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(16, 9.5), 2.5, 2.5);
  p.drawRoundedRect(QRectF(13.5, 14, 5, 12), 1.5, 1.5);
  return pixmap;
}

}  // namespace torvane
