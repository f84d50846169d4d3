// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/IniFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"

namespace torvane {
namespace {

using testing::TempDir;

IniFile MainIni(const TempDir& dir, const char* section) {
  IniFile ini;
  ini.SetBaseName("main");
  ini.SetDirectory(dir.Dir());
  ini.SetSection(section);
  return ini;
}

TEST(IniFileTest, ReadsValuesLikeTheProfileFunctions) {
  TempDir dir;
  dir.Write("main.ini",
            "[path]\r\nquell=/nc\r\n"
            "[ Convert ]\r\n  DEG =  15 \r\nbad line\r\neg0=G00\r\nlong=" +
                std::string(3000, 'x') + "\r\nhex=$1F\r\nhex2=0x10\r\nneg=-7\r\n"
                "word=abc\r\nbool=2\r\nzero=0\r\n"
                "[convert]\r\ndup=second section is ignored\r\n");
  const IniFile ini = MainIni(dir, "convert");
  struct Case {
    const char* key;
    std::string text;
    int integer;
  };
  const Case cases[] = {
      {"deg", "15", 15},       {"Eg0", "G00", 0},      {"hex", "$1F", 31},
      {"hex2", "0x10", 16},    {"neg", "-7", -7},      {"word", "abc", 0},
      {"missing", "", 0},      {"dup", "", 0},         {"quell", "", 0},
      {"long", std::string(2047, 'x'), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(ini.ReadText(c.key), c.text);
    EXPECT_EQ(ini.ReadInteger(c.key), c.integer);
  }
  EXPECT_TRUE(ini.ReadBool("bool"));
  EXPECT_FALSE(ini.ReadBool("zero"));
  EXPECT_FALSE(ini.ReadBool("missing"));
}

TEST(IniFileTest, WritesInPlaceAtSectionEndOrFileEnd) {
  struct Case {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
  };
  const Case cases[] = {
      {"missing file is created", "", "path", "quell", "/nc", "[path]\r\nquell=/nc\r\n"},
      {"existing key replaced in place, other bytes kept",
       "; mine\n[Path]\nQUELL = old\nziel=x\n", "path", "quell", "new",
       "; mine\n[Path]\nquell=new\nziel=x\n"},
      {"new key at the end of its section, before blank lines",
       "[path]\r\nquell=a\r\n\r\n[convert]\r\ndeg=1\r\n", "path", "ziel", "b",
       "[path]\r\nquell=a\r\nziel=b\r\n\r\n[convert]\r\ndeg=1\r\n"},
      {"new section at the end of the file", "[path]\r\nquell=a", "convert", "deg", "10",
       "[path]\r\nquell=a\r\n[convert]\r\ndeg=10\r\n"},
      {"line breaks in a value cannot add keys", "", "path", "quell", "a\r\nziel=b",
       "[path]\r\nquell=a  ziel=b\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    if (!c.before.empty()) dir.Write("main.ini", c.before);
    IniFile ini = MainIni(dir, c.section);
    ini.WriteText(c.key, c.value);
    EXPECT_EQ(dir.Read("main.ini"), c.after);
  }
}

TEST(IniFileTest, ReportsAFolderItCannotWrite) {
  // A "folder" that is a plain file refuses every write, even root's.
  TempDir dir;
  dir.Write("plain", "x");
  IniFile ini;
  ini.SetBaseName("main");
  ini.SetDirectory(dir.File("plain") + "/");
  ini.SetSection("path");
  try {
    ini.WriteText("quell", "x");
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(std::string(error.what()),
              "In " + dir.File("plain") + "/main.ini kann nicht geschrieben werden");
  }
}

TEST(IniFileTest, ReportsAnUnwritableFile) {
  TempDir dir;
  // A folder in place of the file fails for root too.
  std::filesystem::create_directory(dir.File("main.ini"));
  IniFile ini = MainIni(dir, "path");
  EXPECT_THROW(ini.WriteText("quell", "x"), FileError);
}

}  // namespace
}  // namespace torvane
