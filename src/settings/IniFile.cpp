// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/IniFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <vector>

#include "text/LineFile.h"

namespace torvane {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

// One line of the file with its own line break, so that rewriting a key
// leaves every other byte of the file as it was.
struct RawLine {
  std::string_view text;
  std::string_view lineBreak;
};

std::vector<RawLine> SplitRaw(std::string_view content) {
  std::vector<RawLine> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back({content.substr(start), {}});
      break;
    }
    std::size_t breakLength = 1;
    if (content[end] == '\r' && end + 1 < content.size() && content[end + 1] == '\n')
      breakLength = 2;
    lines.push_back({content.substr(start, end - start), content.substr(end, breakLength)});
    start = end + breakLength;
  }
  return lines;
}

// The section name of a "[name]" line, or false when the line is none.
bool SectionOf(std::string_view line, std::string_view& name) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return false;
  line.remove_prefix(1);
  const std::size_t close = line.find(']');
  name = Trim(close == std::string_view::npos ? line : line.substr(0, close));
  return true;
}

bool KeyOf(std::string_view line, std::string_view& key, std::string_view& value) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return false;
  key = Trim(line.substr(0, equals));
  value = Trim(line.substr(equals + 1));
  return true;
}

bool ReadFile(const std::string& path, std::string& content) {
  // Only a regular file has settings; a missing or unreadable one has none.
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  try {
    content = ReadWholeFile(path);
  } catch (const FileError&) {
    return false;
  }
  return true;
}

// The file's content for a change of it: empty when there is none yet.
// One that is there but cannot be read is not taken for empty, or a save
// would drop every key it holds.
std::string ReadForChange(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return {};  // nothing there to lose
  } else if (S_ISREG(info.st_mode)) {
    try {
      return ReadWholeFile(path);
    } catch (const FileError&) {
    }
  }
  throw FileError(CannotOpenMessage(path) +
                  "; die Einstellungen werden nicht gespeichert, damit sie nicht verloren gehen");
}

std::string WithoutLineBreaks(std::string_view value) {
  // A line break inside a value would end the line and smuggle in keys.
  std::string clean(value);
  for (char& c : clean)
    if (c == '\r' || c == '\n') c = ' ';
  return clean;
}

}  // namespace

bool ParseIniInteger(std::string_view text, std::int32_t& value) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && text.front() == '$') {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return false;
  std::uint64_t magnitude = 0;
  for (char c : text) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return false;
    magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    if (magnitude > 0xFFFFFFFFULL) return false;
  }
  if (base == 10) {
    const std::uint64_t limit = negative ? 2147483648ULL : 2147483647ULL;
    if (magnitude > limit) return false;
    value = static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(magnitude)
                                               : static_cast<std::int64_t>(magnitude));
    return true;
  }
  // Hexadecimal covers the full 32 bits: $FFFFFFFF is -1.
  const auto bits = static_cast<std::uint32_t>(magnitude);
  value = static_cast<std::int32_t>(negative ? 0u - bits : bits);
  return true;
}

std::string IniFile::ReadText(std::string_view key) const {
  std::string content;
  if (!ReadFile(Path(), content)) return {};
  bool inSection = false;
  for (const RawLine& line : SplitRaw(content)) {
    std::string_view name;
    if (SectionOf(line.text, name)) {
      // Only the first section of a name counts.
      if (inSection) return {};
      inSection = SameName(name, section_);
      continue;
    }
    std::string_view lineKey;
    std::string_view value;
    if (inSection && KeyOf(line.text, lineKey, value) && SameName(lineKey, key)) {
      return std::string(value.substr(0, kMaxValueLength));
    }
  }
  return {};
}

std::int32_t IniFile::ReadInteger(std::string_view key) const {
  std::int32_t value = 0;
  return ParseIniInteger(ReadText(key), value) ? value : 0;
}

bool IniFile::ReadBool(std::string_view key) const { return ReadInteger(key) != 0; }

void IniFile::BeginEdit() { edit_ = ReadForChange(Path()); }

void IniFile::Commit() {
  if (!edit_) return;
  const std::string content = std::move(*edit_);
  edit_.reset();
  Save(content);
}

void IniFile::Save(const std::string& content) const {
  // Through a temporary file beside it, so that a failed write never
  // leaves half a settings file; whatever failed, the user learns which
  // file could not be written.
  const std::string path = Path();
  try {
    SaveWholeFile(path, content);
  } catch (const FileError&) {
    throw FileError(CannotWriteMessage(path));
  }
}

void IniFile::WriteText(std::string_view key, std::string_view value) {
  const std::string content = edit_ ? std::move(*edit_) : ReadForChange(Path());
  const std::vector<RawLine> lines = SplitRaw(content);
  const std::string newLine = std::string(key) + "=" + WithoutLineBreaks(value);

  std::string out;
  out.reserve(content.size() + newLine.size() + 16);
  auto emit = [&out](const RawLine& line) {
    out += line.text;
    out += line.lineBreak;
  };
  auto emitNew = [&out](std::string_view text) {
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += "\r\n";
    out += text;
    out += "\r\n";
  };

  bool done = false;
  bool inSection = false;
  std::size_t lastInSection = 0;  // index after the section's last non-blank line
  bool sectionFound = false;
  for (std::size_t i = 0; i < lines.size() && !done; ++i) {
    std::string_view name;
    if (SectionOf(lines[i].text, name)) {
      // Past the section without finding the key: it goes after the
      // section's last non-blank line.
      if (inSection) break;
      inSection = SameName(name, section_);
      if (inSection) {
        sectionFound = true;
        lastInSection = i + 1;
      }
      continue;
    }
    if (!inSection) continue;
    std::string_view lineKey;
    std::string_view lineValue;
    if (KeyOf(lines[i].text, lineKey, lineValue) && SameName(lineKey, key)) {
      for (std::size_t j = 0; j < i; ++j) emit(lines[j]);
      out += newLine;
      out += lines[i].lineBreak;
      for (std::size_t j = i + 1; j < lines.size(); ++j) emit(lines[j]);
      done = true;
      break;
    }
    if (!Trim(lines[i].text).empty()) lastInSection = i + 1;
  }

  if (!done) {
    if (sectionFound) {
      for (std::size_t j = 0; j < lastInSection; ++j) emit(lines[j]);
      emitNew(newLine);
      for (std::size_t j = lastInSection; j < lines.size(); ++j) emit(lines[j]);
    } else {
      out = content;
      emitNew("[" + section_ + "]");
      out += newLine;
      out += "\r\n";
    }
  }
  if (edit_) {
    edit_ = std::move(out);
    return;
  }
  Save(out);
}

void IniFile::WriteBool(std::string_view key, bool value) { WriteText(key, value ? "1" : "0"); }

}  // namespace torvane
