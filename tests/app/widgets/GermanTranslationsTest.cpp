// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own dialogs speak German once the translations are loaded.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "app/widgets/GermanTranslations.h"

class GermanTranslationsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY(torvane::LoadGermanTranslations(*qApp)); }

  void standardButtons_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("text");
    QTest::newRow("Cancel") << int(QMessageBox::Cancel) << "&Abbrechen";
    QTest::newRow("Save") << int(QMessageBox::Save) << "S&peichern";
    QTest::newRow("Discard") << int(QMessageBox::Discard) << "&Verwerfen";
    QTest::newRow("Yes") << int(QMessageBox::Yes) << "&Ja";
    QTest::newRow("No") << int(QMessageBox::No) << "&Nein";
    QTest::newRow("Open") << int(QMessageBox::Open) << "&Öffnen";
  }

  void standardButtons() {
    QFETCH(int, button);
    QFETCH(QString, text);
    QMessageBox box;
    box.setStandardButtons(QMessageBox::StandardButton(button));
    // Accelerator marks differ between translation releases; the words not.
    QCOMPARE(box.button(QMessageBox::StandardButton(button))->text().remove('&'),
             text.remove('&'));
  }

  void fileDialogTexts() {
    QCOMPARE(QCoreApplication::translate("QFileDialog", "Save As"), QStringLiteral("Speichern unter"));
    QCOMPARE(QCoreApplication::translate("QFileDialog", "&Open"), QStringLiteral("&Öffnen"));
  }
};

QTEST_MAIN(GermanTranslationsTest)
#include "GermanTranslationsTest.moc"
