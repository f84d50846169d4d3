// SPDX-License-Identifier: GPL-3.0-or-later
// Arcs: by radius or by centre, linearised into feed steps or written as
// the machine's own arc code.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "conversion/Conversion.h"
#include "conversion/FloatError.h"
#include "conversion/LineFormatter.h"
#include "conversion/MachineDialect.h"
#include "conversion/NCMath.h"
#include "conversion/X87.h"
#include "text/Windows1252.h"

namespace torvane {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

// Sine and cosine of an angle in degrees. Taking out the quarter turns in
// degrees first is exact (whole multiples of 90 off a value below a few
// thousand), and leaves the library an argument within a quarter of pi,
// where it needs no costly reduction of its own.
void SinCosDegrees(long double degrees, long double& sine, long double& cosine) {
  const long double quarters = std::rint(degrees / 90);
  const long double rest = degrees - quarters * 90;
  const long double radians = rest * kPi / 180;
  long double s = 0;
  long double c = 0;
#if TORVANE_X87
  // Within a quarter of pi the FPU's own instruction is accurate to the last
  // bit or so, and several times faster than the library's routines.
  __asm__("fsincos" : "=t"(c), "=u"(s) : "0"(radians));
#else
  s = std::sin(radians);
  c = std::cos(radians);
#endif
  switch (std::llrint(quarters) & 3) {
    case 0: sine = s; cosine = c; break;
    case 1: sine = c; cosine = -s; break;
    case 2: sine = -s; cosine = -c; break;
    default: sine = -c; cosine = s; break;
  }
}

std::string Length(long double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.4Lf", value);
  return text;
}

}  // namespace

const std::vector<Conversion::StepTrig>& Conversion::StepTable(int step) {
  if (stepTableDegrees_ != step) {
    // One row per whole step up to a full turn: a sweep never exceeds 360.
    stepTable_.clear();
    for (long long turn = 0; turn <= 360; turn += step) {
      StepTrig row;
      SinCosDegrees(static_cast<long double>(turn), row.sine, row.cosine);
      stepTable_.push_back(row);
    }
    stepTableDegrees_ = step;
  }
  return stepTable_;
}

void Conversion::WriteFeedLine(long double x, long double y, const long double* z) {
  OutputLine& line = formatter_->NewLine(OutputLine::Code::Feed);
  line.words = OutputLine::kAxial;
  line.axial = CheckReal(x);
  if (z) {
    line.words |= OutputLine::kRadial;
    line.radial = CheckReal(state_.diameter + *z);
  }
  AngleWord(line, y);
  DirectionWord(line);
  // Without feed words there is no length to measure.
  if (settings_.efeed != 0) FeedWord(line, MoveTo(x, y, z ? *z : state_.toolZ));
  formatter_->Emit();
}

void Conversion::WriteMachineArc(bool clockwise, long double x, long double y, long double r,
                                 long double length) {
  // An axis that turns the other way mirrors the unrolled surface, and with
  // it the sense in which the control runs the arc.
  OutputLine& line = formatter_->NewLine(clockwise != settings_.einv
                                             ? OutputLine::Code::Clockwise
                                             : OutputLine::Code::CounterClockwise);
  line.words = OutputLine::kAxial;
  line.axial = CheckReal(x);
  AngleWord(line, y);
  line.words |= OutputLine::kRadius;
  line.radius = CheckReal(r);
  DirectionWord(line);
  // The control runs along the arc, so its time is the arc's length.
  MoveTo(x, y, state_.toolZ);
  FeedWord(line, length);
  formatter_->Emit();
}

long double Conversion::MachineArcLengthAtTool(long double start, long double sweep,
                                               bool clockwise, long double radius) const {
  // A machine arc keeps its depth, so every piece lies at the tool's.
  const long double scale = (toolRadius_ + state_.toolZ) / toolRadius_;
  const long double way = clockwise ? -1 : 1;
  long double length = 0;
  // Every piece but the last is a whole degree: its half sine once.
  long double wholeHalfSine = 0;
  long double halfCosine = 0;
  SinCosDegrees(0.5L, wholeHalfSine, halfCosine);
  for (long double done = 0; done < sweep; done += 1) {
    const long double piece = std::min(1.0L, sweep - done);
    // A piece's chord is 2 r sin(piece / 2) long and lies across the radius
    // to its middle: its axial part goes with the sine of that angle, its
    // turning part with the cosine, which the tool's radius scales.
    long double halfSine = wholeHalfSine;
    if (piece < 1) SinCosDegrees(piece / 2, halfSine, halfCosine);
    long double sine = 0;
    long double cosine = 0;
    SinCosDegrees(start + way * (done + piece / 2), sine, cosine);
    const long double turning = scale * cosine;
    length += 2 * radius * halfSine * std::sqrt(sine * sine + turning * turning);
  }
  return CheckReal(length);
}

