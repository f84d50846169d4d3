// SPDX-License-Identifier: GPL-3.0-or-later
// What the preview draws around the path: the cylinder's body and skin,
// the turning arrow and the axes, the flat view's scales, titles and scale
// bar, the tool's start and end, and the legend.

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

#include "PreviewCanvas.h"
#include "PreviewStyle.h"

namespace torvane {

using namespace preview;

namespace {

constexpr int kFacets = 96;
// How much of the near skin covers what lies below it: enough to read as a
// surface, little enough that the depth colours stay recognisable.
constexpr int kSkinAlpha = 90;
const QColor kBody(196, 204, 216);
const QColor kOutline(105, 112, 125);

// Lit from the upper left, in front of the screen; (nx, nu, nw) is the
// surface's normal in screen axes (right, up, towards the viewer).
QColor Shade(double nx, double nu, double nw) {
  const double light[3] = {0.25, 0.45, 0.86};
  const double lambert = std::max(0.0, nx * light[0] + nu * light[1] + nw * light[2]);
  const double factor = 0.62 + 0.38 * lambert;
  return QColor(static_cast<int>(kBody.red() * factor), static_cast<int>(kBody.green() * factor),
                static_cast<int>(kBody.blue() * factor));
}

void ArrowHead(QPainter& painter, QPointF from, QPointF tip, double size) {
  const QPointF d = tip - from;
  const double length = std::hypot(d.x(), d.y());
  if (length < 1e-9) return;
  const QPointF u = d / length;
  const QPointF n(-u.y(), u.x());
  const QPointF head[3] = {tip, tip - u * size + n * size * 0.45, tip - u * size - n * size * 0.45};
  painter.drawPolygon(head, 3);
}

}  // namespace

PreviewCanvas::BodyEnds PreviewCanvas::CylinderEnds() const {
  const double radius = static_cast<double>(path_->Diameter()) / 2;
  double x0 = path_->MinX();
  double x1 = path_->MaxX();
  if (x1 - x0 < radius * 0.25) {
    const double middle = (x0 + x1) / 2;
    x0 = middle - radius * 0.125;
    x1 = middle + radius * 0.125;
  }
  return {x0, x1};
}

PreviewCanvas::Facet PreviewCanvas::SideFacet(const Projection& p, int i, double x0,
                                              double x1) const {
  const double radius = static_cast<double>(path_->Diameter()) / 2;
  const double a0 = 2 * kPi * i / kFacets;
  const double a1 = 2 * kPi * (i + 1) / kFacets;
  const double am = (a0 + a1) / 2;
  const double nc = std::cos(am);
  const double ns = -std::sin(am);
  return {{Project(p, x0, radius * std::cos(a0), -radius * std::sin(a0)),
           Project(p, x1, radius * std::cos(a0), -radius * std::sin(a0)),
           Project(p, x1, radius * std::cos(a1), -radius * std::sin(a1)),
           Project(p, x0, radius * std::cos(a1), -radius * std::sin(a1))},
          p.m[0][1] * nc + p.m[0][2] * ns,
          p.m[1][1] * nc + p.m[1][2] * ns,
          p.m[2][1] * nc + p.m[2][2] * ns};
}

void PreviewCanvas::DrawCylinderBack(QPainter& painter, const Projection& p) const {
  const double radius = static_cast<double>(path_->Diameter()) / 2;
  const auto [x0, x1] = CylinderEnds();
  painter.setRenderHint(QPainter::Antialiasing, false);
  // The inside of the far wall, seen through the near one.
  for (int i = 0; i < kFacets; ++i) {
    const Facet facet = SideFacet(p, i, x0, x1);
    if (facet.nw > 0) continue;
    const QColor colour = Shade(-facet.nx, -facet.nu, -facet.nw).darker(108);
    painter.setPen(QPen(colour, 1));
    painter.setBrush(colour);
    painter.drawPolygon(facet.quad, 4);
  }
  // The end face turned away, from the inside.
  for (const double end : {x0, x1}) {
    const double sign = end == x0 ? -1 : 1;
    if (p.m[2][0] * sign > 0) continue;
    QPolygonF disc;
    for (int i = 0; i < kFacets; ++i) {
      const double a = 2 * kPi * i / kFacets;
      disc << Project(p, end, radius * std::cos(a), -radius * std::sin(a));
    }
    // In the shade, so that it does not read as the end in front.
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBody.darker(150));
    painter.drawPolygon(disc);
  }
}

