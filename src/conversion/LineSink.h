#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace torvane {

// Where converted lines go: a pane's line list, or a stream for the
// command-line converter, which must not hold a whole program in memory.
class LineSink {
 public:
  virtual ~LineSink() = default;
  virtual void Append(std::string_view line) = 0;
  // One line given in two parts (a block number and the block): a sink that
  // keeps bytes in a buffer takes both without joining them first.
  virtual void AppendJoined(std::string_view prefix, std::string_view line) {
    std::string joined;
    joined.reserve(prefix.size() + line.size());
    joined += prefix;
    joined += line;
    Append(joined);
  }
};

class LineSource {
 public:
  virtual ~LineSource() = default;
  // The next line without its break; false at the end. The view stays valid
  // until the next call.
  virtual bool Next(std::string_view& line) = 0;
};

class VectorSink : public LineSink {
 public:
  explicit VectorSink(std::vector<std::string>& lines) : lines_(lines) {}
  void Append(std::string_view line) override { lines_.emplace_back(line); }
  void AppendJoined(std::string_view prefix, std::string_view line) override {
    std::string& added = lines_.emplace_back();
    added.reserve(prefix.size() + line.size());
    added += prefix;
    added += line;
  }

 private:
  std::vector<std::string>& lines_;
};

class VectorSource : public LineSource {
 public:
  explicit VectorSource(const std::vector<std::string>& lines) : lines_(lines) {}
  bool Next(std::string_view& line) override {
    if (index_ >= lines_.size()) return false;
    line = lines_[index_++];
    return true;
  }

 private:
  const std::vector<std::string>& lines_;
  std::size_t index_ = 0;
};

}  // namespace torvane
