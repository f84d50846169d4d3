// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace torvane {

// The one line-break rule of the program, for files, streams, panes and the
// lexer alike: a line ends at LF, at CR LF, or at a CR alone, so that no byte
// is lost whatever the file's origin.

inline bool IsLineBreak(char c) { return c == '\n' || c == '\r'; }

// Where the line that starts at `from` ends: the next break, or the end.
// Two library scans beat a loop over the bytes on lines of any length.
inline std::size_t FindLineEnd(std::string_view bytes, std::size_t from) {
  if (from >= bytes.size()) return bytes.size();
  const char* const begin = bytes.data();
  const auto* lf = static_cast<const char*>(std::memchr(begin + from, '\n', bytes.size() - from));
  const std::size_t end = lf ? static_cast<std::size_t>(lf - begin) : bytes.size();
  const auto* cr = static_cast<const char*>(std::memchr(begin + from, '\r', end - from));
  return cr ? static_cast<std::size_t>(cr - begin) : end;
}

// The position after the break at `at` (two bytes for CR LF); `at` itself
// when no break stands there.
inline std::size_t SkipLineBreak(std::string_view bytes, std::size_t at) {
  if (at >= bytes.size() || !IsLineBreak(bytes[at])) return at;
  if (bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n') return at + 2;
  return at + 1;
}

}  // namespace torvane
