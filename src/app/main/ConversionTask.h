// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/Conversion.h"
#include "readback/CheckThread.h"
#include "readback/ResultCheck.h"
#include "text/SpillText.h"

namespace torvane {

// One conversion run off the user-interface thread, so that a program of a
// million lines neither freezes the window nor hides its progress. The
// caller waits for it (the window takes no input meanwhile) and reads the
// result afterwards.
class ConversionTask {
 public:
  ConversionTask(Conversion& conversion, long double diameter, std::vector<std::string> source,
                 std::vector<std::string> header, std::vector<std::string> footer);
  // Reads the source straight from a pane's document (UTF-8, lines broken
  // by LF, CR LF or CR, `lineCount` lines as the pane counts them), which
  // must stay unchanged until the run is over: a copy of a million lines
  // would cost time and memory for nothing.
  ConversionTask(Conversion& conversion, long double diameter, std::string_view document,
                 std::size_t lineCount, std::vector<std::string> header,
                 std::vector<std::string> footer);

  // The result is checked as it is written, on a thread of its own that
  // may go on after the run: replayed as the machine runs it and laid over
  // the source path. FinishCheck() waits for the verdict.
  void CheckResult() { check_ = Check::OwnResult; }
  // Checks the lines of a pane's document (as the source document above)
  // instead: the run writes nothing then.
  void CheckDocument(std::string_view document) {
    check_ = Check::Document;
    resultDocument_ = document;
  }

  // Runs the conversion; call once, from any thread.
  void Run();

  // Asks a running conversion to stop at the next source line; callable
  // from any thread, also before Run() or after it ended. Whatever the run
  // wrote is then to be thrown away: CancelRequested() tells the caller so,
  // even when the run happened to finish first.
  void Cancel() { cancel_.store(true, std::memory_order_relaxed); }
  bool CancelRequested() const { return cancel_.load(std::memory_order_relaxed); }

  std::size_t SourceLineCount() const { return sourceLines_; }
  // Source lines converted so far; readable while Run() is busy.
  std::size_t LinesDone() const { return done_.load(std::memory_order_relaxed); }

  // After Run(): the lines written (all of them, or those before the error),
  // separated by LF, their number, and the error that stopped the run, if
  // any (Windows-1252 text). A long result waits in a temporary file.
  const SpillText& Target() const { return target_; }
  std::size_t TargetLineCount() const { return targetLines_; }
  const std::optional<std::string>& Error() const { return error_; }
  // The 1-based source line the error names; 0 when it names none.
  std::size_t ErrorLine() const { return errorLine_; }
  // The run's warnings, in source order.
  const std::vector<ConversionWarning>& Warnings() const { return warnings_; }
  // What the check found; none when there was none (not asked for, the run
  // stopped at an error, or it was cancelled). The check of the run's own
  // result is there after FinishCheck().
  const std::optional<CheckOutcome>& Outcome() const { return outcome_; }
  const std::optional<CheckOutcome>& FinishCheck();

 private:
  Conversion& conversion_;
  long double diameter_;
  std::vector<std::string> source_;
  std::optional<std::string_view> document_;
  std::size_t sourceLines_ = 0;
  std::vector<std::string> header_;
  std::vector<std::string> footer_;
  SpillText target_;
  std::size_t targetLines_ = 0;
  std::optional<std::string> error_;
  std::size_t errorLine_ = 0;
  std::vector<ConversionWarning> warnings_;
  enum class Check { None, OwnResult, Document } check_ = Check::None;
  std::string_view resultDocument_;
  std::optional<CheckOutcome> outcome_;
  // The check of the run's own result, still reading while the result goes
  // into its pane.
  std::unique_ptr<ResultCheck> ownCheck_;
  std::unique_ptr<CheckThread> checkThread_;
  std::atomic<std::size_t> done_{0};
  std::atomic<bool> cancel_{false};
};

// The status text after a finished run: "Konvertierung beendet (Ø 63,5)",
// and ", 1 Warnung" or ", N Warnungen" when there were any.
std::string ConversionDoneText(long double diameter, std::size_t warnings);

}  // namespace torvane
