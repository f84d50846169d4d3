#include "text/LineFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include "text/LineBreak.h"

namespace torvane {

namespace {

namespace fs = std::filesystem;

std::string CannotOpen(const fs::path& path) { return CannotOpenMessage(path.string()); }
std::string CannotCreate(const fs::path& path) { return CannotCreateMessage(path.string()); }
std::string CannotWrite(const fs::path& path) { return CannotWriteMessage(path.string()); }

// Closes a descriptor on every way out and removes the half-written file
// unless the save went through.
class TempFile {
 public:
  TempFile(int fd, fs::path path) : fd_(fd), path_(std::move(path)) {}
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!kept_) ::unlink(path_.c_str());
  }
  int fd() const { return fd_; }
  const fs::path& path() const { return path_; }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }
  void Keep() { kept_ = true; }

 private:
  int fd_;
  fs::path path_;
  bool kept_ = false;
};

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

bool NextLine(std::string_view bytes, std::size_t& position, std::string_view& line, bool& sawCR) {
  if (position >= bytes.size()) return false;
  const std::size_t end = FindLineEnd(bytes, position);
  line = bytes.substr(position, end - position);
  if (end < bytes.size() && bytes[end] == '\r') sawCR = true;
  position = SkipLineBreak(bytes, end);
  return true;
}

TLineList SplitLines(std::string_view bytes) {
  TLineList list;
  bool sawCR = false;
  std::size_t position = 0;
  std::string_view line;
  while (NextLine(bytes, position, line, sawCR)) list.lines.emplace_back(line);
  list.lineBreak = sawCR ? TLineBreak::CRLF : TLineBreak::LF;
  return list;
}

std::string JoinLines(const std::vector<std::string>& lines, TLineBreak lineBreak) {
  const std::string_view brk = lineBreak == TLineBreak::CRLF ? "\r\n" : "\n";
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

TLineList LoadLineFile(const fs::path& path) { return SplitLines(ReadWholeFile(path)); }

namespace {

// Writes through `write` into a new file beside the target and puts it in the
// target's place only when everything is on disk, so that a failed save
// leaves the previous file as it was.
void ReplaceFile(const fs::path& path, const std::function<bool(int fd)>& write) {
  const fs::path target = FollowLinks(path);
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";

  fs::path tempPath;
  const int fd = CreateUniqueFile(folder, target.filename().string(), tempPath);
  if (fd < 0) throw LineFileError(CannotCreate(path));
  TempFile temp(fd, tempPath);

  // A file that is replaced keeps its permissions; a new one gets what the
  // umask allows, as any newly created file would.
  struct stat previous {};
  if (::stat(target.c_str(), &previous) == 0 && S_ISREG(previous.st_mode)) {
    (void)::fchmod(temp.fd(), previous.st_mode & 07777);
  }

  bool ok = write(temp.fd());
  // The new content must be on disk before it takes the old file's place.
  if (ok) ok = ::fsync(temp.fd()) == 0;
  if (!temp.Close()) ok = false;
  if (!ok) throw LineFileError(CannotWrite(path));

  if (::rename(temp.path().c_str(), target.c_str()) != 0) throw LineFileError(CannotCreate(path));
  temp.Keep();
}

}  // namespace

void SaveWholeFile(const fs::path& path, std::string_view bytes) {
  ReplaceFile(path, [bytes](int fd) { return WriteAll(fd, bytes.data(), bytes.size()); });
}

void SaveLineFile(const fs::path& path, const std::vector<std::string>& lines, TLineBreak lineBreak) {
  ReplaceFile(path, [&](int fd) {
    const std::string_view brk = lineBreak == TLineBreak::CRLF ? "\r\n" : "\n";
    constexpr std::size_t kChunk = 1 << 20;
    std::string chunk;
    chunk.reserve(kChunk + 4096);
    for (const std::string& line : lines) {
      chunk += line;
      chunk += brk;
      if (chunk.size() >= kChunk) {
        if (!WriteAll(fd, chunk.data(), chunk.size())) return false;
        chunk.clear();
      }
    }
    return WriteAll(fd, chunk.data(), chunk.size());
  });
}

}  // namespace torvane