void PreviewCanvas::DrawCylinderSkin(QPainter& painter, const Projection& p) const {
  const double radius = static_cast<double>(path_->Diameter()) / 2;
  const auto [x0, x1] = CylinderEnds();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(Qt::NoPen);
  for (int i = 0; i < kFacets; ++i) {
    const Facet facet = SideFacet(p, i, x0, x1);
    if (facet.nw <= 0) continue;
    QColor colour = Shade(facet.nx, facet.nu, facet.nw);
    colour.setAlpha(kSkinAlpha);
    painter.setBrush(colour);
    painter.drawPolygon(facet.quad, 4);
  }
  // The rims of both ends, the near end face, and the outline along the
  // sides: a wire frame that holds the translucent body together.
  painter.setRenderHint(QPainter::Antialiasing, true);
  for (const double end : {x0, x1}) {
    const double sign = end == x0 ? -1 : 1;
    const double nw = p.m[2][0] * sign;
    QPolygonF disc;
    for (int i = 0; i < kFacets; ++i) {
      const double a = 2 * kPi * i / kFacets;
      disc << Project(p, end, radius * std::cos(a), -radius * std::sin(a));
    }
    QColor face = Shade(p.m[0][0] * sign, 0, nw).lighter(110);
    face.setAlpha(nw > 0 ? kSkinAlpha + 40 : 0);
    painter.setPen(QPen(nw > 0 ? kOutline : QColor(105, 112, 125, 110), nw > 0 ? 1.2 : 1));
    painter.setBrush(face);
    painter.drawPolygon(disc);
  }
  // Where the surface turns away from the viewer: nw = 0.
  const double side = std::atan2(p.m[2][1], p.m[2][2]);
  for (const double a : {side, side + kPi})
    painter.drawLine(Project(p, x0, radius * std::cos(a), -radius * std::sin(a)),
                     Project(p, x1, radius * std::cos(a), -radius * std::sin(a)));
  // The seam, angle 0/360; faint where it runs on the far side.
  QPen seam(kSeam, 1.5, Qt::DashDotLine);
  const bool near = p.m[2][1] >= 0;
  if (!near) seam.setColor(QColor(0, 0, 0, 70));
  painter.setPen(seam);
  const QPointF b = Project(p, x1, radius, 0);
  painter.drawLine(Project(p, x0, radius, 0), b);
  if (near) {
    painter.setPen(kSeam);
    painter.drawText(b + QPointF(6, 4), QStringLiteral("Naht 0°/360°"));
  }
}

void PreviewCanvas::DrawTurnArrow(QPainter& painter, const Projection& p) const {
  // Over the top of the right end: the way a positive move of the rotary
  // axis runs on the part, which is the way its angles rise.
  const double radius = static_cast<double>(path_->Diameter()) / 2 * 1.1;
  const auto ends = CylinderEnds();
  const double x = p.m[0][0] >= 0 ? ends.x1 : ends.x0;
  const double top = std::atan2(-p.m[1][2], p.m[1][1]);
  const double rising = path_->Inverted() ? 1 : -1;
  QPolygonF arc;
  for (int k = 0; k <= 24; ++k) {
    const double a = top + rising * (-0.6 + 1.2 * k / 24);
    arc << Project(p, x, radius * std::cos(a), -radius * std::sin(a));
  }
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(kInk, 1.6));
  painter.setBrush(Qt::NoBrush);
  painter.drawPolyline(arc);
  painter.setBrush(kInk);
  ArrowHead(painter, arc[arc.size() - 3], arc.last(), 9);
  // The name beside the arrow's tail, away from its head.
  const QPointF tail = arc.first();
  const QPointF away = tail - arc[2];
  const double length = std::max(std::hypot(away.x(), away.y()), 1e-9);
  const QPointF label = tail + away * (14 / length);
  painter.drawText(QRectF(label.x() - 14, label.y() - 8, 28, 16), Qt::AlignCenter,
                   QStringLiteral("+") + axisName_);
}

