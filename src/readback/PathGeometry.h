// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "readback/TargetReader.h"

namespace torvane {

// A point of the converted program laid flat again: x along the cylinder
// (the machine's Z), y along the circumference in the source's Y direction,
// z the depth (radial X minus the diameter), all in program units.
struct FlatPoint {
  long double x = 0;
  long double y = 0;
  long double z = 0;
};

// How the rotary axis travels from one angle to the next.
enum class AngleTravel {
  // An axis that counts on past 360 travels the written difference, from
  // the first line on: its angle is -y * 360 / circumference.
  AsWritten,
  // A modulo axis as the control runs it: each new angle is reached in
  // less than a whole turn, turning the way of the direction word in force
  // (with none, the shorter way). A word that names the wrong way shows
  // as a turn around the part.
  Modulo,
};

// Lays the machine's moves flat, the inverse of the wrapping: a modulo
// angle a came from a = 360 - y * 360 / circumference, a continuous one
// from a = -y * 360 / circumference. Both start at y 0.
class Unwrapper {
 public:
  explicit Unwrapper(long double diameter, AngleTravel travel = AngleTravel::Modulo);

  long double Diameter() const { return diameter_; }
  long double Circumference() const { return circumference_; }

  // Where the converter starts: Z 0, angle 0, on the surface.
  FlatPoint Start() const { return {}; }

  // The end point of `move`, coming from a point at `previousY` (which
  // also gives the angle the axis stands at).
  FlatPoint Unwrap(const Move& move, long double previousY) const;

 private:
  long double diameter_;
  long double circumference_;
  // Every move needs both: multiplied, not divided each time.
  long double unitsPerDegree_;
  long double degreesPerUnit_;
  AngleTravel travel_;
};

// Centre of a machine arc in the flat plane, the way the converter chose it
// from the source arc: from `from` to `to` with the arc's signed radius.
// False when the two ends coincide (no centre).
bool MachineArcCentre(const Move& arc, const FlatPoint& from, const FlatPoint& to,
                      long double& cx, long double& cy);

// The points of a move in the flat plane, `from` excluded, `to` included:
// a straight move is its end point; a machine arc is followed in steps of at
// most `maxStepDegrees` around its centre (depth taken along linearly).
void MovePoints(const Move& move, const FlatPoint& from, const FlatPoint& to,
                long double maxStepDegrees, std::vector<FlatPoint>& points);

}  // namespace torvane
