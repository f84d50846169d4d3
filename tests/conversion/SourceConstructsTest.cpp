// SPDX-License-Identifier: GPL-3.0-or-later
// What real programs hold beyond plain G0-G3 with R: every construct is
// converted right, or refused with its line named, or converted with a
// warning. Values are worked out by hand; with the diameter 360/pi the
// angle is simply 360 - Y.

#include <gtest/gtest.h>

#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "text/Windows1252.h"
#include "TestSettings.h"
#include "conversion/Conversion.h"

namespace torvane {
namespace {

using Lines = std::vector<std::string>;
using Warnings = std::vector<ConversionWarning>;
using testing::ExampleSettings;

const long double kDegreeDiameter = 360 / std::numbers::pi_v<long double>;

Lines Convert(const ConversionSettings& settings, const Lines& source,
              long double diameter = kDegreeDiameter, Warnings* warnings = nullptr) {
  Conversion conversion(settings);
  Lines target;
  conversion.RunConversion(diameter, source, {}, {}, target);
  if (warnings) *warnings = conversion.Warnings();
  return target;
}

TEST(SourceConstructsTest, Converts) {
  struct Case {
    const char* name;
    int degrees;
    int type;
    long double diameter;
    Lines source;
    Lines want;
  };
  const Lines workedArc = {"G01 Z10.000 C0.000 M15", "G01 Z8.660 C365.730",
                           "G01 Z5.000 C369.924", "G01 Z0.000 C371.459"};
  const Case cases[] = {
      {"lower case words", 30, 1, 100, {"g1 x10 y0", "g2 x0 y-10 r10"}, workedArc},
      {"mixed case, program number and comments", 30, 1, 100,
       {"%", "O1234 (KONTUR)", "o1", "n10 G1 x10 Y0 f200 s1000 m3 t1", "G02 X0 y-10 R10 ;Bogen"},
       workedArc},
      {"G91 sums the increments, G90 returns", 30, 1, kDegreeDiameter,
       {"G1 X10 Y5", "G91", "G1 X10 Y5", "Z-1", "Z-1", "G90 X0 Y5"},
       {"G01 Z10.000 C355.000 M15", "G01 Z20.000 C350.000 M16", "G01 X113.592",
        "G01 X112.592", "G01 Z0.000 C355.000 M15"}},
      {"G91 arc end point by R", 30, 1, 100, {"G1 X10 Y0", "G91 G2 X-10 Y-10 R10"}, workedArc},
      {"G91 arc end point by I/J", 30, 1, 100, {"G1 X10 Y0", "G91 G2 X-10 Y-10 I-10 J0"},
       workedArc},
      {"I/J absolute with G90.1", 30, 1, 100, {"G90.1", "G1 X10 Y0", "G2 X0 Y-10 I0 J0"},
       workedArc},
      {"I/J, not an R left over from an earlier block", 30, 1, 100,
       {"G1 X10 Y0 R3", "G2 X0 Y-10 I-10 J0"}, workedArc},
      {"I alone, J taken as 0", 30, 1, 100, {"G1 X10 Y0", "G2 X0 Y-10 I-10"}, workedArc},
      {"full circle steps the whole turn", 90, 1, kDegreeDiameter,
       {"G1 X10 Y0", "G2 X10 Y0 I-10 J0"},
       {"G01 Z10.000 C0.000 M15", "G01 Z0.000 C370.000", "G01 Z-10.000 C0.000 M16",
        "G01 Z0.000 C350.000", "G01 Z10.000 C0.000 M15"}},
      {"full circle as two machine half circles", 90, 2, kDegreeDiameter,
       {"G1 X0 Y0", "G3 I0 J5"},
       {"G01 Z0.000 C0.000 M15", "G133 Z0.000 C350.000 L5.000 M16",
        "G133 Z0.000 C0.000 L5.000 M15"}},
      {"machine arc by centre beyond half a turn has a negative radius", 90, 2, 100,
       {"G1 X10 Y0", "G2 X0 Y-10 I0 J-10"},
       {"G01 Z10.000 C0.000 M15", "G132 Z0.000 C371.459 L-10.000"}},
      {"helix: radial word on every step, Z by the angle travelled", 90, 1, kDegreeDiameter,
       {"G1 X10 Y0 Z0", "G3 X-10 Y0 Z-2 I-10 J0"},
       {"G01 Z10.000 X114.592 C0.000 M15", "G01 Z0.000 X113.592 C350.000 M16",
        "G01 Z-10.000 X112.592 C0.000 M15"}},
      {"helical full circle", 90, 1, kDegreeDiameter, {"G1 X10 Y0 Z0", "G2 Z-4 I-10"},
       {"G01 Z10.000 X114.592 C0.000 M15", "G01 Z0.000 X113.592 C370.000",
        "G01 Z-10.000 X112.592 C0.000 M16", "G01 Z0.000 X111.592 C350.000",
        "G01 Z10.000 X110.592 C0.000 M15"}},
      {"a short arc by centre whose end lies a hair further out", 10, 1, 100,
       {"G0 X10 Y0 Z1", "G1 Z-1", "G3 X10 Y0.1 I-10 J0"},
       {"G00 Z10.000 X101.000 C0.000 M15", "G01 X99.000", "G01 Z10.000 C359.885 M16"}},
      {"the same as a machine arc", 10, 2, 100, {"G0 X10 Y0 Z1", "G1 Z-1", "G3 X10 Y0.1 I-10 J0"},
       {"G00 Z10.000 X101.000 C0.000 M15", "G01 X99.000", "G133 Z10.000 C359.885 L10.000 M16"}},
      {"radius difference within the tolerance", 90, 2, 100,
       {"G1 X10 Y0", "G2 X0 Y-10.0015 I-10 J0"},
       {"G01 Z10.000 C0.000 M15", "G132 Z0.000 C371.461 L10.000"}},
      {"G28 at the end is dropped", 30, 1, 100, {"G1 X10 Y0", "G91 G28 Z0", "G28 X0 Y0", "M30"},
       {"G01 Z10.000 C0.000 M15"}},
      {"G53 in the last block is dropped", 30, 1, 100, {"G1 X10 Y0", "G53 G0 Z0"},
       {"G01 Z10.000 C0.000 M15"}},
      {"G28 before the first move is dropped", 30, 1, 100,
       {"G28 G91 Z0.", "G90", "G1 X10 Y0"}, {"G01 Z10.000 C0.000 M15"}},
      {"a dwell's numbers are times, not moves or feeds", 30, 1, 100,
       {"G1 X10 Y0", "G4 P500", "G4 X2.0", "G04 F2 U1", "X20"},
       {"G01 Z10.000 C0.000 M15", "G01 Z20.000"}},
      {"M30 ends the program", 30, 1, 100, {"G1 X10 Y0", "M30", "G1 X20"},
       {"G01 Z10.000 C0.000 M15"}},
      {"M2 in a block with a move ends after it", 30, 1, 100, {"G1 X10 Y0 M2", "X20"},
       {"G01 Z10.000 C0.000 M15"}},
      {"a leading % opens, a later one ends", 30, 1, 100, {"%", "G1 X10 Y0", "%", "G1 X20"},
       {"G01 Z10.000 C0.000 M15"}},
      {"program number in ISO form", 30, 1, 100, {":1234", "G1 X10 Y0"},
       {"G01 Z10.000 C0.000 M15"}},
      {"units named again after moves", 30, 1, 100, {"G21 G1 X10 Y0", "G21", "X20"},
       {"G01 Z10.000 C0.000 M15", "G01 Z20.000"}},
      {"tabs, CR and the DOS end-of-file mark are blanks", 30, 1, 100,
       {"G1\tX10\rY0", "\x1A"}, {"G01 Z10.000 C0.000 M15"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Convert(ExampleSettings(c.degrees, c.type), c.source, c.diameter), c.want);
  }
}

// An arc given by its centre and the same arc given by its radius write the
// same lines, in both arc modes.
TEST(SourceConstructsTest, CentreAndRadiusArcsAgreeLineForLine) {
  struct Case {
    const char* name;
    const char* start;
    const char* byRadius;
    const char* byCentre;
  };
  const Case cases[] = {
      {"clockwise quarter", "G1 X10 Y0", "G2 X0 Y-10 R10", "G2 X0 Y-10 I-10 J0"},
      {"counter-clockwise quarter", "G1 X10 Y0", "G3 X0 Y-10 R10", "G3 X0 Y-10 I0 J-10"},
      {"clockwise three quarters", "G1 X10 Y0", "G2 X0 Y-10 R-10", "G2 X0 Y-10 I0 J-10"},
      {"oblique chord", "G1 X3 Y4", "G3 X-4 Y3 R5", "G3 X-4 Y3 I-3 J-4"},
      {"oblique chord the long way", "G1 X3 Y4", "G2 X-4 Y3 R-5", "G2 X-4 Y3 I-3 J-4"},
      {"half circle clockwise", "G1 X0 Y0", "G2 X20 Y0 R10", "G2 X20 Y0 I10 J0"},
      {"half circle counter-clockwise", "G1 X0 Y0", "G3 X20 Y0 R10", "G3 X20 Y0 I10 J0"},
      {"vertical chord", "G1 X5 Y-7", "G3 X5 Y13 R10", "G3 X5 Y13 I0 J10"},
  };
  for (const Case& c : cases) {
    for (const int type : {1, 2}) {
      SCOPED_TRACE(std::string(c.name) + (type == 1 ? ", linearised" : ", machine arc"));
      const ConversionSettings settings = ExampleSettings(10, type);
      const Lines byRadius = Convert(settings, {c.start, c.byRadius});
      EXPECT_EQ(Convert(settings, {c.start, c.byCentre}), byRadius);
      EXPECT_GT(byRadius.size(), type == 1 ? 3u : 1u);
    }
  }
}

TEST(SourceConstructsTest, RefusesWithLineAndReason) {
  struct Case {
    const char* name;
    int type;
    Lines source;
    std::string message;
  };
  const std::string no = Cp1252(" wird nicht unterstützt");
  const Case cases[] = {
      {"tapping cycle", 1, {"G84 X1"}, "Zeile 1: Zyklus G84" + no},
      {"arc in G18 as a machine arc", 2, {"G18", "G1 X0 Z0", "G2 X5 Z5 R5"},
       "Zeile 3: Kreisbogen in der Ebene G18 geht nur mit \"G2/3 Linear wandeln\": der "
       "maschinenspezifische Kreisbogen liegt auf dem Mantel"},
      {"parameter", 1, {"G1 X#1"}, "Zeile 1: Parameter (#)" + std::string(Cp1252(" werden nicht "
                                                                                 "unterstützt"))},
      {"expression", 1, {"G1 X[1+2]"}, Cp1252("Zeile 1: Ausdrücke ([ ]) werden nicht unterstützt")},
      {"assignment", 1, {"R1=5"}, Cp1252("Zeile 1: Zuweisungen (=) werden nicht unterstützt")},
      {"subprogram definition", 1, {"O1234", "O100 sub"},
       Cp1252("Zeile 2: Unterprogramme und Programmsteuerung (O-Wörter) werden nicht unterstützt")},
      {"subprogram call, lower case", 1, {"o100 call"},
       Cp1252("Zeile 1: Unterprogramme und Programmsteuerung (O-Wörter) werden nicht unterstützt")},
      {"named subprogram", 1, {"O<kontur> call"},
       Cp1252("Zeile 1: Unterprogramme und Programmsteuerung (O-Wörter) werden nicht unterstützt")},
      {"M98", 1, {"M98 P100"}, "Zeile 1: Unterprogrammaufruf M98" + no},
      {"M97", 1, {"M97 P100"}, "Zeile 1: Unterprogrammaufruf M97" + no},
      {"M99", 1, {"G1 X1", "M99"}, "Zeile 2: Unterprogrammende M99" + no},
      {"G65", 1, {"G65 P9000"}, "Zeile 1: Makroaufruf G65" + no},
      {"G10 with another L", 1, {"G10 L1 P1 R3"}, "Zeile 1: Dateneingabe G10" + no},
      {"G68", 1, {"G68 X0 Y0 R45"}, "Zeile 1: Koordinatendrehung G68" + no},
      {"G51", 1, {"G51 P2"}, "Zeile 1: Skalieren oder Spiegeln G51" + no},
      {"G50.1", 1, {"G50.1 X0"}, "Zeile 1: Skalieren oder Spiegeln G50.1" + no},
      {"G51.1", 1, {"G51.1 X0"}, "Zeile 1: Skalieren oder Spiegeln G51.1" + no},
      {"G16", 1, {"G16"}, "Zeile 1: Polarkoordinatenangabe G16" + no},
      {"G38.2", 1, {"G38.2 Z-10"}, "Zeile 1: Antasten G38.2" + no},
      {"G33", 1, {"G33 Z-10 K1.5"}, "Zeile 1: Gewindeschneiden G33" + no},
      {"G76", 1, {"G76 P1"}, "Zeile 1: Gewindeschneiden G76" + no},
      {"G5", 1, {"G5 X1"}, "Zeile 1: Spline G5" + no},
      {"G5.1", 1, {"G5.1 X1"}, "Zeile 1: Spline G5.1" + no},
      {"G41", 1, {"G41 D1"}, "Zeile 1: Werkzeugradiuskorrektur G41" + no},
      {"G42, lower case", 1, {"g42 d1"}, "Zeile 1: Werkzeugradiuskorrektur G42" + no},
      {"unknown G code", 1, {"G12 I5"}, "Zeile 1: G12" + no},
      {"G2.1", 1, {"G2.1 X5"}, "Zeile 1: G2.1" + no},
      {"A axis", 1, {"G1 X1 A90"},
       "Zeile 1: Achswort A" + no + ": das Programm bewegt schon eine weitere Achse"},
      {"b axis, lower case", 1, {"g1 b5"},
       "Zeile 1: Achswort B" + no + ": das Programm bewegt schon eine weitere Achse"},
      {"W axis", 1, {"W5"},
       "Zeile 1: Achswort W" + no + ": das Programm bewegt schon eine weitere Achse"},
      {"second point", 1, {"G1 X1.5.2"}, Cp1252("Zeile 1: Ungültige Zahl im Wort X1.5.2")},
      {"second sign", 1, {"G1 X1-2"}, Cp1252("Zeile 1: Ungültige Zahl im Wort X1-2")},
      {"letter alone", 1, {"G1 X"}, Cp1252("Zeile 1: Ungültige Zahl im Wort X")},
      {"sign alone", 1, {"G1 X- Y1"}, Cp1252("Zeile 1: Ungültige Zahl im Wort X-")},
      {"lower-case letter alone", 1, {"g1 y"}, Cp1252("Zeile 1: Ungültige Zahl im Wort Y")},
      {"G alone", 1, {"G X1"}, Cp1252("Zeile 1: Ungültige Zahl im Wort G")},
      {"malformed I", 1, {"G1 X10 Y0", "G2 X0 Y-10 I-1.0.0"},
       Cp1252("Zeile 2: Ungültige Zahl im Wort I-1.0.0")},
      {"decimal comma", 1, {"G1 X1,5"},
       Cp1252("Zeile 1: Komma außerhalb eines Kommentars (Dezimalkomma oder Wort wie ,R) wird "
              "nicht unterstützt")},
      {"keyword", 1, {"MSG (HALLO)"}, "Zeile 1: Unbekanntes Wort MSG"},
      {"G28 with moves after it", 1, {"G1 X0 Y0", "G28 Z0", "M5", "G0 X5"},
       Cp1252("Zeile 2: G28 fährt eine Maschinenposition an, die die Konvertierung nicht kennt, "
              "und danach folgen noch Bewegungen; mit einem sicheren Rückzug (esafe, \"Sicherer "
              "Rückzug X\" auf der Seite \"Maschine\") wird daraus ein radialer Rückzug")},
      {"G53 with moves after it", 1, {"G0 X1", "G53 G0 Z0", "G0 X5"},
       Cp1252("Zeile 2: G53 fährt eine Maschinenposition an, die die Konvertierung nicht kennt, "
              "und danach folgen noch Bewegungen")},
      {"arc with turns", 1, {"G1 X10 Y0", "G2 X10 Y0 I-10 P2"},
       Cp1252("Zeile 2: Kreisbogen mit P (mehrere Umläufe) wird nicht unterstützt")},
      {"number with an exponent", 1, {"G1 X1e-05"},
       "Zeile 1: Zahl mit Exponent im Wort X1E-05" + no},
      {"exponent without sign", 1, {"G1 X1 Y2E1"}, "Zeile 1: Zahl mit Exponent im Wort Y2E1" + no},
      {"plus inside a number is named whole", 1, {"G1 X1+5"},
       Cp1252("Zeile 1: Ungültige Zahl im Wort X1+5")},
      {"one word twice", 1, {"G1 X1 X5"}, "Zeile 1: Wort X zweimal im Satz: X1 und X5"},
      {"feed twice", 1, {"G1 X1 F100 f 200"}, "Zeile 1: Wort F zweimal im Satz: F100 und F200"},
      {"block delete", 1, {"G1 X0 Y0", "/G1 X5"},
       "Zeile 2: Ausblendsatz (/)" + no +
           ": das Ergebnis hinge von der Stellung des Schalters an der Steuerung ab"},
      {"checksum", 1, {"G1 X5*37"},
       Cp1252("Zeile 1: Unbekanntes Zeichen \"*\" außerhalb eines Kommentars")},
      {"macro mark", 1, {"$HOME"}, Cp1252("Zeile 1: Unbekanntes Zeichen \"$\" außerhalb eines "
                                          "Kommentars")},
      {"percent sign inside a block", 1, {"G1 X5 %"},
       Cp1252("Zeile 1: Unbekanntes Zeichen \"%\" außerhalb eines Kommentars")},
      {"umlaut outside a comment", 1, {Cp1252("G1 X5 ä")},
       Cp1252("Zeile 1: Unbekanntes Zeichen \"ä\" außerhalb eines Kommentars")},
      {"switch to inch after a move", 1, {"G1 X10 Y0", "G20"},
       Cp1252("Zeile 2: Wechsel der Maßeinheit (G20) nach der ersten Bewegung") + no +
           Cp1252(": die Zahlen davor und danach hätten verschiedene Einheiten")},
      {"switch back to millimetres after a move", 1, {"G20", "G1 X1 Y0", "G21"},
       Cp1252("Zeile 3: Wechsel der Maßeinheit (G21) nach der ersten Bewegung") + no +
           Cp1252(": die Zahlen davor und danach hätten verschiedene Einheiten")},
      {"explicit radius 0", 1, {"G1 X10 Y0", "G2 X0 Y-10 R0"},
       "Zeile 2: Kreisbogen mit Radius 0 (R0)"},
      {"centre on the start point, end elsewhere", 1, {"G1 X10 Y0", "G2 X0 Y-10 I0 J0"},
       "Zeile 2: Kreisbogen mit Radius 0: der Mittelpunkt (I, J) liegt im Startpunkt"},
      {"a line that turns a whole turn in an arc", 2, {"G1 X0 Y0", "G2 X0 Y400 R-200"},
       Cp1252("Zeile 2: Ein Satz dreht die Rundachse um 360° oder mehr: das kann eine "
              "Modulo-Rundachse nicht in einem Satz ausführen")},
      {"arc without radius or centre", 1, {"G1 X10 Y0", "G2 X0 Y-10"},
       "Zeile 2: Kreisbogen ohne Radius (R) oder Mittelpunkt (I, J)"},
      {"centre off the arc", 1, {"G1 X10 Y0", "G2 X0 Y-10.5 I-10 J0"},
       "Zeile 2: Mittelpunkt (I, J) passt nicht zum Kreisbogen: Radius zum Start 10.0000, "
       "zum Ende 10.5000 (erlaubt sind 0.002 Unterschied)"},
      {"centre on the start point", 1, {"G1 X10 Y0", "G2 I0 J0"},
       "Zeile 2: Kreisbogen mit Radius 0: der Mittelpunkt (I, J) liegt im Startpunkt"},
      {"helix as a machine arc", 2, {"G1 X10 Y0", "G2 X0 Y-10 Z-1 R10"},
       "Zeile 2: Schraubenlinie (Kreisbogen mit Z-Bewegung) geht nur mit \"G2/3 Linear "
       "wandeln\", nicht als maschinenspezifischer Kreisbogen"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      Convert(ExampleSettings(30, c.type), c.source);
      ADD_FAILURE() << "converted";
    } catch (const ConversionError& error) {
      EXPECT_EQ(std::string(error.what()), c.message);
    }
  }
}

// G codes the shop names as leaving the path alone pass like G64; codes
// with a meaning of their own stay as they are.
TEST(SourceConstructsTest, NeutralCodesOfTheShopPass) {
  struct Case {
    const char* name;
    const char* eneutral;
    Lines source;
    std::string error;  // empty: converts to one line
  };
  const Case cases[] = {
      {"listed codes pass", "G61.1 g187", {"G61.1 G1 X10 Y0", "G187"}, ""},
      {"G61.1 is not G61.2", "G61.1", {"G61.2 G1 X10 Y0"}, Cp1252("Zeile 1: G61.2 wird nicht "
                                                                  "unterstützt")},
      {"unlisted codes stay refused", "G187", {"G1 X10 Y0", "G188"},
       Cp1252("Zeile 2: G188 wird nicht unterstützt")},
      {"a code with a meaning stays refused", "G41", {"G41 G1 X10 Y0"},
       Cp1252("Zeile 1: Werkzeugradiuskorrektur G41 wird nicht unterstützt")},
      {"from a word that is no G code on, nothing counts", "G187 M5 G188", {"G188 G1 X10 Y0"},
       Cp1252("Zeile 1: G188 wird nicht unterstützt")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConversionSettings settings = ExampleSettings();
    settings.eneutral = c.eneutral;
    try {
      EXPECT_EQ(Convert(settings, c.source, 100), Lines{"G01 Z10.000 C0.000 M15"});
      EXPECT_EQ(c.error, "");
    } catch (const ConversionError& error) {
      EXPECT_EQ(error.what(), c.error);
    }
  }
}

TEST(SourceConstructsTest, WarnsWithLineAndText) {
  struct Case {
    const char* name;
    Lines source;
    Warnings want;
  };
  const std::string inch = "Programm in Zoll: Durchmesser in Zoll angeben";
  const std::string rapid = "Eilgang dreht die Rundachse bei Z unter 0 (Werkzeug im Material)";
  const Case cases[] = {
      {"inch program, once", {"G20", "G1 X1 Y0", "G20"}, {{1, inch}}},
      {"metric program", {"G21", "G1 X1 Y0"}, {}},
      {"radius too short", {"G1 X0 Y0", "G2 X20 Y0 R5"},
       {{2, Cp1252("Radius R zu kurz für den Abstand von Start- und Endpunkt: als Halbkreis "
                   "gewandelt")}}},
      {"radius short within the tolerance", {"G1 X0 Y0", "G2 X20 Y0 R9.999"}, {}},
      {"R and I/J in one block", {"G1 X10 Y0", "G2 X0 Y-10 R10 I-10 J0"},
       {{2, "R und I/J im selben Satz: R gilt, I und J werden nicht beachtet"}}},
      {"rapid turns in the material", {"G0 X0 Y0", "G1 Z-1", "G0 X2", "G0 Y5"}, {{4, rapid}}},
      {"rapid plunges while turning", {"G0 X0 Y0", "G0 Y5 Z-1"}, {{2, rapid}}},
      {"rapid turns above the part", {"G1 X0 Y0 Z-1", "G0 Z5", "G0 Y5"}, {}},
      {"feed turns in the material", {"G1 X0 Y0 Z-1", "G1 Y5"}, {}},
      {"machine positions at the end", {"G20", "G1 X0 Y0", "G28 Z0", "G53 X0", "M30"},
       {{1, inch}, {3, "G28 (Maschinenposition) weggelassen"},
        {4, "G53 (Maschinenposition) weggelassen"}}},
      {"machine position before the first move", {"G91 G28 Z0.", "G90", "G1 X0 Y0"},
       {{1, "G28 (Maschinenposition) weggelassen"}}},
      {"moves after the end, the first named", {"G1 X0 Y0", "M30", "G0 X5", "G0 X6"},
       {{3, "Bewegung nach dem Programmende (Zeile 2) wird nicht gewandelt"}}},
      {"nothing but a tape mark after the end", {"G1 X0 Y0", "M30", "%"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Warnings got;
    Convert(ExampleSettings(), c.source, kDegreeDiameter, &got);
    EXPECT_EQ(got, c.want);
  }
}

TEST(SourceConstructsTest, KeepsTheFirstThousandWarnings) {
  Lines source = {"G1 X0 Y0 Z-1"};
  for (int i = 1; i <= 1500; ++i) source.push_back("G0 Y" + std::to_string(i));
  Warnings got;
  Convert(ExampleSettings(), source, kDegreeDiameter, &got);
  ASSERT_EQ(got.size(), Conversion::kMaxWarnings + 1);
  EXPECT_EQ(got[999].line, 1001u);
  EXPECT_EQ(got.back(), (ConversionWarning{1002, "und 500 weitere Warnungen ab dieser Zeile"}));
}

}  // namespace
}  // namespace torvane
