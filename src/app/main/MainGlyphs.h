// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>

namespace torvane {

// The toolbar's pictures that the dialogs have no use for (open and convert
// share the folder and cylinder glyphs of the settings dialog), drawn here
// so the program ships no image files.
QPixmap SaveGlyph();      // a floppy disk
QPixmap SettingsGlyph();  // a cog wheel
QPixmap InfoIcon();       // a blue disc with a white "i"

}  // namespace torvane
