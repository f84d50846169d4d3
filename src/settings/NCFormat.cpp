#include "settings/NCFormat.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace torvane {
namespace {

// Powers of ten up to 10^27 are exact in the 64-bit mantissa of an extended
// real (5^27 < 2^64), so scaling by them rounds only once.
constexpr long double kPow10[] = {
    1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
    1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L};
constexpr std::uint64_t kPow10Int[] = {
    1ULL,
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
    1000000000000000000ULL};

void AppendUnsigned(std::string& out, std::uint64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

// `units` counts steps of 10^-decimals.
void AppendUnits(std::string& out, std::uint64_t units, int decimals) {
  const std::uint64_t scale = kPow10Int[decimals];
  AppendUnsigned(out, units / scale);
  if (decimals == 0) return;
  out += '.';
  char buffer[24];
  std::uint64_t fraction = units % scale;
  for (int i = decimals - 1; i >= 0; --i) {
    buffer[i] = static_cast<char>('0' + fraction % 10);
    fraction /= 10;
  }
  out.append(buffer, static_cast<std::size_t>(decimals));
}

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

}  // namespace

void AppendFixedMagnitude(std::string& out, long double value, int decimals) {
  const long double magnitude = std::fabs(value);
  if (decimals <= 18) {
    const long double scaled = magnitude * kPow10[decimals];
    if (scaled < 1e18L) {
      const auto whole = static_cast<std::uint64_t>(scaled);
      const long double fraction = scaled - static_cast<long double>(whole);
      // The 18-digit expansion lies within 5e-18 of the value (relative), the
      // scaling within 2^-64: only a fraction this close to one half could
      // round differently, and those take the exact route.
      const long double tolerance = scaled * 2e-17L;
      if (std::fabs(fraction - 0.5L) > tolerance) {
        AppendUnits(out, whole + (fraction > 0.5L ? 1 : 0), decimals);
        return;
      }
    }
  }
  AppendFixedFromDigits(out, magnitude, decimals);
}

void AppendFormatNC(std::string& out, const TNCFormat& format, long double value) {
  if (std::isnan(value)) {
    out += "NAN";
    return;
  }
  if (std::isinf(value)) {
    out += value < 0 ? "-INF" : "INF";
    return;
  }

  thread_local std::string s;
  s.clear();
  const int decimals = format.Nachkomma;
  if (value == 0) {
    // Zero always carries a point at first, whatever the decimals.
    s += "0.";
    s.append(static_cast<std::size_t>(decimals), '0');
  } else {
    AppendFixedMagnitude(s, value, decimals);
  }

  bool hasPoint = s.find('.') != std::string::npos;
  if (format.NCPunkt && !hasPoint) {
    s += '.';
    hasPoint = true;
  }
  if (format.DeziPunkt && !hasPoint) {
    s += '.';
    hasPoint = true;
  }
  if (!format.DeziPunkt && hasPoint) {
    s.erase(s.find('.'), 1);
    hasPoint = false;
  }
  if (!format.NNullen)
    while (!s.empty() && s.back() == '0') s.pop_back();
  std::size_t zeros = 0;
  if (format.VNullen) {
    const std::size_t wanted = format.Stellen + (s.find('.') != std::string::npos ? 1u : 0u);
    if (s.size() < wanted) zeros = wanted - s.size();
  }
  if (value < 0)
    out += '-';
  else if (format.Vorzeichen)
    out += '+';
  out.append(zeros, '0');
  // The padding above counted a trailing point; only now may it go.
  if (!format.NCPunkt && !s.empty() && s.back() == '.') s.pop_back();
  out += s;
}

std::string FormatNC(const TNCFormat& format, long double value) {
  std::string out;
  AppendFormatNC(out, format, value);
  return out;
}

}  // namespace torvane
