// SPDX-License-Identifier: GPL-3.0-or-later
#include "readback/PathGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace torvane {
namespace {

// On this diameter the circumference is 360: y is 360 minus the angle.
const long double kDiameter = 360 / std::numbers::pi_v<long double>;

TEST(PathGeometryTest, UnwrapsAnglesTheWayTheAxisTravels) {
  struct Case {
    const char* name;
    AngleTravel travel;  // with no direction word, a modulo axis takes the shorter way
    long double angle;
    long double previousY;
    long double wantY;
    int direction = 0;  // the word in force
  };
  const AngleTravel modulo = AngleTravel::Modulo;
  const Case cases[] = {
      {"angle 0 reached from below the seam", modulo, 0, 1, 0},
      {"angle 0 reached from above the seam", modulo, 0, 359, 360},
      {"off 0 to just below 360 is a small step", modulo, 359, 360, 361},
      {"angles past 360 continue across the seam", modulo, 365, 0, -5},
      {"a quarter turn the short way", modulo, 90, 0, -90},
      {"several turns on, the nearest image", modulo, 10, 1000, 1070},
      {"continuous: a quarter turn as written", AngleTravel::AsWritten, 90, 0, -90},
      {"continuous: the first angle from 0, no extra turn", AngleTravel::AsWritten, -28.648L, 0,
       28.648L},
      {"continuous: past a turn, never reduced", AngleTravel::AsWritten, 725, 3, -725},
      {"positive word: 350 onto 0 rises by 10", modulo, 0, 10, 0, 1},
      {"negative word: 350 onto 0 turns almost a whole turn back", modulo, 0, 10, 360, -1},
      {"positive word: 0 to 350 turns almost a whole turn", modulo, 350, 0, -350, 1},
      {"negative word: 0 to 350 falls by 10", modulo, 350, 0, 10, -1},
      {"no word: the shorter way", modulo, 350, 0, 10},
      {"0 where the axis stands at 360: no turn", modulo, 0, 0, 0, -1},
      {"angles past 360 are read modulo", modulo, 370, 5, -10, 1},
      {"a turn from several turns on", modulo, 10, 1000, 1070, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Unwrapper unwrapper(kDiameter, c.travel);
    Move move;
    move.axial = 7;
    move.angle = c.angle;
    move.radial = kDiameter - 2;
    move.direction = c.direction;
    const FlatPoint point = unwrapper.Unwrap(move, c.previousY);
    EXPECT_NEAR(static_cast<double>(point.y), static_cast<double>(c.wantY), 1e-12);
    EXPECT_EQ(point.x, 7);
    EXPECT_NEAR(static_cast<double>(point.z), -2, 1e-15);
  }
}

TEST(PathGeometryTest, FollowsMachineArcsAroundTheirCentre) {
  struct Case {
    const char* name;
    MoveKind kind;
    long double radius;
    long double cx, cy;
    std::size_t points;
  };
  // From (10, 0) to (0, -10), followed in steps of at most 10 degrees.
  const Case cases[] = {
      {"clockwise quarter", MoveKind::ArcClockwise, 10, 0, 0, 9},
      {"counter-clockwise quarter", MoveKind::ArcCounterClockwise, 10, 10, -10, 9},
      {"clockwise, negative radius: three quarters", MoveKind::ArcClockwise, -10, 10, -10, 27},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Move arc;
    arc.kind = c.kind;
    arc.radius = c.radius;
    const FlatPoint from{10, 0, 0};
    const FlatPoint to{0, -10, -1};
    long double cx = 0;
    long double cy = 0;
    ASSERT_TRUE(MachineArcCentre(arc, from, to, cx, cy));
    EXPECT_NEAR(static_cast<double>(cx), static_cast<double>(c.cx), 1e-12);
    EXPECT_NEAR(static_cast<double>(cy), static_cast<double>(c.cy), 1e-12);
    std::vector<FlatPoint> points;
    MovePoints(arc, from, to, 10, points);
    ASSERT_EQ(points.size(), c.points);
    for (const FlatPoint& p : points)
      EXPECT_NEAR(static_cast<double>(std::hypot(p.x - cx, p.y - cy)), 10, 1e-12);
    EXPECT_EQ(points.back().z, -1);
  }
  Move full;
  full.kind = MoveKind::ArcClockwise;
  full.radius = 5;
  long double cx = 0;
  long double cy = 0;
  EXPECT_FALSE(MachineArcCentre(full, {1, 1, 0}, {1, 1, 0}, cx, cy));
}

}  // namespace
}  // namespace torvane
