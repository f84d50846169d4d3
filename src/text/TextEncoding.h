// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace torvane {

// How a text file's bytes are shown and saved. The program's own text is
// Windows-1252; a file that another editor wrote as UTF-8 is kept as UTF-8,
// so that its umlauts show right and it is saved back byte for byte.
enum class TextEncoding { Windows1252, UTF8 };

// True when `bytes` are well-formed UTF-8 (shortest forms only, no
// surrogates, nothing above U+10FFFF) and hold at least one byte above
// 0x7F. Pure ASCII is both code pages at once and stays Windows-1252.
bool IsUtf8WithNonAscii(std::string_view bytes);

// UTF8 when IsUtf8WithNonAscii, else Windows1252. Windows-1252 text with
// umlauts is never valid UTF-8 in practice: an umlaut byte (0xC0 to 0xFF)
// would have to be followed by one of the bytes 0x80 to 0xBF, which are
// punctuation and symbols there, not letters.
TextEncoding DetectEncoding(std::string_view bytes);

}  // namespace torvane