void Conversion::WriteToleranceSteps(long double start, long double sweep, bool clockwise,
                                     long double cx, long double cy, long double rAbs,
                                     const long double* z1, const long double* z2) {
  const std::int64_t steps = ArcStepCount(sweep, rAbs, settings_.deg, settings_.etol);
  if (steps == 0) {
    Refuse(Cp1252("Sehnenfehler zu klein: der Kreisbogen bräuchte mehr als ") +
           std::to_string(kMaxArcSteps) + " Schritte");
  }
  // Equal steps over the exact sweep; the end point follows exactly.
  const long double count = static_cast<long double>(steps);
  const long double step = sweep / count;
  for (std::int64_t j = 1; j < steps; ++j) {
    const long double done = static_cast<long double>(j);
    const long double turn = step * done;
    long double sine = 0;
    long double cosine = 0;
    SinCosDegrees(clockwise ? start - turn : start + turn, sine, cosine);
    long double z = 0;
    if (z1) z = CheckReal(*z1 + (*z2 - *z1) * done / count);
    WriteFeedLine(CheckReal(cosine * rAbs + cx), CheckReal(sine * rAbs + cy), z1 ? &z : nullptr);
  }
}

void Conversion::RecordArc(const ArcBlock& arc, bool clockwise, long double cx, long double cy,
                           long double rAbs, long double start, long double sweep) {
  SourceMove move = SourceMoveBetween(arc.x1, arc.y1, arc.z1, arc.x2, arc.y2, arc.z2);
  move.kind = SourceMove::Kind::Arc;
  move.clockwise = clockwise;
  move.cx = static_cast<double>(cx);
  move.cy = static_cast<double>(cy);
  move.radius = static_cast<double>(rAbs);
  move.start = static_cast<double>(start);
  move.sweep = static_cast<double>(sweep);
  if (settings_.type == 1) {
    // The longest step: an equal share of the sweep under a tolerance;
    // whole steps of `deg` otherwise, the last up to half a degree longer
    // (the sweep is counted in whole degrees).
    long double longest = 0;
    if (settings_.etol > 0) {
      const std::int64_t steps = ArcStepCount(sweep, rAbs, settings_.deg, settings_.etol);
      longest = steps > 0 ? sweep / static_cast<long double>(steps) : sweep;
    } else {
      longest = std::min(sweep, static_cast<long double>(std::max(settings_.deg, 1)) + 0.5L);
    }
    move.chordError = static_cast<double>(rAbs * (1 - std::cos(longest * kPi / 360)));
  }
  recorder_->Record(move);
}

Conversion::ArcShape Conversion::ShapeOf(const ArcBlock& arc, bool clockwise) {
  ArcShape shape{};
  long double& cx = shape.cx;
  long double& cy = shape.cy;
  long double& rAbs = shape.rAbs;
  // Start and end in one point: a full circle when the centre is given;
  // a radius alone cannot say where such a circle lies.
  const bool fullCircle = arc.byCentre && arc.x1 == arc.x2 && arc.y1 == arc.y2;
  shape.fullCircle = fullCircle;
  if (arc.byCentre) {
    cx = arc.cx;
    cy = arc.cy;
    rAbs = CheckReal(std::hypot(arc.x1 - cx, arc.y1 - cy));
    if (rAbs == 0) {
      Refuse(std::string("Kreisbogen mit Radius 0: der Mittelpunkt (") + arc.centreWords +
             ") liegt im Startpunkt");
    }
    const long double rEnd = CheckReal(std::hypot(arc.x2 - cx, arc.y2 - cy));
    if (std::fabs(rAbs - rEnd) > kRadiusTolerance) {
      Refuse(std::string("Mittelpunkt (") + arc.centreWords +
             ") passt nicht zum Kreisbogen: Radius zum Start " + Length(rAbs) +
             ", zum Ende " + Length(rEnd) + " (erlaubt sind 0.002 Unterschied)");
    }
  } else {
    // An arc through two points needs a radius; R0 names none.
    if (arc.r == 0) Refuse("Kreisbogen mit Radius 0 (R0)");
    if (ArcCenter(clockwise ? 1 : 0, cx, cy, arc.x1, arc.y1, arc.x2, arc.y2, arc.r) ==
        ArcCenterReport::CoincidentPoints) {
      Refuse("Start- und Endpunkt des Kreisbogens fallen zusammen");
    }
    rAbs = std::fabs(arc.r);
    if (arc.r != 0) {
      // A radius shorter than half the chord cannot reach both points; step
      // on the half circle through them instead of a circle that misses one.
      const long double halfChord = CheckReal(std::hypot(arc.x2 - arc.x1, arc.y2 - arc.y1) / 2);
      if (rAbs < halfChord) {
        if (halfChord - rAbs > kRadiusTolerance) {
          Warn(Cp1252("Radius R zu kurz für den Abstand von Start- und Endpunkt: als Halbkreis "
                      "gewandelt"));
        }
        rAbs = halfChord;
      }
    }
  }
  shape.start = PointAngle(arc.x1, arc.y1, cx, cy);
  const long double end = fullCircle ? shape.start : PointAngle(arc.x2, arc.y2, cx, cy);
  shape.sweep = ArcSweep(shape.start, end, clockwise, fullCircle);
  return shape;
}

