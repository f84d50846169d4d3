// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace torvane {

// Text is 8-bit, shown and typed as Windows-1252. The five bytes that code
// page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control
// characters of the same number, so every byte has a character and comes
// back unchanged.

char32_t Windows1252ToUnicode(unsigned char byte);
// The byte for a character, or -1 when the code page has none.
int UnicodeToWindows1252(char32_t character);

// The editor keeps its document as UTF-8, and terminals want it too; these
// convert without a detour, which matters for documents of many megabytes.
void AppendBytesAsUtf8(std::string_view bytes, std::string& utf8);

// The program's German texts stand in the sources as they read, in UTF-8
// ("Länge"), and become Windows-1252 here, the code page of every text the
// core hands out; so a search for a word finds it wherever it is written.
std::string Cp1252(std::string_view utf8);

// Whether every byte is below 0x80 (the same in Windows-1252 and UTF-8).
bool IsAscii(std::string_view bytes);
// Decodes UTF-8 to bytes; characters the code page lacks become "?". When
// `offsets` is given it receives, for every byte written, the offset of its
// character in `utf8`, and one more entry for the end, so that positions in
// the bytes map back to the document.
void Utf8ToBytes(std::string_view utf8, std::string& bytes, std::vector<int>* offsets = nullptr);

}  // namespace torvane
