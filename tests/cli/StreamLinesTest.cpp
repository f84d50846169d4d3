// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/StreamLines.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "LineBreakCases.h"

namespace torvane {
namespace {

std::vector<std::string> ReadAll(const std::string& content) {
  std::FILE* stream = std::tmpfile();
  std::fwrite(content.data(), 1, content.size(), stream);
  std::rewind(stream);
  StreamLineSource source(stream);
  std::vector<std::string> lines;
  std::string_view line;
  while (source.Next(line)) lines.emplace_back(line);
  std::fclose(stream);
  return lines;
}

TEST(StreamLineSourceTest, SplitsByTheSharedBreakTable) {
  for (const LineBreakCase& c : LineBreakCases()) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadAll(c.bytes), c.lines);
  }
}

TEST(StreamLineSourceTest, SplitsAtChunkBoundaries) {
  const std::size_t chunk = 1 << 20;
  struct Case {
    const char* name;
    std::string content;
    std::vector<std::string> want;
  };
  const Case cases[] = {
      {"CR LF split across chunks", std::string(chunk - 1, 'x') + "\r\nend",
       {std::string(chunk - 1, 'x'), "end"}},
      {"lone CR at a chunk end", std::string(chunk - 1, 'x') + "\ry",
       {std::string(chunk - 1, 'x'), "y"}},
      {"line longer than a chunk", std::string(3 * chunk + 5, 'y') + "\nz",
       {std::string(3 * chunk + 5, 'y'), "z"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadAll(c.content), c.want);
  }
}

TEST(ToTerminalTextTest, KeepsUtf8AndMapsWindows1252) {
  EXPECT_EQ(ToTerminalText("ge\xF6" "ffnet"), "ge\xC3\xB6" "ffnet");
  EXPECT_EQ(ToTerminalText("/home/j\xC3\xBCrgen \x80"), "/home/j\xC3\xBCrgen \xE2\x82\xAC");
}

}  // namespace
}  // namespace torvane
