// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>

namespace torvane {

// The program's small button pictures, drawn at run time so that they stay
// sharp and need no image files. All are 16 pixels high with a transparent
// background; the strips hold the four images of a toggle button side by
// side (up, disabled, down, latched).

QPixmap CheckGlyph();        // a green check mark: accept, save
QPixmap CrossGlyph();        // a red cross: cancel
QPixmap CheckBoxGlyphStrip();  // 64 x 16: an on/off toggle
QPixmap OptionGlyphStrip();    // 64 x 16: one button of a one-of group

}  // namespace torvane
