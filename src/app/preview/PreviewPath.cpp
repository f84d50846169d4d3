// SPDX-License-Identifier: GPL-3.0-or-later
#include "PreviewPath.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "readback/PathGeometry.h"

namespace torvane {

PreviewPath::PreviewPath(std::vector<Move> read, long double diameter, AngleTravel travel,
                           bool inverted)
    : moves_(std::move(read)), diameter_(diameter), inverted_(inverted) {
  const std::vector<Move>& moves = moves_;
  const Unwrapper unwrapper(diameter, travel);
  // The machine's moves, machine arcs included, are followed in the
  // machine's own turning sense; only the vertices are mirrored back.
  const long double ySign = inverted ? -1 : 1;
  circumference_ = unwrapper.Circumference();
  flatX_.reserve(moves.size() + 1);
  flatY_.reserve(moves.size() + 1);
  depth_.reserve(moves.size() + 1);
  radialC_.reserve(moves.size() + 1);
  radialS_.reserve(moves.size() + 1);
  vertexMove_.reserve(moves.size() + 1);
  firstVertex_.reserve(moves.size() + 1);

  FlatPoint from = unwrapper.Start();
  AddVertex(from.x, ySign * from.y, from.z, kNoMove);
  float minDepth = std::numeric_limits<float>::max();
  float maxDepth = std::numeric_limits<float>::lowest();
  std::vector<FlatPoint> points;
  const long double stepLength = circumference_ * kStepDegrees / 360;
  for (std::size_t m = 0; m < moves_.size(); ++m) {
    const Move& move = moves_[m];
    const FlatPoint to = unwrapper.Unwrap(move, from.y);
    firstVertex_.push_back(flatX_.size());
    points.clear();
    if (move.kind == MoveKind::Rapid || move.kind == MoveKind::Feed) {
      const int pieces = std::clamp(
          static_cast<int>(std::ceil(std::fabs(to.y - from.y) / stepLength)), 1, 1000);
      for (int i = 1; i < pieces; ++i) {
        const long double t = static_cast<long double>(i) / pieces;
        points.push_back({from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t,
                          from.z + (to.z - from.z) * t});
      }
      points.push_back(to);
    } else {
      MovePoints(move, from, to, kStepDegrees, points);
    }
    const auto index = static_cast<std::uint32_t>(m);
    for (const FlatPoint& p : points) AddVertex(p.x, ySign * p.y, p.z, index);
    // The depths the cuts reach; a plunge from the air counts where it ends.
    if (move.kind != MoveKind::Rapid) {
      minDepth = std::min(minDepth, static_cast<float>(to.z));
      maxDepth = std::max(maxDepth, static_cast<float>(to.z));
    }
    from = to;
  }
  firstVertex_.push_back(flatX_.size());
  if (minDepth > maxDepth) minDepth = maxDepth = 0;
  minDepth_ = minDepth;
  maxDepth_ = maxDepth;
  const float range = maxDepth - minDepth;
  style_.resize(flatX_.size());
  style_[0] = kRapidStyle;
  for (std::size_t v = 1; v < style_.size(); ++v) {
    if (moves_[vertexMove_[v]].kind == MoveKind::Rapid) {
      style_[v] = kRapidStyle;
    } else {
      const float t = range < 1e-6f ? 0 : (depth_[v] - minDepth) / range;
      style_[v] = static_cast<std::uint8_t>(std::clamp(t * 254.0f + 0.5f, 0.0f, 254.0f));
    }
  }
  const auto [minX, maxX] = std::minmax_element(flatX_.begin(), flatX_.end());
  const auto [minY, maxY] = std::minmax_element(flatY_.begin(), flatY_.end());
  minX_ = *minX;
  maxX_ = *maxX;
  minY_ = *minY;
  maxY_ = *maxY;
}

void PreviewPath::AddVertex(long double x, long double y, long double depth,
                             std::uint32_t move) {
  flatX_.push_back(static_cast<float>(x));
  flatY_.push_back(static_cast<float>(y));
  depth_.push_back(static_cast<float>(depth));
  // The place on the circumference, as an angle from the seam. The radial
  // word X is a diameter (the surface is X = D), so the tool stands at
  // half of it: the path sits in its groove at the radius it will cut.
  // (Double precision is plenty for a picture, and far quicker.)
  const double phi = 2 * 3.14159265358979323846 * static_cast<double>(y / circumference_);
  const double radius = static_cast<double>((diameter_ + depth) / 2);
  radialC_.push_back(static_cast<float>(radius * std::cos(phi)));
  radialS_.push_back(static_cast<float>(-radius * std::sin(phi)));
  vertexMove_.push_back(move);
}

std::uint32_t PreviewPath::MoveOfLine(std::size_t line) const {
  const auto found = std::lower_bound(moves_.begin(), moves_.end(), line,
                                      [](const Move& move, std::size_t l) { return move.line < l; });
  if (found == moves_.end() || found->line != line) return kNoMove;
  return static_cast<std::uint32_t>(found - moves_.begin());
}

}  // namespace torvane
