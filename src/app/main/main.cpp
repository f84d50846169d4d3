// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program: creates its windows once, in a fixed order, and runs
// until the main window closes.

#include <QApplication>

#include <string>
#include <vector>

#include "MemoryUse.h"
#include "TMainform.h"
#include "app/dialogs/Pictures.h"
#include "app/dialogs/TEinstellungen.h"
#include "app/dialogs/TInfo.h"
#include "app/dialogs/TIntro.h"
#include "app/widgets/ErrorReport.h"
#include "app/widgets/GermanTranslations.h"
#include "app/dialogs/TRohteil.h"
#include "conversion/Conversion.h"
#include "settings/Settings.h"
#include "settings/SettingsLocation.h"

int main(int argc, char** argv) {
  torvane::TakeLargeBlocksFromTheSystem();
  QApplication application(argc, argv);
  application.setApplicationName(torvane::ApplicationTitle());
  torvane::LoadGermanTranslations(application);

  torvane::Settings settings(torvane::FindSettingsDirOfThisProgram());
  torvane::Conversion conversion;

  application.setWindowIcon(torvane::ProgramIcon());

  torvane::TMainform mainform(settings, conversion);
  torvane::TEinstellungen einstellungen(settings, &mainform);
  torvane::TInfo info(&mainform);
  info.SetSettingsFolder(QString::fromLocal8Bit(settings.SettingsDir()));
  torvane::TIntro intro(&mainform);
  torvane::TRohteil rohteil(&mainform);
  mainform.Rohteil = &rohteil;
  mainform.ShowSettings = [&einstellungen] { einstellungen.exec(); };
  mainform.ShowInfo = [&info] { info.ShowModal(); };
  mainform.ShowSplash = [&intro] { intro.ShowSplash(); };

  std::vector<std::string> arguments;
  const QStringList passed = QApplication::arguments();
  for (qsizetype i = 1; i < passed.size(); ++i) arguments.push_back(passed[i].toStdString());
  mainform.SetArguments(std::move(arguments));

  mainform.showMaximized();
  return QApplication::exec();
}
