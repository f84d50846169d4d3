// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace torvane {

// Where the programs keep main.ini, vorspann.plt and nachspann.plt.
//
// Beside the executable, as always, when main.ini is there or when that
// folder is writable and no installed defaults exist (a build tree, an
// unpacked copy). An installed program (defaults in ../share/torvane beside
// its folder) or one in a folder it cannot write keeps them in
// $XDG_CONFIG_HOME/torvane (~/.config/torvane when unset), where the
// installed defaults are copied on first start; files already there are the
// user's and stay. When that folder cannot be made, the executable's folder
// is used after all.
//
// `executableDir`, `xdgConfigHome` and `home` as the caller found them (the
// latter two may be empty); the result ends with "/".
std::string FindSettingsDir(const std::string& executableDir, const std::string& xdgConfigHome,
                            const std::string& home);

// The same, from the running process's executable and environment.
std::string FindSettingsDirOfThisProgram();

}  // namespace torvane