void PreviewCanvas::DrawTriad(QPainter& painter) const {
  // The machine's axes at the bottom right: Z along the cylinder, X the
  // radial word where the angle is 0, the rotary axis about Z.
  const Projection p = CurrentProjection();
  const QPointF origin(width() - 62, height() - 36);
  constexpr double kLength = 18;
  const QPointF z(p.m[0][0] * kLength, -p.m[1][0] * kLength);
  const QPointF x(p.m[0][1] * kLength, -p.m[1][1] * kLength);
  painter.setRenderHint(QPainter::Antialiasing, true);
  const struct {
    QPointF direction;
    double towards;  // the axis's part towards the viewer
    QString name;
  } axes[] = {{z, p.m[2][0], QStringLiteral("Z")}, {x, p.m[2][1], QStringLiteral("X")}};
  for (const auto& axis : axes) {
    painter.setPen(QPen(kInk, 1.4));
    painter.setBrush(kInk);
    const double length = std::hypot(axis.direction.x(), axis.direction.y());
    if (length < 8) {
      // Seen end on: a dot for an axis that points at the viewer, a cross
      // for one that points away.
      painter.setBrush(Qt::white);
      painter.drawEllipse(origin, 5, 5);
      if (axis.towards > 0) {
        painter.setBrush(kInk);
        painter.drawEllipse(origin, 1.5, 1.5);
      } else {
        painter.drawLine(origin + QPointF(-3, -3), origin + QPointF(3, 3));
        painter.drawLine(origin + QPointF(-3, 3), origin + QPointF(3, -3));
      }
      painter.drawText(QRectF(origin.x() - 22, origin.y() - 8, 14, 16), Qt::AlignCenter, axis.name);
      continue;
    }
    painter.drawLine(origin, origin + axis.direction);
    ArrowHead(painter, origin, origin + axis.direction, 7);
    const QPointF label = origin + axis.direction * ((length + 9) / length);
    painter.drawText(QRectF(label.x() - 10, label.y() - 8, 20, 16), Qt::AlignCenter, axis.name);
  }
  // The rotary axis: a ring about Z, its arrow the positive way.
  const double rising = path_->Inverted() ? 1 : -1;
  const QPointF centre = origin + z * 0.5;
  QPolygonF ring;
  for (int k = 0; k <= 30; ++k) {
    const double a = rising * 1.5 * kPi * k / 30;
    const double c = std::cos(a) * 9, s = -std::sin(a) * 9;
    ring << centre + QPointF(p.m[0][1] * c + p.m[0][2] * s, -(p.m[1][1] * c + p.m[1][2] * s));
  }
  painter.setPen(QPen(kInk, 1.4));
  painter.setBrush(Qt::NoBrush);
  painter.drawPolyline(ring);
  painter.setBrush(kInk);
  ArrowHead(painter, ring[ring.size() - 3], ring.last(), 5);
  painter.drawText(ring.boundingRect().topRight() + QPointF(2, -2), axisName_);
}

