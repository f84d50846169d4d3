// The desktop program: creates its windows once, in a fixed order, and runs
// until the main window closes.

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>

#include <string>
#include <vector>

#include "TMainform.h"
#include "app/widgets/ErrorReport.h"
#include "app/widgets/TRohteil.h"
#include "conversion/Conversion.h"
#include "settings/Settings.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  application.setApplicationName(torvane::ApplicationTitle());

  // The settings files live beside the executable.
  torvane::Settings settings(QApplication::applicationDirPath().toStdString() + "/");
  torvane::Conversion conversion;

  torvane::TMainform mainform(settings, conversion);
  torvane::TRohteil rohteil(&mainform);
  mainform.Rohteil = &rohteil;

  std::vector<std::string> arguments;
  const QStringList passed = QApplication::arguments();
  for (qsizetype i = 1; i < passed.size(); ++i) arguments.push_back(passed[i].toStdString());
  mainform.SetArguments(std::move(arguments));

  mainform.showMaximized();
  return QApplication::exec();
}
