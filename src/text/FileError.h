// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include "text/Windows1252.h"

namespace torvane {

// A failed file access; the message is the German text shown to the user,
// Windows-1252 like every message of the program.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "Datei %s kann nicht geöffnet werden" and its siblings.
inline std::string CannotOpenMessage(std::string_view path) {
  return "Datei " + std::string(path) + Cp1252(" kann nicht geöffnet werden");
}
inline std::string CannotCreateMessage(std::string_view path) {
  return "Datei " + std::string(path) + " kann nicht erstellt werden";
}
inline std::string CannotWriteMessage(std::string_view path) {
  return "In " + std::string(path) + " kann nicht geschrieben werden";
}
// A save onto something that is no regular file; `mode` is its st_mode.
std::string NotARegularFileMessage(std::string_view path, unsigned mode);

}  // namespace torvane
