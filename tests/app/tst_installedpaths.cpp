// Where an installed or portable copy finds its drag icons, and what `--paths` reports.
#include "app/installedpaths.h"
#include "support/testenv.h"

#include <QDir>
#include <QStandardPaths>
#include <QtTest>

class TestInstalledPaths : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void dragIconLookup_data();
    void dragIconLookup();
    void reportNamesWhatIsMissing();
};

void TestInstalledPaths::initTestCase()
{
    // An installed package must not answer for the test's own folders.
    qputenv("XDG_DATA_DIRS", QByteArrayLiteral("/nonexistent-narabin-data"));
}

void TestInstalledPaths::dragIconLookup_data()
{
    QTest::addColumn<QStringList>("files"); // under the work folder, which is current
    QTest::addColumn<QString>("expected");  // relative to the work folder; empty: none
    const QString installed = QStringLiteral("prefix/share/narabin/DRAG2.ICO");
    QTest::newRow("current folder first, any case")
        << QStringList{QStringLiteral("drag2.Ico"), installed, QStringLiteral("prefix/bin/DRAG2.ICO")}
        << QStringLiteral("drag2.Ico");
    QTest::newRow("beside the program before the data folder")
        << QStringList{installed, QStringLiteral("prefix/bin/DRAG2.ICO")} << QStringLiteral("prefix/bin/DRAG2.ICO");
    QTest::newRow("installed data folder") << QStringList{installed} << installed;
    QTest::newRow("the other icon is not taken")
        << QStringList{QStringLiteral("DRAG.ICO"), QStringLiteral("prefix/share/narabin/DRAG.ICO")} << QString();
    QTest::newRow("a folder of that name is no icon") << QStringList{QStringLiteral("DRAG2.ICO/x")} << QString();
}

void TestInstalledPaths::dragIconLookup()
{
    QFETCH(QStringList, files);
    QFETCH(QString, expected);
    TestEnv env;
    QDir().mkpath(env.path(QStringLiteral("prefix/bin")));
    for (const QString &f : files)
        env.writeFile(f, "icon");
    const QString found = findDragIconFile(env.path(QStringLiteral("prefix/bin")), QStringLiteral("DRAG2.ICO"));
    QCOMPARE(found, expected.isEmpty() ? QString() : env.path(expected));
}

void TestInstalledPaths::reportNamesWhatIsMissing()
{
    TestEnv env;
    env.writeFile(QStringLiteral("prefix/share/narabin/DRAG.ICO"), "icon");
    const QString bin = env.path(QStringLiteral("prefix/bin"));
    QDir().mkpath(bin);
    const PathReport report = startupPathReport(bin);
    // Installed (data under share/narabin): the program works in the user's folder.
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QCOMPARE(report.text, QStringLiteral("working-folder: %4\nsettings: %2\nhelp-file: (missing) %1/NARABIN.HLP\n"
                                         "drag-icon: %3\ndrag-icon: (built-in) DRAG2.ICO\n")
                              .arg(bin, env.settingsFile(), env.path(QStringLiteral("prefix/share/narabin/DRAG.ICO")),
                                   userFolder));
    QVERIFY(!report.complete);
    QCOMPARE(QDir::currentPath(), userFolder);
    QVERIFY(QFileInfo(env.settingsFile()).isFile()); // the settings step ran
}

QTEST_MAIN(TestInstalledPaths)
#include "tst_installedpaths.moc"
