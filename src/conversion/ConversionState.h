// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "conversion/NCFormat.h"

namespace torvane {

// In the order of G0 to G3, whose numbers they are.
enum class MotionMode { Rapid, Feed, Clockwise, CounterClockwise };
enum class Plane { XY, ZX, YZ };  // G17, G18, G19

// The conversion's modal state between blocks. Every run resets it, the
// rotation-direction flags included, so that a run never depends on the one
// before it.
struct ConversionState {
  MotionMode motion = MotionMode::Rapid;
  long double currentX = 0, currentY = 0, currentZ = 0, currentR = 0;
  long double previousX = 0, previousY = 0;
  long double diameter = 0;
  long double circumference = 0;
  // -1 and 9999999 make the first angle of a run always count as new.
  // The angles are those before a modulo axis writes 360 as 0: the
  // direction words and the size of a turn are measured on them.
  long double currentAngle = -1;
  long double previousAngle = -1;
  long double lastAngleY = 9999999;
  bool angleChanged = false;
  // No angle written yet in this run: the first one always counts as new,
  // whatever value it has.
  bool angleKnown = false;
  bool positiveInForce = false;
  bool negativeInForce = false;
  // G91: X, Y and Z words are increments; G91.1 (the default): I and J are
  // offsets from the arc's start, G90.1: absolute.
  bool incremental = false;
  bool centreAbsolute = false;
  Plane plane = Plane::XY;
  // An R word has been read in this run (R is modal; an arc before any R
  // and without I/J has no radius at all).
  bool radiusGiven = false;
  // The source's modal feed rate (F), and the one the output last carried.
  bool feedKnown = false;
  long double feed = 0;
  bool feedWritten = false;
  long double writtenFeed = 0;
  // Where the written program leaves the tool, in source coordinates: the
  // start of the next move, for the lengths of inverse-time feeds (kept in
  // that dialect only). A word the output does not write does not move it.
  long double toolX = 0, toolY = 0, toolZ = 0;
};

// The published settings that shape the output, named by their keys in
// main.ini. `format` is the number format and carries the block-numbering
// letter, step and start.
struct ConversionSettings {
  std::string eg0, eg1, eg2, eg3;  // rapid, feed, clockwise and counter-clockwise arc codes
  std::string axis;                // rotary-axis letter "A", "B" or "C"
  std::string edp, edn;            // positive and negative rotation words
  std::string erad;                // radius letter of machine-specific arcs
  std::int32_t deg = 0;            // angle step of linearised arcs, degrees
  std::uint8_t type = 0;           // 1 linearise arcs, 2 machine arcs, else no arc output
  bool enum_ = false;              // key "enum": block numbering on
  TNCFormat format;

  // Machine dialect. The defaults are the output the program has always
  // written: no F words, angles modulo 360 with direction words, arcs
  // stepped by `deg` alone.
  std::int32_t efeed = 0;   // 0 no F words, 1 F as programmed, 2 inverse time
  std::int32_t erot = 0;    // 0 modulo angles with direction words, 1 continuous
  bool einv = false;        // rotary axis turns the other way: Y reads as -Y
  long double etol = 0;     // largest chord deviation of stepped arcs, source units; 0 off
  std::string eg93 = "G93"; // switches inverse-time feed on
  std::string eg94 = "G94"; // and back to feed per minute
  // Further G codes of the shop's control that leave the tool path alone,
  // blank-separated ("G61.1 G187"); passed over like G64. Codes with a
  // meaning of their own are not affected.
  std::string eneutral;
  // Inverse time on a turning move: 0 lengths on the cylinder of the
  // diameter, 1 the turning part measured at the tool tip's radius
  // D / 2 + Z, where the tool cuts (a deep groove otherwise runs too fast
  // at its bottom).
  std::int32_t efrad = 0;
  // Largest F written in inverse time, 0 no limit: a control would alarm
  // or clamp silently above its own.
  long double efmax = 0;
  // Continuous axis: a line after the last converted one that sets the
  // axis back into one turn without moving it; "{C}" stands for the final
  // angle reduced into [0, 360). Empty: none.
  std::string eunw;
  // Continuous axis: warn when the angles span more than this many turns;
  // 0 off.
  long double ewind = 0;
  // Modulo axis: every written angle reduced into [0, 360), for controls
  // that refuse others; the direction words stay those of the true turn.
  bool ereduce = false;
  // Drilling cycles: how far G73 backs off after a peck, and G83 stops
  // above the depth it reached, in program units (a machine parameter).
  long double epeck = 0.5L;
  // The radial position (output X) of a safe retract; G28/G30 naming only
  // Z between operations retract there. Unset: they stay refused.
  std::optional<long double> esafe;
};

}  // namespace torvane
