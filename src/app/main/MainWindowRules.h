// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace torvane {

// What the program's arguments ask for at start-up.
struct CommandLineRequest {
  enum class Kind {
    Splash,     // no arguments: greet with the splash window
    Clipboard,  // exactly "/C": take the source from the clipboard
    File,       // anything else: open the file of that name, if it exists
  };
  Kind kind = Kind::Splash;
  // The arguments joined without separator: the name of the file to open.
  std::string path;
  // The first argument as passed: the name the status text shows.
  std::string first;
};

// The arguments are joined without blanks, as the program always took them,
// so an unquoted path with blanks finds the file of the joined name.
CommandLineRequest ReadCommandLine(const std::vector<std::string>& arguments);

// Width of the left pane for a main area of `clientWidth` pixels: half of it,
// a half pixel going to the even neighbour (641 gives 320, 643 gives 322).
int LeftPaneWidth(int clientWidth);

}  // namespace torvane
