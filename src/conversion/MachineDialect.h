// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

#include "conversion/FloatError.h"

namespace torvane {

// The pieces of the conversion that depend on the control the program runs
// on, as plain functions: the rotary angle of a source Y, the number of
// steps of a linearised arc, and the inverse-time feed of a move.

// Rotary-axis angle in degrees for the source value `y`, with
// `degreesPerUnit` = 360 / circumference, rounded to thousandths with ties
// to even. `inverted` reads Y as -Y (an axis that turns the other way).
// Modulo (`continuous` false): 360 - y * degreesPerUnit, not reduced; this
// is the angle the axis truly turns by, and a whole turn is 360 here (the
// written angle is WrittenAngle of it). Continuous: -y * degreesPerUnit,
// never reduced, so neighbouring angles differ by what their Y change says.
// Inline: the conversion computes one for nearly every line it writes.
inline long double TrueRotaryAngle(long double y, long double degreesPerUnit, bool continuous,
                                   bool inverted) {
  const long double source = inverted ? -y : y;
  long double a = continuous ? -(source * degreesPerUnit) : 360 - source * degreesPerUnit;
  // Thousandths of a degree, ties to even (rint rounds in the default mode
  // without nearbyint's costly save and restore of the FPU state). An
  // overflow anywhere on the way stays infinite to the end, and is raised
  // there as it would have been at once.
  a = CheckReal(std::rint(a * 1000) / 1000);
  // Y = 0 would give -0 on a continuous axis, which a control reads as 0
  // but the number format would write with its sign.
  if (a == 0) a = 0;
  return a;
}

// The angle as the program writes it: a modulo axis writes exactly 360 as
// 0, nothing else is reduced.
inline long double WrittenAngle(long double trueAngle, bool continuous) {
  return !continuous && trueAngle == 360 ? 0 : trueAngle;
}

inline long double RotaryAngle(long double y, long double degreesPerUnit, bool continuous,
                               bool inverted) {
  return WrittenAngle(TrueRotaryAngle(y, degreesPerUnit, continuous, inverted), continuous);
}

// Most steps a linearised arc may take: beyond it a tolerance asks for an
// output no control would want to run, and the run refuses it.
constexpr std::int64_t kMaxArcSteps = 1000000;

// Largest distance between an arc of radius `radius` and the chord of a
// step of `stepDegrees`.
long double ChordDeviation(long double radius, long double stepDegrees);

// Equal steps for a linearised arc of `sweepDegrees` (the exact sweep,
// above 0) on `radius`: the larger of ceil(sweep / deg) and the count whose
// chords stay within `tolerance` of the arc, so that ChordDeviation of
// sweep / n never exceeds the tolerance. `deg` below 1 counts as 1.
// Returns 0 when more than kMaxArcSteps would be needed.
std::int64_t ArcStepCount(long double sweepDegrees, long double radius, std::int32_t deg,
                          long double tolerance);

// A G code as number and decimal: G61.1 is {61, 1}, G64 {64, -1}.
struct GCodeNumber {
  unsigned major = 0;
  int minor = -1;
  bool operator==(const GCodeNumber&) const = default;
};

// The blank-separated G codes of the key "eneutral" ("G61.1 g187"). False
// when a word is not a G code; `codes` then holds the ones before it.
bool ReadNeutralCodes(std::string_view text, std::vector<GCodeNumber>& codes);

}  // namespace torvane
