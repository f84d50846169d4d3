// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsLocation.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace torvane {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSettingsFiles[] = {"main.ini", "vorspann.plt", "nachspann.plt"};

std::string WithSlash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

std::string FindSettingsDir(const std::string& executableDir, const std::string& xdgConfigHome,
                            const std::string& home) {
  const std::string besideExecutable = WithSlash(executableDir);
  std::error_code error;
  if (fs::exists(besideExecutable + "main.ini", error)) return besideExecutable;

  const fs::path installedDefaults = fs::path(besideExecutable) / ".." / "share" / "torvane";
  const bool installed = fs::is_directory(installedDefaults, error);
  const bool writable = ::access(besideExecutable.c_str(), W_OK) == 0;
  if (!installed && writable) return besideExecutable;

  // XDG asks that a relative value be ignored.
  std::string base = xdgConfigHome;
  if (base.empty() || base.front() != '/') {
    if (home.empty()) return besideExecutable;
    base = WithSlash(home) + ".config";
  }
  const fs::path folder = fs::path(base) / "torvane";
  fs::create_directories(folder, error);
  if (!fs::is_directory(folder, error)) return besideExecutable;
  if (installed) {
    for (const char* name : kSettingsFiles) {
      const fs::path from = installedDefaults / name;
      if (fs::exists(folder / name, error) || !fs::exists(from, error)) continue;
      fs::copy_file(from, folder / name, error);
    }
  }
  return WithSlash(folder.string());
}

std::string FindSettingsDirOfThisProgram() {
  char path[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  std::string dir = "./";
  if (length > 0) {
    const std::string executable(path, static_cast<std::size_t>(length));
    dir = executable.substr(0, executable.rfind('/') + 1);
  }
  return FindSettingsDir(dir, EnvironmentValue("XDG_CONFIG_HOME"), EnvironmentValue("HOME"));
}

}  // namespace torvane
