// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/FloatText.h"

#include <cerrno>
#include <charconv>
#include <clocale>
#include <locale.h>
#include <cmath>
#include <cstdlib>
#include "text/Windows1252.h"

namespace torvane {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::optional<long double> StrToFloatStrict(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);

  std::size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  const std::size_t bodyStart = pos;
  std::size_t digits = 0;
  while (pos < text.size() && IsDigit(text[pos])) ++pos, ++digits;
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    while (pos < text.size() && IsDigit(text[pos])) ++pos, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    std::size_t exponentDigits = 0;
    while (pos < text.size() && IsDigit(text[pos])) ++pos, ++exponentDigits;
    if (exponentDigits == 0) return std::nullopt;
  }
  if (pos != text.size()) return std::nullopt;

  // The C locale's reader, whatever locale the GUI toolkit has switched to:
  // the separator is always ".".
  static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", nullptr);
  const std::string body(text.substr(bodyStart));
  errno = 0;
  const long double value = ::strtold_l(body.c_str(), nullptr, cLocale);
  if (errno == ERANGE && std::isinf(value)) return std::nullopt;
  return negative ? -value : value;
}

std::string InvalidFloatMessage(std::string_view text) {
  // "ü" as the single byte of Windows-1252.
  return "'" + std::string(text) + Cp1252("' ist kein gültiger Gleitkommawert");
}

std::string FloatToGeneral(long double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";

  // 15 significant digits, rounded to nearest.
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::scientific, 14);
  std::string_view text(buffer, result.ptr - buffer);
  const bool negative = text.front() == '-';
  if (negative) text.remove_prefix(1);
  const std::size_t e = text.find('e');
  std::string digits;
  for (char c : text.substr(0, e))
    if (IsDigit(c)) digits += c;
  const int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  if (exponent <= 14 && exponent >= -5) {
    if (exponent < 0) {
      out += "0.";
      out.append(static_cast<std::size_t>(-exponent - 1), '0');
      out += digits;
    } else if (digits.size() <= static_cast<std::size_t>(exponent) + 1) {
      out += digits;
      out.append(static_cast<std::size_t>(exponent) + 1 - digits.size(), '0');
    } else {
      out += digits.substr(0, static_cast<std::size_t>(exponent) + 1);
      out += '.';
      out += digits.substr(static_cast<std::size_t>(exponent) + 1);
    }
    return out;
  }
  out += digits.substr(0, 1);
  if (digits.size() > 1) out += "." + digits.substr(1);
  out += "E" + std::to_string(exponent);
  return out;
}

std::optional<char> FilterDiameterKey(char typed) {
  if (typed == '\b' || typed == '+' || typed == '-' || typed == '.' || IsDigit(typed))
    return typed;
  if (typed == ',') return '.';
  return std::nullopt;
}

}  // namespace torvane
