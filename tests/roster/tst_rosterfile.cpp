// Roster files and the register command's checks, without windows.
#include "app/textfile.h"
#include "roster/rosterfile.h"
#include "support/mainfixtures.h"

#include <QtTest>

class TestRosterFile : public QObject {
    Q_OBJECT

private slots:
    void readNames_data();
    void readNames();
    void duplicatesAreExactMatches();
    void spellingsKeptOrWrittenAsWindowsDoes();
};

// The command's own cases (28 and 29 lines, commas, quotes, UTF-8) are in the roster test,
// broken files in the bad-input test.
void TestRosterFile::readNames_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("blank lines and empty fields are no names, a trailing blank is kept")
        << sjis(QStringLiteral("山田 \r\n\r\n   \r\n佐藤\r\n,\r\n")) << QStringList{"山田 ", "佐藤"};
    // The limit counts names, not lines.
    QTest::newRow("28 names among blank lines") << cp932Lines(numberedNames(1, 14) + QStringList{"", ""} + numberedNames(15, 28))
                                                << numberedNames(1, 28);
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

void TestRosterFile::duplicatesAreExactMatches()
{
    QVERIFY(hasDuplicateName({"a", "b", "c", "c"}));
    QVERIFY(hasDuplicateName({" ", " "}));
    QVERIFY(!hasDuplicateName({"Ken", "ken"}));
    QVERIFY(!hasDuplicateName({"ｹﾝ", "ケン"}));
}

void TestRosterFile::spellingsKeptOrWrittenAsWindowsDoes()
{
    TestEnv env;
    // 髙 and 纊 in the NEC-selected rows, as some tools write them; ① and ～ have one code only.
    const QByteArray nec = QByteArray::fromHex("eee08bb40d0a87400d0aed40816093630d0a");
    env.writeFile(QStringLiteral("nec.mem"), nec);
    const RosterRead read = readRosterFile(env.path(QStringLiteral("nec.mem")));
    QCOMPARE(read.names, (QStringList{"髙橋", "①", "纊～田"}));
    QCOMPARE(writeRosterFile(env.path(QStringLiteral("again.mem")), read.names, read.spellings), QString());
    QCOMPARE(env.readFile(QStringLiteral("again.mem")), nec);
    // Names typed anew: 髙 as Windows writes it, blanks and commas as they are, the wave dash
    // of Unix input methods as CP932's.
    const QStringList typed{QStringLiteral("髙"), QStringLiteral("  "), QStringLiteral("山田,花子"), QString(QChar(0x301C))};
    QCOMPARE(writeRosterFile(env.path(QStringLiteral("new.mem")), typed, read.spellings), QString());
    QCOMPARE(env.readFile(QStringLiteral("new.mem")),
             QByteArray::fromHex("fbfc0d0a") + "  \r\n" + sjis(QStringLiteral("山田,花子\r\n")) + "\x81\x60\r\n");
}

QTEST_MAIN(TestRosterFile)
#include "tst_rosterfile.moc"
