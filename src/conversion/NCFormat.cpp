// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/NCFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "conversion/X87.h"

namespace torvane {
namespace {

// Exact route: take the correctly rounded 18-digit expansion, then round its
// digits half away from zero at the wanted place.
void AppendFixedFromDigits(std::string& out, long double magnitude, int decimals) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                    std::chars_format::scientific, 17);
  std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  char digits[18];
  int count = 0;
  std::size_t pos = 0;
  for (; pos < text.size() && text[pos] != 'e'; ++pos)
    if (text[pos] >= '0' && text[pos] <= '9' && count < 18) digits[count++] = text[pos];
  int exponent = 0;
  std::from_chars(text.data() + pos + 1 + (text[pos + 1] == '+'), text.data() + text.size(),
                  exponent);

  // digits[i] stands at the place 10^(exponent - i); keep the places down to
  // 10^-decimals.
  const long kept = static_cast<long>(exponent) + decimals + 1;
  std::string units;
  if (kept <= 0) {
    units = (kept == 0 && digits[0] >= '5') ? "1" : "0";
  } else if (kept >= 18) {
    units.assign(digits, 18);
    units.append(static_cast<std::size_t>(kept - 18), '0');
  } else {
    units.assign(digits, static_cast<std::size_t>(kept));
    if (digits[kept] >= '5') {
      long i = kept - 1;
      while (i >= 0 && units[static_cast<std::size_t>(i)] == '9') units[static_cast<std::size_t>(i--)] = '0';
      if (i < 0)
        units.insert(units.begin(), '1');
      else
        ++units[static_cast<std::size_t>(i)];
    }
  }

  const auto places = static_cast<std::size_t>(decimals);
  if (units.size() <= places) {
    out += '0';
    if (places == 0) return;
    out += '.';
    out.append(places - units.size(), '0');
    out += units;
  } else {
    out.append(units, 0, units.size() - places);
    if (places == 0) return;
    out += '.';
    out.append(units, units.size() - places, places);
  }
}

// 64 x 64 -> 128-bit products keep every digit of the exact rounding.
__extension__ typedef unsigned __int128 UInt128;

constexpr std::uint64_t kPow10Int[] = {1ULL,
                                       10ULL,
                                       100ULL,
                                       1000ULL,
                                       10000ULL,
                                       100000ULL,
                                       1000000ULL,
                                       10000000ULL,
                                       100000000ULL,
                                       1000000000ULL,
                                       10000000000ULL,
                                       100000000000ULL,
                                       1000000000000ULL,
                                       10000000000000ULL,
                                       100000000000000ULL,
                                       1000000000000000ULL,
                                       10000000000000000ULL,
                                       100000000000000000ULL,
                                       1000000000000000000ULL,
                                       10000000000000000000ULL};

// value / 10^places rounded half away from zero. A divisor known at compile
// time becomes a multiplication; a 64-bit division would cost more than the
// rest of the formatting.
template <int Places>
std::uint64_t RoundHalfAwayBy(std::uint64_t value) {
  constexpr std::uint64_t divisor = kPow10Int[Places];
  const std::uint64_t quotient = value / divisor;
  return quotient + ((value - quotient * divisor) * 2 >= divisor ? 1 : 0);
}

template <int... Places>
std::uint64_t RoundHalfAwayTable(std::uint64_t value, int places,
                                 std::integer_sequence<int, Places...>) {
  using Rounder = std::uint64_t (*)(std::uint64_t);
  static constexpr Rounder rounders[] = {&RoundHalfAwayBy<Places>...};
  return rounders[places](value);
}

