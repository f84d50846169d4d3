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

TEST(PointAngleTest, MeasuresCounterClockwiseFromPlusX) {
  struct Case {
    long double px, py;
    long double want;
  };
  const Case cases[] = {{10, 0, 0}, {0, 10, 90}, {-10, 0, 180}, {0, -10, 270},
                        {20, 0, 0},  // clamped beyond the radius
                        {-20, 0, 180}};
  for (const Case& c : cases) {
    EXPECT_NEAR(static_cast<double>(PointAngle(c.px, c.py, 0, 0, 10)),
                static_cast<double>(c.want), 1e-12);
  }
}

}  // namespace
}  // namespace torvane
