// SPDX-License-Identifier: GPL-3.0-or-later
// Settings files from anywhere: junk, huge files, odd values and folders
// that refuse writes must neither crash the program nor lose what was saved.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <functional>
#include <optional>
#include <random>
#include <string>

#include "TempDir.h"
#include "settings/Settings.h"

namespace torvane {
namespace {

using testing::ConvertSection;
using testing::TempDir;

TEST(HostileSettingsTest, OddValuesPublishSafely) {
  struct Case {
    const char* convert;
    int deg;
    int type;
    const char* shown;  // EGrad
  };
  const Case cases[] = {
      {"deg=0\r\ntype=0\r\n", 0, 0, "1"},         {"deg=400\r\ntype=3\r\n", 400, 3, "1"},
      {"deg=abc\r\ntype=256\r\n", 0, 0, "1"},     {"deg=2.5\r\ntype=x\r\n", 0, 0, "2.5"},
      {"deg=$10\r\ntype=0x2\r\n", 16, 2, "1"},    {"deg=99999999999\r\n", 0, 0, "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.convert);
    ConvertSection loaded(c.convert);
    Settings& settings = loaded.settings;
    EXPECT_EQ(settings.Published().deg, c.deg);
    EXPECT_EQ(settings.Published().type, c.type);
    EXPECT_EQ(settings.Controls().Text(TextControl::EGrad), c.shown);
  }
}

TEST(HostileSettingsTest, JunkAndHugeFilesLoad) {
  std::mt19937 random(6);
  std::string junk(1 << 16, '\0');
  for (char& c : junk) c = static_cast<char>(random());
  std::string sections;
  for (int i = 0; i < 10000; ++i) sections += "[s" + std::to_string(i) + "]\r\nk=v\r\n";
  sections += "[convert]\r\ndeg=12\r\n";
  const std::string files[] = {junk, sections, std::string(100000, '['), "[convert\r\ndeg=3"};
  const int degrees[] = {0, 12, 0, 3};
  for (std::size_t i = 0; i < std::size(files); ++i) {
    SCOPED_TRACE(i);
    TempDir dir;
    dir.Write("main.ini", files[i]);
    dir.Write("vorspann.plt", junk);
    Settings settings(dir.Dir());
    settings.LoadSettings();
    if (i != 0) {
      EXPECT_EQ(settings.Published().deg, degrees[i]);
    }
    EXPECT_FALSE(settings.HeaderLines().empty());
  }
}

// A file-size limit makes writes fail part-way for root too, who may write
// in read-only folders.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
  }

 private:
  rlimit saved_{};
  void (*previous_)(int) = nullptr;
};

// main.ini is replaced whole or not at all: a failed save leaves the old
// file as it was, and one that cannot be read is never taken for empty.
TEST(HostileSettingsTest, SaveReplacesMainIniWholeOrNotAtAll) {
  struct Case {
    const char* name;
    std::function<void(TempDir&)> prepare;
    std::size_t sizeLimit;  // 0: none
    std::string message;    // with the folder in front of the file name
  };
  const Case cases[] = {
      {"write fails half way", [](TempDir& dir) { dir.Write("main.ini", "; kept\r\n"); }, 120,
       "In %main.ini kann nicht geschrieben werden"},
      {"main.ini cannot be read",
       [](TempDir& dir) { std::filesystem::create_directory(dir.File("main.ini")); }, 0,
       "Datei %main.ini kann nicht ge\xF6" "ffnet werden; die Einstellungen werden nicht "
       "gespeichert, damit sie nicht verloren gehen"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    c.prepare(dir);
    dir.Write("vorspann.plt", "alt");
    Settings settings(dir.Dir());
    settings.Controls().SetText(TextControl::EQUELLDIR, "/nc/quelle");
    settings.Controls().SetEVorspann("neu");
    try {
      std::optional<FileSizeLimit> limit;
      if (c.sizeLimit > 0) limit.emplace(c.sizeLimit);
      settings.SaveSettings();
      ADD_FAILURE() << "no error";
    } catch (const FileError& error) {
      std::string want = c.message;
      want.replace(want.find('%'), 1, dir.Dir());
      EXPECT_EQ(std::string(error.what()), want);
    }
    if (c.sizeLimit > 0) {
      EXPECT_EQ(dir.Read("main.ini"), "; kept\r\n");
    }
    EXPECT_EQ(dir.Read("vorspann.plt"), "alt");
  }
}

}  // namespace
}  // namespace torvane
