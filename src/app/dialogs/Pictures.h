// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>

namespace torvane {

// Pictures of the dialogs, drawn at run time so that they need no image
// files. Glyphs are 16 x 16 on a transparent background.

QPixmap ProgramIcon();      // 32 x 32: a cylinder with a contour on its surface
QPixmap SplashPicture();    // 350 x 200: the flat contour wrapped onto the cylinder
QPixmap ConversionGlyph();  // category "Konvertierung": a small cylinder
QPixmap FolderGlyph();      // category "Verzeichnisse" and the folder buttons
QPixmap MachineGlyph();     // category "Maschine": a turning rotary axis
QPixmap PlusGlyph();        // stepper up
QPixmap MinusGlyph();       // stepper down

}  // namespace torvane
