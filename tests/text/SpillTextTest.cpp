// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/SpillText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace torvane {
namespace {

// However the text is cut into appends, and wherever it passes into the
// file, it comes back whole and in order.
TEST(SpillTextTest, GivesBackWhatWasAppended) {
  struct Case {
    const char* name;
    std::size_t memoryLimit;
    std::size_t appends;
    std::size_t appendSize;
    bool inFile;
  };
  const Case cases[] = {
      {"short text stays in memory", 1024, 10, 7, false},
      {"exactly the limit goes to the file", 70, 10, 7, true},
      {"many small appends", 100, 5000, 3, true},
      {"appends larger than a piece", 1000, 4, (1 << 20) + 17, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SpillText text(c.memoryLimit);
    std::string want;
    for (std::size_t i = 0; i < c.appends; ++i) {
      std::string part(c.appendSize, static_cast<char>('a' + i % 26));
      part.back() = static_cast<char>(0xE4);  // not ASCII
      text.Append(part);
      want += part;
    }
    EXPECT_EQ(text.InFile(), c.inFile);
    EXPECT_EQ(text.size(), want.size());
    EXPECT_EQ(text.NonAsciiBytes(), c.appends);
    EXPECT_EQ(text.ToString(), want);
    // Reading does not end the text: it goes on after what is there.
    text.Append("end");
    EXPECT_EQ(text.ToString(), want + "end");
  }
}

TEST(SpillTextTest, StaysInMemoryWithoutATemporaryFolder) {
  const char* old = std::getenv("TMPDIR");
  const std::string saved = old ? old : "";
  setenv("TMPDIR", "/nonexistent/torvane", 1);
  SpillText text(4);
  text.Append("G01 X1\nG01 X2");
  if (old) {
    setenv("TMPDIR", saved.c_str(), 1);
  } else {
    unsetenv("TMPDIR");
  }
  EXPECT_FALSE(text.InFile());
  EXPECT_EQ(text.ToString(), "G01 X1\nG01 X2");
}

}  // namespace
}  // namespace torvane
