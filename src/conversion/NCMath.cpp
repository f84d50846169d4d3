// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/NCMath.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

#include "conversion/FloatError.h"
#include "conversion/NCFormat.h"

namespace torvane {
namespace {

// 180/pi as the machine programs have always been computed with.
constexpr long double kDegreesPerRadian = 57.29577951308232L;

// Rounds to three decimals through the fixed-point text form, which strips
// the rounding noise that would otherwise split a half circle into two
// centres a hair apart.
long double RoundThroughText(long double value) {
  // The whole number of thousandths divided by 1000 is the same nearest
  // real that reading the text back would give.
  std::uint64_t thousandths = 0;
  if (FixedUnits(std::fabs(value), 3, thousandths)) {
    const long double magnitude = static_cast<long double>(thousandths) / 1000;
    return value < 0 ? -magnitude : magnitude;
  }
  std::string text;
  if (value < 0) text += '-';
  AppendFixedMagnitude(text, value, 3);
  long double result = 0;
  std::from_chars(text.data(), text.data() + text.size(), result);
  return result;
}

long double Unscale(long double scaled) {
  if (std::fabs(scaled) <= 0.001L) return 0;
  return scaled / 1000;
}

}  // namespace

ArcCenterReport ArcCenter(int clockwise, long double& cx, long double& cy, long double x1,
                          long double y1, long double x2, long double y2, long double r) {
  // Working in thousandths keeps the discriminant's rounding at a scale
  // where three decimals mean something.
  x1 = CheckReal(x1 * 1000);
  y1 = CheckReal(y1 * 1000);
  x2 = CheckReal(x2 * 1000);
  y2 = CheckReal(y2 * 1000);
  r = CheckReal(r * 1000);

  if (x1 == x2 && y1 == y2) return ArcCenterReport::CoincidentPoints;

  const long double mx = CheckReal((x1 + x2) * 0.5L);
  const long double my = CheckReal((y1 + y2) * 0.5L);
  const long double halfChordSquared = CheckReal((mx - x1) * (mx - x1) + (my - y1) * (my - y1));
  long double q = CheckReal(halfChordSquared - r * r);
  if (q > 0) q = 0;  // radius too short: half circle about the midpoint

  const long double dx = x2 - x1;
  const long double dy = y2 - y1;
  const long double v = CheckReal(2 * (dy * (mx - x1) - dx * (my - y1)));
  const long double w = CheckReal(dy * dy + (x1 - x2) * (x1 - x2));
  long double d = CheckReal(v * v - 4 * w * q);
  d = RoundThroughText(d);

  long double centreX = 0;
  long double centreY = 0;
  if (d == 0) {
    centreX = CheckReal((x1 + x2) / 2);
    centreY = CheckReal((y1 + y2) / 2);
  } else {
    const long double root = std::sqrt(d);
    const long double s1 = CheckedDivide(root - v, 2 * w);
    const long double s2 = CheckedDivide(-v - root, 2 * w);
    // Candidate 1 lies to the right of the chord seen from start to end.
    const bool right = (clockwise == 1) == (r > 0);
    const long double s = right ? s1 : s2;
    centreX = CheckReal(mx + dy * s);
    centreY = CheckReal(my - dx * s);
  }
  cx = Unscale(centreX);
  cy = Unscale(centreY);
  return ArcCenterReport::Found;
}

long double PointAngle(long double px, long double py, long double cx, long double cy) {
  const long double a = std::atan2(CheckReal(py - cy), CheckReal(px - cx)) * kDegreesPerRadian;
  // atan2 gives -180 to 180; a tiny negative angle must not round up to 360.
  if (a >= 0) return a;
  const long double turned = a + 360;
  return turned < 360 ? turned : 0;
}

long double ArcSweep(long double start, long double end, bool clockwise, bool fullCircle) {
  if (start == end) return fullCircle ? 360 : 0;
  if (clockwise) return end < start ? start - end : 360 - end + start;
  return end > start ? end - start : 360 - start + end;
}

}  // namespace torvane
