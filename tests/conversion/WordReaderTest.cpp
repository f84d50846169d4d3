// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/WordReader.h"

#include <gtest/gtest.h>

#include <string>

#include "conversion/FloatError.h"

namespace torvane {
namespace {

TEST(WordReaderTest, ReadsTheNumberAfterTheLetter) {
  struct Case {
    const char* line;
    long double want;
  };
  const Case cases[] = {
      {"X12.5", 12.5L},
      {"X 12.5", 12.5L},        // blanks between letter and digits
      {"X1 0", 10},             // and inside the digits
      {"X\t-3.25", -3.25L},
      {"X+5", 5},               // a plus right after the letter is a sign
      {"X + 5", 5},
      {"X.5", 0.5L},
      {"X-.5", -0.5L},
      {"X5.", 5},
      {"X1E5", 1},              // the exponent letter ends the number
      {"X7 X9", 7},
      {"X123456789.123456789", 123456789.123456789L},
      {"X0000000000000000000000001.5", 1.5L},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const WordNumber word = ReadWordNumber(c.line, 0);
    EXPECT_TRUE(word.valid);
    EXPECT_EQ(word.value, c.want);
  }
}

TEST(WordReaderTest, MalformedNumbersAreInvalid) {
  // Read forgivingly they would give 15, 1, 0 ...: a different path.
  const char* cases[] = {"X1.5.2", "X1-2", "X", "X-", "X.", "X+", "XA", "X+-5",
                         "X--5",   "X-1-2", "X1+5", "X 1 . 2 ."};
  for (const char* line : cases) {
    SCOPED_TRACE(line);
    EXPECT_FALSE(ReadWordNumber(line, 0).valid);
  }
}

TEST(WordReaderTest, LongNumbersAreExactOrOverflow) {
  EXPECT_EQ(ReadWordNumber("X" + std::string(400, '9'), 0).value, 1e400L);
  EXPECT_EQ(ReadWordNumber("X0." + std::string(6000, '0') + "1", 0).value, 0);
  EXPECT_THROW(ReadWordNumber("X1" + std::string(5000, '0'), 0), FloatError);
}

// The number rules a reader of results shares with the converter: every
// form the number format writes is read, nothing else.
TEST(WordReaderTest, ReadDecimalTakesTheFormsTheFormatWrites) {
  struct Case {
    const char* text;
    int implied;
    bool valid;
    long double want;
  };
  const Case cases[] = {
      {"12.5", 0, true, 12.5L},      {"-0.001", 0, true, -0.001L},  {"+7", 0, true, 7},
      {".5", 0, true, 0.5L},         {"5.", 0, true, 5},            {"0005500", 3, true, 5.5L},
      {"-0008000", 3, true, -8},     {"12.5", 3, true, 12.5L},      {"0", 3, true, 0},
      {"", 0, false, 0},             {"-", 0, false, 0},            {".", 0, false, 0},
      {"1.2.3", 0, false, 0},        {"1-2", 0, false, 0},          {"1e5", 0, false, 0},
      {"1,5", 0, false, 0},          {" 1", 0, false, 0},           {"12345678901234567890", 0, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    long double value = -99;
    EXPECT_EQ(ReadDecimal(c.text, c.implied, value), c.valid);
    if (c.valid) {
      EXPECT_EQ(value, c.want);
    }
  }
}

}  // namespace
}  // namespace torvane
