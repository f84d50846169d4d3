// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "readback/PathGeometry.h"
#include "readback/TargetReader.h"

namespace torvane {

// The read-back program as the views draw it: one continuous chain of
// vertices from the converter's start point on, each segment ending at a
// vertex belonging to one move. Arcs are followed in small steps, and so
// are straight moves that turn the rotary axis, which wind around the
// cylinder as helices. Floats suffice for drawing and halve the memory of a
// million-line program.
class PreviewPath {
 public:
  static constexpr std::uint32_t kNoMove = 0xFFFFFFFF;
  // Angular step of arcs and of straight moves around the cylinder.
  static constexpr long double kStepDegrees = 5;

  PreviewPath() = default;
  // `travel`: how the rotary axis reads the angles (a modulo axis takes the
  // shorter way, a continuous one the written difference). `inverted`: the
  // program was written for an axis that turns the other way; the picture
  // turns it back, so that it shows the contour as on the part.
  PreviewPath(std::vector<Move> moves, long double diameter,
               AngleTravel travel = AngleTravel::Modulo, bool inverted = false);

  bool Empty() const { return moves_.empty(); }
  long double Diameter() const { return diameter_; }
  long double Circumference() const { return circumference_; }
  // The angles were mirrored back for the picture: the axis turns positive
  // towards rising y, not falling.
  bool Inverted() const { return inverted_; }
  std::size_t MoveCount() const { return moves_.size(); }
  std::size_t VertexCount() const { return flatX_.size(); }

  // Per vertex. Flat: x along the axis, y along the circumference (not
  // reduced to one turn), depth. On the cylinder: x along the axis, and
  // the radial position turned to the vertex's place on the circumference
  // (c = r cos phi, s = -r sin phi), so that the views need no sine.
  const std::vector<float>& FlatX() const { return flatX_; }
  const std::vector<float>& FlatY() const { return flatY_; }
  const std::vector<float>& Depth() const { return depth_; }
  const std::vector<float>& RadialC() const { return radialC_; }
  const std::vector<float>& RadialS() const { return radialS_; }
  // The move of the segment that ends at each vertex (kNoMove for the first).
  const std::vector<std::uint32_t>& VertexMove() const { return vertexMove_; }
  // How the segment that ends at each vertex is drawn: kRapidStyle, or its
  // depth as 0 (deepest cut) to 254 (shallowest).
  static constexpr std::uint8_t kRapidStyle = 255;
  const std::vector<std::uint8_t>& VertexStyle() const { return style_; }

  const Move& MoveAt(std::size_t index) const { return moves_[index]; }
  // The vertices of a move's segments: from FirstVertex(m) - 1 to LastVertex(m).
  std::size_t FirstVertex(std::size_t move) const { return firstVertex_[move]; }
  std::size_t LastVertex(std::size_t move) const { return firstVertex_[move + 1] - 1; }
  // The move written on a 1-based line, or kNoMove.
  std::uint32_t MoveOfLine(std::size_t line) const;
  bool IsRapid(std::size_t move) const { return moves_[move].kind == MoveKind::Rapid; }

  float MinX() const { return minX_; }
  float MaxX() const { return maxX_; }
  float MinY() const { return minY_; }
  float MaxY() const { return maxY_; }
  // Depth range reached by the cutting moves (rapids do not count).
  float MinDepth() const { return minDepth_; }
  float MaxDepth() const { return maxDepth_; }

 private:
  void AddVertex(long double x, long double y, long double depth, std::uint32_t move);

  std::vector<Move> moves_;
  long double diameter_ = 0;
  long double circumference_ = 0;
  bool inverted_ = false;
  std::vector<float> flatX_, flatY_, depth_, radialC_, radialS_;
  std::vector<std::uint32_t> vertexMove_;
  std::vector<std::uint8_t> style_;
  std::vector<std::size_t> firstVertex_;
  float minX_ = 0, maxX_ = 0, minY_ = 0, maxY_ = 0, minDepth_ = 0, maxDepth_ = 0;
};

}  // namespace torvane
