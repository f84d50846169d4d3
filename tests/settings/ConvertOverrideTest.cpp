// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/Windows1252.h"
#include "settings/ConvertOverride.h"

#include <gtest/gtest.h>

#include <functional>

namespace torvane {
namespace {

TEST(ConvertOverrideTest, SetsTheKeyForOneRun) {
  struct Case {
    const char* name;
    const char* assignment;
    std::function<void(const ConversionSettings&)> check;
  };
  const Case cases[] = {
      {"inverse time", "efeed=2", [](const ConversionSettings& s) { EXPECT_EQ(s.efeed, 2); }},
      {"continuous axis", "erot=1", [](const ConversionSettings& s) { EXPECT_EQ(s.erot, 1); }},
      {"inverted axis", "einv=1", [](const ConversionSettings& s) { EXPECT_TRUE(s.einv); }},
      {"tolerance", "etol=0.01", [](const ConversionSettings& s) { EXPECT_EQ(s.etol, 0.01L); }},
      {"tolerance 0 switches it off", "etol=0",
       [](const ConversionSettings& s) { EXPECT_EQ(s.etol, 0); }},
      {"word", "eg93=G93.1", [](const ConversionSettings& s) { EXPECT_EQ(s.eg93, "G93.1"); }},
      {"key in any case", "EG94=G94.1",
       [](const ConversionSettings& s) { EXPECT_EQ(s.eg94, "G94.1"); }},
      {"older key", "deg=5", [](const ConversionSettings& s) { EXPECT_EQ(s.deg, 5); }},
      {"axis number gives the letter", "axis=1",
       [](const ConversionSettings& s) { EXPECT_EQ(s.axis, "A"); }},
      {"number format", "eenkst=4",
       [](const ConversionSettings& s) { EXPECT_EQ(s.format.Nachkomma, 4); }},
      {"flag", "enum=1", [](const ConversionSettings& s) { EXPECT_TRUE(s.enum_); }},
      {"text may be empty", "edp=", [](const ConversionSettings& s) { EXPECT_EQ(s.edp, ""); }},
      {"neutral G codes", "eneutral=G61.1 G187",
       [](const ConversionSettings& s) { EXPECT_EQ(s.eneutral, "G61.1 G187"); }},
      {"text keeps a second =", "enumz=N=",
       [](const ConversionSettings& s) { EXPECT_EQ(s.format.Satzzeichen, "N="); }},
      {"feed at the tool tip", "efrad=1", [](const ConversionSettings& s) { EXPECT_EQ(s.efrad, 1); }},
      {"feed limit", "efmax=2500.5",
       [](const ConversionSettings& s) { EXPECT_EQ(s.efmax, 2500.5L); }},
      {"unwind line", "eunw=G92 C{C}",
       [](const ConversionSettings& s) { EXPECT_EQ(s.eunw, "G92 C{C}"); }},
      {"no unwind line", "eunw=", [](const ConversionSettings& s) { EXPECT_EQ(s.eunw, ""); }},
      {"turns", "ewind=2.5", [](const ConversionSettings& s) { EXPECT_EQ(s.ewind, 2.5L); }},
      {"reduced angles", "ereduce=1", [](const ConversionSettings& s) { EXPECT_TRUE(s.ereduce); }},
      {"peck back-off", "epeck=0.2", [](const ConversionSettings& s) { EXPECT_EQ(s.epeck, 0.2L); }},
      {"safe retract", "esafe=150",
       [](const ConversionSettings& s) { EXPECT_EQ(s.esafe, std::optional<long double>(150)); }},
      {"no safe retract", "esafe=",
       [](const ConversionSettings& s) { EXPECT_EQ(s.esafe, std::nullopt); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConversionSettings settings;
    EXPECT_EQ(ApplyConvertOverride(c.assignment, settings), std::nullopt);
    c.check(settings);
  }
}

TEST(ConvertOverrideTest, RefusesWithGermanMessage) {
  struct Case {
    const char* assignment;
    std::string want;
  };
  const Case cases[] = {
      {"efeed", Cp1252("--set erwartet SCHLÜSSEL=WERT, nicht \"efeed\"")},
      {"=2", Cp1252("--set erwartet SCHLÜSSEL=WERT, nicht \"=2\"")},
      {"feed=2",
       Cp1252("Unbekannter Schlüssel \"feed\" für --set (erlaubt sind die Schlüssel aus "
              "[convert])")},
      {"efeed=3", Cp1252("Ungültiger Wert \"3\" für efeed: erlaubt ist 0, 1 oder 2")},
      {"efeed=", Cp1252("Ungültiger Wert \"\" für efeed: erlaubt ist 0, 1 oder 2")},
      {"erot=1.0", Cp1252("Ungültiger Wert \"1.0\" für erot: erlaubt ist 0 oder 1")},
      {"einv=ja", Cp1252("Ungültiger Wert \"ja\" für einv: erlaubt ist 0 oder 1")},
      {"etol=-0.1", Cp1252("Ungültiger Wert \"-0.1\" für etol: erlaubt ist eine Zahl ab 0")},
      {"etol=0,1", Cp1252("Ungültiger Wert \"0,1\" für etol: erlaubt ist eine Zahl ab 0")},
      {"eg93=", Cp1252("Ungültiger Wert \"\" für eg93: erlaubt ist ein nicht leerer Text")},
      {"deg=0", Cp1252("Ungültiger Wert \"0\" für deg: erlaubt ist eine ganze Zahl von 1 bis 360")},
      {"type=3", Cp1252("Ungültiger Wert \"3\" für type: erlaubt ist 1 oder 2")},
      {"axis=C", Cp1252("Ungültiger Wert \"C\" für axis: erlaubt ist 1, 2 oder 3")},
      {"enums=1x", Cp1252("Ungültiger Wert \"1x\" für enums: erlaubt ist eine ganze Zahl")},
      {"efrad=2", Cp1252("Ungültiger Wert \"2\" für efrad: erlaubt ist 0 oder 1")},
      {"efmax=-1", Cp1252("Ungültiger Wert \"-1\" für efmax: erlaubt ist eine Zahl ab 0")},
      {"ewind=zehn", Cp1252("Ungültiger Wert \"zehn\" für ewind: erlaubt ist eine Zahl ab 0")},
      {"ereduce=ja", Cp1252("Ungültiger Wert \"ja\" für ereduce: erlaubt ist 0 oder 1")},
      {"epeck=-0.5", Cp1252("Ungültiger Wert \"-0.5\" für epeck: erlaubt ist eine Zahl ab 0")},
      {"esafe=X150",
       Cp1252("Ungültiger Wert \"X150\" für esafe: erlaubt ist eine Zahl ab 0 oder nichts")},
      {"eunw=G92 C{C}\nM30",
       Cp1252("Ungültiger Wert \"G92 C{C}\nM30\" für eunw: erlaubt ist ein Text ohne Zeilenumbruch")},
      {"eneutral=G61.1 M5",
       Cp1252("Ungültiger Wert \"G61.1 M5\" für eneutral: erlaubt ist eine Liste von G-Codes wie "
              "\"G61.1 G187\"")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.assignment);
    ConversionSettings settings;
    const ConversionSettings before = settings;
    EXPECT_EQ(ApplyConvertOverride(c.assignment, settings), std::optional<std::string>(c.want));
    EXPECT_EQ(settings.efeed, before.efeed);
    EXPECT_EQ(settings.eg93, before.eg93);
  }
}

}  // namespace
}  // namespace torvane
