// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "settings/Settings.h"
#include "text/FileError.h"

namespace torvane::fuzz {

// Cuts the fuzzer's bytes into pieces at a separator byte sequence, so one
// input carries several files.
class Pieces {
 public:
  Pieces(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}
  std::string_view Next() {
    const std::size_t cut = rest_.find("\n##\n");
    std::string_view piece = rest_.substr(0, cut);
    rest_ = cut == std::string_view::npos ? std::string_view() : rest_.substr(cut + 4);
    return piece;
  }

 private:
  std::string_view rest_;
};

// One settings folder per process, rewritten for every input.
inline const std::string& ScratchDir() {
  static const std::string dir = [] {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "torvane-fuzz-XXXXXX").string();
    const std::string made = ::mkdtemp(pattern.data());
    // The folder goes with the process (libFuzzer ends by calling exit()).
    // The handler keeps its own copy of the name: the string this function
    // returns is destroyed before the handler runs.
    static char folder[4096];
    made.copy(folder, sizeof folder - 1);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(folder, ignored);
    });
    return made + "/";
  }();
  return dir;
}

inline void WriteScratch(const std::string& name, std::string_view content) {
  std::ofstream(ScratchDir() + name, std::ios::binary | std::ios::trunc)
      .write(content.data(), static_cast<std::streamsize>(content.size()));
}

// The settings of the scratch folder, loaded; false when they cannot be.
inline bool LoadScratchSettings(Settings& settings) {
  try {
    settings.LoadSettings();
    return true;
  } catch (const FileError&) {
    return false;
  }
}

}  // namespace torvane::fuzz
