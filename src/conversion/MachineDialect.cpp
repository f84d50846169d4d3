// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/MachineDialect.h"

#include <algorithm>
#include <cmath>

#include "conversion/FloatError.h"

namespace torvane {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

// Steps for `sweep` at most `step` wide. A sweep that is a whole number of
// steps but carries rounding noise from the centre's geometry (90.0000001
// for a quarter circle) must not gain a step for the noise.
long double StepsFor(long double sweep, long double step) {
  return std::ceil(sweep / step - 1e-9L);
}

}  // namespace

long double ChordDeviation(long double radius, long double stepDegrees) {
  return radius * (1 - std::cos(stepDegrees * kPi / 360));
}

std::int64_t ArcStepCount(long double sweepDegrees, long double radius, std::int32_t deg,
                          long double tolerance) {
  const long double step = deg < 1 ? 1 : deg;
  long double steps = StepsFor(sweepDegrees, step);
  if (tolerance > 0 && radius > 0) {
    // The step whose chord leaves exactly the tolerance: its half angle has
    // the cosine 1 - tolerance / radius. A tolerance of the diameter or more
    // allows any chord.
    const long double cosine = std::clamp(1 - tolerance / radius, -1.0L, 1.0L);
    const long double widest = 2 * std::acos(cosine) * 180 / kPi;
    if (!(widest > 0)) return 0;
    long double byTolerance = std::max(1.0L, StepsFor(sweepDegrees, widest));
    if (byTolerance > static_cast<long double>(kMaxArcSteps)) return 0;
    // Rounding (in acos, or the noise allowance) may leave the count a hair
    // short; one more step then keeps the promise.
    while (ChordDeviation(radius, sweepDegrees / byTolerance) > tolerance) ++byTolerance;
    steps = std::max(steps, byTolerance);
  }
  if (steps > static_cast<long double>(kMaxArcSteps)) return 0;
  return std::max<std::int64_t>(1, static_cast<std::int64_t>(steps));
}

bool ReadNeutralCodes(std::string_view text, std::vector<GCodeNumber>& codes) {
  codes.clear();
  std::size_t i = 0;
  auto digits = [&](unsigned& value) {
    const std::size_t start = i;
    value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      if (i - start >= 5) return false;  // no control has such codes
      value = value * 10 + static_cast<unsigned>(text[i] - '0');
    }
    return i > start;
  };
  while (true) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i == text.size()) return true;
    if (text[i] != 'G' && text[i] != 'g') return false;
    ++i;
    GCodeNumber code;
    if (!digits(code.major)) return false;
    if (i < text.size() && text[i] == '.') {
      ++i;
      unsigned minor = 0;
      if (!digits(minor)) return false;
      // G61.0 is G61, as the block reader reads it.
      if (minor != 0) code.minor = static_cast<int>(minor);
    }
    if (i < text.size() && text[i] != ' ' && text[i] != '\t') return false;
    codes.push_back(code);
  }
}

}  // namespace torvane
