// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace torvane {

// One move of the source as the conversion understood it, in the flat
// frame of the source: x along the cylinder, y along the circumference,
// z the depth. A check of the result lays the machine's moves over these;
// doubles are ample for that and make a million moves half as heavy.
struct SourceMove {
  enum class Kind : unsigned char { Rapid, Feed, Arc };
  std::size_t line = 0;  // 1-based source line
  Kind kind = Kind::Rapid;
  bool clockwise = false;
  bool inches = false;  // the program named inches (G20) by then
  double x1 = 0, y1 = 0, z1 = 0;  // start
  double x2 = 0, y2 = 0, z2 = 0;  // end
  // Arcs: centre, radius, start angle and sweep (degrees, 0 to 360, the
  // way `clockwise` says); the depth climbs from z1 to z2 in proportion.
  double cx = 0, cy = 0, radius = 0, start = 0, sweep = 0;
  // How far the lines that step the arc may leave it between their ends:
  // the sagitta of the longest step (0 for a machine arc).
  double chordError = 0;
};

// Takes the source path move by move, in order, while the conversion runs.
class SourcePathRecorder {
 public:
  virtual ~SourcePathRecorder() = default;
  virtual void Record(const SourceMove& move) = 0;
};

}  // namespace torvane
