// SPDX-License-Identifier: GPL-3.0-or-later
#include "readback/CheckThread.h"

#include <utility>

namespace torvane {
namespace {

// Batches large enough that handing them over costs nothing to speak of.
constexpr std::size_t kMovesPerBatch = 4096;
constexpr std::size_t kBytesPerBatch = std::size_t{256} << 10;
// What may wait for the check before the side that runs ahead waits too.
constexpr std::size_t kMostWaiting = std::size_t{4} << 20;

}  // namespace

CheckThread::CheckThread(ResultCheck& check) : check_(check), thread_([this] { Work(); }) {}

CheckThread::~CheckThread() {
  if (!thread_.joinable()) return;
  {
    const std::lock_guard lock(mutex_);
    complete_ = true;
    abandoned_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void CheckThread::Record(const SourceMove& move) {
  moves_.push_back(move);
  if (moves_.size() >= kMovesPerBatch) {
    std::string none;
    Hand(moves_, none);
  }
}

void CheckThread::ResultText(std::string_view text) {
  text_.append(text);
  if (text_.size() >= kBytesPerBatch) {
    std::vector<SourceMove> none;
    Hand(none, text_);
  }
}

void CheckThread::Hand(std::vector<SourceMove>& moves, std::string& text) {
  const std::size_t bytes = moves.size() * sizeof(SourceMove) + text.size();
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return bytesWaiting_ < kMostWaiting || done_; });
  // A check that has ended needs nothing more.
  if (!done_) {
    if (!moves.empty()) {
      movesWaiting_.push_back(std::move(moves));
      moves.clear();
      if (!spareMoves_.empty()) {
        moves.swap(spareMoves_.back());
        spareMoves_.pop_back();
      }
    }
    if (!text.empty()) {
      textWaiting_.push_back(std::move(text));
      text.clear();
      if (!spareText_.empty()) {
        text.swap(spareText_.back());
        spareText_.pop_back();
      }
    }
    bytesWaiting_ += bytes;
  }
  lock.unlock();
  changed_.notify_all();
  moves.clear();
  text.clear();
}

CheckOutcome CheckThread::Finish() {
  Hand(moves_, text_);
  {
    const std::lock_guard lock(mutex_);
    complete_ = true;
  }
  changed_.notify_all();
  thread_.join();
  if (failure_) std::rethrow_exception(failure_);
  return check_.Finish();
}

void CheckThread::Work() {
  std::string carry;
  try {
    for (bool complete = false; !complete;) {
      std::vector<std::vector<SourceMove>> moves;
      std::vector<std::string> texts;
      bool abandoned = false;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] {
          return complete_ || !movesWaiting_.empty() || !textWaiting_.empty();
        });
        moves.swap(movesWaiting_);
        texts.swap(textWaiting_);
        bytesWaiting_ = 0;
        complete = complete_;
        abandoned = abandoned_;
      }
      if (abandoned) break;
      changed_.notify_all();
      // Once failed, the rest is only taken out of the way.
      for (const std::vector<SourceMove>& batch : moves) {
        for (const SourceMove& move : batch) {
          if (!check_.Failed()) check_.Record(move);
        }
      }
      for (const std::string& text : texts) {
        std::string_view rest = text;
        for (std::size_t end; (end = rest.find('\n')) != std::string_view::npos;
             rest.remove_prefix(end + 1)) {
          std::string_view line = rest.substr(0, end);
          if (!carry.empty()) {
            carry.append(line);
            line = carry;
          }
          if (line.ends_with('\r')) line.remove_suffix(1);
          if (!check_.Failed()) check_.Read(line);
          carry.clear();
        }
        carry.append(rest);
      }
      const std::lock_guard lock(mutex_);
      for (std::vector<SourceMove>& batch : moves) {
        batch.clear();
        spareMoves_.push_back(std::move(batch));
      }
      for (std::string& text : texts) {
        text.clear();
        spareText_.push_back(std::move(text));
      }
    }
    if (!carry.empty()) check_.Read(carry);
  } catch (...) {
    failure_ = std::current_exception();
  }
  {
    const std::lock_guard lock(mutex_);
    done_ = true;
  }
  changed_.notify_all();
}

}  // namespace torvane