// Unused where the portable build leaves out the 80-bit route.
[[maybe_unused]] std::uint64_t RoundHalfAway(std::uint64_t value, int places) {
  return RoundHalfAwayTable(value, places, std::make_integer_sequence<int, 20>{});
}

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// `units` (steps of 10^-decimals) as fixed-point text, written backwards to
// end just before `end`: the digits, a point before the decimals, at least
// one digit before the point. Returns where the text starts. A constant
// count of decimals unrolls the loops, and 32-bit units divide faster.
template <typename UInt, int Decimals = -1>
char* UnitsText(char* end, UInt units, int decimals = Decimals) {
  char* first = end;
  int i = 0;
  for (; i + 2 <= decimals; i += 2) {
    first -= 2;
    std::memcpy(first, kDigitPairs + 2 * (units % 100), 2);
    units /= 100;
  }
  if (i < decimals) {
    *--first = static_cast<char>('0' + units % 10);
    units /= 10;
  }
  if (decimals > 0) *--first = '.';
  while (units >= 100) {
    first -= 2;
    std::memcpy(first, kDigitPairs + 2 * (units % 100), 2);
    units /= 100;
  }
  if (units >= 10) {
    first -= 2;
    std::memcpy(first, kDigitPairs + 2 * units, 2);
  } else {
    *--first = static_cast<char>('0' + units);
  }
  return first;
}

template <int Decimals>
char* UnitsTextFor(char* end, std::uint64_t units) {
  if (units <= UINT32_MAX) {
    return UnitsText<std::uint32_t, Decimals>(end, static_cast<std::uint32_t>(units));
  }
  return UnitsText<std::uint64_t, Decimals>(end, units);
}

// The usual counts of decimals each have their own unrolled writer.
char* UnitsText(char* end, std::uint64_t units, int decimals) {
  switch (decimals) {
    case 1: return UnitsTextFor<1>(end, units);
    case 2: return UnitsTextFor<2>(end, units);
    case 3: return UnitsTextFor<3>(end, units);
    case 4: return UnitsTextFor<4>(end, units);
    default: return UnitsText<std::uint64_t>(end, units, decimals);
  }
}

// Writes `units` (steps of 10^-decimals) as fixed-point text.
std::size_t WriteUnits(char* buffer, std::uint64_t units, int decimals) {
  char digits[48];
  const char* const first = UnitsText(digits + sizeof digits, units, decimals);
  const auto length = static_cast<std::size_t>(digits + sizeof digits - first);
  std::memcpy(buffer, first, length);
  return length;
}

}  // namespace

// The same rounding in integer arithmetic, exact and without any text: the
// extended real is m / 2^shift with a 64-bit m, so m * 10^p / 2^shift gives
// the 18 significant digits with an exact remainder. Covers 0.01 up to
// 1e18, where every value of a real program lies.
bool FixedUnits(long double magnitude, int decimals, std::uint64_t& units) {
#if TORVANE_X87
  // The range checks fall out of the integer work below: zero, subnormal,
  // infinite and out-of-range values all fail on the shift or on p.
  if (decimals > 18) return false;
  std::uint64_t mantissa = 0;
  std::uint16_t signAndExponent = 0;
  std::memcpy(&mantissa, &magnitude, 8);
  std::memcpy(&signAndExponent, reinterpret_cast<const char*>(&magnitude) + 8, 2);
  const int shift = 16383 + 63 - (signAndExponent & 0x7FFF);
  if (shift <= 0 || shift >= 128) return false;

  // p scales the value to 18 whole digits; the binary exponent's estimate is
  // off by one at most, which the loop corrects.
  // (78913 / 2^18 is log10(2) to six digits; integers spare the FPU a
  // change of its rounding mode.)
  int p = std::clamp(17 - (((63 - shift) * 78913) >> 18), 0, 19);
  UInt128 scaled = 0;
  UInt128 quotient = 0;
  for (int attempt = 0;; ++attempt) {
    if (p < 0 || p > 19 || attempt > 2) return false;
    scaled = static_cast<UInt128>(mantissa) * kPow10Int[p];
    quotient = scaled >> shift;
    if (quotient >= kPow10Int[18]) {
      --p;
    } else if (quotient < kPow10Int[17]) {
      ++p;
    } else {
      break;
    }
  }
  // Nearest 18-digit value, ties to even.
  const UInt128 remainder = scaled - (quotient << shift);
  const UInt128 half = static_cast<UInt128>(1) << (shift - 1);
  auto digits18 = static_cast<std::uint64_t>(quotient);
  if (remainder > half || (remainder == half && (digits18 & 1) != 0)) ++digits18;

  // Then half away from zero at the wanted place.
  if (decimals >= p) {
    const UInt128 wide =
        static_cast<UInt128>(digits18) * kPow10Int[decimals - p];
    if (wide >= kPow10Int[19]) return false;
    units = static_cast<std::uint64_t>(wide);
  } else {
    units = RoundHalfAway(digits18, p - decimals);
  }
  return true;
#else
  (void)magnitude;
  (void)decimals;
  (void)units;
  return false;
#endif
}

