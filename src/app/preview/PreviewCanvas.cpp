// SPDX-License-Identifier: GPL-3.0-or-later
#include "PreviewCanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "PreviewRaster.h"

namespace torvane {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadians = kPi / 180;
// Up to this many segments QPainter draws them smoothly; beyond, they go
// straight into the pixels.
constexpr std::size_t kPainterLimit = 40000;
const QColor kBackground(246, 247, 249);
const QColor kRapid(70, 70, 70);
const QColor kSeam(200, 30, 30);
const QColor kHighlight(220, 0, 220);
// Room for the flat view's scales and the legend.
constexpr int kLeftMargin = 64;
constexpr int kBottomMargin = 66;

// Deepest cut blue, through green and yellow, to red at the shallowest.
QRgb PaletteColour(int index) {
  const double t = index / 255.0;
  return QColor::fromHsvF(static_cast<float>(0.66 * (1 - t)), 0.85f, 0.85f).rgb();
}

// A step of 1, 2 or 5 times a power of ten, near `rough`.
double NiceStep(double rough) {
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  for (const double factor : {1.0, 2.0, 5.0, 10.0})
    if (factor * power >= rough) return factor * power;
  return 10 * power;
}

// Angle steps that divide the turn, so that the seam is a tick.
double NiceAngleStep(double rough) {
  for (const double step : {1.0, 2.0, 5.0, 10.0, 15.0, 30.0, 45.0, 90.0})
    if (step >= rough) return step;
  return 180;
}

// Told to the user, so with the German decimal comma.
QString Number(double value, int decimals = 3) {
  return QString::number(value, 'f', decimals).replace(u'.', u',');
}

}  // namespace

PreviewCanvas::PreviewCanvas(QWidget* parent) : QWidget(parent) {
  setMinimumSize(200, 150);
  setMouseTracking(false);
  setFocusPolicy(Qt::ClickFocus);
  setCursor(Qt::OpenHandCursor);
  for (int i = 0; i < 256; ++i) palette_[static_cast<std::size_t>(i)] = PaletteColour(i);
}

void PreviewCanvas::SetPath(std::shared_ptr<const PreviewPath> path, bool keepView) {
  path_ = std::move(path);
  message_.clear();
  highlighted_ = PreviewPath::kNoMove;
  if (!keepView) ResetView();
  Invalidate();
}

void PreviewCanvas::SetMessage(const QString& message) {
  path_.reset();
  message_ = message;
  highlighted_ = PreviewPath::kNoMove;
  Invalidate();
}

void PreviewCanvas::SetMode(Mode mode) {
  if (mode_ == mode) return;
  mode_ = mode;
  Invalidate();
}

QRect PreviewCanvas::PlotRect() const {
  if (mode_ == Mode::Cylinder) return rect();
  return QRect(kLeftMargin + 1, 0, width() - kLeftMargin - 1, height() - kBottomMargin);
}

void PreviewCanvas::Invalidate() {
  frameValid_ = false;
  update();
}