void PreviewCanvas::DrawFlatStrip(QPainter& painter) const {
  const double circumference = static_cast<double>(path_->Circumference());
  const int w = width();
  const int h = height();
  const double plotBottom = h - kBottomMargin;
  const double viewTop = flatOrigin_.y() / flatZoom_;
  const double viewBottom = (flatOrigin_.y() - h) / flatZoom_;
  const int firstTurn = static_cast<int>(std::floor(viewBottom / circumference));
  const int lastTurn = std::min(static_cast<int>(std::floor(viewTop / circumference)), firstTurn + 50);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.fillRect(QRectF(kLeftMargin, 0, w - kLeftMargin, plotBottom), Qt::white);
  // Along the cylinder: Z in mm below the strip.
  const double stepX = NiceStep(70 / flatZoom_);
  const double xLow = (kLeftMargin - flatOrigin_.x()) / flatZoom_;
  const double xHigh = (w - flatOrigin_.x()) / flatZoom_;
  for (double x = std::ceil(xLow / stepX) * stepX; x <= xHigh; x += stepX) {
    const double sx = flatOrigin_.x() + flatZoom_ * x;
    painter.setPen(QColor(225, 228, 234));
    painter.drawLine(QPointF(sx, 0), QPointF(sx, plotBottom));
    painter.setPen(kInk);
    painter.drawText(QRectF(sx - 40, plotBottom + 2, 80, 16), Qt::AlignCenter,
                     Number(x, stepX < 1 ? 2 : 0));
  }
  painter.drawText(QRectF(w - 330, plotBottom + 18, 322, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("Z (mm), längs der Zylinderachse →"));
  // Around it: ticks at whole angles, each with its place on the
  // circumference in mm (the source's Y) and the angle beside it. A label
  // at an edge is pushed inside, so that none is cut off.
  const double angleStep = NiceAngleStep(360.0 / (circumference * flatZoom_) * 40);
  const double stepY = circumference * angleStep / 360;
  for (double y = std::ceil(viewBottom / stepY) * stepY; y <= viewTop; y += stepY) {
    const double sy = flatOrigin_.y() - flatZoom_ * y;
    if (sy < 0 || sy > plotBottom) continue;
    double angle = std::fmod(360 - 360 * y / circumference, 360.0);
    if (angle < 0) angle += 360;
    if (angle > 359.9995) angle = 0;
    painter.setPen(QColor(225, 228, 234));
    painter.drawLine(QPointF(kLeftMargin, sy), QPointF(w, sy));
    painter.setPen(kInk);
    painter.drawLine(QPointF(kLeftMargin - 4, sy), QPointF(kLeftMargin, sy));
    const double labelTop = std::clamp(sy - 14, 0.0, plotBottom - 28);
    const QString mm = Number(std::fabs(y) < 5e-4 ? 0 : y, stepY < 10 ? 2 : 1);
    painter.drawText(QRectF(18, labelTop, kLeftMargin - 24, 14), Qt::AlignRight | Qt::AlignVCenter, mm);
    painter.setPen(QColor(60, 80, 140));
    painter.drawText(QRectF(18, labelTop + 14, kLeftMargin - 24, 14),
                     Qt::AlignRight | Qt::AlignVCenter, Number(angle, angleStep < 1 ? 1 : 0) + QStringLiteral("°"));
  }
  painter.save();
  painter.setPen(kInk);
  painter.translate(2, plotBottom / 2);
  painter.rotate(-90);
  painter.drawText(QRectF(-plotBottom / 2, 0, plotBottom, 16), Qt::AlignCenter,
                   QStringLiteral("Umfang Y (mm) · Winkel %1 (°)").arg(axisName_));
  painter.restore();
  // The seams between turns, crisp: smoothed, black would fade to the
  // rapids' grey.
  painter.setRenderHint(QPainter::Antialiasing, false);
  for (int turn = firstTurn; turn <= lastTurn + 1; ++turn) {
    const double sy = std::round(flatOrigin_.y() - flatZoom_ * turn * circumference);
    if (sy < 0 || sy > plotBottom) continue;
    painter.setPen(QPen(kSeam, 2, Qt::DashDotLine));
    painter.drawLine(QPointF(kLeftMargin, sy), QPointF(w, sy));
    painter.setPen(kSeam);
    painter.drawText(QPointF(kLeftMargin + 4, std::max(sy - 4, 12.0)), QStringLiteral("Naht 0°/360°"));
  }
  painter.setPen(QColor(150, 150, 150));
  painter.drawLine(QPointF(kLeftMargin, 0), QPointF(kLeftMargin, plotBottom));
}

void PreviewCanvas::DrawScaleBar(QPainter& painter) const {
  // About a tenth of the strip's width, a round number of mm.
  const double length = NiceStep(std::max(width() - kLeftMargin, 100) / 10.0 / flatZoom_);
  const double pixels = length * flatZoom_;
  const double right = width() - 12;
  const double y = height() - 14;
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(kInk, 2));
  painter.drawLine(QPointF(right - pixels, y), QPointF(right, y));
  painter.drawLine(QPointF(right - pixels, y - 5), QPointF(right - pixels, y + 3));
  painter.drawLine(QPointF(right, y - 5), QPointF(right, y + 3));
  painter.drawText(QRectF(right - pixels - 130, y - 10, 124, 16), Qt::AlignRight | Qt::AlignVCenter,
                   Number(length, length < 1 ? 2 : 0) + QStringLiteral(" mm"));
}

