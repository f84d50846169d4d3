// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <exception>

#include "cli/StreamLines.h"
#include "conversion/Diameter.h"
#include "settings/ConvertOverride.h"
#include "settings/SettingsLocation.h"
#include "text/FloatText.h"

namespace torvane {

void Reporter::operator()(std::string_view message) const {
  const std::string text = std::string(program_) + ": " + ToTerminalText(message) + "\n";
  std::fwrite(text.data(), 1, text.size(), stderr);
}

int Reporter::Usage(std::string_view message) const {
  (*this)(message);
  const std::string hint = "Hilfe: " + std::string(program_) + " --help\n";
  std::fputs(hint.c_str(), stderr);
  return 2;
}

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

File OpenForReading(const std::string& name) {
  if (name == "-") return File(stdin);
  if (IsDirectory(name)) return nullptr;
  return File(std::fopen(name.c_str(), "rb"));
}

std::optional<std::string> ParseCommandLine(int argc, char** argv,
                                            const std::vector<ValueOption>& options,
                                            const std::vector<std::string_view>& knownFlags,
                                            CommandLine& line) {
  std::vector<ValueOption> all = options;
  std::string assignment;
  all.push_back({"", "--set", &assignment});
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      line.help = true;
      continue;
    }
    if (arg == "--version") {
      line.version = true;
      continue;
    }
    if (std::find(knownFlags.begin(), knownFlags.end(), arg) != knownFlags.end()) {
      line.flags.push_back(arg);
      continue;
    }
    bool taken = false;
    for (const ValueOption& option : all) {
      if (arg == option.shortName || arg == option.longName) {
        if (i + 1 >= argc) return "Option " + std::string(arg) + " erwartet einen Wert";
        *option.into = argv[++i];
      } else if (arg.starts_with(std::string(option.longName) + "=")) {
        *option.into = std::string(arg.substr(option.longName.size() + 1));
      } else {
        continue;
      }
      if (option.into == &assignment) line.overrides.push_back(assignment);
      taken = true;
      break;
    }
    if (taken) continue;
    // "-" alone names standard input.
    if (arg.size() > 1 && arg.front() == '-') return "Unbekannte Option " + std::string(arg);
    line.operands.emplace_back(arg);
  }
  return std::nullopt;
}

bool AnsweredHelpOrVersion(const CommandLine& line, const Reporter& program, const char* usage,
                           std::string_view version) {
  if (line.help) {
    std::fputs(usage, stdout);
    return true;
  }
  if (!line.version) return false;
  const std::string text = std::string(program.Program()) + " " + std::string(version) + "\n";
  std::fputs(text.c_str(), stdout);
  return true;
}

std::optional<SetupProblem> LoadRunSettings(const std::string& diameterText,
                                            const std::string& settingsDir,
                                            const std::vector<std::string>& overrides,
                                            RunSettings& run) {
  const std::optional<long double> diameter = StrToFloatStrict(diameterText);
  if (!diameter) return SetupProblem{InvalidFloatMessage(diameterText), true};
  if (const auto problem = DiameterProblem(*diameter)) {
    return SetupProblem{*problem + " (" + diameterText + ")", true};
  }
  run.diameter = *diameter;
  const std::string folder = settingsDir.empty() ? FindSettingsDirOfThisProgram() : settingsDir;
  if (!IsDirectory(folder)) {
    return SetupProblem{"Einstellungsordner " + folder + " nicht gefunden", true};
  }
  run.settings = std::make_unique<Settings>(folder);
  try {
    run.settings->LoadSettings();
  } catch (const std::exception& error) {
    return SetupProblem{error.what(), false};
  }
  run.published = run.settings->Published();
  for (const std::string& assignment : overrides) {
    if (const auto error = ApplyConvertOverride(assignment, run.published)) {
      return SetupProblem{*error, true};
    }
  }
  if (::access((run.settings->SettingsDir() + "main.ini").c_str(), R_OK) != 0) {
    run.warnings.push_back("Warnung: " + run.settings->SettingsDir() +
                           "main.ini fehlt, es gelten leere Einstellungen");
  }
  return std::nullopt;
}

}  // namespace torvane
