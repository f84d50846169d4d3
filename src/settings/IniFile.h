// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text/FileError.h"

namespace torvane {

// Key/value access to an INI file, one open-read-close per call, matching
// the way the settings have always been stored: section and key names match
// without regard to case, values are read trimmed and at most 2047
// characters long, a written key replaces its line in place, a new key goes
// to the end of its section, a new section to the end of the file. Between
// BeginEdit and Commit the writes collect in memory and the file is
// replaced once, so that a failure half way leaves the old file whole.
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

  // Raise FileError("In <path> kann nicht geschrieben werden") on failure,
  // and FileError("Datei <path> kann nicht geöffnet werden ...") when the
  // file is there but cannot be read: its other keys would be lost.
  void WriteText(std::string_view key, std::string_view value);
  void WriteBool(std::string_view key, bool value);

  // Reads the file for the writes that follow (raising as WriteText does
  // for an unreadable one); Commit puts the result in its place, Abandon
  // forgets it.
  void BeginEdit();
  void Commit();
  void Abandon() { edit_.reset(); }

 private:
  void Save(const std::string& content) const;

  std::optional<std::string> edit_;
  std::string baseName_;
  std::string directory_;
  std::string section_;
};

// A whole number the way the INI reader takes it; empty result when the
// text is none.
bool ParseIniInteger(std::string_view text, std::int32_t& value);

}  // namespace torvane
