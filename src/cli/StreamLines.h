// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "conversion/LineSink.h"

namespace torvane {

// Reads lines from a stream in large chunks, so that a program of any
// length converts in flat memory. A line ends at LF, CR LF or a lone CR.
class StreamLineSource : public LineSource {
 public:
  explicit StreamLineSource(std::FILE* stream) : stream_(stream) {}
  bool Next(std::string_view& line) override;
  bool Failed() const { return failed_; }

 private:
  bool Fill();

  std::FILE* stream_;
  std::string buffer_;
  std::size_t position_ = 0;
  bool eof_ = false;
  bool failed_ = false;
};

// Writes every line followed by CR LF through a large buffer.
class StreamLineSink : public LineSink {
 public:
  explicit StreamLineSink(std::FILE* stream) : stream_(stream) {}
  ~StreamLineSink() override {
    if (!discarded_) Flush();
  }
  void Append(std::string_view line) override;
  // Lines are written straight into the buffer, CR LF added at Commit.
  char* Reserve(std::size_t size) override;
  void Commit(char* end) override;
  // Every byte written also goes to `tee` (a check reading the result as
  // it is written), in pieces of about a chunk.
  void TeeTo(std::function<void(std::string_view)> tee) { tee_ = std::move(tee); }
  // False when any write failed.
  bool Flush();
  // Drops what is buffered; nothing more is written.
  void Discard() {
    used_ = 0;
    discarded_ = true;
  }

 private:
  // Hands the buffered bytes to the stream.
  void WriteOut();

  std::FILE* stream_;
  // One bounds check per line, at Reserve: a std::string would check and
  // copy at every piece.
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  std::size_t capacity_ = 0;
  bool failed_ = false;
  bool discarded_ = false;
  std::function<void(std::string_view)> tee_;
};

// Terminal text from the program's messages: they are Windows-1252 but may
// carry file names that are UTF-8 already; valid UTF-8 sequences pass, every
// other byte is taken as Windows-1252.
std::string ToTerminalText(std::string_view message);

}  // namespace torvane
