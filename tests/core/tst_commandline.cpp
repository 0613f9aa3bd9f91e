// What the command line asks of the program.
#include "core/commandline.h"

#include <QtTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void actions_data();
    void actions();
    void usageOfEachSystem();
};

void TestCommandLine::actions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("display");
    QTest::addColumn<int>("action");
    QTest::newRow("nothing") << QStringList() << true << int(CommandLineAction::Start);
    QTest::newRow("nothing, no display") << QStringList() << false << int(CommandLineAction::NoDisplay);
    // None of these needs a display.
    QTest::newRow("--help") << QStringList{"--help"} << false << int(CommandLineAction::PrintHelp);
    QTest::newRow("-h") << QStringList{"-h"} << true << int(CommandLineAction::PrintHelp);
    QTest::newRow("--version") << QStringList{"--version"} << false << int(CommandLineAction::PrintVersion);
    QTest::newRow("--paths") << QStringList{"--paths"} << false << int(CommandLineAction::PrintPaths);
    // Qt's own options are Qt's.
    QTest::newRow("-platform offscreen") << QStringList{"-platform", "offscreen"} << true
                                         << int(CommandLineAction::Start);
}

void TestCommandLine::actions()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, display);
    QFETCH(int, action);
    QCOMPARE(int(commandLineAction(arguments, display)), action);
}

// Windows has no DISPLAY; its consoles see a windowed program's status through the launcher.
void TestCommandLine::usageOfEachSystem()
{
    const QString windows = usageText(true);
    QVERIFY(windows.endsWith(QStringLiteral("  narabin-cli --paths\n  echo %ERRORLEVEL%      （PowerShell では "
                                            "$LASTEXITCODE）\n")));
    QVERIFY(!windows.contains(QStringLiteral("DISPLAY")));
    QVERIFY(usageText(false).endsWith(QStringLiteral("  DISPLAY=:99 narabin\n")));
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