namespace {

// The nearest whole number to `value` (ties to even), for magnitudes below
// 2^63. On x86 the FPU's own store does it; the library call, or a cast with
// its switch of the rounding mode, would cost more than the digits.
std::int64_t NearestWhole(long double value) {
#if TORVANE_X87
  std::int64_t whole = 0;
  __asm__("fistpll %0" : "=m"(whole) : "t"(value) : "st");
  return whole;
#else
  return std::llrint(value);
#endif
}

// The common case in one multiplication: a value below 10^9 with at most
// six decimals. FixedUnits rounds to 18 significant digits first, which
// moves the value by less than 0.0005 units here (at least three digits
// remain beyond the sixth decimal of a value below 10^9), and the product
// below is off by less than 0.0001 units (64 bits of a value below 2^50);
// so unless it lies within 0.001 of a half, the nearest whole number of
// units is what FixedUnits gives. Closer ones take FixedUnits.
bool QuickUnits(long double magnitude, int decimals, std::uint64_t& units) {
#if TORVANE_X87
  static constexpr long double kScale[] = {1e0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L};
  if (!(magnitude < 1e9L) || decimals > 6) return false;
  const long double scaled = magnitude * kScale[decimals];
  const std::int64_t nearest = NearestWhole(scaled);
  if (std::fabs(scaled - static_cast<long double>(nearest)) > 0.499L) return false;
  units = static_cast<std::uint64_t>(nearest);
  return true;
#else
  (void)magnitude;
  (void)decimals;
  (void)units;
  return false;
#endif
}

// Units of 10^-decimals as text at `out`, which has room for 32 bytes
// more than the text: a fixed-size copy is cheaper than one of the text's
// own length.
char* WriteUnitsAt(char* out, std::uint64_t units, int decimals) {
  // At most 20 digits, a point and a leading zero: 22 bytes, ending 32
  // bytes into the scratch so that the copy reads inside it.
  char digits[64];
  char* const end = digits + 32;
  const char* const first = UnitsText(end, units, decimals);
  std::memcpy(out, first, 32);
  return out + (end - first);
}

bool FastFixed(char* buffer, std::size_t& length, long double magnitude, int decimals) {
  std::uint64_t units = 0;
  if (!FixedUnits(magnitude, decimals, units)) return false;
  length = WriteUnits(buffer, units, decimals);
  return true;
}

// The format's steps after the raw digits, on a buffer with room for one
// more character.
void FinishFormat(std::string& out, const TNCFormat& format, long double value, char* s,
                  std::size_t n, bool hasPoint) {
  // The raw text has its point, if any, right before the decimals.
  char* point = hasPoint ? static_cast<char*>(std::memchr(s, '.', n)) : nullptr;
  if ((format.NCPunkt || format.DeziPunkt) && point == nullptr) {
    point = s + n;
    s[n++] = '.';
  }
  if (!format.DeziPunkt && point != nullptr) {
    std::memmove(point, point + 1, static_cast<std::size_t>(s + n - point - 1));
    --n;
    point = nullptr;
  }
  if (!format.NNullen)
    while (n > 0 && s[n - 1] == '0') --n;
  std::size_t zeros = 0;
  if (format.VNullen) {
    const std::size_t wanted = format.Stellen + (point != nullptr ? 1u : 0u);
    if (n < wanted) zeros = wanted - n;
  }
  if (value < 0)
    out += '-';
  else if (format.Vorzeichen)
    out += '+';
  out.append(zeros, '0');
  // The padding above counted a trailing point; only now may it go.
  if (!format.NCPunkt && n > 0 && s[n - 1] == '.') --n;
  out.append(s, n);
}

}  // namespace