void PreviewCanvas::ResetView() {
  userMoved_ = false;
  pan_ = {};
  spin_ = 0;
  yaw_ = -20;
  zoom_ = 1;
  flatZoom_ = 1;
  flatOrigin_ = {};
  if (path_ && !path_->Empty()) {
    const double diameter = static_cast<double>(path_->Diameter());
    const double circumference = static_cast<double>(path_->Circumference());
    // Turn the middle of the path towards the viewer.
    const double middle = std::fmod((path_->MinY() + path_->MaxY()) / 2.0, circumference);
    spin_ = 90 + 360 * middle / circumference;
    const double length = std::max<double>(path_->MaxX() - path_->MinX(), diameter * 0.25);
    const double yaw = std::fabs(yaw_ * kRadians);
    const double width = length * std::cos(yaw) + diameter * std::sin(yaw);
    const double height = diameter * 1.1;
    zoom_ = std::min((this->width() - 40) / width, (this->height() - kBottomMargin - 20) / height);
    pan_ = {0, -kBottomMargin / 2.0 + 10};
    // A small contour on a large cylinder would be a few pixels: bring it
    // up to a third of the view, the cylinder still around it.
    if (path_->VertexCount() < 200000) {
      const Projection p = CurrentProjection();
      QRectF box;
      for (std::size_t v = 0; v < path_->VertexCount(); ++v) {
        const QPointF point = Project(p, path_->FlatX()[v], path_->RadialC()[v], path_->RadialS()[v]);
        box = box.isNull() ? QRectF(point, QSizeF(1e-9, 1e-9)) : box.united(QRectF(point, QSizeF(1e-9, 1e-9)));
      }
      const double available = std::min(this->width(), this->height() - kBottomMargin) / 3.0;
      const double largest = std::max(box.width(), box.height());
      if (largest > 0 && largest < available) {
        const double factor = std::min(available / largest, 8.0);
        const QPointF centre = QPointF(this->width() / 2.0, this->height() / 2.0) + pan_;
        zoom_ *= factor;
        pan_ += (centre - box.center()) * factor;
      }
    }

    // The flat view fits the path, or one whole turn when it winds further.
    double x0 = path_->MinX();
    double x1 = path_->MaxX();
    double y0 = path_->MinY();
    double y1 = path_->MaxY();
    if (y1 - y0 > circumference) {
      y0 = 0;
      y1 = circumference;
    }
    const double padX = std::max((x1 - x0) * 0.08, 2.0);
    const double padY = std::max((y1 - y0) * 0.08, 2.0);
    x0 -= padX;
    x1 += padX;
    y0 -= padY;
    y1 += padY;
    const double availableWidth = std::max(this->width() - kLeftMargin - 16, 50);
    const double availableHeight = std::max(this->height() - kBottomMargin - 28, 50);
    flatZoom_ = std::min(availableWidth / (x1 - x0), availableHeight / (y1 - y0));
    flatOrigin_ = {kLeftMargin + (availableWidth - (x1 - x0) * flatZoom_) / 2 - x0 * flatZoom_,
                   28 + (availableHeight + (y1 - y0) * flatZoom_) / 2 + y0 * flatZoom_};
  }
  Invalidate();
}

void PreviewCanvas::Rotate(double spinDegrees, double yawDegrees) {
  spin_ = std::fmod(spin_ + spinDegrees, 360.0);
  yaw_ = std::clamp(yaw_ + yawDegrees, -89.0, 89.0);
  Invalidate();
}

void PreviewCanvas::SetCaretLine(std::size_t line) {
  const std::uint32_t move =
      path_ && line > 0 ? path_->MoveOfLine(line) : PreviewPath::kNoMove;
  if (move == highlighted_) return;
  highlighted_ = move;
  update();
}

PreviewCanvas::Projection PreviewCanvas::CurrentProjection() const {
  Projection p{};
  const double s = spin_ * kRadians;
  const double t = yaw_ * kRadians;
  const double cs = std::cos(s), ss = std::sin(s), ct = std::cos(t), st = std::sin(t);
  // Spin about the cylinder's axis, then yaw about the screen's vertical.
  const double m[3][3] = {{ct, st * ss, st * cs}, {0, cs, -ss}, {-st, ct * ss, ct * cs}};
  std::copy(&m[0][0], &m[0][0] + 9, &p.m[0][0]);
  p.scale = zoom_;
  const double middle = path_ ? (path_->MinX() + path_->MaxX()) / 2.0 : 0;
  p.cx = ct * middle;
  p.cu = 0;
  p.origin = QPointF(width() / 2.0, height() / 2.0) + pan_;
  return p;
}

QPointF PreviewCanvas::Project(const Projection& p, double x, double c, double s) const {
  const double screenX = p.m[0][0] * x + p.m[0][1] * c + p.m[0][2] * s;
  const double screenUp = p.m[1][1] * c + p.m[1][2] * s;
  return {p.origin.x() + p.scale * (screenX - p.cx), p.origin.y() - p.scale * (screenUp - p.cu)};
}

