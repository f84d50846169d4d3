// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/ConversionState.h"
#include "settings/Settings.h"

namespace torvane {

// An option that takes a value: "-d 50", "--diameter 50", "--diameter=50".
// `shortName` may be empty.
struct ValueOption {
  std::string_view shortName;
  std::string_view longName;
  std::string* into;
};

// What the command line holds besides the value options.
struct CommandLine {
  std::vector<std::string> overrides;  // --set KEY=VALUE, in order
  std::vector<std::string> operands;   // the file names, in order
  std::vector<std::string_view> flags;  // switches without a value that were given
  bool help = false;
  bool version = false;
};

// Reads argv; a switch is a flag only when `knownFlags` lists it. Returns
// a German message for a wrong command line.
std::optional<std::string> ParseCommandLine(int argc, char** argv,
                                            const std::vector<ValueOption>& options,
                                            const std::vector<std::string_view>& knownFlags,
                                            CommandLine& line);

// The settings of a run from the command line: the diameter read, the
// settings folder loaded (the program's own by default), --set applied.
struct RunSettings {
  long double diameter = 0;
  std::unique_ptr<Settings> settings;
  ConversionSettings published;
  // Said to the user but no reason to stop (a missing main.ini).
  std::vector<std::string> warnings;
};

struct SetupProblem {
  std::string message;
  bool usage = false;  // the command line is wrong, not a file
};

std::optional<SetupProblem> LoadRunSettings(const std::string& diameterText,
                                            const std::string& settingsDir,
                                            const std::vector<std::string>& overrides,
                                            RunSettings& run);

}  // namespace torvane
