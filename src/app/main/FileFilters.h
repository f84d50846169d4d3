// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace torvane {

// The file dialogs' filters, named the way the desktop names the files (the
// package registers the NC program's MIME type for the same patterns).
inline QString NcProgramFilter() { return QStringLiteral("NC-Programme (*.nc *.cnc)"); }
inline QString MantelProgramFilter() { return QStringLiteral("MANTEL-Programme (*.min)"); }
inline QString AllFilesFilter() { return QStringLiteral("Alle Dateien (*)"); }

}  // namespace torvane
