// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/NCFormat.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>

namespace torvane {
namespace {

TNCFormat Format(const char* flags, int stellen, int nachkomma) {
  TNCFormat format;
  const std::string f = flags;
  format.DeziPunkt = f.find('D') != std::string::npos;
  format.NNullen = f.find('N') != std::string::npos;
  format.NCPunkt = f.find('P') != std::string::npos;
  format.Vorzeichen = f.find('S') != std::string::npos;
  format.VNullen = f.find('V') != std::string::npos;
  format.Stellen = static_cast<std::uint8_t>(stellen);
  format.Nachkomma = static_cast<std::uint8_t>(nachkomma);
  return format;
}

// Flags: D DeziPunkt, N NNullen, P NCPunkt, S Vorzeichen, V VNullen.
TEST(FormatNCTest, WorkedExamples) {
  struct Case {
    const char* flags;
    int stellen;
    int nachkomma;
    const char* want[5];  // 12.5, 10, 0, -3.25, 123.456789
  };
  const Case cases[] = {
      {"D", 0, 3, {"12.5", "10", "0", "-3.25", "123.457"}},
      {"DN", 0, 3, {"12.500", "10.000", "0.000", "-3.250", "123.457"}},
      {"DP", 0, 3, {"12.5", "10.", "0.", "-3.25", "123.457"}},
      {"DS", 0, 3, {"+12.5", "+10", "+0", "-3.25", "+123.457"}},
      {"DV", 5, 3, {"0012.5", "00010", "00000", "-003.25", "123.457"}},
      {"NV", 6, 3, {"012500", "010000", "000000", "-003250", "123457"}},
      {"", 0, 3, {"125", "1", "", "-325", "123457"}},
      {"DP", 0, 0, {"13.", "10.", "0.", "-3.", "123."}},
      {"", 0, 0, {"13", "1", "", "-3", "123"}},
  };
  const long double values[5] = {12.5L, 10, 0, -3.25L, 123.456789L};
  for (const Case& c : cases) {
    for (int i = 0; i < 5; ++i) {
      SCOPED_TRACE(std::string(c.flags) + " value " + std::to_string(i));
      EXPECT_EQ(FormatNC(Format(c.flags, c.stellen, c.nachkomma), values[i]), c.want[i]);
    }
  }
}

TEST(FormatNCTest, EdgeCases) {
  struct Case {
    const char* name;
    const char* flags;
    int stellen;
    int nachkomma;
    long double value;
    const char* want;
  };
  const Case cases[] = {
      {"rounds to zero but is not zero", "D", 0, 3, 0.0004L, "0"},
      {"negative rounding to zero keeps its sign", "D", 0, 3, -0.0004L, "-0"},
      {"lone minus sign", "", 0, 0, -0.0004L, "-"},
      {"whole-number zeros go with the point", "", 0, 0, 100, "1"},
      {"zero with sign only", "S", 0, 0, 0, "+"},
      {"zero padded", "V", 4, 0, 0, "0000"},
      {"padding never cuts", "DV", 5, 3, 123.456789L, "123.457"},
      {"Stellen without VNullen does nothing", "D", 9, 3, 1.5L, "1.5"},
      {"half away from zero", "D", 0, 0, 12.5L, "13"},
      {"half away from zero, negative", "D", 0, 0, -12.5L, "-13"},
      {"2.675 rounds on its 18-digit expansion", "D", 0, 2, 2.675L, "2.68"},
      {"1.005 likewise", "D", 0, 2, 1.005L, "1.01"},
      {"0.125 is exactly half", "D", 0, 2, 0.125L, "0.13"},
      {"carry through nines", "DN", 0, 2, 9.999L, "10.00"},
      {"many decimals", "DN", 0, 20, 0.5L, "0.50000000000000000000"},
      {"beyond 18 digits writes zeros", "D", 0, 0, 1e20L, "100000000000000000000"},
      {"18-digit rounding of a large value", "D", 0, 0, 123456789012345678901.0L,
       "123456789012345679000"},
      {"tiny value", "DN", 0, 3, 1e-30L, "0.000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FormatNC(Format(c.flags, c.stellen, c.nachkomma), c.value), c.want);
  }
}

// Reference: round the 18-digit expansion half away from zero, done slowly
// with plain decimal text. Catches the fast path's shortcut going wrong near
// ties.
std::string Reference(long double value, int decimals) {
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value,
                                 std::chars_format::scientific, 17).ptr;
  const std::string text(buffer, end);
  std::string digits = text.substr(0, 1) + text.substr(2, 17);
  const int exponent = std::stoi(text.substr(text.find('e') + 1));
  // Place the digits on a fixed grid with plenty of room.
  const int offset = 400;
  std::string grid(800, '0');
  for (int i = 0; i < 18; ++i) grid[static_cast<std::size_t>(offset - exponent + i)] = digits[i];
  // grid[offset] is the units digit; keep up to offset + decimals.
  const std::size_t last = static_cast<std::size_t>(offset + decimals);
  if (grid[last + 1] >= '5') {
    std::size_t i = last;
    while (grid[i] == '9') grid[i--] = '0';
    ++grid[i];
  }
  std::string whole = grid.substr(0, offset + 1);
  whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size() - 1));
  return decimals == 0 ? whole : whole + "." + grid.substr(offset + 1, decimals);
}

