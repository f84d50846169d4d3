#pragma once

#include <cstddef>
#include <string_view>

namespace torvane {

// The one line-break rule of the program, for files, streams, panes and the
// lexer alike: a line ends at LF, at CR LF, or at a CR alone, so that no byte
// is lost whatever the file's origin.

inline bool IsLineBreak(char c) { return c == '\n' || c == '\r'; }

// Where the line that starts at `from` ends: the next break, or the end.
inline std::size_t FindLineEnd(std::string_view bytes, std::size_t from) {
  while (from < bytes.size() && !IsLineBreak(bytes[from])) ++from;
  return from;
}

// The position after the break at `at` (two bytes for CR LF); `at` itself
// when no break stands there.
inline std::size_t SkipLineBreak(std::string_view bytes, std::size_t at) {
  if (at >= bytes.size() || !IsLineBreak(bytes[at])) return at;
  if (bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n') return at + 2;
  return at + 1;
}

}  // namespace torvane
