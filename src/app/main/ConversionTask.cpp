#include "ConversionTask.h"

#include <exception>

#include "settings/FloatText.h"

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

// Keeps the result as one text: a string per line would cost millions of
// allocations for a large program.
class JoiningSink : public LineSink {
 public:
  JoiningSink(std::string& text, std::size_t& count) : text_(text), count_(count) {}
  void Append(std::string_view line) override { AppendJoined({}, line); }
  void AppendJoined(std::string_view prefix, std::string_view line) override {
    if (count_++ > 0) text_ += '\n';
    text_ += prefix;
    text_ += line;
  }

 private:
  std::string& text_;
  std::size_t& count_;
};

}  // namespace

ConversionTask::ConversionTask(Conversion& conversion, long double diameter,
                               std::vector<std::string> source, std::vector<std::string> header,
                               std::vector<std::string> footer)
    : conversion_(conversion),
      diameter_(diameter),
      source_(std::move(source)),
      header_(std::move(header)),
      footer_(std::move(footer)) {}

void ConversionTask::Run() {
  // Results run to a few times the source's size; reserving spares most of
  // the copies a growing text would make.
  std::size_t sourceBytes = 0;
  for (const std::string& line : source_) sourceBytes += line.size() + 1;
  // Untouched reserved memory costs nothing, a text that outgrows its room
  // is copied whole: a linearised program runs to about four times its
  // source.
  target_.reserve(sourceBytes * 4 + 4096);
  CountingSource source(source_, done_, cancel_);
  JoiningSink sink(target_, targetLines_);
  try {
    conversion_.RunConversion(diameter_, source, header_, footer_, sink);
  } catch (const ConversionError& error) {
    error_ = error.what();
    errorLine_ = error.line();
  } catch (const std::exception& error) {
    error_ = error.what();
  }
  warnings_ = conversion_.Warnings();
  done_.store(source_.size(), std::memory_order_relaxed);

}

std::string ConversionDoneText(long double diameter, std::size_t warnings) {
  // "\xD8" is the diameter sign in the program's code page.
  std::string text = "Konvertierung beendet (\xD8 " + FloatToGeneral(diameter) + ")";
  if (warnings == 1) text += ", 1 Warnung";
  if (warnings > 1) text += ", " + std::to_string(warnings) + " Warnungen";
  return text;
}

}  // namespace torvane
