// SPDX-License-Identifier: GPL-3.0-or-later
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

// Polar angle of (px, py) around (cx, cy) in degrees, 0 up to 360, from
// both coordinates: two points on one ray have the same angle, two points a
// hair apart never differ by a whole turn.
long double PointAngle(long double px, long double py, long double cx, long double cy);

// Degrees an arc travels from the polar angle `start` to `end` in its
// direction, 0 up to 360. Equal angles are a full turn only when the arc's
// start and end points coincide (`fullCircle`), else no travel at all.
long double ArcSweep(long double start, long double end, bool clockwise, bool fullCircle);

}  // namespace torvane
