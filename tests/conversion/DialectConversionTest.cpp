// SPDX-License-Identifier: GPL-3.0-or-later
// Whole blocks through the machine dialects: feed words, continuous and
// inverted rotary angles, arcs stepped by a chord tolerance. Every expected
// line is worked out by hand in the comment beside it.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "text/Windows1252.h"
#include "TestSettings.h"
#include "conversion/Conversion.h"

namespace torvane {
namespace {

using Lines = std::vector<std::string>;
using testing::ConversionCase;
using testing::ExampleSettings;
using testing::ExpectRunStops;
using testing::kDegreeDiameter;
using testing::Keep;

// The dialect's mode switches stand between header and footer.
void ExpectConversions(const std::vector<ConversionCase>& cases) {
  testing::ExpectConversions(cases, {"%"}, {"M30"});
}

void InverseTime(ConversionSettings& s) { s.efeed = 2; }

TEST(DialectConversionTest, InverseTimeFeed) {
  ExpectConversions({
      // From (0, 0, 0) to (3, 4): length 5, F 100 / 5.
      {"straight move", InverseTime, kDegreeDiameter, {"G1 X3 Y4 F100"},
       {"G93", "G01 Z3.000 C356.000 M15 F20.000", "G94"}},
      // Z counts: 12 down is 12 long; the plane move after it 3-4-5 again.
      {"depth move", InverseTime, 100, {"G0 X0 Y0", "G1 Z-12 F60", "G1 X3 Y-4"},
       {"G93", "G00 Z0.000 C0.000 M15", "G01 X88.000 F5.000",
        "G01 Z3.000 C364.584 F12.000", "G94"}},
      // Rapid lines never carry F; the F of a later block holds from there.
      {"rapid and modal F", InverseTime, kDegreeDiameter,
       {"G1 X10 F50", "G0 X0", "G1 Y2", "Y3 F10"},
       {"G93", "G01 Z10.000 C0.000 M15 F5.000", "G00 Z0.000", "G01 Z0.000 C358.000 M16 F25.000",
        "G01 Z0.000 C357.000 F10.000", "G94"}},
      // Steps of 30 degrees on R10: every chord is 2 * 10 * sin 15 = 5.17638,
      // so F 100 / 5.17638 = 19.319; the first move is 10 long.
      {"arc steps", InverseTime, 100, {"G1 X10 Y0 F100", "G2 X0 Y-10 R10"},
       {"G93", "G01 Z10.000 C0.000 M15 F10.000", "G01 Z8.660 C365.730 F19.319",
        "G01 Z5.000 C369.924 F19.319", "G01 Z0.000 C371.459 F19.319", "G94"}},
      // A half circle of R10 is 10 pi = 31.4159 long: F 100 / 31.4159.
      {"machine arc", [](ConversionSettings& s) { s.efeed = 2; s.type = 2; }, 100,
       {"G0 X0 Y0", "G2 X20 Y0 R10 F100"},
       {"G93", "G00 Z0.000 C0.000 M15", "G132 Z20.000 L10.000 F3.183", "G94"}},
      // A helix of R10 and 2 deep in 6 steps of 15 degrees (tolerance 0.1):
      // chord 2 * 10 * sin 7.5 = 2.61052 and a third of a unit down, so
      // sqrt(2.61052^2 + 0.33333^2) = 2.63172 long: F 37.998.
      {"helix steps", [](ConversionSettings& s) { s.efeed = 2; s.etol = 0.1L; },
       kDegreeDiameter, {"G1 X10 Y0 Z0 F100", "G3 X0 Y10 Z-2 R10"},
       {"G93", "G01 Z10.000 X114.592 C0.000 M15 F10.000",
        "G01 Z9.659 X114.258 C357.412 M16 F37.998", "G01 Z8.660 X113.925 C355.000 F37.998",
        "G01 Z7.071 X113.592 C352.929 F37.998", "G01 Z5.000 X113.258 C351.340 F37.998",
        "G01 Z2.588 X112.925 C350.341 F37.998", "G01 Z0.000 X112.592 C350.000 F37.998", "G94"}},
      {"own words", [](ConversionSettings& s) { s.efeed = 2; s.eg93 = "G93.1"; s.eg94 = "G94.1"; },
       kDegreeDiameter, {"G1 X3 Y4 F100"}, {"G93.1", "G01 Z3.000 C356.000 M15 F20.000", "G94.1"}},
  });
}

// D 100 gives R 50: at depth Z-10 a turn is 40 / 50 = 0.8 as long as on
// the cylinder, at Z-15 0.7.
void AtToolRadius(ConversionSettings& s) {
  s.efeed = 2;
  s.efrad = 1;
}

TEST(DialectConversionTest, InverseTimeAtTheToolRadius) {
  ExpectConversions({
      // The plunge has no turn: 10 long. Y10 at Z-10: 8 long, F 12.5
      // (10 on the cylinder). X6 Y10: sqrt(6^2 + 8^2) = 10. Y10 Z-10 from
      // Z-10: mean depth -15, sqrt(7^2 + 10^2) = 12.2066, F 8.192.
      {"straight moves at depth", AtToolRadius, 100,
       {"G1 Z-10 F100", "G1 Y10", "G1 X6 Y20", "G1 Y30 Z-20"},
       {"G93", "G01 X90.000 C0.000 M15 F10.000", "G01 Z0.000 C348.541 M16 F12.500",
        "G01 Z6.000 C337.082 F10.000", "G01 Z6.000 X80.000 C325.623 F8.192", "G94"}},
      // R10 at Z-10, 30 degree steps: (10, 0) to (8.660, -5): sqrt(1.33975^2
      // + 4^2) = 4.21840, F 23.706; to (5, -8.660): sqrt(3.66025^2 +
      // 2.92820^2) = 4.68741, F 21.334; to (0, -10): sqrt(5^2 + 1.07180^2)
      // = 5.11359, F 19.556. The move there: sqrt(10^2 + 10^2), F 7.071.
      {"arc steps at depth", AtToolRadius, 100, {"G1 X10 Y0 Z-10 F100", "G2 X0 Y-10 R10"},
       {"G93", "G01 Z10.000 X90.000 C0.000 M15 F7.071", "G01 Z8.660 C365.730 F23.706",
        "G01 Z5.000 C369.924 F21.334", "G01 Z0.000 C371.459 F19.556", "G94"}},
      // The helix of the inverse-time table (R 57.2958 for this diameter):
      // step k goes down from -k/3 to -(k+1)/3, so its turn is scaled by
      // (57.2958 - (2k+1)/6) / 57.2958. Step 1: dx -0.34074, dy 2.58819 *
      // 0.99709 = 2.58066, dz 0.33333: 2.62432 long, F 38.105 (37.998 on
      // the cylinder); the later steps turn more and lie deeper.
      {"helix steps", [](ConversionSettings& s) { AtToolRadius(s); s.etol = 0.1L; },
       testing::kDegreeDiameter, {"G1 X10 Y0 Z0 F100", "G3 X0 Y10 Z-2 R10"},
       {"G93", "G01 Z10.000 X114.592 C0.000 M15 F10.000",
        "G01 Z9.659 X114.258 C357.412 M16 F38.105", "G01 Z8.660 X113.925 C355.000 F38.278",
        "G01 Z7.071 X113.592 C352.929 F38.342", "G01 Z5.000 X113.258 C351.340 F38.280",
        "G01 Z2.588 X112.925 C350.341 F38.140", "G01 Z0.000 X112.592 C350.000 F38.018", "G94"}},
      // Half a circle of R10 at Z-10, in 180 pieces of one degree, each
      // 2 * 10 * sin 0.5 * sqrt(sin^2 m + 0.8^2 cos^2 m) long at its middle
      // angle m: 28.3613 in all, F 3.526 (on the cylinder 10 pi, F 3.183).
      {"machine arc", [](ConversionSettings& s) { AtToolRadius(s); s.type = 2; }, 100,
       {"G1 X0 Y0 Z-10 F100", "G2 X20 Y0 R10"},
       {"G93", "G01 Z0.000 X90.000 C0.000 M15 F10.000", "G132 Z20.000 L10.000 F3.526", "G94"}},
      // A quarter, from 0 to 90 degrees about (0, 0): 14.1807, F 7.052.
      {"machine arc, a quarter", [](ConversionSettings& s) { AtToolRadius(s); s.type = 2; }, 100,
       {"G1 X10 Y0 Z-10 F100", "G3 X0 Y10 R10"},
       {"G93", "G01 Z10.000 X90.000 C0.000 M15 F7.071", "G133 Z0.000 C348.541 L10.000 M16 F7.052",
        "G94"}},
      // Without inverse time there is no length to measure.
      {"feed as programmed", [](ConversionSettings& s) { s.efeed = 1; s.efrad = 1; }, 100,
       {"G1 Z-10 F100", "G1 Y10"},
       {"G01 X90.000 C0.000 M15 F100.000", "G01 Z0.000 C348.541 M16"}},
      {"no feed words", [](ConversionSettings& s) { s.efrad = 1; }, 100, {"G1 Z-10 F100", "G1 Y10"},
       {"G01 X90.000 C0.000 M15", "G01 Z0.000 C348.541 M16"}},
  });
}

// A table of whole runs with the warnings they must give.
struct WarnedCase {
  const char* name;
  std::function<void(ConversionSettings&)> adjust;
  long double diameter;
  Lines source;
  Lines want;  // between header "%" and footer "M30"
  std::vector<ConversionWarning> warnings;
};

void ExpectWarnedConversions(const std::vector<WarnedCase>& cases) {
  for (const WarnedCase& c : cases) {
    SCOPED_TRACE(c.name);
    ConversionSettings settings = ExampleSettings();
    c.adjust(settings);
    Conversion conversion(settings);
    Lines target;
    conversion.RunConversion(c.diameter, c.source, {"%"}, {"M30"}, target);
    Lines want = {"%"};
    want.insert(want.end(), c.want.begin(), c.want.end());
    want.push_back("M30");
    EXPECT_EQ(target, want);
    EXPECT_EQ(conversion.Warnings(), c.warnings);
  }
}

TEST(DialectConversionTest, InverseTimeFeedLimit) {
  const auto limited = [](ConversionSettings& s) {
    s.efeed = 2;
    s.efmax = 20;
  };
  const std::string capped = Cp1252("Vorschub F200.000 in inverser Zeit (G93) auf den Höchstwert "
                                    "F20.000 begrenzt; weitere Zeilen darüber ohne eigene Warnung");
  ExpectWarnedConversions({
      // 5 long: F 20, the limit itself. 0.5 long: F 200, written 20. Then
      // F10 over 1: 10. 0.1 long: F 100, written 20, told once only.
      {"capped from the second line on", limited, testing::kDegreeDiameter,
       {"G1 X3 Y4 F100", "X3.5", "X4.5 F10", "X4.6"},
       {"G93", "G01 Z3.000 C356.000 M15 F20.000", "G01 Z3.500 F20.000", "G01 Z4.500 F10.000",
        "G01 Z4.600 F20.000", "G94"},
       {{2, capped}}},
      {"machine arc capped", [](ConversionSettings& s) { s.efeed = 2; s.efmax = 2; s.type = 2; },
       100, {"G0 X0 Y0", "G2 X20 Y0 R10 F100"},
       {"G93", "G00 Z0.000 C0.000 M15", "G132 Z20.000 L10.000 F2.000", "G94"},
       {{2, Cp1252("Vorschub F3.183 in inverser Zeit (G93) auf den Höchstwert F2.000 begrenzt; "
                   "weitere Zeilen darüber ohne eigene Warnung")}}},
      // A feed as programmed is no inverse time: it is never capped.
      {"feed as programmed", [](ConversionSettings& s) { s.efeed = 1; s.efmax = 20; },
       testing::kDegreeDiameter, {"G1 X10 F500"}, {"G01 Z10.000 C0.000 M15 F500.000"}, {}},
  });
}

TEST(DialectConversionTest, UnwindLine) {
  const auto unwinding = [](ConversionSettings& s) {
    s.erot = 1;
    s.eunw = "G92 C{C}";
  };
  ExpectWarnedConversions({
      // 725.5 degrees is two turns and 5.5.
      {"after two turns", unwinding, testing::kDegreeDiameter, {"G1 X0 Y-725.5"},
       {"G01 Z0.000 C725.500", "G92 C5.500"}, {}},
      // -30 lies at 330 within the turn.
      {"below 0", unwinding, testing::kDegreeDiameter, {"G1 X0 Y-725.5", "Y30"},
       {"G01 Z0.000 C725.500", "G01 Z0.000 C-30.000", "G92 C330.000"}, {}},
      {"whole turns give 0", unwinding, testing::kDegreeDiameter, {"G1 X0 Y-720"},
       {"G01 Z0.000 C720.000", "G92 C0.000"}, {}},
      // After the last move, before the switch back and the footer.
      {"inside inverse time", [&](ConversionSettings& s) { unwinding(s); s.efeed = 2; },
       testing::kDegreeDiameter, {"G1 X0 Y-725.5 F100"},
       {"G93", "G01 Z0.000 C725.500 F0.138", "G92 C5.500", "G94"}, {}},
      // Written in the number format of angles, every {C} of the line.
      {"own words, implied decimals",
       [](ConversionSettings& s) {
         s.erot = 1;
         s.eunw = "G10 L20 P1 C{C} (WAR C{C})";
         s.format.DeziPunkt = false;
       },
       testing::kDegreeDiameter, {"G1 X1 Y-400.25"},
       {"G01 Z1000 C400250", "G10 L20 P1 C40250 (WAR C40250)"}, {}},
      // No angle written: where the axis stands is not known.
      {"no move, no line", unwinding, testing::kDegreeDiameter, {"G4 P1"}, {}, {}},
      // A modulo axis has nothing to unwind.
      {"modulo axis", [](ConversionSettings& s) { s.eunw = "G92 C{C}"; }, testing::kDegreeDiameter,
       {"G1 X0 Y-40"}, {"G01 Z0.000 C400.000 M15"}, {}},
  });
}

TEST(DialectConversionTest, WindingWarning) {
  const auto turns = [](long double limit) {
    return [limit](ConversionSettings& s) {
      s.erot = 1;
      s.ewind = limit;
    };
  };
  ExpectWarnedConversions({
      // From -10 to 715: 725 degrees, beyond two turns at line 3; told once.
      {"over 2 turns", turns(2), testing::kDegreeDiameter, {"G1 X0 Y10", "Y-700", "Y-715", "Y-800"},
       {"G01 Z0.000 C-10.000", "G01 Z0.000 C700.000", "G01 Z0.000 C715.000",
        "G01 Z0.000 C800.000"},
       {{3, "Rundachse fortlaufend: die Winkel umfassen hier mehr als 2 Umdrehungen "
            "(C-10.000 bis C715.000)"}}},
      // The span counts, not the way travelled: 2100 degrees back and
      // forth within 700.
      {"back and forth within 2 turns", turns(2), testing::kDegreeDiameter,
       {"G1 X0 Y0", "Y-700", "Y0", "Y-700"},
       {"G01 Z0.000 C0.000", "G01 Z0.000 C700.000", "G01 Z0.000 C0.000", "G01 Z0.000 C700.000"},
       {}},
      // 3600 is 10 turns, not more; 3601 in one line is.
      {"over 10 turns", turns(10), testing::kDegreeDiameter, {"G1 X0 Y0", "Y-3600", "Y-3601"},
       {"G01 Z0.000 C0.000", "G01 Z0.000 C3600.000", "G01 Z0.000 C3601.000"},
       {{3, "Rundachse fortlaufend: die Winkel umfassen hier mehr als 10 Umdrehungen "
            "(C0.000 bis C3601.000)"}}},
      {"part of a turn", turns(0.5L), testing::kDegreeDiameter, {"G1 X0 Y0", "Y181"},
       {"G01 Z0.000 C0.000", "G01 Z0.000 C-181.000"},
       {{2, "Rundachse fortlaufend: die Winkel umfassen hier mehr als 0.5 Umdrehungen "
            "(C-181.000 bis C0.000)"}}},
      // A modulo axis reaches every angle within a turn anyway.
      {"modulo axis", [](ConversionSettings& s) { s.ewind = 2; }, testing::kDegreeDiameter,
       {"G1 X0 Y0", "Y-1000"},
       {"G01 Z0.000 C0.000 M15", "G01 Z0.000 C693.333", "G01 Z0.000 C1026.667",
        "G01 Z0.000 C1360.000"},
       {}},
  });
}

TEST(DialectConversionTest, ReducedModuloAngles) {
  const auto reduced = [](ConversionSettings& s) { s.ereduce = true; };
  ExpectConversions({
      // The README's arc: 365.730, 369.924, 371.459 written within the
      // turn; the axis still only rises, under the one M15.
      {"negative Y", reduced, 100, {"G1 X10 Y0", "G2 X0 Y-10 R10"},
       {"G01 Z10.000 C0.000 M15", "G01 Z8.660 C5.730", "G01 Z5.000 C9.924",
        "G01 Z0.000 C11.459"}},
      // 760 and 860 as the first angles (from the start, so not cut), then
      // -98.366: falling from the start value, M16 as before.
      {"beyond one circumference", reduced, testing::kDegreeDiameter, {"G1 X0 Y-400", "Y-500"},
       {"G01 Z0.000 C40.000 M15", "G01 Z0.000 C140.000"}},
      {"a long positive Y", reduced, testing::kDegreeDiameter, {"G1 X0 Y458.366"},
       {"G01 Z0.000 C261.634 M16"}},
      // 359, 360, 361, 359: the words of the true turn, M15 then M16.
      {"across the seam", reduced, testing::kDegreeDiameter, {"G1 X0 Y1", "Y0", "Y-1", "Y1"},
       {"G01 Z0.000 C359.000 M15", "G01 Z0.000 C0.000", "G01 Z0.000 C1.000",
        "G01 Z0.000 C359.000 M16"}},
      // From 760 to 1560 in three pieces of 266.667 degrees.
      {"a long move in pieces", reduced, testing::kDegreeDiameter, {"G1 X0 Y-400", "Y-1200"},
       {"G01 Z0.000 C40.000 M15", "G01 Z0.000 C306.667", "G01 Z0.000 C213.333",
        "G01 Z0.000 C120.000"}},
      // Continuous angles are the turns themselves: never reduced.
      {"continuous axis", [](ConversionSettings& s) { s.ereduce = true; s.erot = 1; },
       testing::kDegreeDiameter, {"G1 X0 Y-400"}, {"G01 Z0.000 C400.000"}},
  });
}

TEST(DialectConversionTest, FeedAsProgrammed) {
  const auto programmed = [](ConversionSettings& s) { s.efeed = 1; };
  ExpectConversions({
      // F goes out on the first feed line after it changes, also when a
      // rapid block brought it; repeating the same F writes nothing.
      {"straight moves", programmed, kDegreeDiameter,
       {"G1 X10 F200", "X20", "G0 X0 F500", "G1 X5", "X6 F500", "X7 F300"},
       {"G01 Z10.000 C0.000 M15 F200.000", "G01 Z20.000", "G00 Z0.000", "G01 Z5.000 F500.000",
        "G01 Z6.000", "G01 Z7.000 F300.000"}},
      {"no F yet writes none", programmed, kDegreeDiameter, {"G1 X10", "X11 F80"},
       {"G01 Z10.000 C0.000 M15", "G01 Z11.000 F80.000"}},
      {"arc steps", programmed, 100, {"G1 X10 Y0", "G2 X0 Y-10 R10 F150"},
       {"G01 Z10.000 C0.000 M15", "G01 Z8.660 C365.730 F150.000", "G01 Z5.000 C369.924",
        "G01 Z0.000 C371.459"}},
      {"machine arc", [](ConversionSettings& s) { s.efeed = 1; s.type = 2; }, 100,
       {"G1 X0 Y0", "G3 X20 Y0 R10 F75"},
       {"G01 Z0.000 C0.000 M15", "G133 Z20.000 L10.000 F75.000"}},
  });
}

TEST(DialectConversionTest, RotaryAngles) {
  const auto continuous = [](ConversionSettings& s) { s.erot = 1; };
  const auto inverted = [](ConversionSettings& s) { s.einv = true; };
  ExpectConversions({
      // -Y degrees: through 0 without a jump, past a full turn without a
      // reduction, and never a direction word. The first angle, -1, is
      // written although it equals the run's start value.
      {"continuous through Y 0 and past a turn", continuous, kDegreeDiameter,
       {"G1 X0 Y1", "Y0", "Y-1", "Y-359", "Y-361", "Y-725", "Y0"},
       {"G01 Z0.000 C-1.000", "G01 Z0.000 C0.000", "G01 Z0.000 C1.000", "G01 Z0.000 C359.000",
        "G01 Z0.000 C361.000", "G01 Z0.000 C725.000", "G01 Z0.000 C0.000"}},
      // Modulo for comparison: 359, then 360 written as 0, then 361, all
      // rising: the positive word stays in force.
      {"modulo through Y 0", Keep, kDegreeDiameter, {"G1 X0 Y1", "Y0", "Y-1"},
       {"G01 Z0.000 C359.000 M15", "G01 Z0.000 C0.000", "G01 Z0.000 C361.000"}},
      {"continuous, D 100", continuous, 100, {"G1 X0 Y1", "Y-1"},
       {"G01 Z0.000 C-1.146", "G01 Z0.000 C1.146"}},
      // Y reads as -Y: 360 + Y, and the direction words follow the angle.
      {"inverted modulo", inverted, kDegreeDiameter, {"G1 X0 Y1", "Y2", "Y-1"},
       {"G01 Z0.000 C361.000 M15", "G01 Z0.000 C362.000", "G01 Z0.000 C359.000 M16"}},
      {"inverted continuous", [](ConversionSettings& s) { s.erot = 1; s.einv = true; },
       kDegreeDiameter, {"G1 X0 Y1", "Y-400"}, {"G01 Z0.000 C1.000", "G01 Z0.000 C-400.000"}},
      // The mirrored surface runs the machine arc the other way round.
      {"inverted machine arc", [](ConversionSettings& s) { s.einv = true; s.type = 2; }, 100,
       {"G1 X0 Y0", "G2 X20 Y0 R10", "G3 X0 Y0 R10"},
       {"G01 Z0.000 C0.000 M15", "G133 Z20.000 L10.000", "G132 Z0.000 L10.000"}},
  });
}

TEST(DialectConversionTest, ChordTolerance) {
  ExpectConversions({
      // A quarter circle of R10 from (10, 0) to (0, 10) counter-clockwise,
      // 30 degree resolution: 3 steps by the resolution; a tolerance of 0.5
      // allows 2 acos(0.95) = 36.4 degrees, so the resolution decides and
      // the steps fall at 30 and 60 degrees: (8.660, 5), (5, 8.660).
      {"resolution decides", [](ConversionSettings& s) { s.etol = 0.5L; }, kDegreeDiameter,
       {"G1 X10 Y0", "G3 X0 Y10 R10"},
       {"G01 Z10.000 C0.000 M15", "G01 Z8.660 C355.000 M16", "G01 Z5.000 C351.340",
        "G01 Z0.000 C350.000"}},
      // 0.1 allows 2 acos(0.99) = 16.2 degrees: ceil(90 / 16.2) = 6 steps
      // of 15 degrees; sin and cos of 15, 30, 45, 60, 75 times 10.
      {"tolerance decides", [](ConversionSettings& s) { s.etol = 0.1L; }, kDegreeDiameter,
       {"G1 X10 Y0", "G3 X0 Y10 R10"},
       {"G01 Z10.000 C0.000 M15", "G01 Z9.659 C357.412 M16", "G01 Z8.660 C355.000",
        "G01 Z7.071 C352.929", "G01 Z5.000 C351.340", "G01 Z2.588 C350.341",
        "G01 Z0.000 C350.000"}},
      // The exact sweep: (-1.822, 9.833) lies 100.498 degrees round from
      // (10, 0). The tolerance allows 120 degrees, the resolution asks for
      // ceil(100.498 / 30) = 4 equal steps of 25.124 degrees: (9.054, 4.246),
      // (6.395, 7.689), (2.525, 9.676), then the end point as programmed.
      // Without a tolerance the steps fall at 30, 60 and 90 with a short
      // rest (the test beside the resolution's own).
      {"exact sweep, end point exact", [](ConversionSettings& s) { s.etol = 5; }, kDegreeDiameter,
       {"G1 X10 Y0", "G3 X-1.822 Y9.833 R10"},
       {"G01 Z10.000 C0.000 M15", "G01 Z9.054 C355.754 M16", "G01 Z6.395 C352.311",
        "G01 Z2.525 C350.324", "G01 Z-1.822 C350.167"}},
      // (The end point lies 10.0004 from the origin, so the centre sits a
      // hair off it and the 60 degree point lies at Y 8.66045.)
      {"without a tolerance", Keep, kDegreeDiameter, {"G1 X10 Y0", "G3 X-1.822 Y9.833 R10"},
       {"G01 Z10.000 C0.000 M15", "G01 Z8.660 C355.000 M16", "G01 Z5.000 C351.340",
        "G01 Z0.000 C350.000", "G01 Z-1.822 C350.167 M15"}},
  });
}

TEST(DialectConversionTest, RefusesWhatTheDialectCannotWrite) {
  struct ErrorCase {
    const char* name;
    std::function<void(ConversionSettings&)> adjust;
    Lines source;
    std::string message;
    Lines written;  // after the header
  };
  const ErrorCase cases[] = {
      {"inverse time without F", InverseTime, {"G0 X5", "G1 X10"},
       "Zeile 2: Vorschubbewegung ohne Vorschub: inverse Zeit (G93) braucht vorher ein F",
       {"G93", "G00 Z5.000 C0.000 M15"}},
      {"inverse time with F0", InverseTime, {"G1 X10 F0"},
       Cp1252("Zeile 1: Vorschub F muss für inverse Zeit (G93) größer als 0 sein"), {"G93"}},
      // The first angle of a run must reach the control, so this line
      // cannot be left out.
      {"inverse time, first move of length 0", InverseTime, {"G1 X0 Y0 F100"},
       Cp1252("Zeile 1: Vorschubbewegung der Länge 0: inverse Zeit (G93) hat dafür kein F"),
       {"G93"}},
      {"source in inverse time", [](ConversionSettings& s) { s.efeed = 1; }, {"G93 G1 X10 F2"},
       Cp1252("Zeile 1: Vorschubart G93 im Quellprogramm wird mit Vorschubwörtern nicht "
              "unterstützt (nur G94, Vorschub pro Minute)"),
       {}},
      {"source feed per revolution", InverseTime, {"G95 G1 X10 F0.1"},
       Cp1252("Zeile 1: Vorschubart G95 im Quellprogramm wird mit Vorschubwörtern nicht "
              "unterstützt (nur G94, Vorschub pro Minute)"),
       {"G93"}},
      // R10 and 1e-12: steps of 2 acos(1 - 1e-13) = 0.00005 degrees, some
      // 1.8 million for the quarter circle.
      {"tolerance too fine", [](ConversionSettings& s) { s.etol = 1e-12L; },
       {"G1 X10 Y0", "G2 X0 Y-10 R10"},
       Cp1252("Zeile 2: Sehnenfehler zu klein: der Kreisbogen bräuchte mehr als 1000000 Schritte"),
       {"G01 Z10.000 C0.000 M15"}},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.name);
    ConversionSettings settings = ExampleSettings();
    c.adjust(settings);
    Conversion conversion(settings);
    ExpectRunStops(conversion, c.source, c.message, c.written);
  }
}

// A feed move to where the tool stands (a repeated depth) takes no time,
// so inverse time has no F for it: it moves nothing and is left out, with a
// warning naming the line.
TEST(DialectConversionTest, InverseTimeLeavesOutMovesOfLengthZero) {
  ConversionSettings settings = ExampleSettings();
  settings.efeed = 2;
  Conversion conversion(settings);
  Lines target;
  conversion.RunConversion(100, {"G1 X10 Z-1 F100", "G1 Z-1", "X10", "X12"}, {}, {}, target);
  // sqrt(10^2 + 1^2) = 10.050: F 9.950; then 2 long: F 50.
  EXPECT_EQ(target, (Lines{"G93", "G01 Z10.000 X99.000 C0.000 M15 F9.950", "G01 Z12.000 F50.000",
                           "G94"}));
  const std::string text = Cp1252("Vorschubbewegung der Länge 0 ausgelassen: inverse Zeit (G93) "
                                  "hat dafür kein F");
  EXPECT_EQ(conversion.Warnings(),
            (std::vector<ConversionWarning>{{2, text}, {3, text}}));
}

// Without feed words the F is not read at all: a word no real could hold
// converts as it always has.
TEST(DialectConversionTest, FeedWordsOffIgnoreF) {
  ExpectConversions({{"huge F", Keep, 100, {"G1 X10 Y0 F1" + std::string(5000, '0')},
                      {"G01 Z10.000 C0.000 M15"}}});
}

}  // namespace
}  // namespace torvane
