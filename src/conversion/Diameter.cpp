// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/Diameter.h"

#include <cmath>
#include "text/Windows1252.h"

namespace torvane {

std::optional<std::string> DiameterProblem(long double diameter) {
  constexpr long double kPi = 3.141592653589793238462643383279502884L;
  if (std::isnan(diameter) || diameter <= 0) {
    return Cp1252("Der Durchmesser muss größer als 0 sein");
  }
  const long double circumference = kPi * diameter;
  if (!std::isfinite(circumference)) return Cp1252("Der Durchmesser ist zu groß");
  if (!std::isnormal(circumference) || !std::isfinite(360 / circumference))
    return "Der Durchmesser ist zu klein";
  return std::nullopt;
}

}  // namespace torvane
