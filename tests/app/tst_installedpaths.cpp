// Where a copy finds its drag icons and works when its folder is gone. The installed
// layout as a whole (help file, icons, per-user folder) is checked by installing it.
#include "app/installedpaths.h"
#include "app/startup.h"
#include "support/testenv.h"

#include <QDir>
#include <QtTest>

class TestInstalledPaths : public QObject
{
    Q_OBJECT

private slots:
    void dragIconLookup_data();
    void dragIconLookup();
    void missingProgramFolder();
};

void TestInstalledPaths::dragIconLookup_data()
{
    QTest::addColumn<QStringList>("files"); // under the work folder, which is current
    QTest::addColumn<QString>("expected");  // relative to the work folder; empty: none
    const QString installed = QStringLiteral("prefix/share/narabin/DRAG2.ICO");
    QTest::newRow("current folder first, any case") << QStringList{"drag2.Ico", installed, "prefix/bin/DRAG2.ICO"} << "drag2.Ico";
    QTest::newRow("beside the program before the data folder") << QStringList{installed, "prefix/bin/DRAG2.ICO"} << "prefix/bin/DRAG2.ICO";
    QTest::newRow("the other icon is not taken") << QStringList{"DRAG.ICO", "prefix/share/narabin/DRAG.ICO"} << "";
    QTest::newRow("a folder of that name is no icon") << QStringList{"DRAG2.ICO/x"} << "";
}

void TestInstalledPaths::dragIconLookup()
{
    QFETCH(QStringList, files);
    QFETCH(QString, expected);
    TestEnv env;
    QDir().mkpath(env.path("prefix/bin"));
    for (const QString &f : files)
        env.writeFile(f, "icon");
    const QString found = findDragIconFile(env.path("prefix/bin"), "DRAG2.ICO");
    QCOMPARE(found, expected.isEmpty() ? QString() : env.path(expected));
}

void TestInstalledPaths::missingProgramFolder()
{
    TestEnv env;
    const QString fallback = chooseWorkingFolder(env.path("no-such-folder"));
    QVERIFY(fallback != env.path("no-such-folder"));
    QVERIFY(QFileInfo(fallback).isDir());
}

QTEST_MAIN(TestInstalledPaths)
#include "tst_installedpaths.moc"
