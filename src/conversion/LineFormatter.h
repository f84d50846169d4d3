// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "conversion/ConversionState.h"
#include "conversion/LinePieces.h"
#include "conversion/LineSink.h"

namespace torvane {

// A generated line as the conversion decided it, before it is text: the
// motion code, and which words it carries with their values (already
// checked), in the order they are written.
struct OutputLine {
  enum class Code : std::uint8_t { Text, Rapid, Feed, Clockwise, CounterClockwise };
  enum Word : std::uint8_t {
    kAxial = 1,     // " Z" source X
    kRadial = 2,    // " X" diameter plus depth
    kAngle = 4,     // the axis letter and the angle in whole thousandths
    kRadius = 8,    // the radius word of a machine arc
    kPositive = 16, // the direction words
    kNegative = 32,
    kFeed = 64,     // " F"
  };
  // Left uninitialised in the batches: NewLine() sets the code and clears
  // the words, and a value counts only with its word.
  Code code;
  std::uint8_t words;
  // A line as it stands (Code::Text): its bytes in the batch's text.
  std::size_t textOffset;
  std::size_t textSize;
  long double axial, radial, angleThousandths, radius, feed;
};

// Turns the conversion's lines into text in the target, with block numbers.
// Formatting the numbers is a good third of a conversion's work, so a run
// longer than one batch hands its lines over in batches to a thread of its
// own that formats them while the conversion goes on. The target sees the
// same lines in the same order as if it were all done in one thread (which
// it is where no thread can be started); during a run only the formatting
// touches it.
class LineFormatter {
 public:
  // A run of `settings` into `target`, numbering from the format's start.
  // The thread starts with the second batch; `secondThread` false formats
  // every batch where it fills (as happens anyway when no thread can be
  // started).
  LineFormatter(const ConversionSettings& settings, LineSink& target,
                bool secondThread = true);
  ~LineFormatter();
  LineFormatter(const LineFormatter&) = delete;
  LineFormatter& operator=(const LineFormatter&) = delete;

  // The slot for the next line; it counts once Emit() is called, and a slot
  // left without (the line was refused half way) is taken again.
  OutputLine& NewLine(OutputLine::Code code) {
    OutputLine& line = filling_->lines[filling_->count];
    line.code = code;
    line.words = 0;
    return line;
  }
  void Emit() {
    if (++filling_->count == kBatchLines) HandOver();
  }
  // A line as it stands.
  void AddText(std::string_view text);
  // Formats everything emitted and waits for it; rethrows what failed in
  // the formatting (a target out of memory). Call at the end of every run,
  // also one that stopped early.
  void Finish();

 private:
  // Lines per batch: enough that handing a batch over costs little next to
  // formatting it.
  static constexpr std::size_t kBatchLines = 8192;
  static constexpr std::size_t kBatches = 4;

  struct Batch {
    std::unique_ptr<OutputLine[]> lines;
    std::size_t count = 0;
    std::string text;
    void Clear() {
      count = 0;
      text.clear();
    }
  };

  void HandOver();
  // Without a second thread: the filling batch formatted at once.
  void FormatInPlace();
  void FormatLoop();
  void Format(const Batch& batch);
  void Format(const OutputLine& line, const std::string& text);
  char* BeginLine(std::size_t room);
  void EndLine(char* end);
  char* WriteValue(char* out, long double value) const;
  void Stop();

  const ConversionSettings& settings_;
  LineSink& target_;
  struct Pieces {
    LinePiece rapid, feed, clockwise, counterClockwise;  // eg0 to eg3
    LinePiece axis, positive, negative, radius;           // axis, edp, edn, erad
    LinePiece blockLetter;
  } pieces_;
  // Room that the widest generated line of these settings needs.
  std::size_t lineRoom_ = 0;
  BlockNumberText blockNumber_;
  // The line being written: where it starts, and where it starts after
  // its block number.
  char* lineStart_ = nullptr;
  char* lineBody_ = nullptr;

  std::vector<Batch> batches_;
  Batch* filling_ = nullptr;
  bool secondThread_ = false;
  std::thread formatter_;
  // Between the two threads, under the mutex: batches to format, batches
  // free to fill, the end of the run, and a failure of the formatting.
  std::mutex mutex_;
  std::condition_variable toFormat_;
  std::condition_variable freed_;
  std::deque<Batch*> ready_;
  std::vector<Batch*> free_;
  bool finishing_ = false;
  std::exception_ptr failure_;
};

}  // namespace torvane
