#pragma once

#include <QString>

#include <string>
#include <string_view>

#include "text/Windows1252.h"

namespace torvane {

// The panes' and dialogs' side of the program's 8-bit text.
QString BytesToQString(std::string_view bytes);
// Characters the code page lacks become "?", as the system's 8-bit text
// conversion would write them.
std::string QStringToBytes(const QString& text);

}  // namespace torvane
