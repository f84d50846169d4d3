// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/LineFormatter.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "conversion/NCFormat.h"

namespace torvane {
namespace {

char* Put(char* out, std::string_view text) {
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

}  // namespace

LineFormatter::LineFormatter(const ConversionSettings& settings, LineSink& target,
                             bool secondThread)
    : settings_(settings), target_(target) {
  const ConversionSettings& s = settings;
  pieces_ = {LinePiece(s.eg0),  LinePiece(s.eg1), LinePiece(s.eg2),
             LinePiece(s.eg3),  LinePiece(s.axis), LinePiece(s.edp),
             LinePiece(s.edn),  LinePiece(s.erad), LinePiece(s.format.Satzzeichen)};
  // The widest generated line: a motion code, the direction word, the axis,
  // radius and feed letters, five numbers, the blanks between them, and
  // what the last fixed-size copy may write beyond them.
  lineRoom_ = std::max({s.eg0.size(), s.eg1.size(), s.eg2.size(), s.eg3.size()}) +
              std::max(s.edp.size(), s.edn.size()) + s.axis.size() + s.erad.size() +
              5 * (kMaxFormatNCLength + 32) + 64 + LinePiece::kOverrun;
  blockNumber_.Start(s.format.Satzstart);

  // A short program fills one batch and never starts the thread; the other
  // batches take memory only once a long one needs them.
  batches_.resize(kBatches);
  batches_[0].lines = std::make_unique_for_overwrite<OutputLine[]>(kBatchLines);
  filling_ = &batches_[0];
  for (std::size_t i = 1; i < kBatches; ++i) free_.push_back(&batches_[i]);
  secondThread_ = secondThread;
}

LineFormatter::~LineFormatter() { Stop(); }

void LineFormatter::Stop() {
  if (!formatter_.joinable()) return;
  {
    const std::lock_guard lock(mutex_);
    finishing_ = true;
  }
  toFormat_.notify_one();
  formatter_.join();
}

void LineFormatter::AddText(std::string_view text) {
  OutputLine& line = NewLine(OutputLine::Code::Text);
  line.textOffset = filling_->text.size();
  line.textSize = text.size();
  filling_->text.append(text);
  Emit();
}

void LineFormatter::HandOver() {
  if (secondThread_ && !formatter_.joinable()) {
    try {
      formatter_ = std::thread(&LineFormatter::FormatLoop, this);
    } catch (const std::system_error&) {
      // No second thread: every batch is formatted where it fills.
    }
    secondThread_ = false;
  }
  if (!formatter_.joinable()) {
    FormatInPlace();
    return;
  }
  std::unique_lock lock(mutex_);
  // The target failed (out of memory, a full disk): the run stops here,
  // not after converting the rest of the program for nothing.
  if (failure_) std::rethrow_exception(failure_);
  ready_.push_back(filling_);
  filling_ = nullptr;
  toFormat_.notify_one();
  freed_.wait(lock, [this] { return !free_.empty() || failure_; });
  if (failure_) std::rethrow_exception(failure_);
  filling_ = free_.back();
  free_.pop_back();
  filling_->Clear();
  if (!filling_->lines) {
    filling_->lines = std::make_unique_for_overwrite<OutputLine[]>(kBatchLines);
  }
}

void LineFormatter::FormatInPlace() {
  // Emptied also when the target fails part way: the lines it took stay,
  // and the rest of the batch must not come again with the final flush.
  struct Empty {
    Batch* batch;
    ~Empty() { batch->Clear(); }
  } empty{filling_};
  Format(*filling_);
}

void LineFormatter::FormatLoop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    toFormat_.wait(lock, [this] { return !ready_.empty() || finishing_; });
    if (ready_.empty()) return;
    Batch* batch = ready_.front();
    ready_.pop_front();
    // After a failure nothing more goes into the target.
    const bool failed = failure_ != nullptr;
    lock.unlock();
    std::exception_ptr failure;
    if (!failed) {
      try {
        Format(*batch);
      } catch (...) {
        failure = std::current_exception();
      }
    }
    lock.lock();
    if (failure) failure_ = failure;
    free_.push_back(batch);
    freed_.notify_one();
  }
}

void LineFormatter::Finish() {
  if (!formatter_.joinable()) {
    FormatInPlace();
    return;
  }
  {
    const std::lock_guard lock(mutex_);
    if (filling_ && filling_->count > 0) ready_.push_back(filling_);
    filling_ = nullptr;
    finishing_ = true;
  }
  toFormat_.notify_one();
  formatter_.join();
  if (failure_) std::rethrow_exception(failure_);
}

void LineFormatter::Format(const Batch& batch) {
  for (std::size_t i = 0; i < batch.count; ++i) Format(batch.lines[i], batch.text);
}

char* LineFormatter::WriteValue(char* out, long double value) const {
  return WriteFormatNC(out, settings_.format, value);
}

void LineFormatter::Format(const OutputLine& line, const std::string& text) {
  using Code = OutputLine::Code;
  if (line.code == Code::Text) {
    char* const out = BeginLine(line.textSize);
    const std::string_view bytes = std::string_view(text).substr(line.textOffset, line.textSize);
    EndLine(bytes.empty() ? out : Put(out, bytes));
    return;
  }
  const LinePiece& code = line.code == Code::Rapid       ? pieces_.rapid
                          : line.code == Code::Feed      ? pieces_.feed
                          : line.code == Code::Clockwise ? pieces_.clockwise
                                                         : pieces_.counterClockwise;
  char* out = code.WriteAt(BeginLine(lineRoom_));
  // Axial first, then radial; the angle; a machine arc's radius; the
  // direction the axis turns; the feed.
  if (line.words & OutputLine::kAxial) out = WriteValue(Put(out, " Z"), line.axial);
  if (line.words & OutputLine::kRadial) out = WriteValue(Put(out, " X"), line.radial);
  if (line.words & OutputLine::kAngle) {
    *out++ = ' ';
    out = WriteFormatNCThousandths(pieces_.axis.WriteAt(out), settings_.format,
                                   line.angleThousandths);
  }
  if (line.words & OutputLine::kRadius) {
    *out++ = ' ';
    out = WriteValue(pieces_.radius.WriteAt(out), line.radius);
  }
  if (line.words & (OutputLine::kPositive | OutputLine::kNegative)) {
    *out++ = ' ';
    out = (line.words & OutputLine::kPositive ? pieces_.positive : pieces_.negative).WriteAt(out);
  }
  if (line.words & OutputLine::kFeed) out = WriteValue(Put(out, " F"), line.feed);
  EndLine(out);
}

char* LineFormatter::BeginLine(std::size_t room) {
  lineStart_ = target_.Reserve(pieces_.blockLetter.size() + LinePiece::kOverrun +
                               BlockNumberText::kMaxSize + 1 + room);
  if (!settings_.enum_) return lineBody_ = lineStart_;
  char* out = blockNumber_.WriteAt(pieces_.blockLetter.WriteAt(lineStart_));
  *out++ = ' ';
  return lineBody_ = out;
}

void LineFormatter::EndLine(char* end) {
  if (!settings_.enum_) {
    target_.Commit(end);
    return;
  }
  if (end > lineBody_ && *lineBody_ == '-') {
    // A leading "-" asks for a line without block number.
    const auto size = static_cast<std::size_t>(end - lineBody_ - 1);
    std::memmove(lineStart_, lineBody_ + 1, size);
    target_.Commit(lineStart_ + size);
    return;
  }
  target_.Commit(end);
  blockNumber_.Advance(settings_.format.Satzschritt);
}

}  // namespace torvane
