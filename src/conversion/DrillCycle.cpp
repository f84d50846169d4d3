// SPDX-License-Identifier: GPL-3.0-or-later
// Drilling cycles become the rapid and feed moves they stand for, so that
// each hole is converted like any other move (drilled radially into the
// cylinder). The levels follow RS274/NGC: a tool below the R plane goes up
// to it first, and G98 leaves at the higher of the initial level and R.

#include "conversion/DrillCycle.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "conversion/Conversion.h"
#include "conversion/FloatError.h"
#include "text/Windows1252.h"

namespace torvane {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

}  // namespace

std::int64_t PeckCount(long double r, long double bottom, long double peck) {
  const long double count = std::ceil((r - bottom) / peck);
  if (!(count <= static_cast<long double>(kMaxPecks))) return 0;
  return std::max<std::int64_t>(1, static_cast<std::int64_t>(count));
}

void ExpandHole(const DrillHole& hole, long double z, std::vector<CycleMove>& moves) {
  const auto rapid = [&](long double depth) { moves.push_back({false, false, 0, 0, depth}); };
  const auto feed = [&](long double depth) { moves.push_back({true, false, 0, 0, depth}); };
  if (z < hole.r) rapid(hole.r);
  moves.push_back({false, true, hole.x, hole.y, 0});
  rapid(hole.r);
  switch (hole.code) {
    case 73:
    case 83: {
      // Each peck goes Q deeper than the last, the last one to the bottom;
      // counted from R, so that no rounding adds up and a peck below the
      // numbers' resolution still ends.
      const std::int64_t count = PeckCount(hole.r, hole.bottom, hole.peck);
      for (std::int64_t k = 1;; ++k) {
        const long double reached =
            k >= count ? hole.bottom
                       : std::max(hole.r - hole.peck * static_cast<long double>(k), hole.bottom);
        feed(reached);
        if (k >= count) break;
        if (hole.code == 83) {
          // Out of the hole for the chips, back in to just above the depth.
          rapid(hole.r);
          rapid(std::min(reached + hole.backOff, hole.r));
        } else {
          // A short step back breaks the chip.
          rapid(std::min(reached + hole.backOff, hole.r));
        }
      }
      rapid(hole.clear);
      break;
    }
    case 85:
    case 89:
      // Bored out at feed to R, then rapid on to the initial level.
      feed(hole.bottom);
      feed(hole.r);
      rapid(hole.clear);
      break;
    default:  // 81, 82
      feed(hole.bottom);
      rapid(hole.clear);
      break;
  }
}

