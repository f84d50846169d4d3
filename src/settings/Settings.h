// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "conversion/ConversionState.h"
#include "settings/IniFile.h"
#include "settings/SettingsModel.h"

namespace torvane {

// main.ini, vorspann.plt and nachspann.plt in the settings folder, the
// dialog's controls that hold them in memory, and what a load publishes to
// the conversion and the file dialogs.
class Settings {
 public:
  // `settingsDir` ends with a path separator (added when missing).
  explicit Settings(std::string settingsDir);

  const std::string& SettingsDir() const { return settingsDir_; }
  SettingsModel& Controls() { return controls_; }
  const SettingsModel& Controls() const { return controls_; }

  // Fills the controls from the files, then publishes them. Raises FileError
  // for a header or footer file that exists but cannot be read.
  void LoadSettings();
  // Writes the controls to the files, then loads them again. Raises
  // FileError; the keys written before a failure stay written.
  void SaveSettings();

  const ConversionSettings& Published() const { return published_; }
  const std::string& quell() const { return quell_; }
  const std::string& ziel() const { return ziel_; }

  // The text areas' current lines, saved or not: every conversion reads them.
  std::vector<std::string> HeaderLines() const { return SplitTextLines(controls_.EVorspann()); }
  std::vector<std::string> FooterLines() const { return SplitTextLines(controls_.ENachspann()); }

  // Largest header or footer file a text area takes.
  static constexpr std::size_t kMaxTextAreaBytes = 4 * 1024 * 1024;

 private:
  // Text controls and their keys, read and written in the given order.
  using KeyOfControl = std::pair<TextControl, const char*>;
  void ReadTexts(std::initializer_list<KeyOfControl> keys);
  void WriteTexts(std::initializer_list<KeyOfControl> keys);
  // Every key of main.ini, into the edit SaveSettings has begun.
  void WriteMainIni();
  void ReadTextArea(const std::string& path, bool header);
  void LoadMachineDialect();

  std::string settingsDir_;
  IniFile ini_;
  SettingsModel controls_;
  ConversionSettings published_;
  std::string quell_;
  std::string ziel_;
};

}  // namespace torvane