QPointF PreviewCanvas::ScreenPoint(double x, double y, double depth) const {
  if (mode_ == Mode::Flat) return {flatOrigin_.x() + flatZoom_ * x, flatOrigin_.y() - flatZoom_ * y};
  if (!path_) return {};
  const double circumference = static_cast<double>(path_->Circumference());
  const double phi = 2 * kPi * y / circumference;
  const double radius = (static_cast<double>(path_->Diameter()) + depth) / 2;
  return Project(CurrentProjection(), x, radius * std::cos(phi), -radius * std::sin(phi));
}

void PreviewCanvas::ProjectVertices() {
  const std::size_t n = path_->VertexCount();
  screenX_.resize(n);
  screenY_.resize(n);
  visible_.assign(n, 1);
  const std::vector<float>& fx = path_->FlatX();
  if (mode_ == Mode::Flat) {
    const std::vector<float>& fy = path_->FlatY();
    const auto zoom = static_cast<float>(flatZoom_);
    const auto ox = static_cast<float>(flatOrigin_.x());
    const auto oy = static_cast<float>(flatOrigin_.y());
    for (std::size_t i = 0; i < n; ++i) {
      screenX_[i] = ox + zoom * fx[i];
      screenY_[i] = oy - zoom * fy[i];
    }
    return;
  }
  const Projection p = CurrentProjection();
  const std::vector<float>& rc = path_->RadialC();
  const std::vector<float>& rs = path_->RadialS();
  const auto m00 = static_cast<float>(p.m[0][0]), m01 = static_cast<float>(p.m[0][1]),
             m02 = static_cast<float>(p.m[0][2]), m11 = static_cast<float>(p.m[1][1]),
             m12 = static_cast<float>(p.m[1][2]), m21 = static_cast<float>(p.m[2][1]),
             m22 = static_cast<float>(p.m[2][2]);
  const auto scale = static_cast<float>(p.scale);
  const auto ox = static_cast<float>(p.origin.x() - p.scale * p.cx);
  const auto oy = static_cast<float>(p.origin.y() + p.scale * p.cu);
  const auto radius = static_cast<float>(path_->Diameter() / 2);
  for (std::size_t i = 0; i < n; ++i) {
    const float up = m11 * rc[i] + m12 * rs[i];
    screenX_[i] = ox + scale * (m00 * fx[i] + m01 * rc[i] + m02 * rs[i]);
    screenY_[i] = oy - scale * up;
    // Facing the viewer, or standing out beside the cylinder.
    visible_[i] = (m21 * rc[i] + m22 * rs[i]) >= 0 || std::fabs(up) > radius;
  }
}

template <typename Sink>
void PreviewCanvas::EmitSegment(std::size_t from, std::size_t to, Sink& sink) const {
  const std::uint32_t move = path_->VertexMove()[to];
  const std::uint8_t colour = path_->VertexStyle()[to];
  const bool rapid = colour == PreviewPath::kRapidStyle;
  if (mode_ == Mode::Cylinder) {
    sink(Segment{screenX_[from], screenY_[from], screenX_[to], screenY_[to], move, colour, rapid});
    return;
  }
  // The surface repeats every turn: draw each image of the segment that the
  // view shows, starting from the one in the first turn.
  const double circumference = static_cast<double>(path_->Circumference());
  const double y0 = path_->FlatY()[from];
  const double y1 = path_->FlatY()[to];
  const double base = -std::floor(y0 / circumference) * circumference;
  const double low = std::min(y0, y1) + base;
  const double high = std::max(y0, y1) + base;
  const double viewTop = flatOrigin_.y() / flatZoom_;
  const double viewBottom = (flatOrigin_.y() - height()) / flatZoom_;
  const int first = static_cast<int>(std::ceil((viewBottom - high) / circumference));
  const int last = std::min(static_cast<int>(std::floor((viewTop - low) / circumference)), first + 50);
  for (int turn = first; turn <= last; ++turn) {
    const auto dy = static_cast<float>((base + turn * circumference) * flatZoom_);
    sink(Segment{screenX_[from], screenY_[from] - dy, screenX_[to], screenY_[to] - dy, move,
                 colour, rapid});
  }
}

