// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
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
  // The fast way in, for a line written in place: room for a line of up to
  // `size` bytes, which the writer fills from the returned pointer and hands
  // over with Commit(end). A line never committed is not there. This default
  // writes into a scratch buffer and appends from it; a sink that keeps its
  // bytes in a buffer of its own gives out room in that.
  virtual char* Reserve(std::size_t size) {
    if (scratch_.size() < size) scratch_.resize(size);
    return scratch_.data();
  }
  virtual void Commit(char* end) {
    Append(std::string_view(scratch_.data(), static_cast<std::size_t>(end - scratch_.data())));
  }

 private:
  std::vector<char> scratch_;
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
