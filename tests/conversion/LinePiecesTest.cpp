// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/LinePieces.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace torvane {
namespace {

std::string Text(const BlockNumberText& number) {
  char buffer[BlockNumberText::kMaxSize + 1];
  return std::string(buffer, number.WriteAt(buffer));
}

// Counting on in the text must always give the number's own text: carries
// through nines, a new digit, steps wider than one digit, and the wrap.
TEST(BlockNumberTextTest, CountsLikeTheNumber) {
  struct Case {
    std::int32_t start;
    std::int32_t step;
  };
  const Case cases[] = {{1, 1},         {95, 7},        {0, 10},          {9990, 123},
                        {999999990, 1}, {-25, 10},      {2147483600, 7},  {7, 0},
                        {3, -2},        {999, 1000001}, {2147483647, 1}, {1999999999, 100000000}};
  for (const Case& c : cases) {
    BlockNumberText number;
    number.Start(c.start);
    std::int32_t expected = c.start;
    for (int i = 0; i < 40; ++i) {
      ASSERT_EQ(Text(number), std::to_string(expected)) << c.start << " + " << i << " * " << c.step;
      number.Advance(c.step);
      expected = static_cast<std::int32_t>(static_cast<std::uint32_t>(expected) +
                                           static_cast<std::uint32_t>(c.step));
    }
  }
}

}  // namespace
}  // namespace torvane