void Conversion::ConvertArc(const ArcBlock& arc) {
  // With arc output switched off the block only moves the remembered position.
  if (settings_.type != 1 && settings_.type != 2) return;

  const bool clockwise = state_.motion == MotionMode::Clockwise;
  const bool helix = arc.z2 != arc.z1;
  if (helix && settings_.type == 2) {
    Refuse("Schraubenlinie (Kreisbogen mit Z-Bewegung) geht nur mit "
           "\"G2/3 Linear wandeln\", nicht als maschinenspezifischer Kreisbogen");
  }
  const ArcShape shape = ShapeOf(arc, clockwise);
  const long double cx = shape.cx;
  const long double cy = shape.cy;
  const long double rAbs = shape.rAbs;
  const bool fullCircle = shape.fullCircle;
  const long double start = shape.start;
  const long double sweep = shape.sweep;
  if (recorder_) [[unlikely]] RecordArc(arc, clockwise, cx, cy, rAbs, start, sweep);

  if (settings_.type == 2) {
    // The arc's own length, for an inverse-time feed; or, measured at the
    // tool tip, that of the part from `from` over `degrees`.
    const long double length = settings_.efeed == 2 ? CheckReal(rAbs * sweep * kPi / 180) : 0;
    const auto atTool = [&](long double from, long double degrees, long double onCylinder) {
      return feedAtToolRadius_ ? MachineArcLengthAtTool(from, degrees, clockwise, rAbs)
                               : onCylinder;
    };
    if (!arc.byCentre) {
      WriteMachineArc(clockwise, arc.x2, arc.y2, arc.r, atTool(start, sweep, length));
    } else if (fullCircle) {
      // A machine arc cannot end where it starts: two half circles, over
      // the point opposite the start.
      WriteMachineArc(clockwise, CheckReal(2 * cx - arc.x1), CheckReal(2 * cy - arc.y1), rAbs,
                      atTool(start, 180, length / 2));
      WriteMachineArc(clockwise, arc.x2, arc.y2, rAbs,
                      atTool(clockwise ? start - 180 : start + 180, 180, length / 2));
    } else {
      // The radius word's sign picks the arc beyond half a turn; a hair
      // over 180 degrees is still the half circle.
      WriteMachineArc(clockwise, arc.x2, arc.y2, sweep > 180.000001L ? -rAbs : rAbs,
                      atTool(start, sweep, length));
    }
    return;
  }

  if (settings_.etol > 0) {
    WriteToleranceSteps(start, sweep, clockwise, cx, cy, rAbs, helix ? &arc.z1 : nullptr,
                        helix ? &arc.z2 : nullptr);
    WriteFeedLine(arc.x2, arc.y2, helix ? &arc.z2 : nullptr);
    return;
  }

  // Whole degrees, ties to even; the sweep lies between 0 and 360.
  int remaining = static_cast<int>(std::lrint(sweep));
  // A step below one degree would never finish the arc.
  const int step = settings_.deg < 1 ? 1 : settings_.deg;
  // A helix climbs in proportion to the angle travelled.
  const long double climbPerDegree = helix && sweep > 0 ? CheckReal((arc.z2 - arc.z1) / sweep) : 0;
  bool first = true;
  // Step j lies j whole steps from the start: its sine and cosine follow
  // from the start's and the step table's by the angle-sum rule, as
  // accurate as evaluating each point afresh and several times cheaper.
  long double startSine = 0;
  long double startCosine = 0;
  SinCosDegrees(start, startSine, startCosine);
  const std::vector<StepTrig>& turns = StepTable(step);
  std::size_t j = 0;
  while (remaining > 0) {
    // The first pass stands on the start point, which the previous line
    // has reached already.
    if (!first) {
      const StepTrig& turn = turns[j];
      const long double sine = clockwise ? startSine * turn.cosine - startCosine * turn.sine
                                         : startSine * turn.cosine + startCosine * turn.sine;
      const long double cosine = clockwise ? startCosine * turn.cosine + startSine * turn.sine
                                           : startCosine * turn.cosine - startSine * turn.sine;
      long double z = 0;
      if (helix) {
        z = CheckReal(arc.z1 + climbPerDegree * static_cast<long double>(j) * step);
      }
      WriteFeedLine(CheckReal(cosine * rAbs + cx), CheckReal(sine * rAbs + cy),
                    helix ? &z : nullptr);
    }
    remaining -= step;
    first = false;
    ++j;
  }
  WriteFeedLine(arc.x2, arc.y2, helix ? &arc.z2 : nullptr);
}

