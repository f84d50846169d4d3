// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace torvane {

// The user's number format for every value written into a target program,
// plus the three block-numbering values that travel with it.
struct TNCFormat {
  bool NCPunkt = false;     // whole numbers keep a trailing point ("10.")
  bool DeziPunkt = false;   // write a decimal point; off gives implied decimals
  bool Vorzeichen = false;  // "+" before values >= 0
  std::uint8_t Stellen = 0; // digit count that VNullen pads to
  bool VNullen = false;     // leading zeros
  bool NNullen = false;     // keep trailing zeros
  std::uint8_t Nachkomma = 0;
  std::string Satzzeichen;  // block-number letter
  std::int32_t Satzschritt = 0;
  std::int32_t Satzstart = 0;

  bool operator==(const TNCFormat&) const = default;
};

// The text of `value` under `format`; never contains blanks. Rounds the
// value's 18-significant-digit decimal expansion half away from zero at
// `Nachkomma` places, the way the machine programs were always written.
std::string FormatNC(const TNCFormat& format, long double value);

// The longest text FormatNC can give: all 4933 whole digits of the largest
// extended real, 255 decimals, a sign and a point (padding only fills up
// to 255 digits), with some to spare.
constexpr std::size_t kMaxFormatNCLength = 5248;

// The conversion's hot path: FormatNC written at `out`, which must have
// room for kMaxFormatNCLength + 32 bytes (the digits are copied in
// fixed-size pieces); returns the end of the text.
char* WriteFormatNC(char* out, const TNCFormat& format, long double value);
// The same of thousandths / 1000 (computed as that quotient of extended
// reals), for values the conversion keeps in whole thousandths such as
// rotary angles: the usual formats write the digits directly.
char* WriteFormatNCThousandths(char* out, const TNCFormat& format, long double thousandths);

// The magnitude of `value` in fixed-point notation with `decimals` places,
// rounded half away from zero on its 18-significant-digit expansion; no sign.
// Exposed for the arc geometry, which rounds through the same text form.
void AppendFixedMagnitude(std::string& out, long double value, int decimals);

// The same text by way of the correctly rounded 18-digit expansion, for any
// magnitude: the reference that the integer route above must agree with.
void AppendFixedMagnitudeExact(std::string& out, long double value, int decimals);

// The same rounding as a whole number of 10^-decimals steps, for values
// from 0.01 below 1e18 with at most 18 decimals; false outside that range.
bool FixedUnits(long double magnitude, int decimals, std::uint64_t& units);

}  // namespace torvane
