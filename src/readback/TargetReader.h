// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/ConversionState.h"

namespace torvane {

// What one line of a converted program makes the machine do.
enum class MoveKind { Rapid, Feed, ArcClockwise, ArcCounterClockwise };

// One move as the machine reads it, every axis with its modal value filled
// in. Lengths in the program's units, the angle in degrees as written (it
// may lie outside 0 to 360: the converter does not reduce it).
struct Move {
  MoveKind kind = MoveKind::Rapid;
  long double axial = 0;   // Z, along the cylinder
  long double angle = 0;   // the rotary axis
  long double radial = 0;  // X, diameter plus depth
  long double radius = 0;  // machine arcs: the radius word, sign kept; else 0
  long double feed = 0;    // the last F word read, 0 while there was none
  std::size_t line = 0;    // 1-based line of the converted program
  // The direction word in force: +1 the positive one (the angle rises), -1
  // the negative one, 0 none yet.
  int direction = 0;
  // An angle has been written, here or before: where the axis stands is
  // known from then on.
  bool angleWritten = false;

  bool operator==(const Move&) const = default;
};

struct ReadBack {
  std::vector<Move> moves;
  // 1-based lines that are neither empty nor a line the converter writes:
  // header, footer, anything typed by hand. They are never guessed at.
  std::vector<std::size_t> unreadLines;
  std::size_t lineCount = 0;
};

// Reads a converted program back into moves, with the settings that wrote
// it: the codes, letters and words, the block numbers and the number format.
// The position before the first move is the one the converter starts from
// (Z 0, angle 0, radial = diameter): the lines of a run are measured from it.
class TargetReader {
 public:
  TargetReader(const ConversionSettings& settings, long double diameter);

  // Empty when the settings can be read back; otherwise why not (German,
  // Windows-1252). A reader that cannot read reports every line unread.
  const std::string& Unreadable() const { return unreadable_; }

  // One line after the other; `Take` hands over what was read.
  void Read(std::string_view line);
  ReadBack Take();
  // What the lines so far gave, for a caller that streams and takes the
  // moves and unread lines out as it uses them.
  std::vector<Move>& Moves() { return result_.moves; }
  std::vector<std::size_t>& UnreadLines() { return result_.unreadLines; }

  // The finest step in which the format writes lengths, and angles (which
  // the converter also rounds to thousandths of a degree).
  long double LengthStep() const;
  long double AngleStep() const;

 private:
  struct Code {
    std::string text;
    MoveKind kind;
  };
  enum Slot { kAxial, kRadial, kAngle, kRadius, kFeed, kSlots };
  struct Word {
    std::string letter;
    Slot slot;
  };
  bool ReadLine(std::string_view line);

  ConversionSettings settings_;
  std::string unreadable_;
  std::vector<Code> codes_;  // longest first
  std::vector<Word> words_;  // longest first
  long double scale_ = 1;    // implied decimals: 10^-Nachkomma
  Move position_;
  ReadBack result_;
};

// The whole program at once.
ReadBack ReadTarget(const ConversionSettings& settings, long double diameter,
                    const std::vector<std::string>& lines);

}  // namespace torvane
