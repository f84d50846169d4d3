// Settings files from anywhere: junk, huge files, odd values and folders
// that refuse writes must neither crash the program nor lose what was saved.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <random>
#include <string>

#include "TempDir.h"
#include "settings/Settings.h"

namespace torvane {
namespace {

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
    TempDir dir;
    dir.Write("main.ini", std::string("[convert]\r\n") + c.convert);
    Settings settings(dir.Dir());
    settings.LoadSettings();
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

TEST(HostileSettingsTest, FailedSaveReportsAndKeepsEarlierKeys) {
  TempDir dir;
  dir.Write("main.ini", "; kept\r\n");
  Settings settings(dir.Dir());
  settings.Controls().SetText(TextControl::EQUELLDIR, "/nc/quelle");
  try {
    FileSizeLimit limit(120);
    settings.SaveSettings();
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(std::string(error.what()),
              "In " + dir.Dir() + "main.ini kann nicht geschrieben werden");
  }
  const std::string written = dir.Read("main.ini");
  // Every key written before the failure is there, whole; nothing was cut.
  EXPECT_EQ(written.rfind("; kept\r\n[path]\r\nquell=/nc/quelle\r\n", 0), 0u) << written;
  EXPECT_EQ(written.back(), '\n');
  EXPECT_LE(written.size(), 120u);
}

}  // namespace
}  // namespace torvane
