#include <gtest/gtest.h>

#include <string>

#include "conversion/Conversion.h"
#include "conversion/FloatError.h"

namespace torvane {
namespace {

TEST(ReadWordValueTest, ReadsTheNumberAfterTheFirstLetter) {
  struct Case {
    const char* line;
    long double want;
  };
  const Case cases[] = {
      {"X12.5", 12.5L},
      {"X 12.5", 12.5L},        // blanks between letter and digits
      {"X1 0", 10},             // and inside the digits
      {"X-3.25", -3.25L},
      {"X+5", 5},               // a plus right after the letter is a sign
      {"X + 5", 5},
      {"X1+5", 1},              // elsewhere it ends the number
      {"X+-5", 0},              // a second sign breaks the form at once
      {"X", 0},                 // letter at the end
      {"XA", 0},                // nothing collected
      {"X-", 0},
      {"X.", 0},
      {"X.5", 0.5L},
      {"X-.5", -0.5L},
      {"X5.", 5},
      {"X1-2", 1},              // malformed: digits before the fault, no sign
      {"X1.5.2", 15},
      {"X-1-2", 1},
      {"X--5", 0},
      {"X1E5", 1},              // the exponent letter ends the number
      {"G1 X7 X9", 7},          // the first occurrence counts
      {"X0.1", 0.1L},
      {"X123456789.123456789", 123456789.123456789L},
      {"X0000000000000000000000001.5", 1.5L},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(Conversion::ReadWordValue('X', c.line), c.want);
  }
}

TEST(ReadWordValueTest, LongNumbersAreExactOrOverflow) {
  EXPECT_EQ(Conversion::ReadWordValue('X', "X" + std::string(400, '9')), 1e400L);
  EXPECT_EQ(Conversion::ReadWordValue('X', "X0." + std::string(6000, '0') + "1"), 0);
  EXPECT_THROW(Conversion::ReadWordValue('X', "X1" + std::string(5000, '0')), FloatError);
  // 1e400 as a malformed run still counts its digits.
  EXPECT_EQ(Conversion::ReadWordValue('X', "X1" + std::string(400, '0') + "-"), 1e400L);
}

}  // namespace
}  // namespace torvane
