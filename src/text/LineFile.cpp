// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/LineFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include "text/LineBreak.h"
#include "text/Windows1252.h"

namespace torvane {

namespace {

namespace fs = std::filesystem;

std::string CannotOpen(const fs::path& path) { return CannotOpenMessage(path.string()); }
std::string CannotCreate(const fs::path& path) { return CannotCreateMessage(path.string()); }
std::string CannotWrite(const fs::path& path) { return CannotWriteMessage(path.string()); }

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// The file a save really replaces: a symbolic link keeps pointing where it
// did, and the new content goes to its target.
fs::path FollowLinks(fs::path path) {
  std::error_code error;
  for (int hops = 0; hops < 40 && fs::is_symlink(path, error); ++hops) {
    const fs::path link = fs::read_symlink(path, error);
    if (error) break;
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  return path;
}

// Creates a new, empty file in `folder` under a name nobody else uses.
int CreateUniqueFile(const fs::path& folder, const std::string& stem, fs::path& made) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    made = folder / ("." + stem + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    const int fd = ::open(made.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

std::string NotARegularFileMessage(std::string_view path, unsigned mode) {
  std::string text = CannotCreateMessage(path) + Cp1252(": dort steht keine gewöhnliche Datei");
  if (S_ISDIR(mode)) text += ", sondern ein Ordner";
  else if (S_ISFIFO(mode)) text += ", sondern eine benannte Pipe (FIFO)";
  else if (S_ISCHR(mode) || S_ISBLK(mode)) text += Cp1252(", sondern eine Gerätedatei");
  else if (S_ISSOCK(mode)) text += ", sondern ein Socket";
  return text;
}

bool NextLine(std::string_view bytes, std::size_t& position, std::string_view& line, bool& sawCR) {
  if (position >= bytes.size()) return false;
  const std::size_t end = FindLineEnd(bytes, position);
  line = bytes.substr(position, end - position);
  if (end < bytes.size() && bytes[end] == '\r') sawCR = true;
  position = SkipLineBreak(bytes, end);
  return true;
}

LineList SplitLines(std::string_view bytes) {
  LineList list;
  bool sawCR = false;
  std::size_t position = 0;
  std::string_view line;
  while (NextLine(bytes, position, line, sawCR)) list.lines.emplace_back(line);
  list.lineBreak = sawCR ? LineEnding::CRLF : LineEnding::LF;
  return list;
}

std::string JoinLines(const std::vector<std::string>& lines, LineEnding lineBreak) {
  const std::string_view brk = lineBreak == LineEnding::CRLF ? "\r\n" : "\n";
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + brk.size();
  std::string out;
  out.reserve(size);
  for (const std::string& line : lines) {
    out += line;
    out += brk;
  }
  return out;
}

std::string ReadWholeFile(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw LineFileError(CannotOpen(path));
  struct stat info {};
  std::string bytes;
  bool ok = ::fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
  if (ok && S_ISREG(info.st_mode)) bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[1 << 16];
  while (ok) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) ok = false;
    if (got <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  if (!ok) throw LineFileError(CannotOpen(path));
  return bytes;
}

LineList LoadLineFile(const fs::path& path) { return SplitLines(ReadWholeFile(path)); }

FileReplacement::FileReplacement(const fs::path& path)
    : path_(path), target_(FollowLinks(path)) {
  // Only a regular file is replaced: a pipe, a device or a socket would be
  // swapped for a file of its name (a reader waiting on the pipe, or
  // /dev/null for everyone, would lose it), a folder cannot be.
  struct stat existing {};
  if (::stat(target_.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
    throw LineFileError(NotARegularFileMessage(path_.string(), existing.st_mode));
  }
  fs::path folder = target_.parent_path();
  if (folder.empty()) folder = ".";
  fd_ = CreateUniqueFile(folder, target_.filename().string(), temporary_);
  if (fd_ < 0) throw LineFileError(CannotCreate(path_));
  // A file that is replaced keeps its permissions; a new one gets what the
  // umask allows, as any newly created file would.
  struct stat previous {};
  if (::stat(target_.c_str(), &previous) == 0 && S_ISREG(previous.st_mode)) {
    (void)::fchmod(fd_, previous.st_mode & 07777);
  }
}

FileReplacement::~FileReplacement() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_) ::unlink(temporary_.c_str());
}

void FileReplacement::Commit() {
  // The new content must be on disk before it takes the old file's place.
  bool ok = ::fsync(fd_) == 0;
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) ok = false;
  if (!ok) throw LineFileError(CannotWrite(path_));
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) throw LineFileError(CannotCreate(path_));
  committed_ = true;
}

namespace {

void ReplaceFile(const fs::path& path, const std::function<bool(int fd)>& write) {
  FileReplacement replacement(path);
  if (!write(replacement.Descriptor())) throw LineFileError(CannotWrite(path));
  replacement.Commit();
}

}  // namespace

void SaveWholeFile(const fs::path& path, std::string_view bytes) {
  ReplaceFile(path, [bytes](int fd) { return WriteAll(fd, bytes.data(), bytes.size()); });
}

void SaveLineFile(const fs::path& path, const std::vector<std::string>& lines, LineEnding lineBreak) {
  SaveLineFile(
      path, [&lines](const LineTaker& take) { for (const std::string& line : lines) take(line); },
      lineBreak);
}

void SaveLineFile(const fs::path& path, const std::function<void(const LineTaker&)>& eachLine,
                  LineEnding lineBreak) {
  ReplaceFile(path, [&](int fd) {
    const std::string_view brk = lineBreak == LineEnding::CRLF ? "\r\n" : "\n";
    constexpr std::size_t kChunk = 1 << 20;
    std::string chunk;
    chunk.reserve(kChunk + 4096);
    bool written = true;
    eachLine([&](std::string_view line) {
      chunk += line;
      chunk += brk;
      if (chunk.size() >= kChunk && written) {
        written = WriteAll(fd, chunk.data(), chunk.size());
        chunk.clear();
      }
    });
    return written && WriteAll(fd, chunk.data(), chunk.size());
  });
}

}  // namespace torvane