template <typename Sink>
void PreviewCanvas::WalkSegments(Sink&& sink) const {
  const std::size_t n = path_->VertexCount();
  if (n < 2 || screenX_.size() != n) return;
  const std::vector<std::uint8_t>& style = path_->VertexStyle();
  std::size_t anchor = 0;
  for (std::size_t v = 1; v < n; ++v) {
    // Steps that stay within one pixel of the last drawn point, in the same
    // kind of move, are drawn as one: a million-line program then costs
    // about as much as the pixels it covers.
    const bool last = v + 1 == n;
    if (!last && std::fabs(screenX_[v] - screenX_[anchor]) < 1 &&
        std::fabs(screenY_[v] - screenY_[anchor]) < 1 &&
        (style[v] == PreviewPath::kRapidStyle) == (style[anchor + 1] == PreviewPath::kRapidStyle))
      continue;
    if (visible_[anchor] || visible_[v]) EmitSegment(anchor, v, sink);
    anchor = v;
  }
}

void PreviewCanvas::DrawCylinderBody(QPainter& painter, const Projection& p) const {
  const double radius = static_cast<double>(path_->Diameter()) / 2;
  double x0 = path_->MinX();
  double x1 = path_->MaxX();
  if (x1 - x0 < radius * 0.25) {
    const double middle = (x0 + x1) / 2;
    x0 = middle - radius * 0.125;
    x1 = middle + radius * 0.125;
  }
  // Light from the upper left, in front of the screen.
  const double light[3] = {0.25, 0.45, 0.86};
  const QColor base(196, 204, 216);
  auto shade = [&](double nx, double nu, double nw) {
    const double lambert = std::max(0.0, nx * light[0] + nu * light[1] + nw * light[2]);
    const double factor = 0.62 + 0.38 * lambert;
    return QColor(static_cast<int>(base.red() * factor), static_cast<int>(base.green() * factor),
                  static_cast<int>(base.blue() * factor));
  };
  painter.setRenderHint(QPainter::Antialiasing, false);
  constexpr int kFacets = 96;
  for (int i = 0; i < kFacets; ++i) {
    const double a0 = 2 * kPi * i / kFacets;
    const double a1 = 2 * kPi * (i + 1) / kFacets;
    const double am = (a0 + a1) / 2;
    const double nc = std::cos(am), ns = -std::sin(am);
    const double nx = p.m[0][1] * nc + p.m[0][2] * ns;
    const double nu = p.m[1][1] * nc + p.m[1][2] * ns;
    const double nw = p.m[2][1] * nc + p.m[2][2] * ns;
    if (nw <= 0) continue;
    const QColor colour = shade(nx, nu, nw);
    const QPointF quad[4] = {
        Project(p, x0, radius * std::cos(a0), -radius * std::sin(a0)),
        Project(p, x1, radius * std::cos(a0), -radius * std::sin(a0)),
        Project(p, x1, radius * std::cos(a1), -radius * std::sin(a1)),
        Project(p, x0, radius * std::cos(a1), -radius * std::sin(a1))};
    painter.setPen(QPen(colour, 1));
    painter.setBrush(colour);
    painter.drawPolygon(quad, 4);
  }
  // The end face that looks at the viewer.
  for (const double end : {x0, x1}) {
    const double sign = end == x0 ? -1 : 1;
    const double nw = p.m[2][0] * sign;
    if (nw <= 0) continue;
    QPolygonF disc;
    for (int i = 0; i < kFacets; ++i) {
      const double a = 2 * kPi * i / kFacets;
      disc << Project(p, end, radius * std::cos(a), -radius * std::sin(a));
    }
    // End faces are lit more softly, so that one turned away from the light
    // does not read as a hole.
    QColor colour = shade(p.m[0][0] * sign, 0, nw);
    colour = QColor((colour.red() + base.red()) / 2, (colour.green() + base.green()) / 2,
                    (colour.blue() + base.blue()) / 2);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(colour.darker(115), 1));
    painter.setBrush(colour);
    painter.drawPolygon(disc);
  }
  // The seam, angle 0/360, along the surface where it faces the viewer.
  const double seamW = p.m[2][1];
  const double seamUp = p.m[1][1] * radius;
  if (seamW >= 0 || std::fabs(seamUp) > radius * 0.98) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(kSeam, 1.5, Qt::DashLine);
    painter.setPen(pen);
    const QPointF a = Project(p, x0, radius, 0);
    const QPointF b = Project(p, x1, radius, 0);
    painter.drawLine(a, b);
    painter.drawText(b + QPointF(6, 4), QStringLiteral("Naht 0°/360°"));
  }
}