void Conversion::ConvertCycleBlock(std::string_view code, const BlockWords& words) {
  const std::string name = "Bohrzyklus G" + std::to_string(cycle_.code);
  if (state_.plane != Plane::XY) {
    Refuse(name + Cp1252(" in der Ebene ") + (state_.plane == Plane::ZX ? "G18" : "G19") +
           Cp1252(" wird nicht unterstützt: er bohrte entlang X oder Y, nicht in die Tiefe"));
  }
  if (cycle_.entering) {
    // The level the cycle started at, where G98 returns to. Before any Z
    // word the tool stands where the machine left it.
    cycle_.entering = false;
    cycle_.initial = state_.currentZ;
    cycle_.initialUnknown = depthUnknown_;
    cycle_.initialUnset = !depthNamed_;
  }
  if (returnToInitial_ && cycle_.initialUnset) {
    Refuse(name + Cp1252(" mit G98 vor der ersten Z-Bewegung: die Ausgangsebene, auf die er "
                         "zurückfährt, ist unbekannt"));
  }
  // R, Z and Q hold until the cycle ends.
  const auto keep = [&](Word word, bool& has, long double& value) {
    if (words.at[word] == kNone) return;
    value = ReadWord(code, words, word);
    has = true;
  };
  keep(kR, cycle_.hasR, cycle_.r);
  keep(kZ, cycle_.hasZ, cycle_.z);
  keep(kQ, cycle_.hasQ, cycle_.q);
  if (words.at[kP] != kNone) ReadWord(code, words, kP);  // a dwell: no move
  if (!cycle_.hasZ) Refuse(name + " ohne Z (Bohrtiefe)");
  if (!cycle_.hasR) Refuse(name + Cp1252(" ohne R (Rückzugsebene)"));
  const bool pecks = cycle_.code == 73 || cycle_.code == 83;
  if (pecks && (!cycle_.hasQ || cycle_.q <= 0)) {
    Refuse(name + Cp1252(" braucht eine Zustelltiefe Q über 0"));
  }
  // Repeats: K on some controls, L on others.
  if (words.at[kK] != kNone && words.at[kL] != kNone) {
    Refuse(name + " mit K und L im selben Satz: beide geben die Anzahl der Wiederholungen");
  }
  long double repeats = 1;
  const Word repeatWord = words.at[kK] != kNone ? kK : kL;
  if (words.at[repeatWord] != kNone) {
    repeats = ReadWord(code, words, repeatWord);
    if (repeats != std::floor(repeats) || repeats < 0 || repeats > 9999) {
      Refuse(name + Cp1252(": die Anzahl der Wiederholungen muss eine ganze Zahl von 0 bis "
                           "9999 sein"));
    }
  }
  // In G91 R counts from the initial level and Z from the R plane.
  long double r = 0;
  long double bottom = 0;
  if (state_.incremental) {
    if (cycle_.initialUnset) {
      Refuse(name + Cp1252(" im Kettenmaß (G91) vor der ersten Z-Bewegung: R zählte von einer "
                           "Ausgangsebene, die die Konvertierung nicht kennt"));
    }
    if (cycle_.initialUnknown) {
      Refuse(name + Cp1252(" im Kettenmaß (G91) nach dem Rückzug G28/G30: R zählte von der "
                           "Referenzposition der Maschine, die die Konvertierung nicht kennt"));
    }
    r = CheckReal(cycle_.initial + cycle_.r);
    bottom = CheckReal(r + cycle_.z);
  } else {
    r = Shifted(2, cycle_.r);
    bottom = Shifted(2, cycle_.z);
  }
  if (bottom > r) Refuse(name + Cp1252(": die Bohrtiefe Z liegt über der R-Ebene"));
  DrillHole hole;
  hole.code = cycle_.code;
  hole.r = r;
  hole.bottom = bottom;
  hole.clear = returnToInitial_ ? std::max(cycle_.initial, r) : r;
  if (pecks) {
    hole.peck = cycle_.q;
    hole.backOff = settings_.epeck;
  }
  const std::int64_t pecksPerHole = pecks ? PeckCount(r, bottom, cycle_.q) : 1;
  if (pecksPerHole == 0 || static_cast<long double>(pecksPerHole) * repeats > kMaxPecks) {
    Refuse(name + Cp1252(": mehr als ") + std::to_string(kMaxPecks) +
           Cp1252(" Zustellungen in einem Satz"));
  }
  const bool hasX = words.at[kX] != kNone;
  const bool hasY = words.at[kY] != kNone;
  const long double x = hasX ? ReadWord(code, words, kX) : 0;
  const long double y = hasY ? ReadWord(code, words, kY) : 0;
  // In G91 every repeat steps on from the hole before.
  for (long double done = 0; done < repeats; ++done) {
    if (state_.incremental) {
      hole.x = CheckReal(state_.currentX + x);
      hole.y = CheckReal(state_.currentY + y);
    } else {
      hole.x = hasX ? Shifted(0, x) : state_.currentX;
      hole.y = hasY ? Shifted(1, y) : state_.currentY;
    }
    cycleMoves_.clear();
    // Where the machine left the tool, it goes over the hole first.
    ExpandHole(hole,
               cycle_.initialUnset ? std::numeric_limits<long double>::infinity()
                                   : state_.currentZ,
               cycleMoves_);
    for (const CycleMove& move : cycleMoves_) {
      if (move.plane) {
        MoveStraight(MotionMode::Rapid, true, false, move.x, move.y, state_.currentZ);
      } else {
        MoveStraight(move.feed ? MotionMode::Feed : MotionMode::Rapid, false, true,
                     state_.currentX, state_.currentY, move.z);
      }
    }
    // Out at the R plane, the tool stands where the program says again.
    if (hole.clear != cycle_.initial) depthUnknown_ = false;
    depthNamed_ = true;
  }
}

}  // namespace torvane
