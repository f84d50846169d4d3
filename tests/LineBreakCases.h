// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One table of line breaks for every reader of lines (files, the
// converter's stream, the editor pane), so that they can never disagree on
// where a line ends.

#include <string>
#include <vector>

namespace torvane {

struct LineBreakCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;
  bool crlf;  // whether a save writes CR LF (any CR seen)
};

inline std::vector<LineBreakCase> LineBreakCases() {
  return {
      {"LF", "N1\nN2\n", {"N1", "N2"}, false},
      {"CR LF", "N1\r\nN2\r\n", {"N1", "N2"}, true},
      {"lone CR", "N1\rN2", {"N1", "N2"}, true},
      {"mixed", "A\nB\r\nC\rD", {"A", "B", "C", "D"}, true},
      {"CR CR", "a\r\rb", {"a", "", "b"}, true},
      {"LF CR", "a\n\rb", {"a", "", "b"}, true},
      {"CR LF LF", "a\r\n\nb", {"a", "", "b"}, true},
      {"no final break", "N1\nN2", {"N1", "N2"}, false},
      {"only a CR", "\r", {""}, true},
      {"only a LF", "\n", {""}, false},
      {"empty", "", {}, false},
      {"NUL and high bytes stay", std::string("a\0\xFF\x80\n", 5), {std::string("a\0\xFF\x80", 4)},
       false},
  };
}

}  // namespace torvane
