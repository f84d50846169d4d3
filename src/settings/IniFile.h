#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "text/FileError.h"

namespace torvane {

// Key/value access to an INI file, one open-read-close per call, matching
// the way the settings have always been stored: section and key names match
// without regard to case, values are read trimmed and at most 2047
// characters long, a written key replaces its line in place, a new key goes
// to the end of its section, a new section to the end of the file.
class IniFile {
 public:
  static constexpr std::size_t kMaxValueLength = 2047;

  void SetBaseName(std::string name) { baseName_ = std::move(name); }
  void SetDirectory(std::string directory) { directory_ = std::move(directory); }
  void SetSection(std::string section) { section_ = std::move(section); }
  std::string Path() const { return directory_ + baseName_ + ".ini"; }

  // Empty when the file, the section or the key is missing.
  std::string ReadText(std::string_view key) const;
  // 0 when missing or not a whole number (decimal, or hex after "$", "0x").
  std::int32_t ReadInteger(std::string_view key) const;
  bool ReadBool(std::string_view key) const;

  // Raise FileError("In <path> kann nicht geschrieben werden") on failure.
  void WriteText(std::string_view key, std::string_view value);
  void WriteBool(std::string_view key, bool value);

 private:
  std::string baseName_;
  std::string directory_;
  std::string section_;
};

// A whole number the way the INI reader takes it; empty result when the
// text is none.
bool ParseIniInteger(std::string_view text, std::int32_t& value);

}  // namespace torvane
