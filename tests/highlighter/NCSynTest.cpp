// SPDX-License-Identifier: GPL-3.0-or-later
#include "highlighter/NCSyn.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace torvane {
namespace {

using Token = std::pair<std::string, int>;

// The tokens of one line, end of line included; checks on the way that the
// tokens tile the line without gaps.
std::vector<Token> Scan(TNCSyn& syn, std::string_view line) {
  std::vector<Token> tokens;
  std::size_t expectedStart = 0;
  syn.BeginLine(line, 0);
  for (int guard = 0; guard < 10000; ++guard) {
    EXPECT_EQ(syn.CurrentStart(), expectedStart);
    tokens.emplace_back(std::string(syn.CurrentText()), syn.CurrentKind());
    if (syn.AtLineEnd()) break;
    expectedStart += syn.CurrentText().size();
    syn.Advance();
  }
  return tokens;
}

const Token kEnd{"", nkEndOfLine};

TEST(NCSynTest, WorkedLinesAndEdgeCases) {
  struct Case {
    const char* name;
    std::string input;
    std::vector<Token> want;
  };
  const Case cases[] = {
      {"block with comment",
       "N10 G01 X-12.5 Y0 (ANFANG)",
       {{"N", nkLabel}, {"10", nkNumber}, {" ", nkSpace}, {"G", nkLabel}, {"01", nkNumber}, {" ", nkSpace},
        {"X", nkLabel}, {"-12.5", nkNumber}, {" ", nkSpace}, {"Y", nkLabel}, {"0", nkNumber}, {" ", nkSpace},
        {"(ANFANG)", nkComment}, kEnd}},
      {"lower case letters are words like upper case ones; a comma is no part of a number",
       "g01x1,5",
       {{"g", nkLabel}, {"01", nkNumber}, {"x", nkLabel}, {"1", nkNumber}, {",", nkOther},
        {"5", nkNumber}, kEnd}},
      {"comment ends at its first closer",
       "(a(b)q)",
       {{"(a(b)", nkComment}, {"q", nkLabel}, {")", nkCloseBracket}, kEnd}},
      {"number shape is not checked", "X.5.5--+", {{"X", nkLabel}, {".5.5--+", nkNumber}, kEnd}},
      {"semicolon comments to the line end", "M30;Ende (x)", {{"M", nkLabel}, {"30", nkNumber},
                                                               {";Ende (x)", nkComment}, kEnd}},
      {"semicolon comment stops before CR", "X1;a\rY", {{"X", nkLabel}, {"1", nkNumber}, {";a", nkComment},
                                                          {"\r", nkSpace}, {"Y", nkLabel}, kEnd}},
      {"semicolon inside a bracket comment", "(a;b)X", {{"(a;b)", nkComment}, {"X", nkLabel}, kEnd}},
      {"lone semicolon", ";", {{";", nkComment}, kEnd}},
      {"empty line", "", {kEnd}},
      {"unclosed comment reaches the end", "G1 (offen", {{"G", nkLabel}, {"1", nkNumber}, {" ", nkSpace},
                                                         {"(offen", nkComment}, kEnd}},
      {"comment stops before CR", "(a\rb)", {{"(a", nkComment}, {"\r", nkSpace}, {"b", nkLabel},
                                             {")", nkCloseBracket}, kEnd}},
      {"comment stops before LF", "(a\nb", {{"(a", nkComment}, {"\n", nkSpace}, {"b", nkLabel}, kEnd}},
      {"tab between words", "T1\tD1", {{"T", nkLabel}, {"1", nkNumber}, {"\t", nkSpace}, {"D", nkLabel},
                                       {"1", nkNumber}, kEnd}},
      {"blanks of every kind, controls apart", "A \t\f\v\x1A\x01 B",
       {{"A", nkLabel}, {" \t\f\v\x1A", nkSpace}, {"\x01", nkOther}, {" ", nkSpace}, {"B", nkLabel},
        kEnd}},
      {"CR LF is one token", "A\r\nB", {{"A", nkLabel}, {"\r\n", nkSpace}, {"B", nkLabel}, kEnd}},
      {"lone CR is one token", "A\rB", {{"A", nkLabel}, {"\r", nkSpace}, {"B", nkLabel}, kEnd}},
      {"LF CR are two tokens", "\n\r", {{"\n", nkSpace}, {"\r", nkSpace}, kEnd}},
      {"umlaut and high codes are other", "\xC4\x7F\xFF", {{"\xC4", nkOther}, {"\x7F", nkOther},
                                                           {"\xFF", nkOther}, kEnd}},
      {"slash is not part of a number", "/1/2", {{"/", nkOther}, {"1", nkNumber}, {"/", nkOther},
                                                 {"2", nkNumber}, kEnd}},
      {"NUL is a character the converter does not know", std::string("G1\0X5", 5),
       {{"G", nkLabel}, {"1", nkNumber}, {std::string(1, '\0'), nkOther}, {"X", nkLabel},
        {"5", nkNumber}, kEnd}},
      {"NUL inside a comment", std::string("(ab\0)X", 6),
       {{std::string("(ab\0)", 5), nkComment}, {"X", nkLabel}, kEnd}},
      {"block number", "N0010", {{"N", nkLabel}, {"0010", nkNumber}, kEnd}},
      {"punctuation", "%=_", {{"%", nkOther}, {"=", nkOther}, {"_", nkOther}, kEnd}},
  };
  TNCSyn syn;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Scan(syn, c.input), c.want);
  }
}

