// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "MessageBoxCatcher.h"
#include "app/widgets/ErrorReport.h"

using namespace torvane;

class ErrorReportTest : public QObject {
  Q_OBJECT

 private slots:
  void fullStop_data();
  void fullStop();
  void messageBox();
  void hookReplacesTheBox();
};

void ErrorReportTest::fullStop_data() {
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("shown");

  QTest::newRow("appended") << "Gleitkommadivision durch Null" << "Gleitkommadivision durch Null.";
  QTest::newRow("kept") << "Fertig." << "Fertig.";
  QTest::newRow("point inside only")
      << "Datei a.nc kann nicht geöffnet werden" << "Datei a.nc kann nicht geöffnet werden.";
  QTest::newRow("empty") << "" << ".";
}

void ErrorReportTest::fullStop() {
  QFETCH(QString, message);
  QFETCH(QString, shown);
  QCOMPARE(WithFullStop(message), shown);
}

void ErrorReportTest::messageBox() {
  MessageBoxCatcher catcher;
  ShowErrorReport(nullptr, QStringLiteral("Datei x.nc kann nicht erstellt werden"));

  QCOMPARE(catcher.seen, 1);
  QCOMPARE(catcher.title, QStringLiteral("TORVANE 1.0"));
  QCOMPARE(catcher.text, QStringLiteral("Datei x.nc kann nicht erstellt werden."));
  QCOMPARE(catcher.icon, QMessageBox::Critical);
  QCOMPARE(catcher.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void ErrorReportTest::hookReplacesTheBox() {
  QStringList reported;
  SetErrorReportHook([&](QWidget*, const QString& text) { reported << text; });
  MessageBoxCatcher catcher;
  ShowErrorReport(nullptr, QStringLiteral("In y.min kann nicht geschrieben werden"));
  SetErrorReportHook({});

  QCOMPARE(reported, QStringList{QStringLiteral("In y.min kann nicht geschrieben werden.")});
  QCOMPARE(catcher.seen, 0);
}

QTEST_MAIN(ErrorReportTest)
#include "ErrorReportTest.moc"
