#include "conversion/MachineDialect.h"

#include <algorithm>
#include <cmath>

#include "conversion/FloatError.h"

namespace torvane {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

}  // namespace

long double RotaryAngle(long double y, long double degreesPerUnit, bool continuous,
                        bool inverted) {
  const long double source = inverted ? -y : y;
  long double a = continuous ? CheckReal(-(source * degreesPerUnit))
                             : CheckReal(360 - source * degreesPerUnit);
  // Thousandths of a degree, ties to even (rint rounds in the default mode
  // without nearbyint's costly save and restore of the FPU state).
  a = CheckReal(std::rint(CheckReal(a * 1000))) / 1000;
  if (continuous) {
    // Y = 0 would give -0, which a control reads as 0 but the number
    // format would write with its sign.
    if (a == 0) a = 0;
  } else if (a == 360) {
    a = 0;
  }
  return a;
}

long double ChordDeviation(long double radius, long double stepDegrees) {
  return radius * (1 - std::cos(stepDegrees * kPi / 360));
}

std::int64_t ArcStepCount(long double sweepDegrees, long double radius, std::int32_t deg,
                          long double tolerance) {
  const long double step = deg < 1 ? 1 : deg;
  long double steps = std::ceil(sweepDegrees / step);
  if (tolerance > 0 && radius > 0) {
    // The step whose chord leaves exactly the tolerance: its half angle has
    // the cosine 1 - tolerance / radius. A tolerance of the diameter or more
    // allows any chord.
    const long double cosine = std::clamp(1 - tolerance / radius, -1.0L, 1.0L);
    const long double widest = 2 * std::acos(cosine) * 180 / kPi;
    if (!(widest > 0)) return 0;
    long double byTolerance = std::ceil(sweepDegrees / widest);
    if (byTolerance > static_cast<long double>(kMaxArcSteps)) return 0;
    // Rounding in acos may leave the quotient a hair short of the true
    // count; one more step then keeps the promise.
    while (ChordDeviation(radius, sweepDegrees / byTolerance) > tolerance) ++byTolerance;
    steps = std::max(steps, byTolerance);
  }
  if (steps > static_cast<long double>(kMaxArcSteps)) return 0;
  return std::max<std::int64_t>(1, static_cast<std::int64_t>(steps));
}

}  // namespace torvane
