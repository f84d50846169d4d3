// SPDX-License-Identifier: GPL-3.0-or-later
// The INI reader and writer and LoadSettings on random files.
#include "FuzzInput.h"
#include "settings/Settings.h"

using namespace torvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Pieces pieces(data, size);
  fuzz::WriteScratch("main.ini", pieces.Next());
  fuzz::WriteScratch("vorspann.plt", pieces.Next());
  fuzz::WriteScratch("nachspann.plt", pieces.Next());
  const std::string key(pieces.Next().substr(0, 64));
  const std::string value(pieces.Next().substr(0, 256));

  Settings settings(fuzz::ScratchDir());
  try {
    settings.LoadSettings();
  } catch (const FileError&) {
  }
  IniFile ini;
  ini.SetBaseName("main");
  ini.SetDirectory(fuzz::ScratchDir());
  ini.SetSection(key.empty() ? "convert" : key);
  try {
    ini.WriteText(key.empty() ? "deg" : key, value);
    // What was written reads back (trimmed, without line breaks).
    (void)ini.ReadText(key.empty() ? "deg" : key);
  } catch (const FileError&) {
  }
  return 0;
}