// Lines of real programs and the colours the pane gives them, run by run
// (the attribute's name, "-" for none): the pins of what the user sees.
TEST(NCSynTest, GoldenLinesAndTheirColours) {
  const std::pair<std::string, std::string> golden[] = {
      {"N10 G01 X-12.5 Y0 (ANFANG)",
       "Label[N] Number[10] Space[ ] Label[G] Number[01] Space[ ] Label[X] Number[-12.5] "
       "Space[ ] Label[Y] Number[0] Space[ ] Comment[(ANFANG)]"},
      {"g2 x1,5 r+5 ;Ende",
       "Label[g] Number[2] Space[ ] Label[x] Number[1] Identifier[,] Number[5] Space[ ] "
       "Label[r] Number[+5] Space[ ] Comment[;Ende]"},
      {"/N20 G0 Z5*37", "Identifier[/] Label[N] Number[20] Space[ ] Label[G] Number[0] "
                        "Space[ ] Label[Z] Number[5] Identifier[*] Number[37]"},
      {"G1 X1e-05", "Label[G] Number[1] Space[ ] Label[X] Number[1] Label[e] Number[-05]"},
      {"%", "Identifier[%]"},
      {":1234 (a(b) c)", "Identifier[:] Number[1234] Space[ ] Comment[(a(b)] Space[ ] "
                         "Label[c] -[)]"},
  };
  TNCSyn syn;
  for (const auto& [line, want] : golden) {
    SCOPED_TRACE(line);
    std::string runs;
    syn.BeginLine(line, 0);
    for (; !syn.AtLineEnd(); syn.Advance()) {
      const TSynHighlighterAttributes* attribute = syn.CurrentAttribute();
      if (!runs.empty()) runs += ' ';
      runs += (attribute ? attribute->Name() : std::string("-")) + "[" +
              std::string(syn.CurrentText()) + "]";
    }
    EXPECT_EQ(runs, want);
  }
}

TEST(NCSynTest, FirstCharacterDecidesTheTokenKind) {
  struct Case {
    const char* name;
    int from, to;
    int want;
  };
  const Case cases[] = {
      {"NUL and controls", 0, 8, nkOther}, {"tab", 9, 9, nkSpace},
      {"vertical tab and form feed", 11, 12, nkSpace}, {"more controls", 14, 25, nkOther},
      {"end-of-file mark", 26, 26, nkSpace}, {"the last controls", 27, 31, nkOther},
      {"blank", 32, 32, nkSpace},
      {"upper case", 'A', 'Z', nkLabel},  {"digits", '0', '9', nkNumber},
      {"lower case", 'a', 'z', nkLabel},  {"high codes", 127, 255, nkOther},
      {"exclamation to quote", 33, 39, nkOther},
  };
  TNCSyn syn;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (int code = c.from; code <= c.to; ++code) {
      const std::string line(1, static_cast<char>(code));
      syn.BeginLine(line, 0);
      EXPECT_EQ(syn.CurrentKind(), c.want) << "code " << code;
      EXPECT_EQ(syn.CurrentText(), line) << "code " << code;
    }
  }
  const std::pair<char, int> singles[] = {{'+', nkNumber}, {',', nkOther}, {'-', nkNumber}, {'.', nkNumber},
                                          {'(', nkComment}, {')', nkCloseBracket}, {'/', nkOther},
                                          {';', nkComment}};
  for (auto [ch, kind] : singles) {
    syn.BeginLine(std::string(1, ch), 0);
    EXPECT_EQ(syn.CurrentKind(), kind) << ch;
  }
}

