// SPDX-License-Identifier: GPL-3.0-or-later
// The line-file loader: every byte survives a load and a save.
#include <cstdlib>

#include "FuzzInput.h"
#include "text/LineFile.h"

using namespace torvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  fuzz::WriteScratch("source.nc", bytes);
  const LineList list = LoadLineFile(fuzz::ScratchDir() + "source.nc");
  std::size_t kept = 0;
  for (const std::string& line : list.lines) kept += line.size();
  std::size_t content = 0;
  for (char c : bytes) content += (c != '\r' && c != '\n');
  if (kept != content) std::abort();  // a byte was lost
  const std::string joined = JoinLines(list.lines, list.lineBreak);
  if (SplitLines(joined).lines != list.lines) std::abort();
  return 0;
}
