// Roster files read without windows.
#include "core/rosterfile.h"
#include "core/textfile.h"
#include "support/mainfixtures.h"

#include <QtTest>

class TestRosterFile : public QObject
{
    Q_OBJECT

private slots:
    void readNames_data();
    void readNames();
};

void TestRosterFile::readNames_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("blank lines and empty fields are no names, a trailing blank is kept")
        << sjis(QStringLiteral("山田 \r\n\r\n   \r\n佐藤\r\n,\r\n")) << QStringList{"山田 ", "佐藤"};
    // The limit counts names, not lines.
    QTest::newRow("28 names among blank lines")
        << crlfLines(numberedNames(1, 14) + QStringList{"", ""} + numberedNames(15, 28)) << numberedNames(1, 28);
}

void TestRosterFile::readNames()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    TestEnv env;
    env.writeFile(QStringLiteral("class.mem"), bytes);
    const RosterRead read = readRosterFile(env.path(QStringLiteral("class.mem")));
    QCOMPARE(read.outcome, RosterRead::Outcome::Read);
    QCOMPARE(read.names, names);
}

QTEST_MAIN(TestRosterFile)
#include "tst_rosterfile.moc"
