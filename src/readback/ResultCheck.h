// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/ConversionState.h"
#include "conversion/LineSink.h"
#include "conversion/SourcePath.h"
#include "readback/PathGeometry.h"
#include "readback/TargetReader.h"

namespace torvane {

class Conversion;

// A first-in, first-out line of values in one vector whose room is reused:
// a deque would ask for memory every few of these.
template <typename T>
class Fifo {
 public:
  bool empty() const { return head_ == items_.size(); }
  std::size_t size() const { return items_.size() - head_; }
  T& front() { return items_[head_]; }
  T& operator[](std::size_t i) { return items_[head_ + i]; }
  const T& operator[](std::size_t i) const { return items_[head_ + i]; }
  auto begin() const { return items_.begin() + static_cast<std::ptrdiff_t>(head_); }
  auto end() const { return items_.end(); }
  void push_back(T value) { items_.push_back(std::move(value)); }
  void pop_front() {
    if (++head_ == items_.size()) {
      items_.clear();
      head_ = 0;
    } else if (head_ >= 4096 && head_ * 2 >= items_.size()) {
      // The taken half out at once: each value moves once on average.
      items_.erase(items_.begin(), items_.begin() + static_cast<std::ptrdiff_t>(head_));
      head_ = 0;
    }
  }

 private:
  std::vector<T> items_;
  std::size_t head_ = 0;
};

// What a check found. Messages are German, Windows-1252.
struct CheckOutcome {
  bool passed = false;
  // The largest distance of a written position from the source path, and
  // the result line where it occurs (0 when the result has no move).
  long double largestDeviation = 0;
  std::size_t largestDeviationLine = 0;
  // A failed check: the first result line that is off (0 when the result
  // ended too early), the source line it belongs to and the distance.
  std::size_t resultLine = 0;
  std::size_t sourceLine = 0;
  long double distance = 0;
  std::string message;
  // "mm", or "Zoll" for an inch program.
  std::string unit = "mm";

  // One line for the user: the largest deviation (and where, when
  // `withLine`), or what failed.
  std::string Summary(bool withLine = true) const;
};

// Replays a converted program as the machine runs it and lays it over the
// source path: every written position must lie on the path, in order, every
// source move's end must be reached, rapids stay rapids and feeds feeds, and
// the lines that step an arc leave it by no more than their chord error.
//
// The source path comes through Record (the conversion calls it), the
// result through Read or from a source of lines that the check pulls from
// as it needs them; either may run ahead of the other.
class ResultCheck : public SourcePathRecorder {
 public:
  // `tolerance` 0 or less: the rounding of the number format, half a step
  // of a length and of an angle at the diameter, in each axis.
  ResultCheck(const ConversionSettings& settings, long double diameter,
              std::vector<std::string> header, std::vector<std::string> footer,
              long double tolerance = 0);

  // Empty when the settings can be read back; otherwise why not.
  const std::string& Unreadable() const { return reader_.Unreadable(); }
  long double Tolerance() const { return tolerance_; }

  // Result lines pulled on demand as the source path comes in; without
  // one, every line must come through Read.
  void PullResultFrom(LineSource* result) { pull_ = result; }

  void Record(const SourceMove& move) override;
  void Read(std::string_view line);
  // Both sides are complete: the verdict.
  CheckOutcome Finish();
  bool Failed() const { return failed_; }

 private:
  struct Point {
    double x = 0, y = 0, z = 0;
  };
  struct Segment {
    std::size_t line = 0;
    SourceMove::Kind kind = SourceMove::Kind::Rapid;
    bool clockwise = false;
    Point a, b;
    double cx = 0, cy = 0, r = 0, start = 0, sweep = 0;  // radians
    double chordError = 0;
    double length = 0;
  };
  struct Place {
    double t = 0;
    double distance = 0;
  };

  // A result line in order: a move, or a line the reader could not read.
  struct Entry {
    std::size_t line = 0;
    bool isMove = false;
    Move move;
    bool axisWord = false;
    std::string text;
  };

  static Point At(const Segment& s, double t);
  // The nearest point of `s` to `p` at parameter `tMin` or later.
  static Place Locate(const Segment& s, const Point& p, double tMin);
  const Segment& Seg(std::size_t index) const { return segments_[index - dropped_]; }
  std::size_t SegmentEnd() const { return dropped_ + segments_.size(); }

  void TakeLine(std::string_view line);
  void FeedReader(std::string_view line, std::string_view shown);
  // Lays the pending result lines on the path; stops at a move whose place
  // on the path has not come in yet, unless the source is complete.
  void Advance(bool sourceComplete);
  bool TryMove(const Move& move, bool sourceComplete);
  Point ToSource(const FlatPoint& p) const;
  // Between its ends: the ends of the path it passes, rapid or feed, and
  // how far it leaves an arc of the source.
  void CheckInterior(const Move& move, const FlatPoint& replayFrom, const FlatPoint& replayTo,
                     const Point& from, const Point& to, std::size_t last, double tLast);
  // A line between two points of an arc of the source, in the middle.
  void CheckChord(const Move& move, const Segment& s, const Point& from, const Point& to,
                  double t0, double t1);
  void OffTheArc(const Move& move, const Segment& s, double off);
  // Rapids stay rapids and feeds feeds; false after failing.
  bool CheckKind(const Move& move, const Segment& s);
  void Fail(std::size_t resultLine, std::size_t sourceLine, double distance,
            std::string message);
  std::string Length(double value) const;

  ConversionSettings settings_;
  TargetReader reader_;
  Unwrapper unwrapper_;
  std::vector<std::string> header_;
  std::vector<std::string> footer_;
  double tolerance_ = 0;
  double lengthStep_ = 0;
  // -1 where the axis turns the other way and mirrors the flat.
  double sign_ = 1;
  LineSource* pull_ = nullptr;
  bool resultComplete_ = false;

  std::size_t lineCount_ = 0;
  bool headerIntact_ = true;
  // The last lines, held back until the end shows whether they are the
  // footer: a ring, oldest at `heldFirst_`.
  std::vector<std::string> heldBack_;
  std::size_t heldFirst_ = 0;
  Fifo<Entry> pending_;
  bool movesRead_ = false;

  // The source path from the cursor on.
  Fifo<Segment> segments_;
  std::size_t dropped_ = 0;
  std::size_t cursor_ = 0;
  double cursorT_ = 0;
  // How far the search for the pending move's place got.
  std::size_t searchedUpTo_ = 0;

  // The replay: the last position in its own frame and in the source's.
  bool started_ = false;
  FlatPoint replay_;
  Point position_;
  // A modulo axis's first turn is taken as it comes: where it stood before
  // the program is unknown, so the flat is known only up to whole turns
  // until the first angle.
  bool offsetKnown_ = false;
  double offset_ = 0;

  bool failed_ = false;
  CheckOutcome outcome_;
};

// Converts `source` with `conversion`'s settings and checks `result`
// against it while it runs, in flat memory. A ConversionError of the
// source passes through.
CheckOutcome CheckConversion(Conversion& conversion, ResultCheck& check, long double diameter,
                             LineSource& source, LineSource& result);

}  // namespace torvane
