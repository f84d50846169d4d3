// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>
#include <QWidget>

#include <optional>

#include "app/dialogs/TBrowseForFolder.h"

using torvane::BrowseRequest;
using torvane::TBrowseFlag;
using torvane::TBrowseFlags;
using torvane::TBrowseForFolder;
using torvane::TBrowseLocation;

Q_DECLARE_METATYPE(TBrowseFlags)
Q_DECLARE_METATYPE(TBrowseLocation)
Q_DECLARE_METATYPE(std::optional<QString>)

class BrowseForFolderTest : public QObject {
  Q_OBJECT

 private slots:
  void creationValues() {
    QWidget owner;
    TBrowseForFolder folder(&owner);
    QCOMPARE(folder.DisplayName(), QString());
    QCOMPARE(folder.StatusText(), QStringLiteral("Verzeichnis auswählen"));
    QCOMPARE(folder.FolderName(), QStringLiteral("C:\\"));
    QVERIFY(folder.Flags().Empty());
    QCOMPARE(folder.Root(), TBrowseLocation::bl_STANDART);
    QCOMPARE(folder.Caption(), QStringLiteral("Auswahl Verzeichnis"));
    QCOMPARE(folder.parent(), &owner);
  }

  void execute_data() {
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<bool>("want");
    QTest::addColumn<QString>("wantFolder");
    QTest::addColumn<QString>("wantDisplay");

    QTest::newRow("confirmed folder") << std::optional<QString>("/srv/nc") << true << "/srv/nc"
                                      << "nc";
    QTest::newRow("root keeps its separator")
        << std::optional<QString>("/") << true << "/" << "/";
    QTest::newRow("other folders lose theirs")
        << std::optional<QString>("/srv/nc/") << true << "/srv/nc" << "nc";
    QTest::newRow("cancelled") << std::optional<QString>() << false << "/start" << "";
    QTest::newRow("empty answer is no choice")
        << std::optional<QString>(QString()) << false << "/start" << "";
  }

  void execute() {
    QFETCH(std::optional<QString>, answer);
    QFETCH(bool, want);
    QFETCH(QString, wantFolder);
    QFETCH(QString, wantDisplay);

    QWidget owner;
    TBrowseForFolder folder(&owner);
    folder.SetFolderName(QStringLiteral("/start"));
    folder.SetPicker([&](const BrowseRequest&) { return answer; });
    QCOMPARE(folder.Execute(), want);
    QCOMPARE(folder.FolderName(), wantFolder);
    QCOMPARE(folder.DisplayName(), wantDisplay);
  }

  void requestCarriesProperties() {
    QWidget window;
    auto* inner = new QWidget(&window);
    TBrowseForFolder folder(inner);
    folder.SetCaption(QStringLiteral("Ordner"));
    folder.SetStatusText(QStringLiteral("Status"));
    folder.SetFolderName(QStringLiteral("/srv"));
    folder.SetFlags({TBrowseFlag::bf_statustext});
    BrowseRequest seen;
    folder.SetPicker([&](const BrowseRequest& request) {
      seen = request;
      return std::optional<QString>();
    });
    folder.Execute();
    QCOMPARE(seen.owner, &window);  // the owner's window, not the owner itself
    QCOMPARE(seen.title, QStringLiteral("Ordner"));
    QCOMPARE(seen.statusText, QStringLiteral("Status"));
    QCOMPARE(seen.startFolder, QStringLiteral("/srv"));
    QVERIFY(seen.flags == TBrowseFlags{TBrowseFlag::bf_statustext});
  }

  void flagsAndRoots_data() {
    QTest::addColumn<TBrowseFlags>("flags");
    QTest::addColumn<TBrowseLocation>("root");
    QTest::addColumn<uint>("wantBits");
    QTest::addColumn<int>("wantId");         // -1: none
    QTest::addColumn<QString>("wantRoot");   // "?": some folder of this desktop
    using F = TBrowseFlag;
    using L = TBrowseLocation;
    QTest::newRow("standard, validation only") << TBrowseFlags{} << L::bl_STANDART << 0x20u << -1
                                               << "";
    QTest::newRow("custom root") << TBrowseFlags{F::bf_BrowseForComputer} << L::bl_CUSTOM
                                 << 0x1020u << -1 << "/srv/own";
    QTest::newRow("desktop") << TBrowseFlags{F::bf_ReturnOnlyFSDIRS, F::bf_EditBox}
                             << L::bl_DESKTOP << 0x31u << 0x00 << "?";
    QTest::newRow("drives") << TBrowseFlags{F::bf_DontGoBelowDomain, F::bf_ReturnFSanceStors}
                            << L::bl_DRIVES << 0x2Au << 0x11 << "/";
    QTest::newRow("printhood, no folder here")
        << TBrowseFlags{F::bf_BrowseForPrinter} << L::bl_PRINTHOOD << 0x2020u << 0x1B << "";
  }

  void flagsAndRoots() {
    QFETCH(TBrowseFlags, flags);
    QFETCH(TBrowseLocation, root);
    QFETCH(uint, wantBits);
    QFETCH(int, wantId);
    QFETCH(QString, wantRoot);

    QWidget owner;
    TBrowseForFolder folder(&owner);
    folder.SetFlags(flags);
    folder.SetRoot(root);
    folder.SetCustomRoot(QStringLiteral("/srv/own"));
    folder.SetFolderName(QString());
    BrowseRequest seen;
    folder.SetPicker([&](const BrowseRequest& request) {
      seen = request;
      return std::optional<QString>();
    });
    folder.Execute();
    QVERIFY(folder.Flags() == flags);
    QCOMPARE(seen.optionBits, wantBits);
    QCOMPARE(torvane::SpecialFolderId(root).value_or(-1), wantId);
    if (wantRoot == QLatin1String("?"))
      QVERIFY(!seen.rootPath.isEmpty());
    else
      QCOMPARE(seen.rootPath, wantRoot);
  }
};

QTEST_MAIN(BrowseForFolderTest)
#include "BrowseForFolderTest.moc"
