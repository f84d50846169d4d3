// SPDX-License-Identifier: GPL-3.0-or-later
// Results changed by hand the way a slip of the keyboard or a wrong tool
// would change them: each must fail at the line changed, naming why.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "TestSettings.h"
#include "conversion/Conversion.h"
#include "readback/CheckThread.h"
#include "readback/ResultCheck.h"

namespace torvane {
namespace {

using Lines = std::vector<std::string>;

// A plunge, a straight cut, a half circle in 30-degree steps (or one
// machine arc), back and out: 1 mm is 1 degree.
const Lines kSource = {"G0 X0 Y20 Z2", "G1 Z-1", "G1 X30 Y20", "G2 X30 Y80 R30", "G1 X0 Y80",
                       "G0 Z5"};

// The check as the command line's --check and the desktop run it, on a
// thread of its own beside the conversion, or in the caller's thread.
CheckOutcome Check(const ConversionSettings& settings, const Lines& result, bool threaded,
                   const Lines& header = {}, const Lines& footer = {}) {
  ResultCheck check(settings, testing::kDegreeDiameter, header, footer);
  Conversion conversion(settings);
  Lines unused;
  if (!threaded) {
    conversion.RecordSourcePath(&check);
    conversion.RunConversion(testing::kDegreeDiameter, kSource, {}, {}, unused);
    for (const std::string& line : result) check.Read(line);
    return check.Finish();
  }
  CheckThread thread(check);
  conversion.RecordSourcePath(&thread);
  conversion.RunConversion(testing::kDegreeDiameter, kSource, {}, {}, unused);
  for (const std::string& line : result) thread.ResultText(line + "\r\n");
  return thread.Finish();
}

void Replace(Lines& lines, std::size_t line, const std::string& from, const std::string& to) {
  std::string& text = lines.at(line - 1);
  const std::size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << text;
  text.replace(at, from.size(), to);
}

TEST(ResultCheckTest, TamperedResultsFailAtTheLineChanged) {
  struct Case {
    const char* name;
    int type;
    std::function<void(Lines&)> tamper;
    std::size_t line;  // 0: the result ends too early
    const char* says;
  };
  const Case cases[] = {
      {"as converted, stepped", 1, [](Lines&) {}, 0, ""},
      {"as converted, machine arc", 2, [](Lines&) {}, 0, ""},
      {"angle moved by 0.01 degrees", 1,
       [](Lines& l) { Replace(l, 5, "C325.000", "C325.010"); }, 5,
       "neben der Bahn der Quelle (Quellzeile 4)"},
      {"direction word swapped", 1, [](Lines& l) { Replace(l, 4, "M16", "M15"); }, 4,
       "neben der Bahn der Quelle (Quellzeile 4)"},
      {"rapid turned into a feed", 1, [](Lines& l) { Replace(l, 11, "G00", "G01"); }, 11,
       "im Vorschub, wo die Quelle einen Eilgang hat"},
      {"feed turned into a rapid", 1, [](Lines& l) { Replace(l, 3, "G01", "G00"); }, 3,
       "im Eilgang, wo die Quelle im Vorschub"},
      {"step deleted from the arc", 1, [](Lines& l) { l.erase(l.begin() + 5); }, 6,
       "vom Kreisbogen der Quellzeile 4 ab"},
      {"radial X moved by 0.01", 1, [](Lines& l) { Replace(l, 2, "X113.592", "X113.582"); }, 2,
       "0,0096 mm neben der Bahn der Quelle (Quellzeile 2)"},
      {"line repeated out of order", 1, [](Lines& l) { l.insert(l.begin() + 6, l[2]); }, 7,
       "neben der Bahn"},
      {"last line missing", 1, [](Lines& l) { l.pop_back(); }, 0,
       "bevor das Ende von Quellzeile 6"},
      {"line the check cannot read", 1, [](Lines& l) { l.insert(l.begin() + 3, "G01 Y5"); }, 4,
       "kann die Pr\xfc" "fung nicht lesen"},
      {"machine arc's radius off", 2, [](Lines& l) { Replace(l, 4, "L30.000", "L31.000"); }, 4,
       "neben der Bahn der Quelle (Quellzeile 4)"},
      {"machine arc turned the other way", 2,
       [](Lines& l) { Replace(l, 4, "G132", "G133"); }, 4, "neben der Bahn"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ConversionSettings settings = testing::ExampleSettings(30, c.type);
    Lines result;
    Conversion(settings).RunConversion(testing::kDegreeDiameter, kSource, {}, {}, result);
    c.tamper(result);
    for (const bool threaded : {false, true}) {
      const CheckOutcome outcome = Check(settings, result, threaded);
      EXPECT_EQ(outcome.passed, *c.says == '\0') << outcome.message;
      EXPECT_EQ(outcome.resultLine, c.line);
      EXPECT_NE(outcome.message.find(c.says), std::string::npos) << outcome.message;
    }
  }
}

// Header and footer as the settings have them may hold anything, even a
// move; other lines without axis words may frame the program, but nothing
// unread may stand between moves.
TEST(ResultCheckTest, FrameLines) {
  const Lines header = {"%", "G00 X200.000"};
  const Lines footer = {"G00 X200.000", "M30"};
  struct Case {
    const char* name;
    std::function<void(Lines&)> frame;
    std::size_t line;
  };
  const Case cases[] = {
      {"as written", [](Lines&) {}, 0},
      {"footer changed to another move", [](Lines& l) { l.back() = "G00 X150.000"; }, 14},
      {"no frame but comments", [&](Lines& l) {
         l.erase(l.begin(), l.begin() + 2);
         l.resize(l.size() - 2);
         l.insert(l.begin(), "(TEIL 1)");
         l.push_back("M30");
       }, 0},
      {"comment between moves", [](Lines& l) { l.insert(l.begin() + 5, "(HALT)"); }, 6},
  };
  const ConversionSettings settings = testing::ExampleSettings(30, 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Lines result;
    Conversion(settings).RunConversion(testing::kDegreeDiameter, kSource, header, footer, result);
    c.frame(result);
    const CheckOutcome outcome = Check(settings, result, false, header, footer);
    EXPECT_EQ(outcome.passed, c.line == 0) << outcome.message;
    EXPECT_EQ(outcome.resultLine, c.line) << outcome.message;
  }
}

}  // namespace
}  // namespace torvane
