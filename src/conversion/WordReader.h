// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>

namespace torvane {

// The number of an address word whose letter stands at `at` in a block
// (comments already removed). Blanks between the letter and the digits and
// among the digits are dropped, a "+" counts only as the leading sign.
struct WordNumber {
  bool valid = false;   // optional sign, digits with at most one point, one digit at least
  long double value = 0;
  std::size_t end = 0;  // index just past the word's text
};

// Raises FloatError when the number is beyond any real.
WordNumber ReadWordNumber(std::string_view code, std::size_t at);

// The number rules for a whole number text, as the converter writes them and
// a reader of its results takes them: an optional sign, digits with at most
// one point, one digit at least, at most 19 significant digits. Without a
// point, `impliedDecimals` of the digits are decimals (the number format
// without a decimal point). The nearest real to the text; false for any
// other text.
bool ReadDecimal(std::string_view text, int impliedDecimals, long double& value);
// The same for a number at the start of [p, end): where it stops, or null
// when no number stands there.
const char* ReadDecimalAt(const char* p, const char* end, int impliedDecimals,
                          long double& value);

}  // namespace torvane
