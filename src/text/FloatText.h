// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace torvane {

// Strict text-to-number reading as the cylinder dialog and the converter's
// diameter option use it: blanks around the number, an optional sign, digits
// with at most one "." and an optional exponent; nothing else. The decimal
// separator is always ".", whatever the locale. Empty when the text is no
// number (or does not fit an extended real).
std::optional<long double> StrToFloatStrict(std::string_view text);

// "'%s' ist kein gültiger Gleitkommawert" with the text in place of %s
// (bytes in Windows-1252, like every text of the program).
std::string InvalidFloatMessage(std::string_view text);

// General number format for showing a value to the user: at most 15
// significant digits, no trailing zeros, a point only where needed, exponent
// form ("1E15", "1.5E-6") when the integer part would need more than 15
// digits or the value is below 0.00001.
std::string FloatToGeneral(long double value);

// The diameter field's key filter: digits, signs, "." and backspace pass,
// "," becomes "."; everything else is dropped (empty result).
std::optional<char> FilterDiameterKey(char typed);

}  // namespace torvane
