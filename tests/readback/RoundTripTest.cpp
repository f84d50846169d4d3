// SPDX-License-Identifier: GPL-3.0-or-later
// Converts generated flat programs, reads the result back and replays it as
// the machine runs it (a modulo axis turning the way of the direction word
// in force, less than a whole turn; a continuous one as written), laid flat
// again: every point the machine reaches must lie on the source path, at
// the source's own place, not a turn away, within the steps in which the
// number format writes lengths and angles. This checks the reader and the
// converter against each other.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "TestSettings.h"
#include "conversion/Conversion.h"
#include "readback/PathGeometry.h"
#include "readback/ResultCheck.h"
#include "readback/TargetReader.h"

namespace torvane {
namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;

// One piece of the source path: a straight move or an arc (centre, radius,
// start angle and signed sweep in radians), at depth z.
struct Piece {
  bool arc = false;
  long double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  long double cx = 0, cy = 0, r = 0, start = 0, sweep = 0;
  long double z = 0;
};

struct Program {
  std::vector<std::string> lines;
  std::vector<Piece> pieces;
};

// Source values with four decimals, so that the text is the value.
long double Round4(long double v) { return std::round(v * 10000) / 10000; }

std::string Word(char letter, long double v) {
  char text[48];
  std::snprintf(text, sizeof text, "%c%.4Lf", letter, v);
  return text;
}

// Straight moves, plunges and arcs of both directions, short and long, that
// wander across the seam, stop on it, and go beyond a full turn, some in one
// move.
Program Generate(unsigned seed, long double circumference) {
  Program program;
  std::uint32_t state = seed;
  auto random = [&state] {
    state = state * 1664525u + 1013904223u;
    return static_cast<long double>(state >> 8) / 16777216.0L;
  };
  long double x = 0, y = 0, z = 0;
  program.lines.push_back("G0 Z2");
  program.pieces.push_back({false, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2});
  z = 2;
  for (int block = 0; block < 120; ++block) {
    const long double choice = random();
    if (choice < 0.15) {
      z = Round4(-3 * random());
      program.lines.push_back("G1 " + Word('Z', z));
      program.pieces.push_back({false, x, y, x, y, 0, 0, 0, 0, 0, z});
    } else if (choice < 0.5) {
      const long double nx = Round4(x + 30 * random() - 15);
      const long double reach = random();
      long double ny = Round4(y + circumference * (0.4L * random() - 0.2L));
      if (reach < 0.1L) ny = 0;
      if (reach > 0.95L) ny = Round4(y + circumference * (5 * random() - 2.5L));
      program.lines.push_back(std::string(random() < 0.2 ? "G0 " : "G1 ") + Word('X', nx) +
                              " " + Word('Y', ny));
      program.pieces.push_back({false, x, y, nx, ny, 0, 0, 0, 0, 0, z});
      x = nx;
      y = ny;
    } else {
      // Sweeps kept away from 0, half and full turns, where the radius
      // alone hardly fixes the centre.
      const bool clockwise = random() < 0.5;
      const bool longArc = random() < 0.3;
      const long double sweepDegrees = longArc ? 200 + 140 * random() : 20 + 140 * random();
      const long double r = 3 + 15 * random();
      const long double toCentre = 2 * kPi * random();
      const long double cx = x + r * std::cos(toCentre);
      const long double cy = y + r * std::sin(toCentre);
      const long double start = toCentre + kPi;
      const long double sweep = (clockwise ? -1 : 1) * sweepDegrees * kPi / 180;
      const long double nx = Round4(cx + r * std::cos(start + sweep));
      const long double ny = Round4(cy + r * std::sin(start + sweep));
      const long double rWord = Round4(longArc ? -r : r);
      program.lines.push_back(std::string(clockwise ? "G2 " : "G3 ") + Word('X', nx) + " " +
                              Word('Y', ny) + " " + Word('R', rWord));
      program.pieces.push_back({true, x, y, nx, ny, cx, cy, r, start, sweep, z});
      x = nx;
      y = ny;
    }
  }
  return program;
}

long double DistanceToPiece(const Piece& piece, const FlatPoint& p) {
  if (!piece.arc) {
    const long double dx = piece.x2 - piece.x1;
    const long double dy = piece.y2 - piece.y1;
    const long double length2 = dx * dx + dy * dy;
    if (length2 == 0) return std::hypot(p.x - piece.x1, p.y - piece.y1);
    const long double t =
        std::clamp(((p.x - piece.x1) * dx + (p.y - piece.y1) * dy) / length2, 0.0L, 1.0L);
    return std::hypot(p.x - piece.x1 - t * dx, p.y - piece.y1 - t * dy);
  }
  long double best = std::min(std::hypot(p.x - piece.x1, p.y - piece.y1),
                              std::hypot(p.x - piece.x2, p.y - piece.y2));
  long double along = std::atan2(p.y - piece.cy, p.x - piece.cx) - piece.start;
  along = piece.sweep < 0 ? -along : along;
  along = std::fmod(std::fmod(along, 2 * kPi) + 2 * kPi, 2 * kPi);
  if (along <= std::fabs(piece.sweep))
    best = std::min(best, std::fabs(std::hypot(p.x - piece.cx, p.y - piece.cy) - piece.r));
  return best;
}

struct Format {
  const char* name;
  std::function<void(TNCFormat&)> adjust;
};

TEST(RoundTripTest, ReadBackPointsLieOnTheSourcePath) {
  const Format formats[] = {
      {"point, three decimals, trailing zeros", [](TNCFormat&) {}},
      {"implied decimals, signs, leading zeros",
       [](TNCFormat& f) {
         f.DeziPunkt = false;
         f.Vorzeichen = true;
         f.VNullen = true;
         f.Stellen = 8;
       }},
      {"point, two decimals, no trailing zeros",
       [](TNCFormat& f) {
         f.NNullen = false;
         f.Nachkomma = 2;
       }},
      {"point at whole numbers, four decimals",
       [](TNCFormat& f) {
         f.NCPunkt = true;
         f.NNullen = false;
         f.Nachkomma = 4;
       }},
  };
  for (const Format& format : formats) {
    for (int type : {1, 2}) {
      // A continuous rotary axis with inverse-time feed: angles read as
      // written, and the feed switches around the body read as no move.
      for (bool continuous : {false, true}) {
      for (long double diameter : {100.0L, 40.0L}) {
      // A modulo axis also with every angle written within one turn: the
      // replay reaches it the way of the word in force all the same.
      for (bool reduced : {false, true}) {
        if (continuous && reduced) continue;
        // The axis that turns the other way on the smaller part.
        const bool inverted = diameter == 40;
        SCOPED_TRACE(std::string(format.name) + ", type " + std::to_string(type) +
                     ", diameter " + std::to_string(static_cast<int>(diameter)) +
                     (continuous ? ", continuous axis, inverse time" : "") +
                     (inverted ? ", inverted" : "") + (reduced ? ", reduced angles" : ""));
        ConversionSettings settings = testing::ExampleSettings(10, type);
        format.adjust(settings.format);
        settings.enum_ = type == 2;
        settings.einv = inverted;
        settings.ereduce = reduced;
        if (continuous) {
          settings.erot = 1;
          settings.efeed = 2;
        }
        const Unwrapper unwrapper(diameter,
                                  continuous ? AngleTravel::AsWritten : AngleTravel::Modulo);
        Program program =
            Generate(static_cast<unsigned>(type * 1000 + diameter), unwrapper.Circumference());
        if (continuous) program.lines.insert(program.lines.begin(), "F200");

        Conversion conversion(settings);
        std::vector<std::string> target;
        // The result check replays it the same way, and must pass it.
        ResultCheck check(settings, diameter, {"%", "O0001"}, {"M30"});
        conversion.RecordSourcePath(&check);
        conversion.RunConversion(diameter, program.lines, {"%", "O0001"}, {"M30"}, target);
        for (const std::string& line : target) check.Read(line);
        const CheckOutcome outcome = check.Finish();
        EXPECT_TRUE(outcome.passed) << outcome.message;
        TargetReader reader(settings, diameter);
        for (const std::string& line : target) reader.Read(line);
        const long double lengthStep = reader.LengthStep();
        const long double angleStep = reader.AngleStep();
        const ReadBack read = reader.Take();
        const std::vector<std::size_t> framing = {1, 2, target.size()};
        EXPECT_EQ(read.unreadLines, framing);

        // Half a step in each direction, and a little for the source's own
        // four decimals, which move an arc's centre by a few times 1e-4. A
        // point on a machine arc between its ends also carries the centre's
        // error from the written ends, a few times the step.
        const long double onEnds = std::hypot(lengthStep / 2,
                                              angleStep / 2 * unwrapper.Circumference() / 360) +
                                   3e-4L;
        const long double onArc = 6 * onEnds;
        std::size_t piece = 0;
        FlatPoint from = unwrapper.Start();
        std::vector<FlatPoint> points;
        // Where the axis stood before the program is unknown: the first
        // move's whole turns are taken as they come, every later point must
        // be where the source puts it. An inverted axis mirrors the flat.
        const long double circumference = unwrapper.Circumference();
        long double offset = 0;
        auto source = [&](FlatPoint p) {
          p.y = (inverted ? -1 : 1) * (p.y - offset);
          return p;
        };
        for (const Move& move : read.moves) {
          const FlatPoint to = unwrapper.Unwrap(move, from.y);
          if (&move == &read.moves.front()) offset = std::round(to.y / circumference) * circumference;
          // Moves follow the source in order: the point lies on the piece
          // reached so far or a later one.
          std::size_t at = piece;
          while (at < program.pieces.size() &&
                 (DistanceToPiece(program.pieces[at], source(to)) > onEnds ||
                  std::fabs(program.pieces[at].z - to.z) > lengthStep / 2 + 1e-9L))
            ++at;
          ASSERT_LT(at, program.pieces.size())
              << "line " << move.line << ": " << target[move.line - 1];
          piece = at;
          points.clear();
          MovePoints(move, from, to, 5, points);
          for (const FlatPoint& p : points)
            EXPECT_LE(DistanceToPiece(program.pieces[piece], source(p)), onArc)
                << "line " << move.line << ": " << target[move.line - 1];
          from = to;
        }
        EXPECT_EQ(piece + 1, program.pieces.size());
      }
      }
      }
    }
  }
}

}  // namespace
}  // namespace torvane
