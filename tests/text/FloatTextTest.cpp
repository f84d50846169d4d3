// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/Windows1252.h"
#include "text/FloatText.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

TEST(StrToFloatStrictTest, AcceptsOnlyWholeNumbers) {
  struct Case {
    const char* text;
    bool valid;
    long double want;
  };
  const Case cases[] = {
      {"100", true, 100},      {" 50.5 ", true, 50.5L}, {"-40", true, -40},
      {"+3", true, 3},         {"1E15", true, 1e15L},   {"1e-3", true, 0.001L},
      {".5", true, 0.5L},      {"5.", true, 5},         {"", false, 0},
      {"+", false, 0},         {"-", false, 0},         {"1.2.3", false, 0},
      {"1E", false, 0},        {"12a", false, 0},       {"1,5", false, 0},
      {"1E99999", false, 0},   {"--1", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto value = StrToFloatStrict(c.text);
    ASSERT_EQ(value.has_value(), c.valid);
    if (c.valid) {
      EXPECT_EQ(*value, c.want);
    }
  }
}

TEST(FloatToGeneralTest, ShowsFifteenDigitsAtMost) {
  struct Case {
    long double value;
    const char* want;
  };
  const Case cases[] = {
      {100, "100"},           {12.5L, "12.5"},     {1e15L, "1E15"},
      {999999999999999.0L, "999999999999999"},     {0.00001L, "0.00001"},
      {0.000001L, "1E-6"},    {-40, "-40"},        {0, "0"},
      {1.0L / 3, "0.333333333333333"},             {123456.7890123456789L, "123456.789012346"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.want);
    EXPECT_EQ(FloatToGeneral(c.value), c.want);
    // What is shown must read back.
    EXPECT_TRUE(StrToFloatStrict(FloatToGeneral(c.value)).has_value());
  }
}

TEST(FilterDiameterKeyTest, LetsNumbersThrough) {
  EXPECT_EQ(FilterDiameterKey(','), '.');
  for (char c : std::string("0123456789+-.\b")) EXPECT_EQ(FilterDiameterKey(c), c);
  for (char c : std::string("aEe \r\x1B\x03\x16\x18\x1A")) EXPECT_FALSE(FilterDiameterKey(c));
}

TEST(InvalidFloatMessageTest, NamesTheText) {
  EXPECT_EQ(InvalidFloatMessage("1.2.3"), Cp1252("'1.2.3' ist kein gültiger Gleitkommawert"));
}

}  // namespace
}  // namespace torvane
