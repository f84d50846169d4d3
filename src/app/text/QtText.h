// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <string>
#include <string_view>

#include "text/TextEncoding.h"
#include "text/Windows1252.h"

namespace torvane {

// The panes' and dialogs' side of the program's 8-bit text.
QString BytesToQString(std::string_view bytes);
// Characters the code page lacks become "?", as the system's 8-bit text
// conversion would write them.
std::string QStringToBytes(const QString& text);

// The same for text kept in either encoding; UTF-8 keeps every character.
QString BytesToQString(std::string_view bytes, TextEncoding encoding);
std::string QStringToBytes(const QString& text, TextEncoding encoding);
// What a text of that encoding keeps of `text`: in Windows-1252 the
// characters it lacks become "?", as soon as they are typed or pasted, so
// that what is shown is what will be saved.
QString Representable(const QString& text, TextEncoding encoding);

}  // namespace torvane
