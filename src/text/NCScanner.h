// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace torvane {

// How NC text splits into its pieces, for every reader of it: the block
// reader of the conversion, the highlighter of the panes and the reader of
// converted programs. What the pane colours as a word is what the converter
// reads as one; a character the converter does not know shows as such.
enum class NCChar : std::uint8_t {
  Letter,       // an address letter, either case: "x10" is "X10"
  Number,       // digits, the point and the signs: the text of a number
  Blank,        // blank, tab, form feed, vertical tab, the DOS end-of-file mark
  LineBreak,    // CR or LF: a pane's text may still hold them
  CommentOpen,  // "(": a comment up to ")"
  LineComment,  // ";": a comment to the line's end
  Other,        // anything else, NUL and bytes beyond ASCII included
};

namespace ncscanner_detail {

constexpr std::array<NCChar, 256> MakeClasses() {
  std::array<NCChar, 256> classes{};
  for (auto& c : classes) c = NCChar::Other;
  for (int c = 'A'; c <= 'Z'; ++c) classes[static_cast<std::size_t>(c)] = NCChar::Letter;
  for (int c = 'a'; c <= 'z'; ++c) classes[static_cast<std::size_t>(c)] = NCChar::Letter;
  for (int c = '0'; c <= '9'; ++c) classes[static_cast<std::size_t>(c)] = NCChar::Number;
  for (const char c : {'.', '-', '+'}) classes[static_cast<unsigned char>(c)] = NCChar::Number;
  for (const char c : {' ', '\t', '\f', '\v', '\x1A'})
    classes[static_cast<unsigned char>(c)] = NCChar::Blank;
  classes['\r'] = NCChar::LineBreak;
  classes['\n'] = NCChar::LineBreak;
  classes['('] = NCChar::CommentOpen;
  classes[';'] = NCChar::LineComment;
  return classes;
}

inline constexpr std::array<NCChar, 256> kClasses = MakeClasses();

}  // namespace ncscanner_detail

inline NCChar ClassOf(char c) {
  return ncscanner_detail::kClasses[static_cast<unsigned char>(c)];
}

// Where the comment that opens at `open` ends (the index after it): "("
// runs to its first ")", ";" to the line's end; neither crosses a line
// break, and a NUL inside one is just a character of it.
inline std::size_t CommentEnd(std::string_view text, std::size_t open) {
  const bool bracket = text[open] == '(';
  std::size_t i = open + 1;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') return i;
    if (bracket && c == ')') return i + 1;
  }
  return i;
}

// The end of the run of characters of class `kind` that starts at `from`.
inline std::size_t RunEnd(std::string_view text, std::size_t from, NCChar kind) {
  while (from < text.size() && ClassOf(text[from]) == kind) ++from;
  return from;
}

}  // namespace torvane
