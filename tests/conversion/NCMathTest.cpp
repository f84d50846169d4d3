// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/NCMath.h"

#include <gtest/gtest.h>

#include "conversion/Conversion.h"

namespace torvane {
namespace {

TEST(ArcCenterTest, PicksTheCentreBySideAndSign) {
  struct Case {
    const char* name;
    int clockwise;
    long double x1, y1, x2, y2, r;
    long double cx, cy;
  };
  const Case cases[] = {
      {"clockwise, short arc", 1, 10, 0, 0, -10, 10, 0, 0},
      {"counter-clockwise, short arc", 0, 10, 0, 0, -10, 10, 10, -10},
      {"clockwise, long arc", 1, 10, 0, 0, -10, -10, 10, -10},
      {"counter-clockwise, long arc", 0, 10, 0, 0, -10, -10, 0, 0},
      {"radius too short gives the midpoint", 1, 0, 0, 20, 0, 5, 10, 0},
      {"radius 0 gives the midpoint", 0, 0, 0, 20, 0, 0, 10, 0},
      {"exact half circle", 1, 0, 0, 20, 0, 10, 10, 0},
      {"exact half circle, other way", 0, 0, 0, 20, 0, 10, 10, 0},
      {"horizontal chord rightwards, clockwise", 1, 0, 0, 12, 0, 10, 6, -8},
      {"horizontal chord leftwards, clockwise", 1, 12, 0, 0, 0, 10, 6, 8},
      {"vertical chord upwards, clockwise", 1, 0, 0, 0, 12, 10, 8, 6},
      {"vertical chord downwards, counter-clockwise", 0, 0, 12, 0, 0, 10, 8, 6},
      {"vertical chord upwards, counter-clockwise, long", 0, 0, 0, 0, 12, -10, 8, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    long double cx = 99;
    long double cy = 99;
    EXPECT_EQ(ArcCenter(c.clockwise, cx, cy, c.x1, c.y1, c.x2, c.y2, c.r),
              ArcCenterReport::Found);
    EXPECT_NEAR(static_cast<double>(cx), static_cast<double>(c.cx), 1e-12);
    EXPECT_NEAR(static_cast<double>(cy), static_cast<double>(c.cy), 1e-12);
  }
}

TEST(ArcCenterTest, CentreNearZeroIsExactlyZero) {
  long double cx = 1;
  long double cy = 1;
  ArcCenter(1, cx, cy, 10, 0, 0, -10, 10);
  EXPECT_EQ(cx, 0.0L);
  EXPECT_EQ(cy, 0.0L);
}

TEST(ArcCenterTest, CoincidentPointsLeaveTheCentreAlone) {
  long double cx = 7;
  long double cy = 8;
  EXPECT_EQ(ArcCenter(1, cx, cy, 3, 4, 3, 4, 10), ArcCenterReport::CoincidentPoints);
  EXPECT_EQ(cx, 7);
  EXPECT_EQ(cy, 8);
}

// The sweep of an arc around the centre (0, 0), from both coordinates of
// its ends: at and a hair beside every quadrant point, an end a hair off
// the start's circle is still a short arc, never a full turn.
TEST(ArcSweepTest, FollowsBothCoordinatesOfTheEnds) {
  struct Case {
    const char* name;
    long double x1, y1, x2, y2;
    bool clockwise;
    long double want;
  };
  const Case cases[] = {
      {"quarter from 0 to 90, counter-clockwise", 10, 0, 0, 10, false, 90},
      {"quarter from 0 to 90, clockwise the long way", 10, 0, 0, 10, true, 270},
      {"quarter from 90 to 180", 0, 10, -10, 0, false, 90},
      {"quarter from 180 to 270", -10, 0, 0, -10, false, 90},
      {"quarter from 270 to 0", 0, -10, 10, 0, false, 90},
      {"from 0 to 270 clockwise", 10, 0, 0, -10, true, 90},
      {"end a hair above 0, further out", 10, 0, 10, 0.1L, false, 0.572938697683},
      {"the same clockwise is nearly a full turn", 10, 0, 10, 0.1L, true, 359.427061302317},
      {"end a hair below 0", 10, 0, 10.0005L, -0.1L, true, 0.572910054},
      {"end a hair past 180, further out", -10, 0, -10.0005L, -0.1L, false, 0.572910054},
      {"end a hair before 180", -10, 0, -10, 0.1L, true, 0.572938697683},
      {"end a hair past 90", 0, 10, -0.1L, 10, false, 0.572938697683},
      {"end a hair before 270", 0, -10, -0.1L, -10, true, 0.572938697683},
      {"start a hair below 0, end at 90", 10, -0.001L, 0, 10, false, 90.005729577},
      {"end on the start's ray, further out", 10, 0, 10.001L, 0, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const long double start = PointAngle(c.x1, c.y1, 0, 0);
    const long double end = PointAngle(c.x2, c.y2, 0, 0);
    EXPECT_NEAR(static_cast<double>(ArcSweep(start, end, c.clockwise, false)),
                static_cast<double>(c.want), 1e-6);
  }
  EXPECT_EQ(ArcSweep(90, 90, true, true), 360);
  EXPECT_EQ(ArcSweep(90, 90, false, false), 0);
  // A point a hair below the positive X axis lies just under 360, never at it.
  EXPECT_LT(PointAngle(10, -1e-30L, 0, 0), 360);
}

}  // namespace
}  // namespace torvane
