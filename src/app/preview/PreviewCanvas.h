// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPointF>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "PreviewPath.h"

namespace torvane {

// Draws a read-back program: on the cylinder (orthographic, turned with the
// mouse) or laid flat (Z across, circumference upwards, the seam marked).
// The picture of the path is kept between frames, so that moving the caret
// only redraws the highlighted move.
class PreviewCanvas : public QWidget {
  Q_OBJECT

 public:
  enum class Mode { Cylinder, Flat };

  explicit PreviewCanvas(QWidget* parent = nullptr);

  // A new program. `keepView`: the same program edited, keep the user's
  // turn and zoom; otherwise the view is fitted anew.
  void SetPath(std::shared_ptr<const PreviewPath> path, bool keepView);
  const PreviewPath* Path() const { return path_.get(); }
  // Shown instead of a picture while there is no path.
  void SetMessage(const QString& message);

  Mode ViewMode() const { return mode_; }
  void SetMode(Mode mode);
  // The letter of the rotary axis, for the turning arrow ("C").
  void SetAxisName(const QString& name);
  // The starting turn, and the whole part fitted into the picture.
  void ResetView();
  // Keeps the turn and fits the whole part (flat: the whole path) anew.
  void FitView();
  // Turns the cylinder about its own axis and about the screen's vertical.
  void Rotate(double spinDegrees, double yawDegrees);

  // The move written on this 1-based line is highlighted (none: 0).
  void SetCaretLine(std::size_t line);
  std::uint32_t HighlightedMove() const { return highlighted_; }

  // Where a flat point (axial, circumference, depth) appears in the current
  // view, in widget pixels; the flat view shows the first turn's image.
  QPointF ScreenPoint(double x, double y, double depth) const;
  // The move drawn nearest to a widget point, within a few pixels, or kNoMove.
  std::uint32_t MoveAt(QPointF point) const;

  // Renders the path's picture now (also used by the benchmark).
  void RenderFrame();
  // Segments drawn in the last frame, after merging those on one pixel.
  std::size_t DrawnSegments() const { return drawnSegments_; }

 signals:
  // The user clicked a move; its 1-based line.
  void LineClicked(std::size_t line);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  struct Segment {
    float x0, y0, x1, y1;
    std::uint32_t move;
    std::uint8_t colour;  // depth colour index; unused for rapids
    bool rapid;
  };
  struct Projection {
    // Rows of the turn: screen right, screen up, towards the viewer.
    double m[3][3];
    double scale;
    QPointF origin;  // where the turn's centre point lands
    double cx, cu;   // the turned centre point
  };

  Projection CurrentProjection() const;
  QPointF Project(const Projection& p, double x, double c, double s) const;
  // The i-th of the cylinder side's facets between x0 and x1: its corners
  // on the screen and its outward normal in screen axes (right, up,
  // towards the viewer).
  struct Facet {
    QPointF quad[4];
    double nx, nu, nw;
  };
  Facet SideFacet(const Projection& p, int i, double x0, double x1) const;
  void ProjectVertices();
  // Calls sink(segment) for every segment to draw, after merging.
  template <typename Sink>
  void WalkSegments(Sink&& sink) const;
  template <typename Sink>
  void EmitSegment(std::size_t from, std::size_t to, Sink& sink) const;
  // The cylinder's far wall is drawn behind the path, its near skin
  // translucent over it: a cut below the surface shows through the skin,
  // inside the outline, while what stands above the surface stays clear.
  struct BodyEnds {
    double x0, x1;
  };
  BodyEnds CylinderEnds() const;
  void DrawCylinderBack(QPainter& painter, const Projection& p) const;
  void DrawCylinderSkin(QPainter& painter, const Projection& p) const;
  void DrawTurnArrow(QPainter& painter, const Projection& p) const;
  void DrawTriad(QPainter& painter) const;
  void DrawFlatStrip(QPainter& painter) const;
  void DrawScaleBar(QPainter& painter) const;
  void DrawStartAndEnd(QPainter& painter) const;
  void FitCylinder();
  void FitFlat();
  void DrawSegmentsWithPainter(QPainter& painter) const;
  void DrawSegmentsRaster();
  bool DrawsWithPainter() const;
  void DrawHighlight(QPainter& painter) const;
  void DrawLegend(QPainter& painter) const;
  void Invalidate();
  // Where the path may be drawn: all of it on the cylinder, inside the
  // scales when flat.
  QRect PlotRect() const;

  std::shared_ptr<const PreviewPath> path_;
  QString message_;
  QString axisName_ = QStringLiteral("C");
  Mode mode_ = Mode::Cylinder;
  // Cylinder view: turns in degrees, pixels per program unit, shift.
  double spin_ = 0, yaw_ = 0, zoom_ = 1;
  QPointF pan_;
  // Flat view: pixels per unit and the screen point of the flat origin.
  double flatZoom_ = 1;
  QPointF flatOrigin_;
  std::uint32_t highlighted_ = PreviewPath::kNoMove;

  QImage frame_;
  bool frameValid_ = false;
  std::vector<float> screenX_, screenY_;
  std::vector<std::uint8_t> visible_;
  // The segments of the last frame when QPainter drew them.
  std::vector<Segment> segments_;
  std::size_t drawnSegments_ = 0;
  std::array<QRgb, 256> palette_{};

  QPoint pressPoint_;
  QPoint lastPoint_;
  bool dragged_ = false;
  // Until the user turns, pans or zooms, the view is fitted at every resize.
  bool userMoved_ = false;
};

}  // namespace torvane