void PreviewCanvas::DrawStartAndEnd(QPainter& painter) const {
  const double circumference = static_cast<double>(path_->Circumference());
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.save();
  painter.setClipRect(PlotRect());
  const std::size_t last = path_->VertexCount() - 1;
  for (const std::size_t v : {std::size_t{0}, last}) {
    const double x = path_->FlatX()[v];
    const double y = path_->FlatY()[v];
    std::vector<QPointF> images;
    if (mode_ == Mode::Flat) {
      for (int turn = -2; turn <= 2; ++turn)
        images.push_back(ScreenPoint(x, y + turn * circumference, 0));
    } else {
      images.push_back(ScreenPoint(x, y, path_->Depth()[v]));
    }
    for (const QPointF& at : images) {
      if (v == 0) {
        painter.setPen(QPen(kInk, 1.8));
        painter.setBrush(Qt::white);
        painter.drawEllipse(at, 5, 5);
        painter.drawText(QRectF(at.x() - 60, at.y() - 22, 54, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("Start"));
      } else {
        painter.setPen(QPen(kInk, 1));
        painter.setBrush(kInk);
        painter.drawRect(QRectF(at.x() - 4, at.y() - 4, 8, 8));
        painter.drawText(QRectF(at.x() + 7, at.y() + 4, 60, 16), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("Ende"));
      }
    }
  }
  painter.restore();
}

void PreviewCanvas::DrawLegend(QPainter& painter) const {
  if (!path_ || path_->Empty()) return;
  painter.setRenderHint(QPainter::Antialiasing, true);
  const int top = height() - 44;
  const QRectF box(8, top - 4, 420, 42);
  painter.setPen(QColor(200, 200, 200));
  painter.setBrush(QColor(255, 255, 255, 230));
  painter.drawRoundedRect(box, 3, 3);
  // Colour bar: deepest left, shallowest right, the depth as X minus the
  // diameter.
  const QRectF bar(110, top + 3, 140, 10);
  QLinearGradient gradient(bar.topLeft(), bar.topRight());
  for (int i = 0; i <= 8; ++i)
    gradient.setColorAt(i / 8.0, QColor::fromRgb(palette_[static_cast<std::size_t>(i * 255 / 8)]));
  painter.setPen(Qt::NoPen);
  painter.setBrush(gradient);
  painter.drawRect(bar);
  painter.setPen(QColor(40, 40, 40));
  painter.drawText(QRectF(14, top, 94, 16), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Tiefe X − Ø"));
  painter.drawText(QRectF(bar.left() - 40, top + 15, 80, 16), Qt::AlignCenter,
                   Number(path_->MinDepth()));
  painter.drawText(QRectF(bar.right() - 40, top + 15, 80, 16), Qt::AlignCenter,
                   Number(path_->MaxDepth()));
  QPen dashed(kRapid, 1.3);
  dashed.setDashPattern({4, 3});
  painter.setPen(dashed);
  painter.drawLine(QPointF(300, top + 8), QPointF(336, top + 8));
  painter.setPen(QColor(40, 40, 40));
  painter.drawText(QRectF(342, top, 80, 16), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Eilgang"));
  painter.drawText(QRectF(300, top + 15, 124, 16), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Ø %1 mm").arg(Number(static_cast<double>(path_->Diameter()))));
}

}  // namespace torvane
