// SPDX-License-Identifier: GPL-3.0-or-later
#include "readback/PathGeometry.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "conversion/NCMath.h"

namespace torvane {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

}  // namespace

Unwrapper::Unwrapper(long double diameter, AngleTravel travel)
    : diameter_(diameter),
      circumference_(kPi * diameter),
      unitsPerDegree_(circumference_ / 360),
      degreesPerUnit_(360 / circumference_),
      travel_(travel) {}

FlatPoint Unwrapper::Unwrap(const Move& move, long double previousY) const {
  FlatPoint point;
  point.x = move.axial;
  point.z = move.radial - diameter_;
  if (travel_ == AngleTravel::AsWritten) {
    point.y = -move.angle * unitsPerDegree_;
    return point;
  }
  // The turn from where the axis stands, 0 up to a whole turn the positive
  // way; angles are whole thousandths, so what lies within a millionth of a
  // whole turn is rounding noise of the way back from y.
  const long double standing = 360 - previousY * degreesPerUnit_;
  long double turn = move.angle - standing;
  turn -= 360 * std::floor(turn * (1.0L / 360));
  if (turn < 1e-6L || turn > 360 - 1e-6L) turn = 0;
  if (turn > 0 && (move.direction < 0 || (move.direction == 0 && turn > 180))) turn -= 360;
  point.y = previousY - turn * unitsPerDegree_;
  return point;
}

bool MachineArcCentre(const Move& arc, const FlatPoint& from, const FlatPoint& to,
                      long double& cx, long double& cy) {
  const int clockwise = arc.kind == MoveKind::ArcClockwise ? 1 : 0;
  try {
    return ArcCenter(clockwise, cx, cy, from.x, from.y, to.x, to.y, arc.radius) ==
           ArcCenterReport::Found;
  } catch (const std::exception&) {
    return false;
  }
}

void MovePoints(const Move& move, const FlatPoint& from, const FlatPoint& to,
                long double maxStepDegrees, std::vector<FlatPoint>& points) {
  const bool arc =
      move.kind == MoveKind::ArcClockwise || move.kind == MoveKind::ArcCounterClockwise;
  long double cx = 0;
  long double cy = 0;
  if (!arc || !MachineArcCentre(move, from, to, cx, cy)) {
    points.push_back(to);
    return;
  }
  // The circle through the start; an end off it (a radius too short for
  // the chord) is reached by the last step, as the converter would.
  const long double radius = std::hypot(from.x - cx, from.y - cy);
  const long double start = std::atan2(from.y - cy, from.x - cx);
  const long double end = std::atan2(to.y - cy, to.x - cx);
  long double sweep = move.kind == MoveKind::ArcClockwise ? start - end : end - start;
  sweep = std::fmod(sweep, 2 * kPi);
  if (sweep < 0) sweep += 2 * kPi;
  const long double step = maxStepDegrees * kPi / 180;
  const int count = std::max(1, static_cast<int>(std::ceil(sweep / step)));
  const long double direction = move.kind == MoveKind::ArcClockwise ? -1 : 1;
  for (int i = 1; i < count; ++i) {
    const long double t = static_cast<long double>(i) / count;
    const long double theta = start + direction * sweep * t;
    points.push_back({cx + radius * std::cos(theta), cy + radius * std::sin(theta),
                      from.z + (to.z - from.z) * t});
  }
  points.push_back(to);
}

}  // namespace torvane
