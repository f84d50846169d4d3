// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/TextEncoding.h"

namespace torvane {

bool IsUtf8WithNonAscii(std::string_view bytes) {
  bool nonAscii = false;
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    nonAscii = true;
    // The allowed range of the second byte narrows for the leads whose
    // shortest form or range would otherwise be broken (overlong forms,
    // surrogates, beyond U+10FFFF); the further bytes are 0x80 to 0xBF.
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (n - i < length) return false;
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    if (second < low || second > high) return false;
    for (std::size_t k = 2; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if (next < 0x80 || next > 0xBF) return false;
    }
    i += length;
  }
  return nonAscii;
}

TextEncoding DetectEncoding(std::string_view bytes) {
  return IsUtf8WithNonAscii(bytes) ? TextEncoding::UTF8 : TextEncoding::Windows1252;
}

}  // namespace torvane
