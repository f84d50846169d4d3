// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/widgets/GermanTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace torvane {

bool LoadGermanTranslations(QCoreApplication& application) {
  // Sizes and dates in the file dialogs too ("45 Byte", "8. Dez."). The
  // program's own numbers never pass through the locale: they are read and
  // written with "." whatever it says.
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  // Owned by the application, so that it lives as long as the texts it gives.
  auto* translator = new QTranslator(&application);
  if (!translator->load(QStringLiteral("qtbase_de"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace torvane
