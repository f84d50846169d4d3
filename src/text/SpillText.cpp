// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/SpillText.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "text/Windows1252.h"

namespace torvane {
namespace {

constexpr std::size_t kPiece = std::size_t{1} << 20;

// An unnamed temporary file: created, then its name removed at once, so
// that it goes away with the program however that ends.
std::FILE* UnnamedTemporaryFile() {
  const char* folder = std::getenv("TMPDIR");
  std::string pattern = (folder && *folder) ? folder : "/tmp";
  pattern += "/torvane-XXXXXX";
  const int descriptor = mkstemp(pattern.data());
  if (descriptor < 0) return nullptr;
  unlink(pattern.c_str());
  std::FILE* file = fdopen(descriptor, "w+b");
  if (!file) close(descriptor);
  return file;
}

}  // namespace

SpillText::~SpillText() {
  if (file_) std::fclose(file_);
}

void SpillText::Append(std::string_view bytes) {
  if (!IsAscii(bytes)) {
    for (const char c : bytes) nonAscii_ += static_cast<unsigned char>(c) >> 7;
  }
  memory_.append(bytes);
  // Once in the file, memory only gathers a piece for the next write.
  if (!fileRefused_ && memory_.size() >= (file_ ? kPiece : memoryLimit_)) WriteToFile();
}

void SpillText::WriteToFile() {
  if (!file_) file_ = UnnamedTemporaryFile();
  if (!file_) {
    fileRefused_ = true;
    return;
  }
  if (std::fwrite(memory_.data(), 1, memory_.size(), file_) != memory_.size()) {
    TakeBackFromFile();
    return;
  }
  fileBytes_ += memory_.size();
  memory_.clear();
  // What the file holds needs no room in memory any more.
  if (memory_.capacity() > 2 * kPiece) memory_.shrink_to_fit();
}

void SpillText::TakeBackFromFile() {
  fileRefused_ = true;
  std::string text(fileBytes_, '\0');
  const bool readBack = std::fflush(file_) == 0 && std::fseek(file_, 0, SEEK_SET) == 0 &&
                        std::fread(text.data(), 1, text.size(), file_) == text.size();
  std::fclose(file_);
  file_ = nullptr;
  fileBytes_ = 0;
  if (!readBack) {
    lost_ = true;
    return;
  }
  memory_.insert(0, text);
}

bool SpillText::ForEachPiece(const std::function<void(std::string_view)>& take) const {
  if (lost_) return false;
  if (file_) {
    if (std::fflush(file_) != 0 || std::fseek(file_, 0, SEEK_SET) != 0) return false;
    const auto piece = std::make_unique_for_overwrite<char[]>(kPiece);
    std::size_t left = fileBytes_;
    while (left > 0) {
      const std::size_t wanted = left < kPiece ? left : kPiece;
      const std::size_t got = std::fread(piece.get(), 1, wanted, file_);
      if (got != wanted) return false;
      take(std::string_view(piece.get(), got));
      left -= got;
    }
    // Appending goes on at the end.
    if (std::fseek(file_, 0, SEEK_END) != 0) return false;
  }
  if (!memory_.empty()) take(memory_);
  return true;
}

std::string SpillText::ToString() const {
  std::string text;
  text.reserve(size());
  ForEachPiece([&text](std::string_view piece) { text += piece; });
  return text;
}

}  // namespace torvane
