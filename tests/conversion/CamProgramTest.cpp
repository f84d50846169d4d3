// SPDX-License-Identifier: GPL-3.0-or-later
// What CAM programs hold beyond plain moves: drilling cycles, arcs in G18
// and G19, coordinate shifts and retracts between operations. Expected
// moves are worked out by hand; with the diameter 360/pi the angle is
// 360 - Y and the radial word D + Z is 114.592 + Z.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "TestSettings.h"
#include "conversion/Conversion.h"
#include "text/Windows1252.h"

namespace torvane {
namespace {

using Lines = std::vector<std::string>;
using testing::ExampleSettings;
using testing::ExpectConversions;
using testing::kDegreeDiameter;
using testing::Keep;

Lines Convert(const ConversionSettings& settings, const Lines& source,
              std::vector<ConversionWarning>* warnings = nullptr) {
  Conversion conversion(settings);
  Lines target;
  conversion.RunConversion(kDegreeDiameter, source, {}, {}, target);
  if (warnings) *warnings = conversion.Warnings();
  return target;
}

void QuarterSteps(ConversionSettings& s) { s.deg = 90; }
void SafeAt150(ConversionSettings& s) { s.esafe = 150; }

// A cycle writes exactly what the same holes written out as G0/G1 moves
// write (the back-off epeck is 0.5).
TEST(CamProgramTest, CyclesAreTheirMovesWrittenOut) {
  struct Case {
    const char* name;
    Lines cycle;
    Lines byHand;
  };
  const Case cases[] = {
      {"G81 G98, R below the start",
       {"G0 X0 Y0 Z5", "G98 G81 X10 Z-3 R2 F100", "X20", "G80"},
       {"G0 X0 Y0 Z5", "X10", "Z2", "G1 Z-3", "G0 Z5", "X20", "Z2", "G1 Z-3", "G0 Z5"}},
      {"G81 G99 stays at R",
       {"G0 X0 Y0 Z5", "G99 G81 X10 Z-3 R2", "X20"},
       {"G0 X0 Y0 Z5", "X10", "Z2", "G1 Z-3", "G0 Z2", "X20", "G1 Z-3", "G0 Z2"}},
      {"R above the start: up to R first, G98 leaves at R",
       {"G0 X0 Y0 Z1", "G98 G81 X10 Z-3 R2", "X20"},
       {"G0 X0 Y0 Z1", "Z2", "X10", "G1 Z-3", "G0 Z2", "X20", "G1 Z-3", "G0 Z2"}},
      {"G82: the dwell P moves nothing", {"G0 X0 Y0 Z5", "G82 X10 Z-3 R2 P500"},
       {"G0 X0 Y0 Z5", "X10", "Z2", "G1 Z-3", "G0 Z5"}},
      {"G85 feeds out to R, then to the initial level", {"G0 X0 Y0 Z5", "G85 X10 Z-3 R2"},
       {"G0 X0 Y0 Z5", "X10", "Z2", "G1 Z-3", "Z2", "G0 Z5"}},
      {"G89 G99", {"G0 X0 Y0 Z5", "G99 G89 X10 Z-3 R2 P200"},
       {"G0 X0 Y0 Z5", "X10", "Z2", "G1 Z-3", "Z2"}},
      {"G73 backs off after each peck",
       {"G0 X0 Y0 Z5", "G99 G73 X10 Z-3 R2 Q2"},
       {"G0 X0 Y0 Z5", "X10", "Z2", "G1 Z0", "G0 Z0.5", "G1 Z-2", "G0 Z-1.5", "G1 Z-3",
        "G0 Z2"}},
      {"G83 goes out to R and back to just above the depth",
       {"G0 X0 Y0 Z5", "G98 G83 X10 Z-3 R2 Q2"},
       {"G0 X0 Y0 Z5", "X10", "Z2", "G1 Z0", "G0 Z2", "Z0.5", "G1 Z-2", "G0 Z2", "Z-1.5",
        "G1 Z-3", "G0 Z5"}},
      {"G91: R from the initial level, Z from R, L repeats step on",
       {"G0 X0 Y0 Z5", "G91 G98 G81 X10 Y5 Z-5 R-3 L3", "G90"},
       {"G0 X0 Y0 Z5", "X10 Y5", "Z2", "G1 Z-3", "G0 Z5", "X20 Y10", "Z2", "G1 Z-3", "G0 Z5",
        "X30 Y15", "Z2", "G1 Z-3", "G0 Z5"}},
      {"G91 G99 with K", {"G0 X0 Y0 Z5", "G91 G99 G81 X10 Z-5 R-3 K2"},
       {"G0 X0 Y0 Z5", "X10", "Z2", "G1 Z-3", "G0 Z2", "X20", "G1 Z-3", "G0 Z2"}},
      {"G90 L2 drills the same hole twice", {"G0 X0 Y0 Z5", "G81 X10 Z-3 R2 L2"},
       {"G0 X0 Y0 Z5", "X10", "Z2", "G1 Z-3", "G0 Z5", "Z2", "G1 Z-3", "G0 Z5"}},
      {"L0 only keeps the words", {"G0 X0 Y0 Z5", "G81 X10 Z-3 R2 L0", "X20"},
       {"G0 X0 Y0 Z5", "X20", "Z2", "G1 Z-3", "G0 Z5"}},
      {"R, Z and Q hold until a new one", {"G0 X0 Y0 Z5", "G99 G83 X10 Z-3 R2 Q5", "X20 Z-1"},
       {"G0 X0 Y0 Z5", "X10", "Z2", "G1 Z-3", "G0 Z2", "X20", "G1 Z-1", "G0 Z2"}},
      {"G99 before any Z: over the hole where the machine left the tool",
       {"G0 X0 Y0", "G99 G81 X10 Z-3 R2"}, {"G0 X0 Y0", "X10", "Z2", "G1 Z-3", "G0 Z2"}},
      {"G0 ends the cycle", {"G0 X0 Y0 Z5", "G81 X10 Z-3 R2", "G0 X20"},
       {"G0 X0 Y0 Z5", "X10", "Z2", "G1 Z-3", "G0 Z5", "X20"}},
      {"a shift moves the holes", {"G0 X0 Y0 Z5", "G52 X100 Z1", "G81 X10 Z-3 R2"},
       {"G0 X0 Y0 Z5", "X110", "Z3", "G1 Z-2", "G0 Z5"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Lines byHand = Convert(ExampleSettings(), c.byHand);
    EXPECT_EQ(Convert(ExampleSettings(), c.cycle), byHand);
  }
}

TEST(CamProgramTest, ArcsInTheOtherPlanes) {
  // G18 seen from +Y has Z to the right and X up; G19 seen from +X has Y
  // to the right and Z up. 90-degree steps: one point halfway.
  const Lines g18Start = {"G18 G1 X10 Y0 Z0"};
  const std::string g18First = "G01 Z10.000 X114.592 C0.000 M15";
  const std::string g19First = "G01 Z0.000 X114.592 C0.000 M15";
  ExpectConversions({
      {"G18 clockwise by R, over Z 10", QuarterSteps, kDegreeDiameter,
       {"G18 G1 X10 Y0 Z0", "G2 X-10 Z0 R10"},
       {g18First, "G01 Z0.000 X124.592", "G01 Z-10.000 X114.592"}},
      {"G18 counter-clockwise by R, over Z -10", QuarterSteps, kDegreeDiameter,
       {"G18 G1 X10 Y0 Z0", "G3 X-10 Z0 R10"},
       {g18First, "G01 Z0.000 X104.592", "G01 Z-10.000 X114.592"}},
      {"G18 by centre I, K", QuarterSteps, kDegreeDiameter,
       {"G18 G1 X10 Y0 Z0", "G2 X-10 Z0 I-10 K0"},
       {g18First, "G01 Z0.000 X124.592", "G01 Z-10.000 X114.592"}},
      {"G18 helix along Y turns the axis in proportion", QuarterSteps, kDegreeDiameter,
       {"G18 G1 X10 Y0 Z0", "G2 X-10 Y-20 Z0 R10"},
       {g18First, "G01 Z0.000 X124.592 C370.000", "G01 Z-10.000 X114.592 C380.000"}},
      {"G19 clockwise by R: turns and goes out at once", QuarterSteps, kDegreeDiameter,
       {"G19 G1 X0 Y0 Z0", "G2 Y20 Z0 R10"},
       {g19First, "G01 Z0.000 X124.592 C350.000 M16", "G01 Z0.000 X114.592 C340.000"}},
      {"G19 counter-clockwise by R", QuarterSteps, kDegreeDiameter,
       {"G19 G1 X0 Y0 Z0", "G3 Y20 Z0 R10"},
       {g19First, "G01 Z0.000 X104.592 C350.000 M16", "G01 Z0.000 X114.592 C340.000"}},
      {"G19 by centre J, K", QuarterSteps, kDegreeDiameter,
       {"G19 G1 X0 Y0 Z0", "G2 Y20 Z0 J10 K0"},
       {g19First, "G01 Z0.000 X124.592 C350.000 M16", "G01 Z0.000 X114.592 C340.000"}},
  });
}

TEST(CamProgramTest, ShiftsMoveTheFollowingCoordinates) {
  const std::string first = "G00 Z10.000 X119.592 C0.000 M15";
  ExpectConversions({
      {"G92 in G90", Keep, kDegreeDiameter, {"G0 X10 Y0 Z5", "G92 X0 Y0", "G1 X5 Y5"},
       {first, "G01 Z15.000 C355.000 M16"}},
      {"G92: increments in G91 stay", Keep, kDegreeDiameter,
       {"G0 X10 Y0 Z5", "G92 X0", "G91 G1 X5", "G90 X0"},
       {first, "G01 Z15.000", "G01 Z10.000"}},
      {"G92 Z sets the depth", Keep, kDegreeDiameter, {"G0 X10 Y0 Z5", "G92 Z0", "G1 Z-1"},
       {first, "G01 X118.592"}},
      {"G92.1 cancels", Keep, kDegreeDiameter, {"G0 X10 Y0 Z5", "G92 X0", "G92.1", "G1 X5"},
       {first, "G01 Z5.000"}},
      {"G92.2 suspends, G92.3 restores", Keep, kDegreeDiameter,
       {"G0 X10 Y0 Z5", "G92 X0", "G92.2", "G1 X5", "G92.3", "X0"},
       {first, "G01 Z5.000", "G01 Z10.000"}},
      {"G52 replaces the local offset, in G91 too", Keep, kDegreeDiameter,
       {"G0 X10 Y0 Z5", "G52 X20", "G1 X0", "G91 G52 X30", "G90 X0"},
       {first, "G01 Z20.000", "G01 Z30.000"}},
      {"G52 set before the first move counts from there", Keep, kDegreeDiameter,
       {"G52 X20", "G0 X10 Y0 Z5", "G52 X0", "G1 X10"}, {first, "G01 Z-10.000"}},
      {"G10 L20 P0: the tool's place reads the given values", Keep, kDegreeDiameter,
       {"G0 X10 Y0 Z5", "G10 L20 P0 X0 Y0", "G1 X5 Y5"}, {first, "G01 Z15.000 C355.000 M16"}},
      {"G10 L20 P1 in G54", Keep, kDegreeDiameter,
       {"G54 G0 X10 Y0 Z5", "G10 L20 P1 X0", "G1 X5"}, {first, "G01 Z15.000"}},
      {"G10 on a system not in use changes nothing now", Keep, kDegreeDiameter,
       {"G0 X10 Y0 Z5", "G10 L20 P2 X0", "G10 L2 P2 X0", "G1 X5"}, {first, "G01 Z5.000"}},
      // The centre (-10, 0) of the program lies at (0, 0): a quarter circle.
      {"an absolute centre is shifted too", QuarterSteps, kDegreeDiameter,
       {"G0 X10 Y0 Z5", "G92 X0", "G90.1 G2 X-10 Y-10 I-10 J0"}, {first, "G01 Z0.000 C370.000"}},
      {"before the first move the frame is set up on the machine", Keep, kDegreeDiameter,
       {"G92 X3 Y3", "G52 X5", "G10 L20 P0 X7", "G0 X10 Y0 Z5"}, {first}},
  });
}

TEST(CamProgramTest, RetractsToTheSafeRadius) {
  const std::string first = "G00 Z10.000 X119.592 C0.000 M15";
  ExpectConversions({
      {"tool change: out, over, back in as the source comes", SafeAt150, kDegreeDiameter,
       {"G0 X10 Y0 Z5", "G1 Z-1", "G91 G28 Z0", "T2 M6", "G90 G0 X20 Y5", "G43 Z5 H2",
        "G1 Z-1"},
       {first, "G01 X113.592", "G00 X150.000", "G00 Z20.000 C355.000 M16", "G00 X119.592",
        "G01 X113.592"}},
      {"G90: by way of the intermediate point", SafeAt150, kDegreeDiameter,
       {"G0 X10 Y0 Z5", "G28 Z20", "G0 X20"},
       {first, "G00 X134.592", "G00 X150.000", "G00 Z20.000"}},
      {"G91: the intermediate point 10 up", SafeAt150, kDegreeDiameter,
       {"G0 X10 Y0 Z5", "G91 G28 Z10", "G90 G0 X20"},
       {first, "G00 X129.592", "G00 X150.000", "G00 Z20.000"}},
      {"G30 alike, at the program's end", SafeAt150, kDegreeDiameter,
       {"G0 X10 Y0 Z5", "G30 Z5", "M30"}, {first, "G00 X150.000"}},
  });
}

TEST(CamProgramTest, RefusesWithLineAndReason) {
  struct Case {
    const char* name;
    Lines source;
    std::string message;
  };
  const std::string cycle = "Zeile 2: Bohrzyklus G81";
  const std::string machine = Cp1252(
      ": die Lage eines Nullpunkts ist Sache der Maschine, nicht des Programms");
  const std::string unknownHeight = Cp1252(
      "nach dem Rückzug G28/G30: es zählt von der Referenzposition der Maschine, die die "
      "Konvertierung nicht kennt");
  const Case cases[] = {
      {"cycle without Z", {"G0 X0 Y0 Z5", "G81 X10 R2"}, cycle + " ohne Z (Bohrtiefe)"},
      {"cycle without R", {"G0 X0 Y0 Z5", "G81 X10 Z-3"}, cycle + Cp1252(" ohne R (Rückzugsebene)")},
      {"bottom above R", {"G0 X0 Y0 Z5", "G81 X10 Z3 R2"},
       cycle + Cp1252(": die Bohrtiefe Z liegt über der R-Ebene")},
      {"peck cycle without Q", {"G0 X0 Y0 Z5", "G73 X10 Z-3 R2"},
       Cp1252("Zeile 2: Bohrzyklus G73 braucht eine Zustelltiefe Q über 0")},
      {"K and L", {"G0 X0 Y0 Z5", "G81 X10 Z-3 R2 K2 L2"},
       cycle + " mit K und L im selben Satz: beide geben die Anzahl der Wiederholungen"},
      {"repeats not whole", {"G0 X0 Y0 Z5", "G81 X10 Z-3 R2 L1.5"},
       cycle + ": die Anzahl der Wiederholungen muss eine ganze Zahl von 0 bis 9999 sein"},
      {"pecks beyond any use", {"G0 X0 Y0 Z5", "G83 X10 Z-10 R2 Q0.001 L100"},
       "Zeile 2: Bohrzyklus G83: mehr als 1000000 Zustellungen in einem Satz"},
      {"G98 before any Z", {"G0 X0 Y0", "G81 X10 Z-3 R2"},
       cycle + Cp1252(" mit G98 vor der ersten Z-Bewegung: die Ausgangsebene, auf die er "
                      "zurückfährt, ist unbekannt")},
      {"cycle in G18", {"G18", "G81 X10 Z-3 R2"},
       cycle + Cp1252(" in der Ebene G18 wird nicht unterstützt: er bohrte entlang X oder Y, "
                      "nicht in die Tiefe")},
      {"boring cycle G86", {"G86 X10 Z-3 R2"}, Cp1252("Zeile 1: Zyklus G86 wird nicht unterstützt")},
      {"a bare move after G80", {"G0 X0 Y0 Z5", "G81 X10 Z-3 R2", "G80", "X20"},
       Cp1252("Zeile 4: Bewegung nach G80 ohne G0, G1, G2 oder G3: die Steuerungen fahren sie "
              "verschieden")},
      {"G92.1 of a G92 before the first move", {"G92 X0", "G0 X10 Y0", "G92.1"},
       Cp1252("Zeile 3: G92.1 nach der ersten Bewegung wird nicht unterstützt: es hebt ein G92 "
              "von vor der ersten Bewegung auf, dessen Maß die Konvertierung nicht kennt")},
      {"G92.3 of a G92 before the first move", {"G92 X0", "G92.2", "G0 X10 Y0", "G92.3"},
       Cp1252("Zeile 4: G92.3 nach der ersten Bewegung wird nicht unterstützt: das gemerkte G92 "
              "stammt von vor der ersten Bewegung, sein Maß kennt die Konvertierung nicht")},
      {"G10 L2 on the system in use", {"G0 X10 Y0", "G10 L2 P0 X0"},
       Cp1252("Zeile 2: G10 L2 auf den Nullpunkt in Gebrauch nach der ersten Bewegung wird "
              "nicht unterstützt") + machine},
      {"another work system", {"G54 G0 X10 Y0", "G55"},
       Cp1252("Zeile 2: Wechsel des Nullpunkts (G55) nach der ersten Bewegung wird nicht "
              "unterstützt") + machine},
      {"G28 naming X", {"G0 X10 Y0", "G28 X0 Z0", "G0 X5"},
       Cp1252("Zeile 2: G28 fährt eine Maschinenposition an, die die Konvertierung nicht kennt, "
              "und danach folgen noch Bewegungen")},
      {"a safe radius below the tool", {"G0 X10 Y0 Z60", "G91 G28 Z0"},
       Cp1252("Zeile 2: Sicherer Rückzug (esafe) X150.000 liegt unter dem Werkzeug: der "
              "Rückzug führte ins Werkstück")},
      {"G91 Z after a retract", {"G0 X10 Y0 Z5", "G91 G28 Z0", "G1 Z-1"},
       Cp1252("Zeile 3: Z im Kettenmaß (G91) ") + unknownHeight},
      {"G92 Z after a retract", {"G0 X10 Y0 Z5", "G91 G28 Z0", "G90 G92 Z0"},
       Cp1252("Zeile 3: G92 mit Z nach dem Rückzug G28/G30 wird nicht unterstützt: das Werkzeug "
              "steht auf der Referenzposition der Maschine, die die Konvertierung nicht kennt")},
      {"G91 cycle before any Z", {"G0 X0 Y0", "G91 G99 G81 X10 Z-3 R-2"},
       cycle + Cp1252(" im Kettenmaß (G91) vor der ersten Z-Bewegung: R zählte von einer "
                      "Ausgangsebene, die die Konvertierung nicht kennt")},
      {"G91 cycle after a retract", {"G0 X10 Y0 Z5", "G91 G28 Z0", "G81 X10 Z-3 R-2"},
       Cp1252("Zeile 3: Bohrzyklus G81 im Kettenmaß (G91) nach dem Rückzug G28/G30: R zählte "
              "von der Referenzposition der Maschine, die die Konvertierung nicht kennt")},
  };
  ConversionSettings settings = ExampleSettings();
  SafeAt150(settings);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      Convert(settings, c.source);
      ADD_FAILURE() << "converted";
    } catch (const ConversionError& error) {
      EXPECT_EQ(std::string(error.what()), c.message);
    }
  }
}

TEST(CamProgramTest, NotesTheFrameBeforeTheFirstMove) {
  struct Case {
    const char* name;
    Lines source;
    std::vector<ConversionWarning> want;
  };
  const std::string note =
      " vor der ersten Bewegung: das Programm gilt ab dem Nullpunkt, der an der Maschine "
      "eingerichtet wird";
  const Case cases[] = {
      {"G92", {"G92 X0 Y0", "G0 X1 Y0"}, {{1, "G92" + note}}},
      {"G10 L2", {"G10 L2 P1 X0", "G0 X1 Y0"}, {{1, "G10 L2" + note}}},
      {"G55 with the first move", {"G55 G0 X1 Y0"}, {{1, "G55" + note}}},
      {"G54, the usual system, again and again", {"G54 G0 X1 Y0", "G54"}, {}},
      {"R and I/K in G18", {"G18 G1 X10 Y0 Z0", "G2 X-10 Z0 R10 I-10"},
       {{2, "R und I/K im selben Satz: R gilt, I und K werden nicht beachtet"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<ConversionWarning> got;
    Convert(ExampleSettings(), c.source, &got);
    EXPECT_EQ(got, c.want);
  }
}

}  // namespace
}  // namespace torvane
