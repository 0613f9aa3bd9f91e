// Roster files and the register command's checks, without windows.
#include "app/textfile.h"
#include "roster/rosterfile.h"
#include "support/mainfixtures.h"

#include <QtTest>

using Outcome = RosterRead::Outcome;
Q_DECLARE_METATYPE(RosterRead::Outcome)

class TestRosterFile : public QObject {
    Q_OBJECT

private slots:
    void readRosterFile_data();
    void readRosterFile();
    void duplicates_data();
    void duplicates();
    void writtenBytes_data();
    void writtenBytes();
    void otherSpellingsOfCp932AreKept();
};

void TestRosterFile::readRosterFile_data()
{
    QTest::addColumn<QByteArray>("bytes"); // "<none>": no such file; "<folder>": a folder
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("missing") << QByteArray("<none>") << Outcome::NotOpened << QStringList();
    QTest::newRow("a folder") << QByteArray("<folder>") << Outcome::NotOpened << QStringList();
    QTest::newRow("empty file") << QByteArray() << Outcome::Read << QStringList();
    QTest::newRow("many lines stop after the 29th") << cp932Lines(numberedNames(1, 500)) << Outcome::TooMany << numberedNames(1, 29);
    // The command's own cases (28 and 29 lines, commas, quotes, UTF-8, not text) are in the roster test.
    QTest::newRow("blank and empty lines are no names")
        << sjis(QStringLiteral("山田\r\n\r\n   \r\n佐藤\r\n,\r\n")) << Outcome::Read << QStringList{"山田", "佐藤"};
    QTest::newRow("28 names among blank lines") << cp932Lines(numberedNames(1, 14) + QStringList{"", ""} + numberedNames(15, 28))
                                                << Outcome::Read << numberedNames(1, 28);
    QTest::newRow("trailing blank kept") << sjis(QStringLiteral("山田 \r\n")) << Outcome::Read << QStringList{"山田 "};
    QTest::newRow("NUL bytes") << QByteArray("ab\0cd\r\n", 7) << Outcome::NotText << QStringList();
    QTest::newRow("unclosed quote swallows the line ends") << sjis(QStringLiteral("\"山田\r\n佐藤\r\n")) << Outcome::NotText << QStringList();
}

void TestRosterFile::readRosterFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Outcome, outcome);
    QFETCH(QStringList, names);
    TestEnv env;
    if (bytes == "<folder>")
        QDir(env.work()).mkdir(QStringLiteral("class.mem"));
    else if (bytes != "<none>")
        env.writeFile(QStringLiteral("class.mem"), bytes);
    const RosterRead read = ::readRosterFile(env.path(QStringLiteral("class.mem")));
    QCOMPARE(read.outcome, outcome);
    QCOMPARE(read.names, names);
}

void TestRosterFile::duplicates_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("duplicate");
    QTest::newRow("none") << QStringList{"山田", "佐藤"} << false;
    QTest::newRow("nothing") << QStringList() << false;
    QTest::newRow("same name") << QStringList{"山田", "佐藤", "山田"} << true;
    QTest::newRow("last pair") << QStringList{"a", "b", "c", "c"} << true;
    QTest::newRow("trailing blank differs") << QStringList{"山田", "山田 "} << false;
    QTest::newRow("letter case differs") << QStringList{"Ken", "ken"} << false;
    QTest::newRow("full width differs") << QStringList{"ｹﾝ", "ケン"} << false;
    QTest::newRow("blank names") << QStringList{" ", " "} << true;
}

void TestRosterFile::duplicates()
{
    QFETCH(QStringList, names);
    QFETCH(bool, duplicate);
    QCOMPARE(hasDuplicateName(names), duplicate);
}

void TestRosterFile::writtenBytes_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("CP932, CR LF after every line")
        << QStringList{"髙橋", "①", "～", "ｱｲ"} << QByteArray::fromHex("fbfc8bb40d0a87400d0a81600d0ab1b20d0a");
    QTest::newRow("blanks and commas written as they are")
        << QStringList{"  ", "山田,花子"} << QByteArray("  \r\n") + sjis(QStringLiteral("山田,花子\r\n"));
    QTest::newRow("Unix input method forms") << QStringList{QString(QChar(0x301C))} << QByteArray("\x81\x60\r\n");
}

void TestRosterFile::writtenBytes()
{
    QFETCH(QStringList, names);
    QFETCH(QByteArray, bytes);
    TestEnv env;
    QCOMPARE(writeRosterFile(env.path(QStringLiteral("out.mem")), names), QString());
    QCOMPARE(env.readFile(QStringLiteral("out.mem")), bytes);
}

void TestRosterFile::otherSpellingsOfCp932AreKept()
{
    TestEnv env;
    // 髙 and 纊 in the NEC-selected rows, as some tools write them; ① and ～ have one code only.
    const QByteArray nec = QByteArray::fromHex("eee08bb40d0a87400d0aed40816093630d0a");
    env.writeFile(QStringLiteral("nec.mem"), nec);
    const RosterRead read = ::readRosterFile(env.path(QStringLiteral("nec.mem")));
    QCOMPARE(read.names, (QStringList{"髙橋", "①", "纊～田"}));
    QCOMPARE(read.spellings.size(), 2);
    QCOMPARE(read.spellings.value(QStringLiteral("髙橋")), QByteArray::fromHex("eee08bb4"));
    QCOMPARE(writeRosterFile(env.path(QStringLiteral("again.mem")), read.names, read.spellings), QString());
    QCOMPARE(env.readFile(QStringLiteral("again.mem")), nec);
    // A name typed anew is written as Windows writes it.
    QCOMPARE(writeRosterFile(env.path(QStringLiteral("new.mem")), {QStringLiteral("髙")}, read.spellings), QString());
    QCOMPARE(env.readFile(QStringLiteral("new.mem")), QByteArray::fromHex("fbfc0d0a"));
    // Files spelled as Windows spells them, and UTF-8 files, need nothing kept.
    env.writeFile(QStringLiteral("ibm.mem"), QByteArray::fromHex("fbfc8bb40d0a"));
    QVERIFY(::readRosterFile(env.path(QStringLiteral("ibm.mem"))).spellings.isEmpty());
    env.writeFile(QStringLiteral("utf8.mem"), QStringLiteral("髙橋\n纊\n").toUtf8());
    QVERIFY(::readRosterFile(env.path(QStringLiteral("utf8.mem"))).spellings.isEmpty());
}

QTEST_MAIN(TestRosterFile)
#include "tst_rosterfile.moc"
