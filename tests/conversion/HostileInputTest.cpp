// SPDX-License-Identifier: GPL-3.0-or-later
// Programs from anywhere: nothing they hold may crash or hang the
// conversion; every line converts or stops the run with a clear message.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSettings.h"
#include "conversion/Conversion.h"

namespace torvane {
namespace {

using Lines = std::vector<std::string>;

// Counts lines without keeping them.
class CountingSink : public LineSink {
 public:
  void Append(std::string_view line) override {
    ++lines;
    bytes += line.size();
  }
  std::size_t lines = 0;
  std::size_t bytes = 0;
};

TEST(HostileInputTest, EveryLineConvertsOrStopsWithAMessage) {
  struct Case {
    const char* name;
    Lines source;
    const char* error;  // nullptr: converts
  };
  const Case cases[] = {
      {"NUL bytes", {std::string("G1 X1\0Y2\0", 9)},
       "Zeile 1: Unbekanntes Zeichen mit dem Code 0 au\xDF" "erhalb eines Kommentars"},
      {"bytes 0x80-0xFF", {"G1 X1 \x80\x81\xFE\xFF Y2 \xE4\xF6\xFC"},
       "Zeile 1: Unbekanntes Zeichen mit dem Code 128 au\xDF" "erhalb eines Kommentars"},
      {"NUL and high bytes in comments", {std::string("G1 X1 (\0\x80\xFF) Y2 ;\0\xE4", 18)},
       nullptr},
      {"1 MB single line", {"G1 X1 Y0 (" + std::string(1 << 20, '1') + ")"}, nullptr},
      {"1 MB of digits is beyond any real", {"G1 X1 Y" + std::string(1 << 20, '1')},
       "Zeile 1: Gleitkomma\xFC" "berlauf"},
      {"400-digit number", {"G1 X" + std::string(400, '7')}, nullptr},
      {"400 digits after the point", {"G1 X0." + std::string(400, '7')}, nullptr},
      {"R without value before an arc", {"G1 X10 Y0", "R", "G2 X0 Y-10"},
       "Zeile 2: Ung\xFCltige Zahl im Wort R"},
      {"arc with R0", {"G1 X10 Y0", "G3 X0 Y10 R0"}, "Zeile 2: Kreisbogen mit Radius 0 (R0)"},
      {"arc back to its start", {"G1 X3 Y4 R2", "G2 X3 Y4"},
       "Zeile 2: Start- und Endpunkt des Kreisbogens fallen zusammen"},
      {"arc to the start given by no words", {"G1 X3 Y4 R2", "G2 X3"},
       "Zeile 2: Start- und Endpunkt des Kreisbogens fallen zusammen"},
      {"number beyond any real", {"G1 X1" + std::string(6000, '0')},
       "Zeile 1: Gleitkomma\xFC" "berlauf"},
      {"largest real as depth", {"G1 Z1" + std::string(4932, '0')}, nullptr},
      {"huge arc", {"G1 X0 Y0 R1" + std::string(300, '0'), "G2 X1" + std::string(300, '0')},
       "Zeile 2: Ein Satz dreht die Rundachse um 360\xB0 oder mehr: das kann eine "
       "Modulo-Rundachse nicht in einem Satz ausf\xFChren"},
      {"tiny arc", {"G1 X0 Y0 R0.0000001", "G2 X0.0000001"}, nullptr},
      {"only comments", {"((((", ";;;", "()", "(GGGG XYZR)"}, nullptr},
      {"closing parentheses of no comment", {"()))"},
       "Zeile 1: Unbekanntes Zeichen \")\" au\xDF" "erhalb eines Kommentars"},
      {"junk letters", {"(x)", "GGGG"}, "Zeile 2: Unbekanntes Wort GGGG"},
      {"junk numbers", {"G-1 G99999999999"}, "Zeile 1: Ung\xFCltige Zahl im Wort G-1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Conversion conversion(testing::ExampleSettings(1));
    Lines target;
    try {
      conversion.RunConversion(100, c.source, {}, {}, target);
      EXPECT_EQ(c.error, nullptr) << "converted although an error was expected";
    } catch (const ConversionError& error) {
      ASSERT_NE(c.error, nullptr) << error.what();
      EXPECT_EQ(std::string(error.what()), c.error);
    }
  }
}

// Lines are written in place into room reserved for them: the longest
// settings texts and numbers must fit (the sanitizers see any overrun).
TEST(HostileInputTest, WidestLinesFitTheirRoom) {
  ConversionSettings settings = testing::ExampleSettings(30, 2);
  settings.enum_ = true;
  settings.eg1 = std::string(40, 'G');
  settings.eg3 = std::string(17, 'H');
  settings.axis = std::string(20, 'C');
  settings.edn = std::string(300, 'M');
  settings.erad = std::string(16, 'L');
  settings.format.Satzzeichen = std::string(25, 'N');
  settings.format.Satzstart = -2147483647 - 1;
  settings.format.Nachkomma = 255;
  settings.format.Stellen = 255;
  settings.format.VNullen = true;
  settings.format.Vorzeichen = true;
  const std::string huge = "1" + std::string(4931, '0');
  Conversion conversion(settings);
  Lines target;
  conversion.RunConversion(100, {"G3 X0 Y10 R5", "G1 X-" + huge + " Y15 Z" + huge}, {}, {}, target);
  ASSERT_EQ(target.size(), 2u);
  const TNCFormat& format = settings.format;
  const std::string letter(25, 'N');
  EXPECT_TRUE(target[0].starts_with(letter + "-2147483648 " + settings.eg3 + " Z"));
  EXPECT_NE(target[0].find(" " + settings.erad + FormatNC(format, 5)), std::string::npos);
  EXPECT_TRUE(target[1].starts_with(letter + "-2147483647 " + settings.eg1 + " Z" +
                                    FormatNC(format, -std::stold(huge)) + " X" +
                                    FormatNC(format, 100 + std::stold(huge)) + " " + settings.axis));
  EXPECT_TRUE(target[1].ends_with(" " + settings.edn));
}

// Long runs are formatted in batches on a second thread: a stop far into
// the program keeps every line before it, in order, and none after it.
TEST(HostileInputTest, StopAfterManyLinesKeepsEveryLineBefore) {
  Lines source;
  for (int i = 1; i <= 50000; ++i) source.push_back("G1 X" + std::to_string(i) + " Y0");
  source.push_back("G1 X#1");
  source.push_back("G1 X1 Y1");
  Conversion conversion(testing::ExampleSettings());
  Lines target;
  try {
    conversion.RunConversion(100, source, {"%"}, {"M30"}, target);
    ADD_FAILURE() << "no error";
  } catch (const ConversionError& error) {
    EXPECT_EQ(error.line(), 50001u);
  }
  ASSERT_EQ(target.size(), 1u + 50000u);
  EXPECT_EQ(target[1], "G01 Z1.000 C0.000 M15");
  for (int i = 2; i <= 50000; ++i) {
    ASSERT_EQ(target[static_cast<std::size_t>(i)], "G01 Z" + std::to_string(i) + ".000");
  }
}

TEST(HostileInputTest, ResolutionAndTypeOutOfRange) {
  struct Case {
    const char* name;
    int degrees;
    int type;
    std::size_t lines;  // for G1 X10 Y0, then a quarter turn
  };
  const Case cases[] = {
      {"deg 0 steps by one degree", 0, 1, 1 + 89 + 1},
      {"deg 400 writes the end only", 400, 1, 1 + 1},
      {"deg -2147483648", -2147483647 - 1, 1, 1 + 89 + 1},
      {"deg 2147483647", 2147483647, 1, 1 + 1},
      {"type 0 writes no arc", 10, 0, 1},
      {"type 3 writes no arc", 10, 3, 1},
      {"type 2", 10, 2, 1 + 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConversionSettings settings = testing::ExampleSettings(c.degrees, c.type);
    Conversion conversion(settings);
    Lines target;
    conversion.RunConversion(100, {"G1 X10 Y0", "G2 X0 Y-10 R10"}, {}, {}, target);
    EXPECT_EQ(target.size(), c.lines);
  }
}

TEST(HostileInputTest, LinearisedArcNeverExceedsAFullTurn) {
  // Clockwise arcs that are almost a full circle, at the finest step.
  Conversion conversion(testing::ExampleSettings(1));
  CountingSink sink;
  Lines arcs = {"G1 X10 Y0 R-10"};
  const int count = 2000;
  for (int i = 0; i < count; ++i) {
    arcs.push_back(i % 2 == 0 ? "G2 X10 Y-0.1" : "G2 X10 Y0");
  }
  VectorSource source(arcs);
  conversion.RunConversion(100, source, {}, {}, sink);
  // Each arc: at most 359 steps plus its end; so the output is bounded by
  // the number of arcs, whatever they hold.
  EXPECT_LE(sink.lines, 1 + count * 361u);
  EXPECT_GE(sink.lines, 1 + count * 300u);
}

}  // namespace
}  // namespace torvane