TEST(NCSynTest, AttributesInNameOrderWithTheirColours) {
  struct Case {
    std::string name;
    TColor foreground;
    TFontStyles style;
  };
  const Case want[] = {
      {"Comment", RGBColor(128, 128, 128), fsBold | fsItalic},
      {"Identifier", RGBColor(128, 128, 128), fsBold | fsItalic},
      {"Key", RGBColor(0, 255, 0), 0},
      {"Label", RGBColor(255, 0, 0), fsBold},
      {"Marker", RGBColor(128, 128, 128), fsItalic},
      {"Number", RGBColor(0, 0, 128), fsBold},
      {"Space", clNone, 0},
      {"Symbol", RGBColor(0, 255, 0), 0},
  };
  TNCSyn syn;
  ASSERT_EQ(syn.AttributeCount(), 8);
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(want[i].name);
    const TSynHighlighterAttributes* a = syn.AttributeAt(i);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Name(), want[i].name);
    EXPECT_EQ(a->Foreground(), want[i].foreground);
    EXPECT_EQ(a->Background(), clNone);
    EXPECT_EQ(a->Style(), want[i].style);
  }
  EXPECT_EQ(&syn.SatzAttri(), syn.AttributeAt(4));
  EXPECT_EQ(syn.AttributeAt(8), nullptr);
}

TEST(NCSynTest, AttributeOfEachKind) {
  TNCSyn syn;
  struct Case {
    const char* line;
    TSynHighlighterAttributes* want;
  };
  const Case cases[] = {
      {"(x)", &syn.CommentAttri()}, {"G", &syn.LabelAttri()},      {"12", &syn.NumberAttri()},
      {" ", &syn.SpaceAttri()},     {"g", &syn.LabelAttri()},      {")", nullptr},
      {";x", &syn.CommentAttri()},  {"%", &syn.IdentifierAttri()},
      {"", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    syn.BeginLine(c.line, 0);
    EXPECT_EQ(syn.CurrentAttribute(), c.want);
  }
}

TEST(NCSynTest, RolesGiveCommentKeyAndSpace) {
  TNCSyn syn;
  const std::pair<int, TSynHighlighterAttributes*> cases[] = {
      {0, &syn.CommentAttri()}, {1, nullptr}, {2, &syn.KeyAttri()}, {3, nullptr},
      {4, &syn.SpaceAttri()},   {5, nullptr}, {-1, nullptr},
  };
  for (auto [role, want] : cases) EXPECT_EQ(syn.AttributeForRole(role), want) << "role " << role;
}

TEST(NCSynTest, LanguageFilterAndWordCharacters) {
  TNCSyn syn;
  EXPECT_EQ(syn.LanguageTitle(), "NC");
  EXPECT_EQ(syn.DefaultFilter(), "All files (*.*)|*.*");
  std::string words;
  const std::bitset<256> set = syn.WordCharacters();
  for (int code = 0; code < 256; ++code)
    if (set[static_cast<std::size_t>(code)]) words += static_cast<char>(code);
  EXPECT_EQ(words, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz");
}

TEST(NCSynTest, ScansTheCallersTextWithoutCopying) {
  TNCSyn syn;
  const std::string line = "G01 X5";
  syn.BeginLine(line, 3);
  syn.Advance();
  EXPECT_EQ(syn.CurrentText().data(), line.data() + 1);
}

TEST(NCSynTest, EndOfLineStaysPut) {
  TNCSyn syn;
  syn.BeginLine("G", 0);
  syn.Advance();
  ASSERT_TRUE(syn.AtLineEnd());
  syn.Advance();
  syn.Advance();
  EXPECT_TRUE(syn.AtLineEnd());
  EXPECT_EQ(syn.CurrentStart(), 1u);
  EXPECT_EQ(syn.CurrentText(), "");
}

TEST(NCSynTest, LineStateIsOneStoredByte) {
  TNCSyn syn;
  EXPECT_EQ(syn.LineState(), 0);
  syn.RestoreLineState(0x1FF);
  EXPECT_EQ(syn.LineState(), 0xFF);
  syn.BeginLine("(x", 0);
  syn.SkipToLineEnd();
  EXPECT_EQ(syn.LineState(), 0xFF) << "scanning never changes it";
  syn.ClearLineState();
  EXPECT_EQ(syn.LineState(), 0);
  EXPECT_TRUE(syn.IsLineLocal());
}

}  // namespace
}  // namespace torvane
