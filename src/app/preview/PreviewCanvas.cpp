// SPDX-License-Identifier: GPL-3.0-or-later
#include "PreviewCanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "PreviewRaster.h"
#include "PreviewStyle.h"

namespace torvane {

using namespace preview;

namespace {

// Up to this many segments QPainter draws them smoothly; beyond, they go
// straight into the pixels.
constexpr std::size_t kPainterLimit = 40000;

// Deepest cut blue, through green and yellow, to red at the shallowest.
QRgb PaletteColour(int index) {
  const double t = index / 255.0;
  return QColor::fromHsvF(static_cast<float>(0.66 * (1 - t)), 0.85f, 0.85f).rgb();
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

void PreviewCanvas::SetAxisName(const QString& name) {
  axisName_ = name;
  update();
}

void PreviewCanvas::ResetView() {
  spin_ = 0;
  yaw_ = -20;
  if (path_ && !path_->Empty()) {
    // Turn the middle of the path towards the viewer.
    const double circumference = static_cast<double>(path_->Circumference());
    const double middle = std::fmod((path_->MinY() + path_->MaxY()) / 2.0, circumference);
    spin_ = 90 + 360 * middle / circumference;
  }
  userMoved_ = false;
  FitCylinder();
  FitFlat();
  Invalidate();
}

void PreviewCanvas::FitView() {
  userMoved_ = false;
  if (mode_ == Mode::Cylinder)
    FitCylinder();
  else
    FitFlat();
  Invalidate();
}

void PreviewCanvas::FitCylinder() {
  zoom_ = 1;
  pan_ = {};
  if (!path_ || path_->Empty()) return;
  // The box of the body, with room for the turning arrow at its end, and
  // of the path, which may stand out of it (rapids above the surface), at
  // a scale of 1 about the widget's centre.
  const Projection p = CurrentProjection();
  double left = 1e300, right = -1e300, top = 1e300, bottom = -1e300;
  auto take = [&](QPointF q) {
    left = std::min(left, q.x());
    right = std::max(right, q.x());
    top = std::min(top, q.y());
    bottom = std::max(bottom, q.y());
  };
  const auto [x0, x1] = CylinderEnds();
  const double rim = static_cast<double>(path_->Diameter()) / 2 * 1.15;
  for (int i = 0; i < 72; ++i) {
    const double a = 2 * kPi * i / 72;
    take(Project(p, x0, rim * std::cos(a), rim * std::sin(a)));
    take(Project(p, x1, rim * std::cos(a), rim * std::sin(a)));
  }
  // Every vertex of a small program; of a large one, enough of them.
  const std::size_t n = path_->VertexCount();
  const std::size_t stride = std::max<std::size_t>(1, n / 20000);
  for (std::size_t v = 0; v < n; v += stride)
    take(Project(p, path_->FlatX()[v], path_->RadialC()[v], path_->RadialS()[v]));
  const QRectF room(16, 12, std::max(width() - 32, 40), std::max(height() - kLegendBand - 20, 40));
  zoom_ = std::min(room.width() / std::max(right - left, 1e-9),
                   room.height() / std::max(bottom - top, 1e-9));
  const QPointF centre(width() / 2.0, height() / 2.0);
  const QPointF boxCentre((left + right) / 2, (top + bottom) / 2);
  pan_ = room.center() - zoom_ * (boxCentre - centre) - centre;
}

void PreviewCanvas::FitFlat() {
  flatZoom_ = 1;
  flatOrigin_ = {};
  if (!path_ || path_->Empty()) return;
  // The flat view fits the path, or one whole turn when it winds further.
  const double circumference = static_cast<double>(path_->Circumference());
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
  constexpr int kTop = 20;
  const double availableWidth = std::max(width() - kLeftMargin - 16, 50);
  const double availableHeight = std::max(height() - kBottomMargin - kTop - 8, 50);
  flatZoom_ = std::min(availableWidth / (x1 - x0), availableHeight / (y1 - y0));
  flatOrigin_ = {kLeftMargin + (availableWidth - (x1 - x0) * flatZoom_) / 2 - x0 * flatZoom_,
                 kTop + (availableHeight + (y1 - y0) * flatZoom_) / 2 + y0 * flatZoom_};
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
  const Projection p = CurrentProjection();
  if (mode_ == Mode::Cylinder)
    DrawCylinderBack(painter, p);
  else
    DrawFlatStrip(painter);
  ProjectVertices();
  if (DrawsWithPainter()) {
    painter.save();
    painter.setClipRect(PlotRect());
    WalkSegments([this](const Segment& s) { segments_.push_back(s); });
    drawnSegments_ = segments_.size();
    DrawSegmentsWithPainter(painter);
    painter.restore();
  } else {
    // Large programs go straight into the pixels, without a list between.
    painter.end();
    DrawSegmentsRaster();
    painter.begin(&frame_);
  }
  if (mode_ == Mode::Cylinder) {
    DrawCylinderSkin(painter, p);
    DrawTurnArrow(painter, p);
  } else {
    DrawScaleBar(painter);
  }
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

void PreviewCanvas::paintEvent(QPaintEvent*) {
  if (!frameValid_ || frame_.size() != size()) RenderFrame();
  QPainter painter(this);
  painter.drawImage(0, 0, frame_);
  if (!path_ || path_->Empty()) return;
  DrawStartAndEnd(painter);
  DrawHighlight(painter);
  DrawLegend(painter);
  if (mode_ == Mode::Cylinder) DrawTriad(painter);
}

void PreviewCanvas::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The turn stays; the part is fitted to the new size until the user
  // zooms or pans.
  if (!userMoved_) {
    FitCylinder();
    FitFlat();
  }
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
