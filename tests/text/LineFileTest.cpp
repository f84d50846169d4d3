// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/LineFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "LineBreakCases.h"

namespace torvane {
namespace {

namespace fs = std::filesystem;

const fs::path kData = TEST_DATA_DIR;

std::string ReadBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class Folder {
 public:
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "torvane-linefile-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~Folder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  fs::path operator/(const std::string& name) const { return path_ / name; }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  fs::path path_;
};

std::string MessageOf(void (*action)(const fs::path&), const fs::path& path) {
  try {
    action(path);
  } catch (const LineFileError& e) {
    return e.what();
  }
  return "no error";
}

TEST(LineFileTest, GoldenLoadAndSave) {
  struct Case {
    const char* name;
    std::vector<std::string> wantLines;
    LineEnding wantBreak;
  };
  const std::string high1 = "(" + std::string("\x80\x81\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8D\x8E\x8F"
                                              "\x90\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9D\x9E\x9F"
                                              "\xA0\xA1\xA2\xA3\xA4\xA5\xA6\xA7\xA8\xA9\xAA\xAB\xAC\xAD\xAE\xAF"
                                              "\xB0\xB1\xB2\xB3\xB4\xB5\xB6\xB7\xB8\xB9\xBA\xBB\xBC\xBD\xBE\xBF") +
                            ")";
  std::string high2;
  for (int code = 0xC0; code <= 0xFF; ++code) high2 += static_cast<char>(code);
  const Case cases[] = {
      {"crlf", {"N10 G01 X1", "N20 Y2"}, LineEnding::CRLF},
      {"lf", {"N10 G01 X1", "N20 Y2"}, LineEnding::LF},
      {"mixed", {"A", "B", "C"}, LineEnding::CRLF},
      {"lone-cr", {"A", "B", "C", "D"}, LineEnding::CRLF},
      {"no-final-break", {"A", "B"}, LineEnding::LF},
      {"empty", {}, LineEnding::LF},
      {"blank-lines", {"", ""}, LineEnding::LF},
      {"cr-at-end", {"A"}, LineEnding::CRLF},
      {"high-bytes", {high1, high2}, LineEnding::CRLF},
  };
  Folder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const LineList list = LoadLineFile(kData / (std::string(c.name) + ".nc"));
    EXPECT_EQ(list.lines, c.wantLines);
    EXPECT_EQ(list.lineBreak, c.wantBreak);
    const fs::path out = folder / c.name;
    SaveLineFile(out, list.lines, list.lineBreak);
    EXPECT_EQ(ReadBytes(out), ReadBytes(kData / (std::string(c.name) + ".saved")));
  }
}

TEST(LineFileTest, EveryByteBesidesBreaksStaysInItsLine) {
  std::string all;
  for (int code = 1; code <= 255; ++code)
    if (code != '\r' && code != '\n') all += static_cast<char>(code);
  const std::vector<std::string> lines = {all, std::string("a\0b", 3), ""};
  Folder folder;
  for (LineEnding style : {LineEnding::CRLF, LineEnding::LF}) {
    SaveLineFile(folder / "all.nc", lines, style);
    const LineList back = LoadLineFile(folder / "all.nc");
    EXPECT_EQ(back.lines, lines);
    EXPECT_EQ(back.lineBreak, style);
  }
}

TEST(LineFileTest, SplitsByTheSharedBreakTable) {
  for (const LineBreakCase& c : LineBreakCases()) {
    SCOPED_TRACE(c.name);
    const LineList list = SplitLines(c.bytes);
    EXPECT_EQ(list.lines, c.lines);
    EXPECT_EQ(list.lineBreak, c.crlf ? LineEnding::CRLF : LineEnding::LF);
  }
}

TEST(LineFileTest, LoadErrorsNameThePath) {
  Folder folder;
  const fs::path missing = folder / "fehlt.nc";
  const fs::path dir = folder / "ordner";
  fs::create_directory(dir);
  auto load = [](const fs::path& p) { LoadLineFile(p); };
  EXPECT_EQ(MessageOf(load, missing), "Datei " + missing.string() + " kann nicht ge\xF6" "ffnet werden");
  EXPECT_EQ(MessageOf(load, dir), "Datei " + dir.string() + " kann nicht ge\xF6" "ffnet werden");
}

// What a save finds at its path: a regular file or a link to one is
// replaced; a folder, a pipe, a device or a socket is refused and left as
// it was, with no temporary file behind.
TEST(LineFileTest, SaveReplacesOnlyRegularFiles) {
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> make;
    const char* refusal;  // what stands there instead, or nullptr: saved
    mode_t kind;          // the file type there after the save
  };
  const auto regular = [](const fs::path& p) { WriteBytes(p, "alt\n"); };
  const Case cases[] = {
      {"missing", [](const fs::path&) {}, nullptr, S_IFREG},
      {"regular file", regular, nullptr, S_IFREG},
      {"link to a regular file",
       [&](const fs::path& p) {
         regular(p.string() + ".real");
         fs::create_symlink(p.filename().string() + ".real", p);
       },
       nullptr, S_IFLNK},
      {"folder", [](const fs::path& p) { fs::create_directory(p); }, "ein Ordner", S_IFDIR},
      {"pipe", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
       "eine benannte Pipe (FIFO)", S_IFIFO},
      {"link to a pipe",
       [](const fs::path& p) {
         ASSERT_EQ(::mkfifo((p.string() + ".fifo").c_str(), 0600), 0);
         fs::create_symlink(p.filename().string() + ".fifo", p);
       },
       "eine benannte Pipe (FIFO)", S_IFLNK},
      {"socket",
       [](const fs::path& p) {
         const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
         sockaddr_un address{};
         address.sun_family = AF_UNIX;
         std::strncpy(address.sun_path, p.c_str(), sizeof address.sun_path - 1);
         ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
         ::close(fd);
       },
       "ein Socket", S_IFSOCK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Folder folder;
    const fs::path target = folder / "x.nc";
    c.make(target);
    const std::vector<std::string> before = folder.Entries();
    const std::string message =
        MessageOf([](const fs::path& p) { SaveLineFile(p, {"G1"}, LineEnding::LF); }, target);
    if (c.refusal) {
      EXPECT_EQ(message, "Datei " + target.string() +
                             " kann nicht erstellt werden: dort steht keine gew\xF6hnliche "
                             "Datei, sondern " + c.refusal);
    } else {
      EXPECT_EQ(message, "no error");
      EXPECT_EQ(ReadBytes(target), "G1\n");
    }
    struct stat info {};
    ASSERT_EQ(::lstat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & S_IFMT, c.kind);
    if (c.refusal) {
      EXPECT_EQ(folder.Entries(), before) << "no temporary file is left behind";
    }
  }
  Folder folder;
  const fs::path noFolder = folder / "fehlt" / "x.nc";
  EXPECT_EQ(MessageOf([](const fs::path& p) { SaveLineFile(p, {"G1"}, LineEnding::CRLF); },
                      noFolder),
            "Datei " + noFolder.string() + " kann nicht erstellt werden");
}

// A write that fails half-way (here: the file size limit) must leave the
// previous content in place.
TEST(LineFileTest, FailedWriteKeepsThePreviousFile) {
  Folder folder;
  const fs::path target = folder / "prog.nc";
  WriteBytes(target, "alt\r\n");
  const std::vector<std::string> big(2000, std::string(100, 'X'));

  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string error = "no error";
  try {
    SaveLineFile(target, big, LineEnding::CRLF);
  } catch (const LineFileError& e) {
    error = e.what();
  }
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, previousHandler);

  EXPECT_EQ(error, "In " + target.string() + " kann nicht geschrieben werden");
  EXPECT_EQ(ReadBytes(target), "alt\r\n");
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"prog.nc"}));
}

TEST(LineFileTest, SaveReplacesAndKeepsPermissions) {
  Folder folder;
  const fs::path target = folder / "prog.nc";
  WriteBytes(target, "a much longer previous content\r\n");
  ::chmod(target.c_str(), 0640);
  SaveLineFile(target, {"G1"}, LineEnding::LF);
  EXPECT_EQ(ReadBytes(target), "G1\n");
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(LineFileTest, SaveThroughALinkWritesItsTarget) {
  Folder folder;
  const fs::path real = folder / "real.nc";
  const fs::path link = folder / "link.nc";
  WriteBytes(real, "old\n");
  fs::create_symlink("real.nc", link);
  SaveLineFile(link, {"new"}, LineEnding::CRLF);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadBytes(real), "new\r\n");
}

}  // namespace
}  // namespace torvane