void PreviewCanvas::DrawFlatStrip(QPainter& painter) const {
  const double circumference = static_cast<double>(path_->Circumference());
  const int w = width();
  const int h = height();
  const double viewTop = flatOrigin_.y() / flatZoom_;
  const double viewBottom = (flatOrigin_.y() - h) / flatZoom_;
  // The surface repeats every turn; the seams between turns are dashed red.
  const int firstTurn = static_cast<int>(std::floor(viewBottom / circumference));
  const int lastTurn = std::min(static_cast<int>(std::floor(viewTop / circumference)), firstTurn + 50);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.fillRect(QRectF(kLeftMargin, 0, w - kLeftMargin, h - kBottomMargin), Qt::white);
  // Axial scale along the bottom, angle scale at the left.
  painter.setPen(QColor(170, 175, 185));
  const double stepX = NiceStep(70 / flatZoom_);
  const double xLow = (kLeftMargin - flatOrigin_.x()) / flatZoom_;
  const double xHigh = (w - flatOrigin_.x()) / flatZoom_;
  for (double x = std::ceil(xLow / stepX) * stepX; x <= xHigh; x += stepX) {
    const double sx = flatOrigin_.x() + flatZoom_ * x;
    painter.setPen(QColor(225, 228, 234));
    painter.drawLine(QPointF(sx, 0), QPointF(sx, h - kBottomMargin));
    painter.setPen(QColor(60, 60, 60));
    painter.drawText(QRectF(sx - 40, h - kBottomMargin + 2, 80, 16), Qt::AlignCenter, Number(x, stepX < 1 ? 2 : 0));
  }
  painter.drawText(QRectF(w - 90, h - kBottomMargin + 18, 84, 16), Qt::AlignRight, QStringLiteral("Z (mm)"));
  const double angleStep = NiceAngleStep(360.0 / (circumference * flatZoom_) * 40);
  const double stepY = circumference * angleStep / 360;
  for (double y = std::ceil(viewBottom / stepY) * stepY; y <= viewTop; y += stepY) {
    const double sy = flatOrigin_.y() - flatZoom_ * y;
    if (sy > h - kBottomMargin) continue;
    double angle = std::fmod(360 - 360 * y / circumference, 360.0);
    if (angle < 0) angle += 360;
    if (angle > 359.9995) angle = 0;
    painter.setPen(QColor(225, 228, 234));
    painter.drawLine(QPointF(kLeftMargin, sy), QPointF(w, sy));
    painter.setPen(QColor(60, 60, 60));
    painter.drawText(QRectF(0, sy - 8, kLeftMargin - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                     Number(angle, 0) + QStringLiteral("°"));
  }
  for (int turn = firstTurn; turn <= lastTurn + 1; ++turn) {
    const double sy = flatOrigin_.y() - flatZoom_ * turn * circumference;
    if (sy < 0 || sy > h - kBottomMargin) continue;
    painter.setPen(QPen(kSeam, 1.5, Qt::DashLine));
    painter.drawLine(QPointF(kLeftMargin, sy), QPointF(w, sy));
    painter.setPen(kSeam);
    painter.drawText(QPointF(kLeftMargin + 4, sy - 4), QStringLiteral("Naht 0°/360°"));
  }
  painter.setPen(QColor(150, 150, 150));
  painter.drawLine(QPointF(kLeftMargin, 0), QPointF(kLeftMargin, h - kBottomMargin));
}

void PreviewCanvas::DrawSegmentsWithPainter(QPainter& painter) const {
  painter.setRenderHint(QPainter::Antialiasing, true);
  std::array<std::vector<QLineF>, 64> buckets;
  std::vector<QPolygonF> rapids;
  std::uint32_t lastRapidMove = PreviewPath::kNoMove;
  for (const Segment& s : segments_) {
    if (s.rapid) {
      // A rapid is one dashed stroke, so that its dashes do not restart at
      // every step around the cylinder.
      if (s.move != lastRapidMove || rapids.empty() || rapids.back().last() != QPointF(s.x0, s.y0))
        rapids.push_back(QPolygonF() << QPointF(s.x0, s.y0));
      rapids.back() << QPointF(s.x1, s.y1);
      lastRapidMove = s.move;
    } else {
      buckets[s.colour / 4].emplace_back(s.x0, s.y0, s.x1, s.y1);
    }
  }
  // Rapids first, then the cuts from the shallowest to the deepest: where
  // moves overlap, the deepest cut shows.
  QPen dashed(kRapid, 1.3);
  dashed.setDashPattern({4, 3});
  painter.setPen(dashed);
  for (const QPolygonF& rapid : rapids) painter.drawPolyline(rapid);
  for (std::size_t b = buckets.size(); b-- > 0;) {
    if (buckets[b].empty()) continue;
    QPen pen(QColor::fromRgb(palette_[b * 4 + 2]), 1.8);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    painter.drawLines(buckets[b].data(), static_cast<int>(buckets[b].size()));
  }
}

bool PreviewCanvas::DrawsWithPainter() const {
  return path_->VertexCount() <= kPainterLimit;
}

void PreviewCanvas::DrawSegmentsRaster() {
  LineRaster raster(frame_, PlotRect());
  const QRgb rapidColour = kRapid.rgb();
  int phase = 0;
  std::uint32_t lastMove = PreviewPath::kNoMove;
  std::size_t count = 0;
  WalkSegments([&](const Segment& s) {
    ++count;
    if (s.move != lastMove) phase = 0;
    lastMove = s.move;
    // The deepest cut shows where moves overlap, rapids only where nothing
    // cuts.
    if (s.rapid)
      raster.Line(s.x0, s.y0, s.x1, s.y1, rapidColour, 255, 5, phase);
    else
      raster.Line(s.x0, s.y0, s.x1, s.y1, palette_[s.colour], s.colour, 0, phase);
  });
  drawnSegments_ = count;
}

void PreviewCanvas::RenderFrame() {
  if (frame_.size() != size()) frame_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
  frame_.fill(kBackground);
  frameValid_ = true;
  segments_.clear();
  drawnSegments_ = 0;
  QPainter painter(&frame_);
  if (!path_ || path_->Empty()) {
    painter.setPen(QColor(90, 90, 90));
    painter.drawText(rect().adjusted(20, 20, -20, -20), Qt::AlignCenter | Qt::TextWordWrap,
                     message_.isEmpty() ? QStringLiteral("Keine Bewegungen im MANTEL-Programm")
                                        : message_);
    return;
  }
  if (mode_ == Mode::Cylinder)
    DrawCylinderBody(painter, CurrentProjection());
  else
    DrawFlatStrip(painter);
  ProjectVertices();
  if (DrawsWithPainter()) {
    painter.setClipRect(PlotRect());
    WalkSegments([this](const Segment& s) { segments_.push_back(s); });
    drawnSegments_ = segments_.size();
    DrawSegmentsWithPainter(painter);
    return;
  }
  // Large programs go straight into the pixels, without a list between.
  painter.end();
  DrawSegmentsRaster();
}

void PreviewCanvas::DrawHighlight(QPainter& painter) const {
  if (!path_ || highlighted_ == PreviewPath::kNoMove) return;
  const std::size_t first = path_->FirstVertex(highlighted_) - 1;
  const std::size_t last = path_->LastVertex(highlighted_);
  QPolygonF stroke;
  for (std::size_t v = first; v <= last; ++v)
    stroke << ScreenPoint(path_->FlatX()[v], path_->FlatY()[v], path_->Depth()[v]);
  std::vector<QPolygonF> images;
  if (mode_ == Mode::Flat) {
    const double circumference = static_cast<double>(path_->Circumference());
    const double base = -std::floor(path_->FlatY()[first] / circumference) * circumference;
    for (int turn = -2; turn <= 2; ++turn)
      images.push_back(stroke.translated(0, -(base + turn * circumference) * flatZoom_));
  } else {
    images.push_back(stroke);
  }
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.save();
  painter.setClipRect(PlotRect());
  for (const QPolygonF& image : images) {
    QPen outline(QColor(40, 0, 40, 170), 7);
    outline.setCapStyle(Qt::RoundCap);
    outline.setJoinStyle(Qt::RoundJoin);
    painter.setPen(outline);
    painter.drawPolyline(image);
    QPen inner(kHighlight, 3.5);
    inner.setCapStyle(Qt::RoundCap);
    inner.setJoinStyle(Qt::RoundJoin);
    painter.setPen(inner);
    painter.drawPolyline(image);
    painter.setBrush(Qt::white);
    painter.setPen(QPen(kHighlight, 2));
    painter.drawEllipse(image.last(), 4, 4);
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

void PreviewCanvas::paintEvent(QPaintEvent*) {
  if (!frameValid_ || frame_.size() != size()) RenderFrame();
  QPainter painter(this);
  painter.drawImage(0, 0, frame_);
  DrawHighlight(painter);
  DrawLegend(painter);
}

void PreviewCanvas::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!userMoved_) ResetView();
  Invalidate();
}

std::uint32_t PreviewCanvas::MoveAt(QPointF point) const {
  constexpr double kReach = 6;
  double best = kReach * kReach;
  std::uint32_t found = PreviewPath::kNoMove;
  if (!path_ || !frameValid_) return found;
  const auto px = point.x();
  const auto py = point.y();
  auto nearest = [&](const Segment& s) {
    const double dx = s.x1 - s.x0;
    const double dy = s.y1 - s.y0;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((px - s.x0) * dx + (py - s.y0) * dy) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = s.x0 + t * dx - px;
    const double ey = s.y0 + t * dy - py;
    const double distance2 = ex * ex + ey * ey;
    // The later move wins a tie: it is the one drawn on top.
    if (distance2 <= best) {
      best = distance2;
      found = s.move;
    }
  };
  if (DrawsWithPainter())
    for (const Segment& s : segments_) nearest(s);
  else
    WalkSegments(nearest);
  return found;
}

void PreviewCanvas::mousePressEvent(QMouseEvent* event) {
  pressPoint_ = lastPoint_ = event->position().toPoint();
  dragged_ = false;
  setCursor(Qt::ClosedHandCursor);
}

void PreviewCanvas::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  const QPoint delta = point - lastPoint_;
  lastPoint_ = point;
  if ((point - pressPoint_).manhattanLength() > 3) dragged_ = true;
  if (!dragged_) return;
  userMoved_ = true;
  const bool pan = mode_ == Mode::Flat || (event->buttons() & Qt::RightButton) ||
                   (event->modifiers() & Qt::ShiftModifier);
  if (pan) {
    if (mode_ == Mode::Flat)
      flatOrigin_ += delta;
    else
      pan_ += delta;
    Invalidate();
  } else {
    // Up and down turn the cylinder about its axis, as the rotary axis would.
    Rotate(-delta.y() * 0.5, delta.x() * 0.4);
  }
}

void PreviewCanvas::mouseReleaseEvent(QMouseEvent* event) {
  setCursor(Qt::OpenHandCursor);
  if (dragged_ || event->button() != Qt::LeftButton || !path_) return;
  const std::uint32_t move = MoveAt(event->position());
  if (move == PreviewPath::kNoMove) return;
  highlighted_ = move;
  update();
  emit LineClicked(path_->MoveAt(move).line);
}

void PreviewCanvas::wheelEvent(QWheelEvent* event) {
  userMoved_ = true;
  const double factor = std::pow(1.15, event->angleDelta().y() / 120.0);
  const QPointF at = event->position();
  if (mode_ == Mode::Flat) {
    flatOrigin_ = at + (flatOrigin_ - at) * factor;
    flatZoom_ *= factor;
  } else {
    // Zoom about the mouse: the point under it stays put.
    const QPointF centre = QPointF(width() / 2.0, height() / 2.0) + pan_;
    pan_ += (centre - at) * (factor - 1);
    zoom_ *= factor;
  }
  Invalidate();
}

}  // namespace torvane
