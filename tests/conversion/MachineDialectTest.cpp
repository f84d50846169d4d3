// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/MachineDialect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace torvane {
namespace {

// With one degree per source unit (a circumference of 360) the angles can
// be checked by eye.
TEST(MachineDialectTest, RotaryAngle) {
  struct Case {
    const char* name;
    long double y;
    long double degreesPerUnit;
    bool continuous;
    bool inverted;
    long double want;
  };
  const Case cases[] = {
      {"modulo: Y 0 gives 360, written as 0", 0, 1, false, false, 0},
      {"modulo: Y 1", 1, 1, false, false, 359},
      {"modulo: Y -1 stays above 360", -1, 1, false, false, 361},
      {"modulo: one circumference", 360, 1, false, false, 0},
      {"modulo: beyond one circumference", 400, 1, false, false, -40},
      {"modulo: D 100, Y 1", 1, 360 / (3.141592653589793238L * 100), false, false, 358.854L},
      {"continuous: Y 2", 2, 1, true, false, -2},
      {"continuous: Y 1", 1, 1, true, false, -1},
      {"continuous: Y 0", 0, 1, true, false, 0},
      {"continuous: Y -1", -1, 1, true, false, 1},
      {"continuous: one circumference is -360, not 0", 360, 1, true, false, -360},
      {"continuous: beyond one circumference", -400, 1, true, false, 400},
      {"continuous: two and a bit", 720.5L, 1, true, false, -720.5L},
      {"continuous: D 100, Y 1", 1, 360 / (3.141592653589793238L * 100), true, false, -1.146L},
      {"inverted modulo: Y 1", 1, 1, false, true, 361},
      {"inverted modulo: Y -1", -1, 1, false, true, 359},
      {"inverted modulo: Y 0", 0, 1, false, true, 0},
      {"inverted continuous: Y 1", 1, 1, true, true, 1},
      {"inverted continuous: Y -360", -360, 1, true, true, -360},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const long double got = RotaryAngle(c.y, c.degreesPerUnit, c.continuous, c.inverted);
    EXPECT_NEAR(static_cast<double>(got), static_cast<double>(c.want), 1e-12);
    EXPECT_FALSE(std::signbit(got) && got == 0) << "-0 would be written with its sign";
  }
}

// Through Y = 0 and round more than once, each continuous angle differs
// from the one before by exactly the Y step: no move turns the long way.
TEST(MachineDialectTest, ContinuousAnglesFollowY) {
  const std::vector<long double> ys = {3, 2, 1, 0, -1, -359, -360, -361, -725, 10};
  for (std::size_t i = 1; i < ys.size(); ++i) {
    SCOPED_TRACE(i);
    const long double step =
        RotaryAngle(ys[i], 1, true, false) - RotaryAngle(ys[i - 1], 1, true, false);
    EXPECT_EQ(step, -(ys[i] - ys[i - 1]));
  }
}

TEST(MachineDialectTest, ArcStepCount) {
  struct Case {
    const char* name;
    long double sweep;
    long double radius;
    int deg;
    long double tolerance;
    long long want;
  };
  const Case cases[] = {
      {"no tolerance: 90 by 10", 90, 100, 10, 0, 9},
      {"no tolerance: 95 by 10", 95, 100, 10, 0, 10},
      {"no tolerance: sweep below one step", 0.3L, 100, 10, 0, 1},
      {"no tolerance: deg 0 counts as 1", 90, 100, 0, 0, 90},
      // 2 acos(1 - 0.1/100) = 5.1251 degrees: 90 / 5.1251 = 17.56.
      {"tolerance decides", 90, 100, 10, 0.1L, 18},
      // A 10 degree step on R100 leaves 100 (1 - cos 5) = 0.38053.
      {"just below the 10 degree deviation", 90, 100, 10, 0.38L, 10},
      {"just above the 10 degree deviation", 90, 100, 10, 0.381L, 9},
      // 2 acos(0.99) = 16.22 degrees: 23 steps, fewer than the 36 of deg.
      {"deg decides on a small radius", 360, 0.1L, 10, 0.001L, 36},
      // 2 acos(1 - 1e-7) = 0.051247 degrees: 360 / 0.051247 = 7024.8.
      {"large radius", 360, 10000, 10, 0.001L, 7025},
      {"tolerance beyond the diameter", 360, 1, 360, 5, 1},
      {"too many steps", 360, 10000, 10, 1e-12L, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ArcStepCount(c.sweep, c.radius, c.deg, c.tolerance), c.want);
  }
}

TEST(MachineDialectTest, ReadNeutralCodes) {
  struct Case {
    const char* text;
    bool valid;
    std::vector<GCodeNumber> want;
  };
  const Case cases[] = {
      {"", true, {}},
      {"  ", true, {}},
      {"G61.1 g187", true, {{61, 1}, {187, -1}}},
      {"G61.0\tG05", true, {{61, -1}, {5, -1}}},
      {"G187 M5", false, {{187, -1}}},
      {"G", false, {}},
      {"G1.", false, {}},
      {"G1,2", false, {}},
      {"G123456", false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<GCodeNumber> got;
    EXPECT_EQ(ReadNeutralCodes(c.text, got), c.valid);
    EXPECT_EQ(got, c.want);
  }
}

// For every radius from 0.1 to 10,000 the steps keep within the tolerance,
// and one step fewer would not.
TEST(MachineDialectTest, ChordsStayWithinTolerance) {
  for (const long double radius : {0.1L, 0.5L, 1.0L, 7.3L, 10.0L, 100.0L, 1000.0L, 10000.0L}) {
    for (const long double tolerance : {0.0001L, 0.001L, 0.01L, 0.1L, 1.0L}) {
      for (const long double sweep : {0.5L, 37.3L, 90.0L, 180.0L, 359.9L, 360.0L}) {
        SCOPED_TRACE(testing::Message() << "R" << static_cast<double>(radius) << " tol "
                                        << static_cast<double>(tolerance) << " sweep "
                                        << static_cast<double>(sweep));
        const long long steps = ArcStepCount(sweep, radius, 360, tolerance);
        ASSERT_GT(steps, 0);
        EXPECT_LE(ChordDeviation(radius, sweep / steps), tolerance);
        if (steps > 1) {
          EXPECT_GT(ChordDeviation(radius, sweep / (steps - 1)), tolerance);
        }
      }
    }
  }
}

}  // namespace
}  // namespace torvane
