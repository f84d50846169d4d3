#pragma once

namespace torvane {

enum class ArcCenterReport { Found = 0, CoincidentPoints = 1 };

// Centre of the arc from (x1, y1) to (x2, y2) with signed radius r: a
// positive r asks for the arc of at most half a turn, a negative one for the
// longer arc. clockwise is 1 for G2, 0 for G3. A radius shorter than half the
// chord (or 0) gives the chord's midpoint. Coincident points leave cx and cy
// untouched and report CoincidentPoints. Raises FloatError on overflow.
ArcCenterReport ArcCenter(int clockwise, long double& cx, long double& cy, long double x1,
                          long double y1, long double x2, long double y2, long double r);

// Polar angle of (px, py) around (cx, cy) in degrees, 0 to 360. rAbs is the
// arc's radius: the cosine is taken as (px - cx) / rAbs, clamped to +-1.
long double PointAngle(long double px, long double py, long double cx, long double cy,
                       long double rAbs);

}  // namespace torvane
