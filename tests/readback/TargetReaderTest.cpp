// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/Windows1252.h"
#include "readback/TargetReader.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "TestSettings.h"

namespace torvane {
namespace {

using Lines = std::vector<std::string>;
using testing::ExampleSettings;

constexpr auto R = MoveKind::Rapid;
constexpr auto F = MoveKind::Feed;
constexpr auto CW = MoveKind::ArcClockwise;
constexpr auto CCW = MoveKind::ArcCounterClockwise;

struct Want {
  MoveKind kind;
  long double axial, angle, radial, radius;
  std::size_t line;
};

struct Case {
  const char* name;
  std::function<void(ConversionSettings&)> adjust;
  Lines lines;
  std::vector<Want> moves;
  std::vector<std::size_t> unread;
};

void Keep(ConversionSettings&) {}

void ImpliedDecimals(ConversionSettings& s) {
  s.type = 2;
  s.axis = "B";
  s.format.DeziPunkt = false;
  s.format.Vorzeichen = true;
  s.format.VNullen = true;
  s.format.Stellen = 7;
}

void Numbered(ConversionSettings& s) {
  s.enum_ = true;
  s.format.NNullen = false;
}

// Every move checked to the last bit of the value the text stands for.
TEST(TargetReaderTest, ReadsTheConvertersLines) {
  const Case cases[] = {
      {"worked arc: point, three decimals, direction words skipped", Keep,
       {"G01 Z10.000 C0.000 M15", "G01 Z8.660 C365.730 M16", "G01 Z5.000 C369.924 M15",
        "G01 Z0.000 C371.459"},
       {{F, 10, 0, 100, 0, 1}, {F, 8.66L, 365.73L, 100, 0, 2}, {F, 5, 369.924L, 100, 0, 3},
        {F, 0, 371.459L, 100, 0, 4}},
       {}},
      {"implied decimals with signs and leading zeros, machine arcs", ImpliedDecimals,
       {"G00 Z-0005500 X+0082000 B+0000000 M15", "G01 X+0078750",
        "G133 Z+0005500 B+0364297 L-0008000 M16", "G132 Z+0000000 B+0000000 L+0020000 M15"},
       {{R, -5.5L, 0, 82, 0, 1}, {F, -5.5L, 0, 78.75L, 0, 2},
        {CCW, 5.5L, 364.297L, 78.75L, -8, 3}, {CW, 0, 0, 78.75L, 20, 4}},
       {}},
      {"block numbers, no trailing zeros; header and footer reported", Numbered,
       {"N10 %", "O1234 (MANTEL)", "N20 G00 Z0 X65 C0 M15", "N30 G01 X58", "N40 G01 Z20",
        "N50 G01 Z22.588 C359.349 M16", "", "N200 M5", "%"},
       {{R, 0, 0, 65, 0, 3}, {F, 0, 0, 58, 0, 4}, {F, 20, 0, 58, 0, 5},
        {F, 22.588L, 359.349L, 58, 0, 6}},
       {1, 2, 8, 9}},
      {"point at whole numbers, no decimals",
       [](ConversionSettings& s) {
         s.format.NCPunkt = true;
         s.format.Nachkomma = 0;
       },
       {"G00 Z10. X105. C0.", "G01 Z-3. C12."},
       {{R, 10, 0, 105, 0, 1}, {F, -3, 12, 105, 0, 2}},
       {}},
      {"a feed word is read and skipped; a typed point overrides implied decimals",
       [](ConversionSettings& s) {
         ImpliedDecimals(s);
         s.format.VNullen = false;
       },
       {"G01 Z+12500 F200", "G01 Z+1.5 B+90000"},
       {{F, 12.5L, 0, 100, 0, 1}, {F, 1.5L, 90, 100, 0, 2}},
       {}},
      {"radius address that begins with the axis letter",
       [](ConversionSettings& s) {
         s.type = 2;
         s.erad = "CR=";
       },
       {"G01 Z0.000 C0.000", "G133 Z10.000 C350.000 CR=-10.000"},
       {{F, 0, 0, 100, 0, 1}, {CCW, 10, 350, 100, -10, 2}},
       {}},
      {"lines the converter never writes are reported, not guessed",
       [](ConversionSettings& s) { s.type = 2; },
       {"G01 Z1.000", "G01 Z2.000 Z3.000", "G01 Z", "G01 Z1.5.0", "G01 Y4.000",
        "G132 Z5.000", "G132 Z5.000 X98.000 L2.000", "G01 Z5.000 L2.000", "Z6.000",
        "G01Z7.000", "G02 Z8.000", "G01 Z9.000 M3", "   "},
       {{F, 1, 0, 100, 0, 1}},
       {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConversionSettings settings = ExampleSettings();
    c.adjust(settings);
    const ReadBack read = ReadTarget(settings, 100, c.lines);
    ASSERT_EQ(read.moves.size(), c.moves.size());
    for (std::size_t i = 0; i < c.moves.size(); ++i) {
      SCOPED_TRACE(i);
      const Move& got = read.moves[i];
      const Want& want = c.moves[i];
      EXPECT_EQ(got.kind, want.kind);
      EXPECT_EQ(got.axial, want.axial);
      EXPECT_EQ(got.angle, want.angle);
      EXPECT_EQ(got.radial, want.radial);
      EXPECT_EQ(got.radius, want.radius);
      EXPECT_EQ(got.line, want.line);
    }
    EXPECT_EQ(read.unreadLines, c.unread);
    EXPECT_EQ(read.lineCount, c.lines.size());
  }
}

TEST(TargetReaderTest, RefusesSettingsItCannotTellApart) {
  struct Refusal {
    const char* name;
    std::function<void(ConversionSettings&)> adjust;
    std::string message;
  };
  const Refusal cases[] = {
      {"no point and no trailing zeros",
       [](ConversionSettings& s) {
         s.format.DeziPunkt = false;
         s.format.NNullen = false;
       },
       "Ohne Dezimalpunkt und ohne Nachnullen ist das Zahlenformat nicht eindeutig lesbar"},
      {"rapid and feed share a code", [](ConversionSettings& s) { s.eg1 = "G00"; },
       "Zwei Bewegungsarten haben denselben Code \"G00\""},
      {"machine arcs share a code",
       [](ConversionSettings& s) {
         s.type = 2;
         s.eg3 = "G132";
       },
       "Zwei Bewegungsarten haben denselben Code \"G132\""},
      {"no axis letter", [](ConversionSettings& s) { s.axis.clear(); },
       Cp1252("Kein Buchstabe für die Drehachse eingestellt")},
  };
  for (const Refusal& c : cases) {
    SCOPED_TRACE(c.name);
    ConversionSettings settings = ExampleSettings();
    c.adjust(settings);
    TargetReader reader(settings, 100);
    EXPECT_EQ(reader.Unreadable(), c.message);
    reader.Read("G01 Z1.000");
    EXPECT_EQ(reader.Take().unreadLines, std::vector<std::size_t>{1});
  }
  ConversionSettings linearised = ExampleSettings();
  linearised.eg2 = "G01";  // arc codes unused when arcs are linearised
  EXPECT_EQ(TargetReader(linearised, 100).Unreadable(), "");
}

}  // namespace
}  // namespace torvane
