#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "app/dialogs/TInfo.h"
#include "app/dialogs/TIntro.h"
#include "app/widgets/ErrorReport.h"
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
  }

  void links_data() {
    QTest::addColumn<bool>("mail");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("web") << false << "http://" << "";
    QTest::newRow("mail") << true << "mailto:" << "?subject=Kontakt Torvane 1.0&Body=";
  }

  // The desktop gets scheme, caption and (for mail) the subject joined
  // without blanks.
  void links() {
    QFETCH(bool, mail);
    QFETCH(QString, prefix);
    QFETCH(QString, suffix);

    QStringList reports;
    const auto previous = torvane::SetErrorReportHook(
        [&](QWidget*, const QString& message) { reports << message; });
    TInfo info;
    QList<QUrl> opened;
    info.SetUrlOpener([&](const QUrl& url) {
      opened << url;
      return false;  // no browser, no mail program: the user is told nothing
    });
    info.show();
    torvane::TXPSpeedButton* button = mail ? info.Email : info.Link;
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(opened.size(), 1);
    const QString want = prefix + button->Caption() + suffix;
    QCOMPARE(opened[0].toString(), want);
    QVERIFY(opened[0].isValid());
    QCOMPARE(opened[0].scheme(), prefix.chopped(prefix.endsWith(QLatin1String("://")) ? 3 : 1));
    QCOMPARE(mail ? info.EmailTarget() : info.LinkTarget(), want);
    torvane::SetErrorReportHook(previous);
    QVERIFY(reports.isEmpty());
    QVERIFY(info.isVisible());
  }

  // In whatever face the system gives, the left column's texts end before
  // the line between the columns and the right column's begin after it.
  void textsKeepToTheirColumns() {
    TInfo info;
    info.show();
    const int line = info.Shape1->x();
    for (const QLabel* label : {info.Label13, info.Version, info.Label1, info.Label3, info.Label2})
      QVERIFY2(label->geometry().right() < line, qPrintable(label->text()));
    for (const QLabel* label : {info.Name, info.Label6, info.Telefon, info.Label9, info.Telefax})
      QVERIFY2(label->x() > line, qPrintable(label->text()));
    QVERIFY(info.Email->x() > line);
    QVERIFY(info.Link->geometry().right() < info.Shape4->geometry().right());
    QVERIFY(info.Label6->geometry().right() < info.Telefon->x());
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
};

QTEST_MAIN(InfoIntroTest)
#include "InfoIntroTest.moc"