void AppendFixedMagnitude(std::string& out, long double value, int decimals) {
  char buffer[48];
  std::size_t length = 0;
  if (FastFixed(buffer, length, std::fabs(value), decimals)) {
    out.append(buffer, length);
    return;
  }
  AppendFixedFromDigits(out, std::fabs(value), decimals);
}

void AppendFixedMagnitudeExact(std::string& out, long double value, int decimals) {
  AppendFixedFromDigits(out, std::fabs(value), decimals);
}

namespace {

// The texts no fast route takes: zero, not-a-number, infinities, and values
// outside the integer routes' range or with many decimals.
void AppendFormatNCSlow(std::string& out, const TNCFormat& format, long double value) {
  const int decimals = format.Nachkomma;
  if (std::isnan(value)) {
    out += "NAN";
    return;
  }
  if (std::isinf(value)) {
    out += value < 0 ? "-INF" : "INF";
    return;
  }
  char buffer[48];
  std::size_t length = 0;
  if (value == 0) {
    // Zero always carries a point at first, whatever the decimals.
    if (decimals <= 40) {
      buffer[0] = '0';
      buffer[1] = '.';
      std::memset(buffer + 2, '0', static_cast<std::size_t>(decimals));
      FinishFormat(out, format, value, buffer, 2 + static_cast<std::size_t>(decimals), true);
      return;
    }
  } else if (FastFixed(buffer, length, std::fabs(value), decimals)) {
    FinishFormat(out, format, value, buffer, length, decimals > 0);
    return;
  }
  // Long texts: many decimals or huge values.
  std::string s;
  if (value == 0) {
    s = "0.";
    s.append(static_cast<std::size_t>(decimals), '0');
  } else {
    AppendFixedFromDigits(s, std::fabs(value), decimals);
  }
  s += ' ';  // room for a point
  FinishFormat(out, format, value, s.data(), s.size() - 1, value == 0 || decimals > 0);
}

char* CopySlow(char* out, const TNCFormat& format, long double value) {
  std::string text;
  AppendFormatNCSlow(text, format, value);
  // The longest text is bounded (see kMaxFormatNCLength); a text that broke
  // the bound would overrun the caller's room, so it never gets that far.
  if (text.size() > kMaxFormatNCLength) throw std::length_error("FormatNC");
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

bool UsualFormat(const TNCFormat& format) {
  // A point, trailing zeros, no padding, no plus sign: the text is the
  // digits themselves.
  return format.DeziPunkt && format.NNullen && !format.VNullen && !format.Vorzeichen;
}

}  // namespace

char* WriteFormatNC(char* out, const TNCFormat& format, long double value) {
  const int decimals = format.Nachkomma;
  // Zero, and values no integer route can take (infinite, not a number),
  // go the slow way.
  if (decimals > 0 && UsualFormat(format) && value != 0) {
    const long double magnitude = std::fabs(value);
    std::uint64_t units = 0;
    if (QuickUnits(magnitude, decimals, units) || FixedUnits(magnitude, decimals, units)) {
      if (value < 0) *out++ = '-';
      return WriteUnitsAt(out, units, decimals);
    }
  }
  return CopySlow(out, format, value);
}

char* WriteFormatNCThousandths(char* out, const TNCFormat& format, long double thousandths) {
  // The quotient is the nearest extended real to a number of at most 15
  // digits, which every route rounds back to those digits exactly; with
  // three decimals or more they are the output.
  const int decimals = format.Nachkomma;
  if (decimals >= 3 && decimals <= 6 && UsualFormat(format) && std::fabs(thousandths) < 1e15L) {
    if (thousandths < 0) *out++ = '-';
    const auto units = static_cast<std::uint64_t>(NearestWhole(std::fabs(thousandths)));
    return WriteUnitsAt(out, units * kPow10Int[decimals - 3], decimals);
  }
  return WriteFormatNC(out, format, thousandths / 1000);
}

std::string FormatNC(const TNCFormat& format, long double value) {
  char text[kMaxFormatNCLength + 32];
  return std::string(text, WriteFormatNC(text, format, value));
}

}  // namespace torvane
