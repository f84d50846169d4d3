// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "text/FileError.h"

namespace torvane {

// How a line list ends its lines when it is saved.
enum class LineEnding { CRLF, LF };

// The text of a pane or file: 8-bit lines without their breaks, and the
// break to write them with. A new list writes CR LF.
struct LineList {
  std::vector<std::string> lines;
  LineEnding lineBreak = LineEnding::CRLF;
};

// Raised when a line file cannot be read or written; the message names the
// path.
using LineFileError = FileError;

// Steps through `bytes` one line at a time without copying, breaking lines
// by the rule of text/LineBreak.h. Sets `sawCR` when the break was or contained a CR. A break at the
// very end adds no empty line. Returns false when nothing is left.
bool NextLine(std::string_view bytes, std::size_t& position, std::string_view& line, bool& sawCR);

// All lines of `bytes`; the break is LF alone when there was no CR at all,
// else CR LF.
LineList SplitLines(std::string_view bytes);

// Every line followed by its break; no lines give no bytes.
std::string JoinLines(const std::vector<std::string>& lines, LineEnding lineBreak);

// The whole content of a file. Fails with "Datei %s kann nicht geöffnet
// werden".
std::string ReadWholeFile(const std::filesystem::path& path);

// Reads the whole file before returning, so that a caller replaces its lines
// only when loading succeeded. Fails with "Datei %s kann nicht geöffnet
// werden".
LineList LoadLineFile(const std::filesystem::path& path);

// A file's new content, written into a new file beside it and put in its
// place only by Commit, when everything is on disk: a failed or abandoned
// write leaves the previous file as it was and no stray file behind. A file
// that is replaced keeps its permissions, and a symbolic link keeps pointing
// where it did (the content goes to its target). Fails with "Datei %s kann
// nicht erstellt werden" when the file cannot be made or put in place, and
// with "In %s kann nicht geschrieben werden" when writing fails.
class FileReplacement {
 public:
  explicit FileReplacement(const std::filesystem::path& path);
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  ~FileReplacement();

  // Where the new content goes; stays open until Commit.
  int Descriptor() const { return fd_; }
  void Commit();

 private:
  std::filesystem::path path_;
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  int fd_ = -1;
  bool committed_ = false;
};

// Saves through a FileReplacement.
void SaveWholeFile(const std::filesystem::path& path, std::string_view bytes);

void SaveLineFile(const std::filesystem::path& path, const std::vector<std::string>& lines,
                  LineEnding lineBreak);

// The same for lines that `eachLine` hands to its argument one by one, so
// that a program of millions of lines needs no list of them.
using LineTaker = std::function<void(std::string_view line)>;
void SaveLineFile(const std::filesystem::path& path,
                  const std::function<void(const LineTaker&)>& eachLine, LineEnding lineBreak);

}  // namespace torvane
