// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/Windows1252.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace torvane {

namespace {

// 0x80 to 0x9F; the rest of the upper half equals Latin-1.
constexpr char16_t kHighRow[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

struct Utf8Of {
  unsigned char size;
  char bytes[3];
};

constexpr std::array<Utf8Of, 256> MakeUtf8Table() {
  std::array<Utf8Of, 256> table{};
  for (int b = 0; b < 256; ++b) {
    const char32_t c = b < 0x80 ? char32_t(b) : b < 0xA0 ? char32_t(kHighRow[b - 0x80]) : char32_t(b);
    Utf8Of& out = table[static_cast<std::size_t>(b)];
    if (c < 0x80) {
      out = {1, {static_cast<char>(c), 0, 0}};
    } else if (c < 0x800) {
      out = {2, {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F)), 0}};
    } else {
      out = {3,
             {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
              static_cast<char>(0x80 | (c & 0x3F))}};
    }
  }
  return table;
}

constexpr std::array<Utf8Of, 256> kUtf8 = MakeUtf8Table();

// Decodes one UTF-8 character at `i`; gives its length in `size`, or
// U+FFFD with length 1 for a malformed byte.
char32_t DecodeAt(std::string_view s, std::size_t i, std::size_t& size) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  auto cont = [&](std::size_t k) {
    return i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
  };
  auto bits = [&](std::size_t k) { return char32_t(static_cast<unsigned char>(s[i + k]) & 0x3F); };
  if (b0 < 0x80) {
    size = 1;
    return b0;
  }
  if (b0 >= 0xC2 && b0 < 0xE0 && cont(1)) {
    size = 2;
    return (char32_t(b0 & 0x1F) << 6) | bits(1);
  }
  if (b0 >= 0xE0 && b0 < 0xF0 && cont(1) && cont(2)) {
    const char32_t c = (char32_t(b0 & 0x0F) << 12) | (bits(1) << 6) | bits(2);
    if (c >= 0x800) {
      size = 3;
      return c;
    }
  }
  if (b0 >= 0xF0 && b0 < 0xF5 && cont(1) && cont(2) && cont(3)) {
    const char32_t c = (char32_t(b0 & 0x07) << 18) | (bits(1) << 12) | (bits(2) << 6) | bits(3);
    if (c >= 0x10000 && c <= 0x10FFFF) {
      size = 4;
      return c;
    }
  }
  size = 1;
  return 0xFFFD;
}

}  // namespace

char32_t Windows1252ToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHighRow[byte - 0x80];
  return byte;
}

int UnicodeToWindows1252(char32_t character) {
  if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) return static_cast<int>(character);
  for (int i = 0; i < 32; ++i)
    if (kHighRow[i] == character) return 0x80 + i;
  return -1;
}

namespace {

// Length of the leading run of ASCII bytes, eight at a time: NC text is
// nearly all ASCII, which maps to itself.
std::size_t AsciiPrefix(std::string_view bytes) {
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes.data() + i, 8);
    if (word & 0x8080808080808080ULL) break;
  }
  while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
  return i;
}

}  // namespace

std::string Cp1252(std::string_view utf8) {
  std::string bytes;
  Utf8ToBytes(utf8, bytes);
  return bytes;
}

bool IsAscii(std::string_view bytes) { return AsciiPrefix(bytes) == bytes.size(); }

void AppendBytesAsUtf8(std::string_view bytes, std::string& utf8) {
  const std::size_t ascii = AsciiPrefix(bytes);
  utf8.append(bytes.data(), ascii);
  bytes.remove_prefix(ascii);
  if (bytes.empty()) return;
  std::size_t extra = 0;
  for (char b : bytes) extra += kUtf8[static_cast<unsigned char>(b)].size - 1;
  const std::size_t start = utf8.size();
  utf8.resize(start + bytes.size() + extra);
  char* out = utf8.data() + start;
  if (extra == 0) {
    std::copy(bytes.begin(), bytes.end(), out);
    return;
  }
  for (char b : bytes) {
    const Utf8Of& u = kUtf8[static_cast<unsigned char>(b)];
    for (int k = 0; k < u.size; ++k) *out++ = u.bytes[k];
  }
}

void Utf8ToBytes(std::string_view utf8, std::string& bytes, std::vector<int>* offsets) {
  std::size_t i = 0;
  if (!offsets) {
    i = AsciiPrefix(utf8);
    bytes.append(utf8.data(), i);
  }
  while (i < utf8.size()) {
    std::size_t size = 1;
    const char32_t c = DecodeAt(utf8, i, size);
    const int b = UnicodeToWindows1252(c);
    bytes += b < 0 ? '?' : static_cast<char>(b);
    if (offsets) offsets->push_back(static_cast<int>(i));
    i += size;
  }
  if (offsets) offsets->push_back(static_cast<int>(utf8.size()));
}

}  // namespace torvane
