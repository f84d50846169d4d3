// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindowRules.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

using Kind = CommandLineRequest::Kind;

TEST(ReadCommandLineTest, JoinsArgumentsAndSpotsTheClipboard) {
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
    Kind kind;
    std::string path;
    std::string first;
  };
  const Case cases[] = {
      {"none shows the splash", {}, Kind::Splash, "", ""},
      {"/C takes the clipboard", {"/C"}, Kind::Clipboard, "/C", "/C"},
      {"/c is a file name", {"/c"}, Kind::File, "/c", "/c"},
      {"/C and x are no clipboard", {"/C", "x"}, Kind::File, "/Cx", "/C"},
      {"quoted path with blanks", {"/tmp/my part.nc"}, Kind::File, "/tmp/my part.nc",
       "/tmp/my part.nc"},
      {"unquoted path is joined without blanks", {"/tmp/my", "part.nc"}, Kind::File,
       "/tmp/mypart.nc", "/tmp/my"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CommandLineRequest request = ReadCommandLine(c.arguments);
    EXPECT_EQ(request.kind, c.kind);
    EXPECT_EQ(request.path, c.path);
    EXPECT_EQ(request.first, c.first);
  }
}

TEST(LeftPaneWidthTest, HalvesWithTiesToEven) {
  const std::pair<int, int> cases[] = {{640, 320}, {641, 320}, {643, 322}, {645, 322},
                                       {1, 0},     {3, 2},     {0, 0}};
  for (const auto& [width, want] : cases) EXPECT_EQ(LeftPaneWidth(width), want) << width;
}

}  // namespace
}  // namespace torvane
