// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "app/dialogs/TInfo.h"
#include "app/dialogs/TIntro.h"
#include "app/widgets/TXPSpeedButton.h"

using torvane::TInfo;
using torvane::TIntro;

class InfoIntroTest : public QObject {
  Q_OBJECT

 private slots:
  void versionAtEveryShow() {
    TInfo info;
    QCOMPARE(info.windowTitle(), QStringLiteral("Info"));
    QCOMPARE(info.size(), QSize(377, 239));
    for (int i = 0; i < 2; ++i) {
      info.Version->setText(QStringLiteral("alt"));
      // Shown modally, as the main window does; closed from inside the loop.
      QTimer::singleShot(0, &info, [&info] {
        QCOMPARE(info.Version->text(), QStringLiteral("Version 1.0"));
        QTest::mouseClick(info.Schliessen, Qt::LeftButton);
      });
      info.ShowModal();
      QVERIFY(!info.isVisible());
      QCOMPARE(info.Version->text(), QStringLiteral("Version 1.0"));
    }
    // The Qt the program runs with, not the one it was built against.
    QCOMPARE(info.QtVersion->text(), QString::fromLatin1(qVersion()));
  }

  // The folder button hands the settings folder to the desktop; without a
  // folder there is nothing to open. A long folder is shortened in the
  // middle to the column and whole in the tool tip.
  void settingsFolder_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<bool>("shortened");
    QTest::newRow("none") << QString() << false << false;
    QTest::newRow("configuration folder") << "/home/anna/.config/torvane" << true << false;
    QTest::newRow("long folder")
        << "/home/anna/Programme/Torvane/eine/sehr/lange/Ordnerkette/bis/zu/den/Einstellungen"
        << true << true;
  }

  void settingsFolder() {
    QFETCH(QString, folder);
    QFETCH(bool, opens);
    QFETCH(bool, shortened);

    TInfo info;
    info.SetSettingsFolder(folder);
    QList<QUrl> opened;
    info.SetUrlOpener([&](const QUrl& url) {
      opened << url;
      return false;  // no file manager: the user is told nothing
    });
    info.show();
    QTest::mouseClick(info.OrdnerOeffnen, Qt::LeftButton);
    QCOMPARE(opened, opens ? QList<QUrl>{QUrl::fromLocalFile(folder)} : QList<QUrl>{});
    QCOMPARE(info.Ordner->toolTip(), folder);
    QCOMPARE(info.Ordner->text() != folder, shortened || folder.isEmpty());
    QVERIFY(info.Ordner->geometry().right() < info.Shape4->geometry().right());
    QVERIFY(info.isVisible());
  }

  // In whatever face the system gives, the left column's texts end before
  // the line between the columns and the right column's begin after it and
  // end inside the box; no caption runs into its value.
  void textsKeepToTheirColumns() {
    TInfo info;
    info.SetSettingsFolder(QStringLiteral("/home/anna/.config/torvane"));
    info.show();
    const int line = info.Shape1->x();
    const int end = info.Shape4->geometry().right();
    for (const QLabel* label : {info.Label13, info.Version, info.Label1, info.Label3, info.Label2})
      QVERIFY2(label->geometry().right() < line, qPrintable(label->text()));
    const std::pair<QLabel*, QLabel*> rows[] = {{info.LabelLizenz, info.Lizenz},
                                                {info.LabelQt, info.QtVersion},
                                                {info.LabelQScintilla, info.QScintillaVersion}};
    for (const auto& [caption, value] : rows) {
      QVERIFY2(caption->x() > line, qPrintable(caption->text()));
      QVERIFY2(caption->geometry().right() < value->x(), qPrintable(caption->text()));
      QVERIFY2(value->geometry().right() < end, qPrintable(value->text()));
    }
    QVERIFY(info.Ordner->x() > line && info.OrdnerOeffnen->x() > line);
    QVERIFY(info.OrdnerOeffnen->geometry().right() < end);
  }

  void closeButton() {
    TInfo info;
    info.show();
    QTest::mouseClick(info.Schliessen, Qt::LeftButton);
    QVERIFY(!info.isVisible());
    info.show();
    info.close();  // the close box
    QVERIFY(!info.isVisible());
  }

  // The test checks what the timer is set to, then lets it fire at once:
  // no waiting two real seconds, no assertion on wall time.
  void splashClosesWhenItsTwoSecondTimerFires() {
    QWidget mainWindow;
    mainWindow.show();
    TIntro intro(&mainWindow);
    QCOMPARE(intro.size(), QSize(367, 216));
    QCOMPARE(intro.Image->pixmap().size(), QSize(350, 200));
    QVERIFY(!intro.Introtimer->isActive());  // disabled until shown
    QCOMPARE(intro.Introtimer->interval(), 2000);
    intro.ShowSplash();
    // Shown without waiting: the call returns at once and nothing is modal.
    QVERIFY(intro.isVisible());
    QVERIFY(intro.Introtimer->isActive());
    QVERIFY(QApplication::activeModalWidget() == nullptr);

    intro.Introtimer->setInterval(0);
    QTRY_VERIFY(!intro.isVisible());
    QVERIFY(!intro.Introtimer->isActive());
    QVERIFY(mainWindow.isVisible());

    intro.ShowSplash();  // once per program run
    QVERIFY(!intro.isVisible());
  }

  // The splash stands over the middle of the main window, and follows it
  // while the window is still being placed; over a maximised window, the
  // middle of the screen's free area that the window takes.
  void splashCentredOverTheMainWindow_data() {
    QTest::addColumn<bool>("maximised");
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QPoint>("movedTo");  // (-1, -1): not moved
    QTest::newRow("window off the screen's middle")
        << false << QRect(30, 40, 420, 300) << QPoint(-1, -1);
    QTest::newRow("window moved while the picture shows")
        << false << QRect(0, 0, 500, 400) << QPoint(150, 120);
    QTest::newRow("maximised") << true << QRect(0, 0, 500, 400) << QPoint(-1, -1);
  }

  void splashCentredOverTheMainWindow() {
    QFETCH(bool, maximised);
    QFETCH(QRect, window);
    QFETCH(QPoint, movedTo);

    QWidget mainWindow;
    mainWindow.setGeometry(window);
    TIntro intro(&mainWindow);
    if (maximised)
      mainWindow.showMaximized();
    else
      mainWindow.show();
    intro.ShowSplash();
    if (movedTo != QPoint(-1, -1)) mainWindow.move(movedTo);
    QApplication::processEvents();
    const QRect over = maximised ? mainWindow.screen()->availableGeometry()
                                 : mainWindow.frameGeometry();
    QVERIFY(intro.isVisible());
    QVERIFY2((intro.frameGeometry().center() - over.center()).manhattanLength() <= 1,
             qPrintable(QStringLiteral("splash at %1,%2, window middle %3,%4")
                            .arg(intro.frameGeometry().center().x())
                            .arg(intro.frameGeometry().center().y())
                            .arg(over.center().x())
                            .arg(over.center().y())));
  }
};

QTEST_MAIN(InfoIntroTest)
#include "InfoIntroTest.moc"
