// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/Windows1252.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "TempDir.h"

namespace torvane {
namespace {

using testing::ConvertSection;
using testing::TempDir;
using TC = TextControl;
using TG = ToggleControl;

const char* const kDefaultsDir = TORVANE_DEFAULTS_DIR;

TEST(SettingsTest, MissingFilesPublishEmptySettings) {
  TempDir dir;
  Settings settings(dir.Dir());
  settings.LoadSettings();
  const ConversionSettings& published = settings.Published();
  EXPECT_EQ(published.eg0, "");
  EXPECT_EQ(published.edp, "");
  EXPECT_EQ(published.axis, "C");  // the group keeps its choice
  EXPECT_EQ(published.deg, 0);
  EXPECT_EQ(published.type, 0);
  EXPECT_EQ(published.format, TNCFormat{});
  EXPECT_EQ(settings.Controls().Text(TC::EGrad), "1");
  EXPECT_EQ(settings.Controls().ArcMode(), 1);
}

TEST(SettingsTest, PublishesWhatTheFileHolds) {
  struct Case {
    const char* name;
    const char* convert;
    std::function<void(const Settings&)> check;
  };
  const Case cases[] = {
      {"deg with leading blank", "deg= 11\r\n",
       [](const Settings& s) {
         EXPECT_EQ(s.Controls().Text(TC::EGrad), "11");  // the reader trims
         EXPECT_EQ(s.Published().deg, 11);
       }},
      {"fractional deg shows but publishes 0", "deg=10.5\r\n",
       [](const Settings& s) {
         EXPECT_EQ(s.Controls().Text(TC::EGrad), "10.5");
         EXPECT_EQ(s.Published().deg, 0);
       }},
      {"deg 400 shows 1, publishes 400", "deg=400\r\n",
       [](const Settings& s) {
         EXPECT_EQ(s.Controls().Text(TC::EGrad), "1");
         EXPECT_EQ(s.Published().deg, 400);
       }},
      {"axis 1 selects A", "axis=1\r\n",
       [](const Settings& s) { EXPECT_EQ(s.Published().axis, "A"); }},
      {"axis 7 keeps the choice", "axis=7\r\n",
       [](const Settings& s) { EXPECT_EQ(s.Published().axis, "C"); }},
      {"type 2 selects machine arcs", "type=2\r\n",
       [](const Settings& s) {
         EXPECT_EQ(s.Controls().ArcMode(), 2);
         EXPECT_EQ(s.Published().type, 2);
       }},
      {"type keeps its low 8 bits", "type=257\r\n",
       [](const Settings& s) { EXPECT_EQ(s.Published().type, 1); }},
      {"digit counts read loosely", "eest=12x\r\neenkst=-3a\r\nenumss=-5\r\nenums=abc\r\n",
       [](const Settings& s) {
         EXPECT_EQ(s.Published().format.Stellen, 12);
         EXPECT_EQ(s.Published().format.Nachkomma, 3);
         EXPECT_EQ(s.Published().format.Satzschritt, -5);
         EXPECT_EQ(s.Published().format.Satzstart, 0);
       }},
      {"booleans", "edez=1\r\nepkt=0\r\nenn=5\r\nenum=1\r\n",
       [](const Settings& s) {
         EXPECT_TRUE(s.Published().format.DeziPunkt);
         EXPECT_FALSE(s.Published().format.NCPunkt);
         EXPECT_TRUE(s.Published().format.NNullen);
         EXPECT_TRUE(s.Published().enum_);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConvertSection loaded(c.convert);
    Settings& settings = loaded.settings;
    c.check(settings);
  }
}

TEST(SettingsTest, SaveWritesKeysInOrderAndReloads) {
  TempDir dir;
  Settings settings(dir.Dir());
  SettingsModel& controls = settings.Controls();
  controls.SetText(TC::EGrad, " 11");
  controls.SetDown(TG::EEDeziPunkt, true);
  controls.SetText(TC::EENachkommastellen, "3");
  controls.SetEVorspann(Cp1252("%\r\nO0001 (ÜBERSCHRIFT)"));
  controls.SetENachspann("M30\r\n");
  settings.SaveSettings();

  EXPECT_EQ(dir.Read("main.ini"),
            "[path]\r\nquell=\r\nziel=\r\n[convert]\r\ndeg= 11\r\ntype=1\r\naxis=3\r\n"
            "edp=M15\r\nedn=M16\r\neg2=G132\r\neg3=G133\r\neg0=G00\r\neg1=G01\r\nerad=L\r\n"
            "eest=0\r\neenkst=3\r\nedez=1\r\nepkt=0\r\nevn=0\r\nenn=0\r\nevz=0\r\nenum=0\r\n"
            "enumz=N\r\nenumss=1\r\nenums=1\r\n"
            "efeed=0\r\nerot=0\r\neinv=0\r\netol=0\r\neg93=G93\r\neg94=G94\r\neneutral=\r\n"
            "efrad=0\r\nefmax=0\r\neunw=\r\newind=0\r\nereduce=0\r\nepeck=0.5\r\nesafe=\r\n");
  EXPECT_EQ(dir.Read("vorspann.plt"), Cp1252("%\r\nO0001 (ÜBERSCHRIFT)"));
  EXPECT_EQ(dir.Read("nachspann.plt"), "M30\r\n");
  EXPECT_EQ(settings.Published().deg, 11);
  EXPECT_EQ(settings.Published().format.Nachkomma, 3);
  EXPECT_EQ(settings.HeaderLines(), (std::vector<std::string>{"%", Cp1252("O0001 (ÜBERSCHRIFT)")}));

  // A fresh program start reads the same back.
  Settings again(dir.Dir());
  again.LoadSettings();
  EXPECT_EQ(again.Published().format, settings.Published().format);
  EXPECT_EQ(again.Controls().EVorspann(), settings.Controls().EVorspann());
}

TEST(SettingsTest, MachineDialectKeys) {
  struct Case {
    const char* name;
    const char* convert;
    std::int32_t efeed, erot;
    bool einv;
    long double etol;
    const char* eg93;
    const char* eg94;
    const char* shownTol;  // the dialog's field
  };
  const Case cases[] = {
      {"missing keys give the old output", "", 0, 0, false, 0, "G93", "G94", "0"},
      {"all set", "efeed=2\r\nerot=1\r\neinv=1\r\netol=0.05\r\neg93=G93.1\r\neg94=G94.1\r\n",
       2, 1, true, 0.05L, "G93.1", "G94.1", "0.05"},
      {"feed as programmed", "efeed=1\r\n", 1, 0, false, 0, "G93", "G94", "0"},
      {"no such feed mode", "efeed=3\r\n", 0, 0, false, 0, "G93", "G94", "0"},
      {"no such rotary mode", "erot=2\r\n", 0, 0, false, 0, "G93", "G94", "0"},
      {"tolerance no number", "etol=abc\r\n", 0, 0, false, 0, "G93", "G94", "abc"},
      {"negative tolerance", "etol=-1\r\n", 0, 0, false, 0, "G93", "G94", "-1"},
      {"empty words fall back", "eg93=\r\neg94=\r\n", 0, 0, false, 0, "G93", "G94", "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConvertSection loaded(c.convert);
    Settings& settings = loaded.settings;
    const ConversionSettings& published = settings.Published();
    EXPECT_EQ(published.efeed, c.efeed);
    EXPECT_EQ(published.erot, c.erot);
    EXPECT_EQ(published.einv, c.einv);
    EXPECT_EQ(published.etol, c.etol);
    EXPECT_EQ(published.eg93, c.eg93);
    EXPECT_EQ(published.eg94, c.eg94);
    EXPECT_EQ(settings.Controls().Text(TC::ETol), c.shownTol);
  }
}

// A missing or unreadable key means the old behaviour: the usual back-off,
// and no safe retract, so that G28/G30 between moves stay refused.
TEST(SettingsTest, DrillingAndRetractKeys) {
  struct Case {
    const char* name;
    const char* convert;
    long double epeck;
    std::optional<long double> esafe;
  };
  const Case cases[] = {
      {"missing keys", "", 0.5L, std::nullopt},
      {"both set", "epeck=0.2\r\nesafe=150\r\n", 0.2L, 150},
      {"no numbers", "epeck=-1\r\nesafe=hoch\r\n", 0.5L, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConvertSection loaded(c.convert);
    Settings& settings = loaded.settings;
    EXPECT_EQ(settings.Published().epeck, c.epeck);
    EXPECT_EQ(settings.Published().esafe, c.esafe);
  }
}

TEST(SettingsTest, ToolFeedAndAngleKeys) {
  struct Case {
    const char* name;
    const char* convert;
    std::int32_t efrad;
    long double efmax;
    const char* eunw;
    long double ewind;
    bool ereduce;
    const char* shownMax;  // the dialog's fields
    const char* shownWind;
  };
  const Case cases[] = {
      {"missing keys give the old output", "", 0, 0, "", 0, false, "0", "0"},
      {"all set",
       "efrad=1\r\nefmax=2500\r\neunw=G92 C{C}\r\newind=2.5\r\nereduce=1\r\n", 1, 2500,
       "G92 C{C}", 2.5L, true, "2500", "2.5"},
      {"no such measure", "efrad=2\r\n", 0, 0, "", 0, false, "0", "0"},
      {"limit and turns no numbers", "efmax=viel\r\newind=-1\r\n", 0, 0, "", 0, false, "viel",
       "-1"},
      {"any number reduces", "ereduce=5\r\n", 0, 0, "", 0, true, "0", "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConvertSection loaded(c.convert);
    Settings& settings = loaded.settings;
    const ConversionSettings& published = settings.Published();
    EXPECT_EQ(published.efrad, c.efrad);
    EXPECT_EQ(published.efmax, c.efmax);
    EXPECT_EQ(published.eunw, c.eunw);
    EXPECT_EQ(published.ewind, c.ewind);
    EXPECT_EQ(published.ereduce, c.ereduce);
    EXPECT_EQ(settings.Controls().Down(TG::EFRad), c.efrad == 1);
    EXPECT_EQ(settings.Controls().Text(TC::EFMax), c.shownMax);
    EXPECT_EQ(settings.Controls().Text(TC::EWind), c.shownWind);
  }
}

// A file from before the machine keys keeps every byte; a save adds them
// with the values that give the old output.
TEST(SettingsTest, SavingAnOldFileAppendsTheDefaults) {
  TempDir dir;
  const std::string old = "[path]\r\nquell=\r\nziel=\r\n[convert]\r\ndeg=30\r\ntype=1\r\naxis=3\r\n"
      "edp=M15\r\nedn=M16\r\neg2=G132\r\neg3=G133\r\neg0=G00\r\neg1=G01\r\nerad=L\r\n"
      "eest=0\r\neenkst=3\r\nedez=1\r\nepkt=0\r\nevn=0\r\nenn=1\r\nevz=0\r\nenum=0\r\n"
      "enumz=N\r\nenumss=1\r\nenums=1\r\n";
  dir.Write("main.ini", old);
  Settings settings(dir.Dir());
  settings.LoadSettings();
  const ConversionSettings before = settings.Published();
  settings.SaveSettings();
  EXPECT_EQ(dir.Read("main.ini"),
            old + "efeed=0\r\nerot=0\r\neinv=0\r\netol=0\r\neg93=G93\r\neg94=G94\r\neneutral=\r\n"
            "efrad=0\r\nefmax=0\r\neunw=\r\newind=0\r\nereduce=0\r\nepeck=0.5\r\nesafe=\r\n");
  EXPECT_EQ(settings.Published().efeed, before.efeed);
  EXPECT_EQ(settings.Published().etol, before.etol);
  EXPECT_EQ(settings.Published().eg93, before.eg93);

  // And the dialog's choices come back from the file.
  settings.Controls().SelectFeedMode(2);
  settings.Controls().SelectRotaryMode(1);
  settings.Controls().SetDown(TG::EInv, true);
  settings.Controls().SetText(TC::ETol, "0.01");
  settings.Controls().SetText(TC::EG93, "G93.1");
  settings.Controls().SetDown(TG::EFRad, true);
  settings.Controls().SetText(TC::EFMax, "2500");
  settings.Controls().SetText(TC::EUnw, "G92 C{C}");
  settings.Controls().SetText(TC::EWind, "10");
  settings.Controls().SetDown(TG::EReduce, true);
  settings.SaveSettings();
  Settings again(dir.Dir());
  again.LoadSettings();
  EXPECT_EQ(again.Published().efeed, 2);
  EXPECT_EQ(again.Published().erot, 1);
  EXPECT_TRUE(again.Published().einv);
  EXPECT_EQ(again.Published().etol, 0.01L);
  EXPECT_EQ(again.Published().eg93, "G93.1");
  EXPECT_EQ(again.Published().eg94, "G94");
  EXPECT_EQ(again.Published().efrad, 1);
  EXPECT_EQ(again.Published().efmax, 2500);
  EXPECT_EQ(again.Published().eunw, "G92 C{C}");
  EXPECT_EQ(again.Published().ewind, 10);
  EXPECT_TRUE(again.Published().ereduce);
}

TEST(SettingsTest, HeaderFilesSplitAtEveryLineBreak) {
  struct Case {
    const char* name;
    std::string file;
    std::vector<std::string> lines;
    std::string text;
  };
  const Case cases[] = {
      {"CR LF", "a\r\nb\r\n", {"a", "b"}, "a\r\nb\r\n"},
      {"no final break", "a\r\nb", {"a", "b"}, "a\r\nb"},
      {"LF alone", "a\nb\n", {"a", "b"}, "a\r\nb\r\n"},
      {"only CRs", "\r\r\r", {"", "", ""}, "\r\n\r\n\r\n"},
      {"empty", "", {}, ""},
      {"high bytes", Cp1252("äöüß€ÿ"), {Cp1252("äöüß€ÿ")},
       Cp1252("äöüß€ÿ")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    dir.Write("vorspann.plt", c.file);
    Settings settings(dir.Dir());
    settings.LoadSettings();
    EXPECT_EQ(settings.HeaderLines(), c.lines);
    EXPECT_EQ(settings.Controls().EVorspann(), c.text);
  }
}

TEST(SettingsTest, FailedSaveKeepsWhatWasWritten) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("nachspann.plt"));  // cannot be replaced
  dir.Write("vorspann.plt", "old");
  Settings settings(dir.Dir());
  settings.Controls().SetEVorspann("new");
  try {
    settings.SaveSettings();
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Datei " + dir.File("nachspann.plt") +
                  Cp1252(" kann nicht erstellt werden: dort steht keine gewöhnliche Datei, sondern "
                         "ein Ordner"));
  }
  EXPECT_NE(dir.Read("main.ini").find("deg=10"), std::string::npos);
  EXPECT_EQ(dir.Read("vorspann.plt"), "new");
}

TEST(SettingsTest, UnreadableHeaderStopsTheLoad) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("vorspann.plt"));
  Settings settings(dir.Dir());
  try {
    settings.LoadSettings();
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Datei " + dir.File("vorspann.plt") + Cp1252(" kann nicht geöffnet werden"));
  }
}

TEST(SettingsTest, OversizedHeaderIsRefused) {
  TempDir dir;
  dir.Write("nachspann.plt", std::string(Settings::kMaxTextAreaBytes + 1, 'x'));
  Settings settings(dir.Dir());
  try {
    settings.LoadSettings();
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(std::string(error.what()), Cp1252("Text überschreitet Memo-Kapazität"));
  }
}

TEST(SettingsTest, ShippedDefaultsConvertReadably) {
  Settings settings(kDefaultsDir);
  settings.LoadSettings();
  const ConversionSettings& published = settings.Published();
  EXPECT_EQ(published.eg0, "G00");
  EXPECT_EQ(published.eg1, "G01");
  EXPECT_EQ(published.axis, "C");
  EXPECT_EQ(published.deg, 10);
  EXPECT_EQ(published.type, 1);
  EXPECT_EQ(FormatNC(published.format, 12.5L), "12.500");
}

}  // namespace
}  // namespace torvane
