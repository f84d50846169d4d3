// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "conversion/SourcePath.h"
#include "readback/ResultCheck.h"

namespace torvane {

// Checks a result while it is being written: the source path comes from the
// conversion, the result's text from where its lines go, and the check runs
// on a thread of its own beside both. So checking costs little more time
// than converting, and memory stays flat: each side waits when it runs
// far ahead of the check.
class CheckThread : public SourcePathRecorder {
 public:
  explicit CheckThread(ResultCheck& check);
  // A check not finished is abandoned: what waits for it is dropped.
  ~CheckThread() override;
  CheckThread(const CheckThread&) = delete;
  CheckThread& operator=(const CheckThread&) = delete;

  // From the conversion's thread.
  void Record(const SourceMove& move) override;
  // The result's text as written, lines ending in LF (a CR before it is
  // dropped), in pieces of any size; from one thread at a time.
  void ResultText(std::string_view text);
  // Both sides are complete (their threads done): waits for the verdict.
  // Rethrows what went wrong on the check's thread.
  CheckOutcome Finish();

 private:
  void Work();
  void Hand(std::vector<SourceMove>& moves, std::string& text);

  ResultCheck& check_;
  // What each side has gathered, handed over in batches.
  std::vector<SourceMove> moves_;
  std::string text_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::vector<SourceMove>> movesWaiting_;
  std::vector<std::string> textWaiting_;
  // Emptied batches, handed back for the next: new ones of this size would
  // come fresh from the system every time.
  std::vector<std::vector<SourceMove>> spareMoves_;
  std::vector<std::string> spareText_;
  std::size_t bytesWaiting_ = 0;
  bool complete_ = false;
  bool abandoned_ = false;
  bool done_ = false;
  std::exception_ptr failure_;
  std::thread thread_;
};

}  // namespace torvane
