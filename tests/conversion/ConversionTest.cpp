// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/Conversion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSettings.h"

namespace torvane {
namespace {

using Lines = std::vector<std::string>;
using testing::ExampleSettings;
using testing::ExpectRunStops;

using Case = testing::ConversionCase;
using testing::ExpectConversions;
using testing::kDegreeDiameter;
using testing::Keep;

Lines Convert(const ConversionSettings& settings, long double diameter, const Lines& source,
              const Lines& header = {}, const Lines& footer = {}) {
  Conversion conversion(settings);
  Lines target;
  conversion.RunConversion(diameter, source, header, footer, target);
  return target;
}

TEST(ConversionTest, ConvertsBlocks) {
  const std::vector<Case> cases = {
      {"first block always carries angle and direction", Keep, 100, {"G1 X10 Y0"},
       {"G01 Z10.000 C0.000 M15"}},
      {"linearised clockwise arc, 30 degree steps", Keep, 100,
       {"G1 X10 Y0", "G2 X0 Y-10 R10"},
       {"G01 Z10.000 C0.000 M15", "G01 Z8.660 C365.730", "G01 Z5.000 C369.924",
        "G01 Z0.000 C371.459"}},
      {"machine arc with unchanged Y has no angle word",
       [](ConversionSettings& s) { s.type = 2; }, 100, {"G1 X0 Y0", "G2 X20 Y0 R10"},
       {"G01 Z0.000 C0.000 M15", "G132 Z20.000 L10.000"}},
      {"machine arc keeps the radius sign, radius after angle",
       [](ConversionSettings& s) { s.type = 2; }, kDegreeDiameter,
       {"G1 X0 Y0", "G3 X10 Y10 R-10"},
       {"G01 Z0.000 C0.000 M15", "G133 Z10.000 C350.000 L-10.000 M16"}},
      {"rapid Z alone is radial", Keep, 100, {"G0 Z5"}, {"G00 X105.000 C0.000 M15"}},
      {"plane word and Z give one line, axial then radial", Keep, 100, {"G0 X10 Z-2"},
       {"G00 Z10.000 X98.000 C0.000 M15"}},
      {"feed with both words", Keep, 100, {"G1 X3 Y0 Z1.5"},
       {"G01 Z3.000 X101.500 C0.000 M15"}},
      {"Y alone writes the unchanged X", Keep, kDegreeDiameter, {"G0 X4 Y0", "Y5"},
       {"G00 Z4.000 C0.000 M15", "G00 Z4.000 C355.000 M16"}},
      {"unchanged Y writes no angle", Keep, 100, {"G1 X1 Y0", "X10"},
       {"G01 Z1.000 C0.000 M15", "G01 Z10.000"}},
      {"Y of 1 on diameter 100", Keep, 100, {"G1 X0 Y1"}, {"G01 Z0.000 C358.854 M15"}},
      {"Y of one circumference gives 0", Keep, 100, {"G1 X0 Y314.1592653589793"},
       {"G01 Z0.000 C0.000 M15"}},
      {"blocks without axis words write nothing", Keep, 100,
       {"M3 S1000", "T1", "N10", "(COMMENT)", "", "G17"}, {}},
      {"NUL and high bytes in a comment", Keep, 100,
       {std::string("G1 X1(\0\xFC\xE4) Y0", 13)}, {"G01 Z1.000 C0.000 M15"}},
  };
  ExpectConversions(cases);
}

// G words are numbers; comments take no part; a plus is a sign.
TEST(ConversionTest, ReadsMotionWordsAsNumbers) {
  const std::vector<Case> cases = {
      {"G01 is feed", Keep, 100, {"G01 X10 Y0"}, {"G01 Z10.000 C0.000 M15"}},
      {"G00 is rapid", Keep, 100, {"G00 X10 Y0"}, {"G00 Z10.000 C0.000 M15"}},
      {"G17 leaves rapid mode", Keep, 100, {"G17", "X5"}, {"G00 Z5.000 C0.000 M15"}},
      {"codes that leave the path alone leave the mode", Keep, 100,
       {"G1", "G17", "G21", "G40", "G49", "G54", "G59", "G64", "G80", "G90", "G94", "X5"},
       {"G01 Z5.000 C0.000 M15"}},
      {"last motion word wins", Keep, 100, {"G1 G0 X5"}, {"G00 Z5.000 C0.000 M15"}},
      {"blank between G and number", Keep, 100, {"G 1 X5"}, {"G01 Z5.000 C0.000 M15"}},
      {"G02 is a clockwise arc", [](ConversionSettings& s) { s.type = 2; }, 100,
       {"G1 X0 Y0", "G02 X20 Y0 R10"}, {"G01 Z0.000 C0.000 M15", "G132 Z20.000 L10.000"}},
      {"G03 is a counter-clockwise arc", [](ConversionSettings& s) { s.type = 2; }, 100,
       {"G1 X0 Y0", "G03 X20 Y0 R10"}, {"G01 Z0.000 C0.000 M15", "G133 Z20.000 L10.000"}},
      {"G in a comment does nothing", Keep, 100, {"G1", "(G0) X5"},
       {"G01 Z5.000 C0.000 M15"}},
      {"R in a comment is not read", [](ConversionSettings& s) { s.type = 2; }, 100,
       {"G1 X0 Y0", "G2 (ROUGH) X20 Y0 R10"}, {"G01 Z0.000 C0.000 M15", "G132 Z20.000 L10.000"}},
      {"words after a semicolon are not read", Keep, 100, {"G1 X5 ;Y7 G0"},
       {"G01 Z5.000 C0.000 M15"}},
      {"unclosed comment runs to the line end", Keep, 100, {"G1 X5 (Y7"},
       {"G01 Z5.000 C0.000 M15"}},
      {"plus sign after the letter", Keep, 100, {"G1 X+5 Y + 0"}, {"G01 Z5.000 C0.000 M15"}},
  };
  ExpectConversions(cases);
}

// The word names the turn the axis truly makes: the angle compared before
// 360 is written as 0. Read as a modulo axis runs it, every line below
// turns less than a whole turn, the way of the word in force.
TEST(ConversionTest, WritesRotationDirectionWords) {
  // On this diameter the angle is 360 - Y, so Y picks the angle.
  const auto machineArcs = [](ConversionSettings& s) {
    s.type = 2;
    s.deg = 90;
  };
  const auto wordless = [](ConversionSettings& s) { s.edp = s.edn = ""; };
  const std::vector<Case> cases = {
      {"onto the seam from below 360 still rises", Keep, kDegreeDiameter, {"G1 X0 Y10", "Y0"},
       {"G01 Z0.000 C350.000 M15", "G01 Z0.000 C0.000"}},
      {"off the seam downwards falls", Keep, kDegreeDiameter, {"G1 X0 Y10", "Y0", "Y10"},
       {"G01 Z0.000 C350.000 M15", "G01 Z0.000 C0.000", "G01 Z0.000 C350.000 M16"}},
      {"onto the seam rising while M16 is in force", Keep, kDegreeDiameter,
       {"G1 X0 Y10", "Y20", "Y0"},
       {"G01 Z0.000 C350.000 M15", "G01 Z0.000 C340.000 M16", "G01 Z0.000 C0.000 M15"}},
      {"off the seam a long way down", Keep, kDegreeDiameter, {"G1 X0 Y0", "Y350"},
       {"G01 Z0.000 C0.000 M15", "G01 Z0.000 C10.000 M16"}},
      {"over the seam upwards past 360", Keep, kDegreeDiameter, {"G1 X0 Y10", "Y-10"},
       {"G01 Z0.000 C350.000 M15", "G01 Z0.000 C370.000"}},
      {"back from above 360", Keep, kDegreeDiameter, {"G1 X0 Y-10", "Y10"},
       {"G01 Z0.000 C370.000 M15", "G01 Z0.000 C350.000 M16"}},
      {"a true 0 at one circumference, reached from 5", Keep, kDegreeDiameter,
       {"G1 X0 Y355", "Y360"}, {"G01 Z0.000 C5.000 M15", "G01 Z0.000 C0.000 M16"}},
      {"below 0: the first angle falls from -1", Keep, kDegreeDiameter, {"G1 X0 Y370", "Y350"},
       {"G01 Z0.000 C-10.000 M16", "G01 Z0.000 C10.000 M15"}},
      {"same direction again writes no word", Keep, kDegreeDiameter,
       {"G1 X0 Y30", "Y20", "Y10"},
       {"G01 Z0.000 C330.000 M15", "G01 Z0.000 C340.000", "G01 Z0.000 C350.000"}},
      {"rapids across the seam", Keep, kDegreeDiameter, {"G0 X0 Y10", "Y0", "Y10"},
       {"G00 Z0.000 C350.000 M15", "G00 Z0.000 C0.000", "G00 Z0.000 C350.000 M16"}},
      {"arc steps over the seam and back", [](ConversionSettings& s) { s.deg = 90; },
       kDegreeDiameter, {"G1 X0 Y5", "G2 X0 Y-5 R5", "G3 X0 Y5 R5"},
       {"G01 Z0.000 C355.000 M15", "G01 Z5.000 C0.000", "G01 Z0.000 C365.000",
        "G01 Z5.000 C0.000 M16", "G01 Z0.000 C355.000"}},
      {"machine arcs over the seam and back", machineArcs, kDegreeDiameter,
       {"G1 X0 Y5", "G2 X0 Y-5 R5", "G3 X0 Y5 R5"},
       {"G01 Z0.000 C355.000 M15", "G132 Z0.000 C365.000 L5.000",
        "G133 Z0.000 C355.000 L5.000 M16"}},
      // A whole turn or more cannot be one line: the straight move is cut
      // into equal pieces, each a degree or more short of a turn.
      {"a whole turn in two halves", Keep, kDegreeDiameter, {"G1 X0 Y0", "X10 Y360"},
       {"G01 Z0.000 C0.000 M15", "G01 Z5.000 C180.000 M16", "G01 Z10.000 C0.000"}},
      {"two turns and more in three pieces", Keep, kDegreeDiameter, {"G0 X0 Y-10 Z1", "Y730"},
       {"G00 Z0.000 X115.592 C370.000 M15", "G00 Z0.000 C123.333 M16", "G00 Z0.000 C-123.333",
        "G00 Z0.000 C-370.000"}},
      {"a plunge along a whole turn moves the depth in step", Keep, kDegreeDiameter,
       {"G1 X0 Y0 Z0", "Y360 Z-2"},
       {"G01 Z0.000 X114.592 C0.000 M15", "G01 Z0.000 X113.592 C180.000 M16",
        "G01 Z0.000 X112.592 C0.000"}},
      // Without words the axis takes the shorter way: half a turn at most.
      {"without words, pieces below half a turn", wordless, kDegreeDiameter,
       {"G1 X0 Y0", "Y200"},
       {"G01 Z0.000 C0.000 ", "G01 Z0.000 C260.000 ", "G01 Z0.000 C160.000"}},
  };
  ExpectConversions(cases);
}

TEST(ConversionTest, LinearisesArcs) {
  const std::vector<Case> cases = {
      {"quarter turn with 10 degrees: eight steps and the end",
       [](ConversionSettings& s) { s.deg = 10; }, 100, {"G1 X10 Y0", "G2 X0 Y-10 R10"}, {}},
      {"step not smaller than the sweep: only the end line",
       [](ConversionSettings& s) { s.deg = 90; }, 100, {"G1 X10 Y0", "G2 X0 Y-10 R10"},
       {"G01 Z10.000 C0.000 M15", "G01 Z0.000 C371.459"}},
      {"radius shorter than half the chord steps on the half circle",
       [](ConversionSettings& s) { s.deg = 90; }, kDegreeDiameter,
       {"G1 X0 Y0", "G2 X20 Y0 R5"},
       {"G01 Z0.000 C0.000 M15", "G01 Z10.000 C350.000 M16", "G01 Z20.000 C0.000 M15"}},
      {"type 0 writes nothing for arcs", [](ConversionSettings& s) { s.type = 0; }, 100,
       {"G2 X5 Y5 R0"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConversionSettings settings = ExampleSettings();
    c.adjust(settings);
    const Lines got = Convert(settings, c.diameter, c.source);
    if (c.want.empty() && settings.deg == 10) {
      EXPECT_EQ(got.size(), 1u + 8u + 1u);
      EXPECT_EQ(got.back(), "G01 Z0.000 C371.459");
    } else {
      EXPECT_EQ(got, c.want);
    }
  }
}

TEST(ConversionTest, StepCountFollowsSweepAndResolution) {
  struct StepCase {
    const char* name;
    int degrees;
    const char* arc;
    std::size_t stepLines;
  };
  const StepCase cases[] = {
      {"long way round with negative R: 270 degrees", 10, "G2 X0 Y-10 R-10", 26},
      {"counter-clockwise quarter", 10, "G3 X0 Y-10 R10", 8},
      {"sweep of 95 degrees", 10, "G3 X-0.871557 Y9.961947 R10", 9},
      {"resolution 0 is taken as 1", 0, "G2 X0 Y-10 R10", 89},
      {"negative resolution is taken as 1", -5, "G2 X0 Y-10 R10", 89},
      {"resolution 400 gives only the end", 400, "G2 X0 Y-10 R-10", 0},
  };
  for (const StepCase& c : cases) {
    SCOPED_TRACE(c.name);
    ConversionSettings settings = ExampleSettings(c.degrees);
    const Lines got = Convert(settings, 100, {"G1 X10 Y0", c.arc});
    EXPECT_EQ(got.size(), 1 + c.stepLines + 1);
  }
}

TEST(ConversionTest, NumbersBlocks) {
  struct NumberCase {
    const char* name;
    bool on;
    int start;
    int step;
    Lines header;
    Lines want;
  };
  const NumberCase cases[] = {
      {"header, dash line and body share one count", true, 1, 1, {"%", "-O0001"},
       {"N1 %", "O0001", "N2 G01 Z10.000 C0.000 M15", "N3 M30"}},
      {"step 0 repeats the number", true, 7, 0, {"%"},
       {"N7 %", "N7 G01 Z10.000 C0.000 M15", "N7 M30"}},
      {"numbering off keeps the dash", false, 1, 1, {"-O0001"},
       {"-O0001", "G01 Z10.000 C0.000 M15", "M30"}},
      {"negative numbers", true, -10, 10, {},
       {"N-10 G01 Z10.000 C0.000 M15", "N0 M30"}},
      {"counter wraps at 32 bits", true, 2147483647, 1, {},
       {"N2147483647 G01 Z10.000 C0.000 M15", "N-2147483648 M30"}},
  };
  for (const NumberCase& c : cases) {
    SCOPED_TRACE(c.name);
    ConversionSettings settings = ExampleSettings();
    settings.enum_ = c.on;
    settings.format.Satzstart = c.start;
    settings.format.Satzschritt = c.step;
    EXPECT_EQ(Convert(settings, 100, {"G1 X10 Y0"}, c.header, {"M30"}), c.want);
  }
}

TEST(ConversionTest, EmptySourceWritesHeaderThenFooter) {
  EXPECT_EQ(Convert(ExampleSettings(), 100, {}, {"%", "O1"}, {"M30", "%"}),
            (Lines{"%", "O1", "M30", "%"}));
}

TEST(ConversionTest, RunsDoNotDependOnEarlierRuns) {
  Conversion conversion(ExampleSettings());
  const Lines source = {"G1 X0 Y10", "Y0", "G2 X10 Y-10 R10"};
  Lines first;
  Lines second;
  conversion.RunConversion(100, source, {}, {}, first);
  conversion.RunConversion(100, source, {}, {}, second);
  EXPECT_EQ(first, second);
}

TEST(ConversionTest, StopsAtArcsWithoutCentreOrRadius) {
  struct ErrorCase {
    const char* name;
    int type;
    Lines source;
    std::string message;
    Lines written;
  };
  const ErrorCase cases[] = {
      {"no radius and no centre", 1, {"G1 X10 Y0", "G2 X0 Y-10", "G1 X5"},
       "Zeile 2: Kreisbogen ohne Radius (R) oder Mittelpunkt (I, J)", {"G01 Z10.000 C0.000 M15"}},
      {"no radius and no centre in machine mode", 2, {"G1 X10 Y0", "G2 X0 Y-10", "G1 X5"},
       "Zeile 2: Kreisbogen ohne Radius (R) oder Mittelpunkt (I, J)", {"G01 Z10.000 C0.000 M15"}},
      {"explicit radius 0", 1, {"G1 X10 Y0", "G2 X0 Y-10 R0", "G1 X5"},
       "Zeile 2: Kreisbogen mit Radius 0 (R0)", {"G01 Z10.000 C0.000 M15"}},
      {"explicit radius 0 in machine mode", 2, {"G1 X10 Y0", "G2 X0 Y-10 R0", "G1 X5"},
       "Zeile 2: Kreisbogen mit Radius 0 (R0)", {"G01 Z10.000 C0.000 M15"}},
      {"radius 0 with both points on one X", 1, {"G1 X10 Y0", "G3 Y-10 R0"},
       "Zeile 2: Kreisbogen mit Radius 0 (R0)", {"G01 Z10.000 C0.000 M15"}},
      {"start equals end", 1, {"G1 X10 Y0", "G2 X10 Y0 R5"},
       "Zeile 2: Start- und Endpunkt des Kreisbogens fallen zusammen",
       {"G01 Z10.000 C0.000 M15"}},
      {"a number too large for any real", 1,
       {"G1 X1" + std::string(5000, '0')}, "Zeile 1: Gleitkomma\xFC" "berlauf", {}},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.name);
    Conversion conversion(ExampleSettings(30, c.type));
    ExpectRunStops(conversion, c.source, c.message, c.written);
  }
}

TEST(ConversionTest, SurvivesHostileLines) {
  const Lines source = {
      std::string(100000, 'X'),
      "G1 X" + std::string(400, '9') + " Y1",
      "G2 X" + std::string(100000, '1'),
      std::string(1 << 20, '(') + "X",
      std::string("\0\0\0", 3),
  };
  for (const std::string& line : source) {
    Conversion conversion(ExampleSettings());
    Lines target;
    try {
      conversion.RunConversion(100, {"G1 X1 Y1 R1", line, "G2 X5 Y5"}, {}, {}, target);
    } catch (const ConversionError& error) {
      // A clear error naming the line is as good as a result; a crash or a
      // hang is not.
      EXPECT_GE(error.line(), 2u);
    }
  }
}

}  // namespace
}  // namespace torvane
