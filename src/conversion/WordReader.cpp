// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/WordReader.h"

#include <charconv>
#include <cstdint>
#include <string>

#include "conversion/FloatError.h"
#include "text/NCScanner.h"

namespace torvane {
namespace {

constexpr long double kPow10[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,
                                  1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
                                  1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a run of decimal digits (a point may stand among them, `fractionDigits`
// counts the digits after it). Up to 19 significant digits the quotient of two
// exact extended reals is correctly rounded; longer runs go through
// from_chars, which is exact too.
long double DecimalValue(std::string_view digits, int fractionDigits) {
  std::uint64_t mantissa = 0;
  int significant = 0;
  bool small = true;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (digits[i] == '.') continue;
    if (significant == 0 && digits[i] == '0') continue;
    if (++significant > 19) {
      small = false;
      break;
    }
    mantissa = mantissa * 10 + static_cast<std::uint64_t>(digits[i] - '0');
  }
  if (small && fractionDigits <= 19) {
    return static_cast<long double>(mantissa) / kPow10[fractionDigits];
  }
  long double value = 0;
  const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Out of range with a non-zero digit before the point is too large;
    // otherwise it is too small to matter and reads as 0.
    const std::string_view whole = digits.substr(0, digits.find('.'));
    if (whole.find_first_of("123456789") != std::string_view::npos)
      throw FloatError(FloatError::Kind::Overflow);
    return 0;
  }
  return CheckReal(value);
}

}  // namespace

const char* ReadDecimalAt(const char* p, const char* end, int impliedDecimals,
                          long double& value) {
  // One pass without a branch per digit beyond the digit test: a reader of
  // a converted program takes millions of these.
  bool negative = false;
  if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
  const char* const first = p;
  // Zeros before the first other digit are not significant.
  while (p < end && *p == '0') ++p;
  std::uint64_t mantissa = 0;
  const char* significantFrom = p;
  while (p < end && IsDigit(*p)) mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p++ - '0');
  std::ptrdiff_t significant = p - significantFrom;
  std::ptrdiff_t digits = p - first;
  std::ptrdiff_t fraction = impliedDecimals;
  if (p < end && *p == '.') {
    const char* const fractionFrom = ++p;
    if (significant == 0) {
      while (p < end && *p == '0') ++p;
    }
    significantFrom = p;
    while (p < end && IsDigit(*p)) mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p++ - '0');
    significant += p - significantFrom;
    fraction = p - fractionFrom;
    digits += fraction;
  }
  if (digits == 0 || significant > 19 || fraction > 19) return nullptr;
  // One division of two exact values: the nearest real to the text.
  const long double magnitude = static_cast<long double>(mantissa) / kPow10[fraction];
  value = negative ? -magnitude : magnitude;
  return p;
}

bool ReadDecimal(std::string_view text, int impliedDecimals, long double& value) {
  const char* const end = text.data() + text.size();
  return ReadDecimalAt(text.data(), end, impliedDecimals, value) == end;
}

WordNumber ReadWordNumber(std::string_view code, std::size_t at) {
  WordNumber word;
  // The usual word, a sign, digits and a point with nothing between them,
  // in one pass; the same quotient as below. Anything else (blanks, a
  // second sign or point, many digits) takes the careful way.
  {
    std::size_t i = at + 1;
    bool negative = false;
    if (i < code.size() && (code[i] == '-' || code[i] == '+')) negative = code[i++] == '-';
    // Digits, then a point and the decimals. More than 19 digits in all
    // may not fit the mantissa: the careful way takes them.
    std::uint64_t mantissa = 0;
    const std::size_t wholeStart = i;
    for (; i < code.size() && IsDigit(code[i]); ++i) {
      mantissa = mantissa * 10 + static_cast<std::uint64_t>(code[i] - '0');
    }
    std::size_t digits = i - wholeStart;
    std::size_t fractionDigits = 0;
    if (i < code.size() && code[i] == '.') {
      const std::size_t fractionStart = ++i;
      for (; i < code.size() && IsDigit(code[i]); ++i) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(code[i] - '0');
      }
      fractionDigits = i - fractionStart;
      digits += fractionDigits;
    }
    // Blanks after the number belong to the word; what follows them must
    // not go on with it ("X1 0" reads 10).
    while (i < code.size() && ClassOf(code[i]) == NCChar::Blank) ++i;
    const bool ends = i == code.size() ||
                      !(IsDigit(code[i]) || code[i] == '-' || code[i] == '.' || code[i] == '+');
    if (ends && digits > 0 && digits <= 19) {
      const long double value = static_cast<long double>(mantissa) / kPow10[fractionDigits];
      word.value = negative ? -value : value;
      word.valid = true;
      word.end = i;
      return word;
    }
  }
  // Collect signs, points and digits; blanks vanish. A "+" belongs to the
  // word only as its sign, before any other character.
  char buffer[64];
  std::string overflow;
  std::size_t length = 0;
  auto push = [&](char c) {
    if (length < sizeof buffer) {
      buffer[length++] = c;
    } else {
      if (overflow.empty()) overflow.assign(buffer, length);
      overflow += c;
      ++length;
    }
  };
  std::size_t i = at + 1;
  for (; i < code.size(); ++i) {
    const char c = code[i];
    if (ClassOf(c) == NCChar::Blank) continue;
    if (c == '-' || c == '.' || IsDigit(c) || (c == '+' && length == 0)) {
      push(c);
      continue;
    }
    break;
  }
  word.end = i;
  // "X1+5" would otherwise read 1 and leave "+5" unseen.
  if (i < code.size() && code[i] == '+') return word;
  const std::string_view text =
      overflow.empty() ? std::string_view(buffer, length) : std::string_view(overflow);

  std::size_t k = 0;
  const bool negative = k < text.size() && text[k] == '-';
  if (k < text.size() && (text[k] == '-' || text[k] == '+')) ++k;
  const std::size_t bodyStart = k;
  bool point = false;
  int digits = 0;
  int fractionDigits = 0;
  for (; k < text.size(); ++k) {
    if (IsDigit(text[k])) {
      ++digits;
      if (point) ++fractionDigits;
    } else if (text[k] == '.' && !point) {
      point = true;
    } else {
      return word;  // a second sign or point
    }
  }
  if (digits == 0) return word;
  const long double value = DecimalValue(text.substr(bodyStart), fractionDigits);
  word.value = negative ? -value : value;
  word.valid = true;
  return word;
}

}  // namespace torvane
