#pragma once

#include <QPixmap>

namespace torvane {

// The toolbar's 16 x 16 pictures and the 32 x 32 info icon, drawn here so
// the program ships no image files.
QPixmap OpenGlyph();      // an opened folder
QPixmap CylinderGlyph();  // a cylinder lying on its side: convert
QPixmap SaveGlyph();      // a floppy disk
QPixmap SettingsGlyph();  // a cog wheel
QPixmap InfoIcon();       // a blue disc with a white "i"

}  // namespace torvane
