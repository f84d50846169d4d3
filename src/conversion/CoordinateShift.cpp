// SPDX-License-Identifier: GPL-3.0-or-later
// Coordinate shifts (G92, G52, G10 L20) and work systems (G54 to G59.3).
// The output keeps the frame the program stands in at its first move: a
// shift after it moves the program's zero within that frame, so the tool
// path stays where the source puts it. Before it, a shift only sets up the
// frame that is zeroed on the machine anyway.

#include <string>

#include "conversion/Conversion.h"
#include "conversion/FloatError.h"
#include "text/Windows1252.h"

namespace torvane {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

const char* const kFrameOfTheMachine =
    ": die Lage eines Nullpunkts ist Sache der Maschine, nicht des Programms";

std::string WorkSystemName(int system, long double p) {
  if (system <= 6) return "G" + std::to_string(53 + system);
  if (system <= 9) return "G59." + std::to_string(system - 6);
  return "G54.1 P" + std::to_string(static_cast<long long>(p));
}

}  // namespace

void Conversion::SelectWorkSystem(std::string_view code, const BlockWords& words) {
  long double p = 0;
  if (words.workSystem == 10 && words.at[kP] != kNone) p = ReadWord(code, words, kP);
  const long double system = words.workSystem == 10 ? 100 + p : words.workSystem;
  if (system == workSystem_) return;
  const std::string name = WorkSystemName(words.workSystem, p);
  if (moved_) {
    Refuse("Wechsel des Nullpunkts (" + name +
           Cp1252(") nach der ersten Bewegung wird nicht unterstützt") + kFrameOfTheMachine);
  }
  Warn(name + " vor der ersten Bewegung: das Programm gilt ab dem Nullpunkt, der an der "
              "Maschine eingerichtet wird");
  workSystem_ = system;
}

void Conversion::ApplyShift(std::string_view code, const BlockWords& words) {
  static constexpr Word kAxes[3] = {kX, kY, kZ};
  bool named[3];
  long double value[3] = {0, 0, 0};
  for (int k = 0; k < 3; ++k) {
    named[k] = words.at[kAxes[k]] != kNone;
    if (named[k]) value[k] = ReadWord(code, words, kAxes[k]);
  }
  std::string name;
  switch (words.shift) {
    case Shift::G92: name = "G92"; break;
    case Shift::G92Cancel: name = "G92.1"; break;
    case Shift::G92Suspend: name = "G92.2"; break;
    case Shift::G92Restore: name = "G92.3"; break;
    case Shift::G52: name = "G52"; break;
    default: name = "G10"; break;
  }
  // G10 L20 sets the system it names so that the tool stands at the given
  // place, L2 sets it in machine coordinates; P0 is the system in use.
  long double l = -1;
  bool systemInUse = true;
  if (words.shift == Shift::G10) {
    if (words.at[kL] != kNone) l = ReadWord(code, words, kL);
    if (l != 2 && l != 20) Refuse(Cp1252("Dateneingabe G10 wird nicht unterstützt"));
    name += l == 2 ? " L2" : " L20";
    const long double p = words.at[kP] != kNone ? ReadWord(code, words, kP) : 0;
    systemInUse = p == 0 || p == workSystem_;
  }
  if (!moved_) {
    // Where the tool stands before the first move is the machine's, so
    // a G92 there has an offset no one knows, and so has going back.
    if (words.shift == Shift::G92) {
      g92ZeroKnown_ = false;
      g92KeptKnown_ = false;
    } else if (words.shift == Shift::G92Cancel) {
      g92ZeroKnown_ = true;
      g92KeptKnown_ = true;
    } else if (words.shift == Shift::G92Suspend) {
      g92ZeroKnown_ = true;
    } else if (words.shift == Shift::G92Restore) {
      g92ZeroKnown_ = g92KeptKnown_;
    } else if (words.shift == Shift::G52) {
      for (int k = 0; k < 3; ++k)
        if (named[k]) localShift_[k] = value[k];
    }
    Warn(name + " vor der ersten Bewegung: das Programm gilt ab dem Nullpunkt, der an der "
                "Maschine eingerichtet wird");
    return;
  }
  const long double current[3] = {state_.currentX, state_.currentY, state_.currentZ};
  if (named[2] && depthUnknown_ && (words.shift == Shift::G92 || words.shift == Shift::G10)) {
    Refuse(name + Cp1252(" mit Z nach dem Rückzug G28/G30 wird nicht unterstützt: das Werkzeug "
                         "steht auf der Referenzposition der Maschine, die die Konvertierung "
                         "nicht kennt"));
  }
  switch (words.shift) {
    case Shift::G92:
      // The tool's place reads the given values from here on.
      for (int k = 0; k < 3; ++k) {
        if (!named[k]) continue;
        const long double shift = CheckReal(current[k] - value[k]);
        g92_[k] = CheckReal(g92_[k] + shift - shift_[k]);
        shift_[k] = shift;
      }
      for (int k = 0; k < 3; ++k) g92Kept_[k] = g92_[k];
      g92KeptKnown_ = true;
      return;
    case Shift::G92Cancel:
    case Shift::G92Suspend:
      if (!g92ZeroKnown_) {
        Refuse(name + Cp1252(" nach der ersten Bewegung wird nicht unterstützt: es hebt ein G92 "
                             "von vor der ersten Bewegung auf, dessen Maß die Konvertierung "
                             "nicht kennt"));
      }
      for (int k = 0; k < 3; ++k) {
        shift_[k] = CheckReal(shift_[k] - g92_[k]);
        g92_[k] = 0;
        if (words.shift == Shift::G92Cancel) g92Kept_[k] = 0;
      }
      if (words.shift == Shift::G92Cancel) g92KeptKnown_ = true;
      return;
    case Shift::G92Restore:
      if (!g92KeptKnown_) {
        Refuse(name + Cp1252(" nach der ersten Bewegung wird nicht unterstützt: das gemerkte G92 "
                             "stammt von vor der ersten Bewegung, sein Maß kennt die "
                             "Konvertierung nicht"));
      }
      for (int k = 0; k < 3; ++k) {
        shift_[k] = CheckReal(shift_[k] + g92Kept_[k] - g92_[k]);
        g92_[k] = g92Kept_[k];
      }
      return;
    case Shift::G52:
      // The local zero is given as an offset and replaces the one before,
      // in G91 as well.
      for (int k = 0; k < 3; ++k) {
        if (!named[k]) continue;
        shift_[k] = CheckReal(shift_[k] + value[k] - localShift_[k]);
        localShift_[k] = value[k];
      }
      return;
    default:
      // A system not in use changes nothing now; switching to it later is
      // refused.
      if (!systemInUse) return;
      if (l == 2) {
        Refuse(name + Cp1252(" auf den Nullpunkt in Gebrauch nach der ersten Bewegung wird nicht "
                             "unterstützt") + kFrameOfTheMachine);
      }
      for (int k = 0; k < 3; ++k)
        if (named[k]) shift_[k] = CheckReal(current[k] - value[k]);
      return;
  }
}

}  // namespace torvane