void Conversion::ConvertPlaneArc(const ArcBlock& arc) {
  const bool zx = state_.plane == Plane::ZX;
  if (settings_.type == 2) {
    Refuse(std::string("Kreisbogen in der Ebene ") + (zx ? "G18" : "G19") +
           " geht nur mit \"G2/3 Linear wandeln\": der maschinenspezifische Kreisbogen liegt "
           "auf dem Mantel");
  }
  if (settings_.type != 1) return;
  const bool clockwise = state_.motion == MotionMode::Clockwise;
  const ArcShape shape = ShapeOf(arc, clockwise);
  // Steps as an arc in the plane XY takes them: equal ones for a chord
  // tolerance, else whole steps of `deg` from the start; the end exactly.
  std::int64_t steps = 0;
  long double step = 0;
  if (settings_.etol > 0) {
    steps = ArcStepCount(shape.sweep, shape.rAbs, settings_.deg, settings_.etol);
    if (steps == 0) {
      Refuse(Cp1252("Sehnenfehler zu klein: der Kreisbogen bräuchte mehr als ") +
             std::to_string(kMaxArcSteps) + " Schritte");
    }
    step = shape.sweep / static_cast<long double>(steps);
  } else {
    const int whole = settings_.deg < 1 ? 1 : settings_.deg;
    const long rounded = std::lrint(shape.sweep);
    steps = std::max<long>(1, (rounded + whole - 1) / whole);
    step = whole;
  }
  const long double climb = arc.z2 - arc.z1;
  const auto moveTo = [&](long double a, long double b, long double c) {
    // Back from the plane's own coordinates into X, Y and Z.
    if (zx) {
      MoveStraight(MotionMode::Feed, true, true, b, c, a);
    } else {
      MoveStraight(MotionMode::Feed, true, true, c, a, b);
    }
  };
  // The start's direction from the centre as the coordinates give it: a
  // start on an axis through the centre stays exactly on it, and a step
  // a whole quarter on lies exactly on the next (no "-0.000" from noise).
  const long double da = arc.x1 - shape.cx;
  const long double db = arc.y1 - shape.cy;
  const long double reach = CheckReal(std::hypot(da, db));
  const long double startCosine = da / reach;
  const long double startSine = db / reach;
  const long double way = clockwise ? -1 : 1;
  for (std::int64_t j = 1; j < steps; ++j) {
    const long double turn = step * static_cast<long double>(j);
    long double turnSine = 0;
    long double turnCosine = 0;
    SinCosDegrees(turn, turnSine, turnCosine);
    turnSine *= way;
    const long double sine = startSine * turnCosine + startCosine * turnSine;
    const long double cosine = startCosine * turnCosine - startSine * turnSine;
    // A helix climbs along the third axis in proportion to the angle.
    const long double c =
        climb == 0 ? arc.z1 : CheckReal(arc.z1 + climb * (turn / shape.sweep));
    moveTo(CheckReal(cosine * shape.rAbs + shape.cx), CheckReal(sine * shape.rAbs + shape.cy), c);
  }
  moveTo(arc.x2, arc.y2, arc.z2);
}

}  // namespace torvane
