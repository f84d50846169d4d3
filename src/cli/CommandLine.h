// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/ConversionState.h"
#include "settings/Settings.h"

namespace torvane {

// The messages of a command-line program on standard error, each after the
// program's name, in the terminal's UTF-8.
class Reporter {
 public:
  explicit constexpr Reporter(std::string_view program) : program_(program) {}
  std::string_view Program() const { return program_; }
  void operator()(std::string_view message) const;
  // A wrong command line: the message and the way to the help; returns the
  // exit code 2.
  int Usage(std::string_view message) const;

 private:
  std::string_view program_;
};

bool IsDirectory(const std::string& path);

struct FileCloser {
  void operator()(std::FILE* file) const {
    if (file && file != stdin) std::fclose(file);
  }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// A file to read: standard input for "-"; none for a folder or a file that
// cannot be opened.
File OpenForReading(const std::string& name);

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

// --help prints `usage`, --version the program's name and `version`:
// true when one of them was asked for and the program is done.
bool AnsweredHelpOrVersion(const CommandLine& line, const Reporter& program, const char* usage,
                           std::string_view version);

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
