// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace torvane {

// One move a control makes for a drilling cycle, in source coordinates:
// to the hole's place in the plane at the depth it stands at, or along the
// depth alone.
struct CycleMove {
  bool feed = false;   // else rapid
  bool plane = false;  // to (x, y); else to the depth z
  long double x = 0, y = 0, z = 0;
  bool operator==(const CycleMove&) const = default;
};

// One hole of a drilling cycle (G73, G81, G82, G83, G85, G89), every level
// absolute. `clear` is where the tool leaves the hole: the R plane (G99) or
// the initial level (G98).
struct DrillHole {
  unsigned code = 81;
  long double x = 0, y = 0;
  long double r = 0;
  long double bottom = 0;
  long double clear = 0;
  // G73 and G83: the depth of one peck (Q, above 0), and how far G73
  // backs off after a peck and G83 stops above the depth it reached.
  long double peck = 0;
  long double backOff = 0;
};

// More pecks than this in one block (its repeats included) ask for a
// program no one meant.
constexpr std::int64_t kMaxPecks = 1000000;

// Pecks of `peck` from `r` down to `bottom`, at least 1; 0 when more than
// kMaxPecks.
std::int64_t PeckCount(long double r, long double bottom, long double peck);

// The moves for `hole`, the tool standing at depth `z` (infinite: not
// known) over the hole before: up to the R plane when it stands below it, over
// the hole, down to the R plane, the cycle's own moves, out to `clear`.
// Dwells move nothing and give no move. The caller has checked the levels
// (bottom not above R) and the peck count.
void ExpandHole(const DrillHole& hole, long double z, std::vector<CycleMove>& moves);

}  // namespace torvane