TEST(FormatNCTest, FastRoundingAgreesWithDecimalReference) {
  std::mt19937_64 random(20261207);
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  std::uniform_int_distribution<int> exponent(-8, 16);
  std::uniform_int_distribution<int> decimals(0, 8);
  TNCFormat format;
  format.DeziPunkt = true;
  format.NNullen = true;
  for (int i = 0; i < 200000; ++i) {
    const int d = decimals(random);
    long double value = mantissa(random) * std::pow(10.0L, exponent(random));
    // Every fourth value sits on a decimal tie, the hard case.
    if (i % 4 == 0) value = std::round(value * std::pow(10.0L, d + 1)) / std::pow(10.0L, d + 1);
    format.Nachkomma = static_cast<std::uint8_t>(d);
    ASSERT_EQ(FormatNC(format, value), Reference(value, d)) << "value " << static_cast<double>(value);
  }
}

TEST(FormatNCTest, ThousandthsWriteWhatTheirQuotientWrites) {
  std::mt19937_64 random(20261208);
  std::uniform_int_distribution<long long> whole(-999999999999LL, 999999999999LL);
  std::uniform_int_distribution<int> small(-400000, 400000);
  std::uniform_int_distribution<int> decimals(0, 8);
  std::bernoulli_distribution flag(0.2);
  for (int i = 0; i < 100000; ++i) {
    TNCFormat format;
    format.DeziPunkt = !flag(random);
    format.NNullen = !flag(random);
    format.VNullen = flag(random);
    format.Vorzeichen = flag(random);
    format.Stellen = 6;
    format.Nachkomma = static_cast<std::uint8_t>(decimals(random));
    const long double thousandths =
        static_cast<long double>(i % 2 == 0 ? whole(random) : small(random));
    char direct[kMaxFormatNCLength + 32];
    char* const end = WriteFormatNCThousandths(direct, format, thousandths);
    ASSERT_EQ(std::string(direct, end), FormatNC(format, thousandths / 1000))
        << "thousandths " << static_cast<long long>(thousandths);
  }
}

TEST(FormatNCTest, NonFiniteValuesHaveAText) {
  const TNCFormat format;
  EXPECT_EQ(FormatNC(format, INFINITY), "INF");
  EXPECT_EQ(FormatNC(format, -INFINITY), "-INF");
  EXPECT_EQ(FormatNC(format, NAN), "NAN");
}

}  // namespace
}  // namespace torvane
