// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace torvane {

// Bytes collected in order, in memory up to a limit and beyond it in an
// unnamed temporary file (in $TMPDIR, else /tmp), so that a converted
// program of hundreds of megabytes is not held in memory a second time on
// its way into a pane. Without a usable temporary file everything stays in
// memory: nothing is lost, it only takes more room.
class SpillText {
 public:
  static constexpr std::size_t kDefaultMemoryLimit = std::size_t{32} << 20;

  explicit SpillText(std::size_t memoryLimit = kDefaultMemoryLimit) : memoryLimit_(memoryLimit) {}
  ~SpillText();
  SpillText(const SpillText&) = delete;
  SpillText& operator=(const SpillText&) = delete;

  void Append(std::string_view bytes);
  void Append(char byte) { Append(std::string_view(&byte, 1)); }
  std::size_t size() const { return fileBytes_ + memory_.size(); }
  // Bytes above 0x7F: how much the text grows when mapped from a one-byte
  // code page to UTF-8 is known without reading it again.
  std::size_t NonAsciiBytes() const { return nonAscii_; }
  bool InFile() const { return file_ != nullptr; }

  // Hands the text to `take` in pieces of about a megabyte, in order. False
  // when the temporary file could not be read back whole; the pieces
  // handed over until then were right.
  bool ForEachPiece(const std::function<void(std::string_view)>& take) const;
  // The whole text in one string (for short texts and tests).
  std::string ToString() const;

 private:
  void WriteToFile();
  // The file could not take more: its bytes come back into memory, and the
  // text stays there from now on.
  void TakeBackFromFile();

  std::size_t memoryLimit_;
  std::string memory_;  // all of the text, or what is not yet in the file
  std::FILE* file_ = nullptr;
  std::size_t fileBytes_ = 0;
  std::size_t nonAscii_ = 0;
  bool fileRefused_ = false;
  bool lost_ = false;
};

}  // namespace torvane
