// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsLocation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TempDir.h"

namespace torvane {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

TEST(SettingsLocationTest, ChoosesTheFolderAndCopiesInstalledDefaults) {
  struct Case {
    const char* name;
    bool mainIniBesideExecutable;
    bool installedDefaults;
    bool userFileAlreadyThere;
    bool xdgSet;
    std::string want;  // relative to the temporary root
  };
  const Case cases[] = {
      {"build tree: main.ini beside the program", true, true, false, true, "bin/"},
      {"writable folder without defaults, as always", false, false, false, true, "bin/"},
      {"installed: the XDG folder", false, true, false, true, "xdg/torvane/"},
      {"installed, no XDG_CONFIG_HOME: ~/.config", false, true, false, false,
       "home/.config/torvane/"},
      {"the user's own file is kept", false, true, true, true, "xdg/torvane/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir root;
    fs::create_directories(root.File("bin"));
    fs::create_directories(root.File("home"));
    if (c.mainIniBesideExecutable) root.Write("bin/main.ini", "[convert]\n");
    if (c.installedDefaults) {
      fs::create_directories(root.File("share/torvane"));
      root.Write("share/torvane/main.ini", "defaults");
      root.Write("share/torvane/vorspann.plt", "%");
    }
    if (c.userFileAlreadyThere) {
      fs::create_directories(root.File("xdg/torvane"));
      root.Write("xdg/torvane/main.ini", "mine");
    }
    const std::string dir = FindSettingsDir(root.File("bin"), c.xdgSet ? root.File("xdg") : "",
                                            root.File("home"));
    EXPECT_EQ(dir, root.File(c.want));
    if (c.want != "bin/") {
      EXPECT_EQ(root.Read(c.want + "main.ini"), c.userFileAlreadyThere ? "mine" : "defaults");
      EXPECT_EQ(root.Read(c.want + "vorspann.plt"), "%");
      EXPECT_FALSE(fs::exists(root.File(c.want + "nachspann.plt"))) << "no default, no file";
    }
  }
}

}  // namespace
}  // namespace torvane
