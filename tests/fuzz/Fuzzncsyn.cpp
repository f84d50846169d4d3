// SPDX-License-Identifier: GPL-3.0-or-later
// TNCSyn through the highlighter contract: tokens cover each line exactly.
#include <cstdlib>
#include <string_view>

#include "highlighter/NCSyn.h"

using namespace torvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TNCSyn highlighter;
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  highlighter.BeginLine(line, 0);
  std::size_t expectedStart = 0;
  std::size_t guard = 0;
  while (!highlighter.AtLineEnd()) {
    if (static_cast<std::size_t>(highlighter.CurrentStart()) != expectedStart) std::abort();
    const std::size_t length = highlighter.CurrentText().size();
    if (length == 0) std::abort();  // a token that eats nothing would never end
    expectedStart += length;
    if (++guard > size + 1) std::abort();
    (void)highlighter.CurrentAttribute();
    highlighter.Advance();
  }
  return 0;
}
