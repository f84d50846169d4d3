// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConversionTask.h"

#include <algorithm>
#include <exception>

#include "text/FloatText.h"
#include "text/LineBreak.h"
#include "text/LineFile.h"
#include "text/Windows1252.h"

namespace torvane {
namespace {

// Hands the source lines to the run and counts them for the progress text.
class CountingSource : public LineSource {
 public:
  CountingSource(const std::vector<std::string>& lines, std::atomic<std::size_t>& done,
                 const std::atomic<bool>& cancel)
      : lines_(lines), done_(done), cancel_(cancel) {}
  bool Next(std::string_view& line) override {
    // A cancelled run just ends early: its result is thrown away.
    if (index_ >= lines_.size() || cancel_.load(std::memory_order_relaxed)) return false;
    line = lines_[index_++];
    if ((index_ & 1023) == 0) done_.store(index_, std::memory_order_relaxed);
    return true;
  }

 private:
  const std::vector<std::string>& lines_;
  std::atomic<std::size_t>& done_;
  const std::atomic<bool>& cancel_;
  std::size_t index_ = 0;
};

// Hands the lines of a pane's document to the run: ASCII lines as they are
// in the document, others decoded to the code page into one reused buffer,
// so that no line is copied that need not be.
class DocumentSource : public LineSource {
 public:
  DocumentSource(std::string_view document, std::atomic<std::size_t>& done,
                 const std::atomic<bool>& cancel)
      : document_(document), done_(done), cancel_(cancel) {}
  bool Next(std::string_view& line) override {
    if (cancel_.load(std::memory_order_relaxed)) return false;
    std::string_view utf8;
    if (!NextLine(document_, position_, utf8, sawCR_)) {
      // The pane shows a line after a final break; so does the source.
      if (finalLineGiven_ || document_.empty() || !IsLineBreak(document_.back())) return false;
      finalLineGiven_ = true;
      utf8 = {};
    }
    if (IsAscii(utf8)) {
      line = utf8;
    } else {
      decoded_.clear();
      Utf8ToBytes(utf8, decoded_);
      line = decoded_;
    }
    if ((++index_ & 1023) == 0) done_.store(index_, std::memory_order_relaxed);
    return true;
  }

 private:
  std::string_view document_;
  std::atomic<std::size_t>& done_;
  const std::atomic<bool>& cancel_;
  std::size_t position_ = 0;
  std::size_t index_ = 0;
  bool sawCR_ = false;
  bool finalLineGiven_ = false;
  std::string decoded_;
};

// Keeps the result as one text: a string per line would cost millions of
// allocations for a large program.
class JoiningSink : public LineSink {
 public:
  JoiningSink(SpillText& text, std::size_t& count, CheckThread* check)
      : text_(text), count_(count), check_(check) {}
  void Append(std::string_view line) override {
    if (count_++ > 0) text_.Append('\n');
    text_.Append(line);
    if (check_) {
      check_->ResultText(line);
      check_->ResultText("\n");
    }
  }

 private:
  SpillText& text_;
  std::size_t& count_;
  // Reads every line as it is written, beside the run.
  CheckThread* check_;
};

}  // namespace

ConversionTask::ConversionTask(Conversion& conversion, long double diameter,
                               std::vector<std::string> source, std::vector<std::string> header,
                               std::vector<std::string> footer)
    : conversion_(conversion),
      diameter_(diameter),
      source_(std::move(source)),
      sourceLines_(source_.size()),
      header_(std::move(header)),
      footer_(std::move(footer)) {}

ConversionTask::ConversionTask(Conversion& conversion, long double diameter,
                               std::string_view document, std::size_t lineCount,
                               std::vector<std::string> header, std::vector<std::string> footer)
    : conversion_(conversion),
      diameter_(diameter),
      document_(document),
      sourceLines_(lineCount),
      header_(std::move(header)),
      footer_(std::move(footer)) {}

void ConversionTask::Run() {
  CountingSource lines(source_, done_, cancel_);
  DocumentSource document(document_.value_or(std::string_view()), done_, cancel_);
  LineSource& source = document_ ? static_cast<LineSource&>(document) : lines;
  std::unique_ptr<ResultCheck> check;
  if (check_ != Check::None) {
    check = std::make_unique<ResultCheck>(conversion_.Settings(), diameter_, header_, footer_);
    if (!check->Unreadable().empty()) {
      outcome_.emplace();
      outcome_->message = Cp1252("Prüfung nicht möglich: ") + check->Unreadable();
      check.reset();
    }
  }
  try {
    if (check && check_ == Check::Document) {
      std::atomic<std::size_t> resultLines{0};
      DocumentSource result(resultDocument_, resultLines, cancel_);
      outcome_ = CheckConversion(conversion_, *check, diameter_, source, result);
      if (CancelRequested()) outcome_.reset();
    } else {
      if (check) {
        ownCheck_ = std::move(check);
        checkThread_ = std::make_unique<CheckThread>(*ownCheck_);
      }
      JoiningSink sink(target_, targetLines_, checkThread_.get());
      // With a check the second core is its: the lines are formatted where
      // they are made.
      conversion_.RecordSourcePath(checkThread_.get());
      conversion_.FormatOnSecondThread(!checkThread_);
      conversion_.RunConversion(diameter_, source, header_, footer_, sink);
    }
  } catch (const ConversionError& error) {
    error_ = error.what();
    errorLine_ = error.line();
  } catch (const std::exception& error) {
    error_ = error.what();
  }
  conversion_.RecordSourcePath(nullptr);
  conversion_.FormatOnSecondThread(true);
  if (error_) {
    outcome_.reset();
    checkThread_.reset();
  }
  warnings_ = conversion_.Warnings();
  done_.store(sourceLines_, std::memory_order_relaxed);
}

const std::optional<CheckOutcome>& ConversionTask::FinishCheck() {
  if (checkThread_) {
    outcome_ = checkThread_->Finish();
    checkThread_.reset();
  }
  if (CancelRequested()) outcome_.reset();
  return outcome_;
}

std::string ConversionDoneText(long double diameter, std::size_t warnings) {
  // Told to the user, so with the German decimal comma; only the NC text
  // keeps the point. Made in the program's code page, like every text of
  // the core.
  std::string shown = FloatToGeneral(diameter);
  std::replace(shown.begin(), shown.end(), '.', ',');
  std::string text = Cp1252("Konvertierung beendet (Ø ") + shown + ")";
  if (warnings == 1) text += ", 1 Warnung";
  if (warnings > 1) text += ", " + std::to_string(warnings) + " Warnungen";
  return text;
}

}  // namespace torvane
