// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace torvane {

// Why a cylinder diameter cannot be converted with, or nothing when it can:
// it must be above 0, and its circumference and the degrees per unit of Y
// must both be finite extended reals. German, Windows-1252, no full stop.
std::optional<std::string> DiameterProblem(long double diameter);

}  // namespace torvane
