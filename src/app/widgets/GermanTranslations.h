// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;

namespace torvane {

// Makes Qt's own dialogs speak German (file dialogs, the overwrite
// question, message-box buttons) and show sizes and dates the German way,
// whatever the system's language: the rest of the program is German too. Uses the translations installed with Qt
// (Debian: qt6-translations-l10n). False when they are missing; the
// standard dialogs then stay in Qt's English.
bool LoadGermanTranslations(QCoreApplication& application);

}  // namespace torvane
