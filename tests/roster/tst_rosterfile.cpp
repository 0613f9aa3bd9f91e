// Roster files and the register command's checks, without windows.
#include "app/textfile.h"
#include "roster/rosterfile.h"
#include "support/testenv.h"

#include <QtTest>

using Outcome = RosterRead::Outcome;
Q_DECLARE_METATYPE(RosterRead::Outcome)

namespace {
QByteArray lines(int count)
{
    QByteArray bytes;
    for (int i = 1; i <= count; ++i)
        bytes += sjis(QStringLiteral("生徒%1\r\n").arg(i));
    return bytes;
}

QStringList names(int count)
{
    QStringList out;
    for (int i = 1; i <= count; ++i)
        out.append(QStringLiteral("生徒%1").arg(i));
    return out;
}
} // namespace

class TestRosterFile : public QObject {
    Q_OBJECT

private slots:
    void readRosterFile_data();
    void readRosterFile();
    void readMissingFileOrFolder();
    void collectNamesClosesUpInSeatOrder();
    void duplicates_data();
    void duplicates();
    void firstBoxCp932CannotHold();
    void writtenBytes_data();
    void writtenBytes();
    void failedWriteKeepsTheOldFile();
    void otherSpellingsOfCp932AreKept();
};

void TestRosterFile::readRosterFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("empty file") << QByteArray() << Outcome::Read << QStringList();
    QTest::newRow("28 lines") << lines(28) << Outcome::Read << names(28);
    QTest::newRow("29 lines") << lines(29) << Outcome::TooMany << names(29);
    QTest::newRow("many lines stop after the 29th") << lines(500) << Outcome::TooMany << names(29);
    QTest::newRow("comma gives two entries") << sjis(QStringLiteral("山田,花子\r\n")) << Outcome::Read
                                             << QStringList{QStringLiteral("山田"), QStringLiteral("花子")};
    QTest::newRow("quotes removed") << sjis(QStringLiteral("\"山田 花子\"\r\n佐藤\r\n")) << Outcome::Read
                                    << QStringList{QStringLiteral("山田 花子"), QStringLiteral("佐藤")};
    QTest::newRow("no final line end") << sjis(QStringLiteral("山田\r\n佐藤")) << Outcome::Read
                                       << QStringList{QStringLiteral("山田"), QStringLiteral("佐藤")};
    QTest::newRow("blank and empty lines are no names")
        << sjis(QStringLiteral("山田\r\n\r\n   \r\n佐藤\r\n,\r\n")) << Outcome::Read
        << QStringList{QStringLiteral("山田"), QStringLiteral("佐藤")};
    QTest::newRow("28 names among blank lines") << lines(14) + "\r\n\r\n" + lines(14) << Outcome::Read
                                                << names(14) + names(14);
    QTest::newRow("trailing blank kept") << sjis(QStringLiteral("山田 \r\n")) << Outcome::Read
                                         << QStringList{QStringLiteral("山田 ")};
    QTest::newRow("CP932 only characters") << QByteArray::fromHex("fbfc8bb40d0a87400d0a81600d0a") << Outcome::Read
                                           << QStringList{QStringLiteral("髙橋"), QStringLiteral("①"), QStringLiteral("～")};
    QTest::newRow("UTF-8") << QStringLiteral("山田\r\n髙橋\n").toUtf8() << Outcome::Read
                           << QStringList{QStringLiteral("山田"), QStringLiteral("髙橋")};
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF") + QStringLiteral("①\r\n").toUtf8() << Outcome::Read
                                    << QStringList{QStringLiteral("①")};
    QTest::newRow("neither CP932 nor UTF-8") << QByteArray("\x81\x20\xFF\xFE\r\n") << Outcome::NotText << QStringList();
    QTest::newRow("NUL bytes") << QByteArray("ab\0cd\r\n", 7) << Outcome::NotText << QStringList();
    QTest::newRow("unclosed quote swallows the line ends")
        << sjis(QStringLiteral("\"山田\r\n佐藤\r\n")) << Outcome::NotText << QStringList();
}

void TestRosterFile::readRosterFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Outcome, outcome);
    QFETCH(QStringList, names);
    TestEnv env;
    env.writeFile(QStringLiteral("class.mem"), bytes);
    const RosterRead read = ::readRosterFile(env.path(QStringLiteral("class.mem")));
    QCOMPARE(read.outcome, outcome);
    QCOMPARE(read.names, names);
}

void TestRosterFile::readMissingFileOrFolder()
{
    TestEnv env;
    QDir(env.work()).mkdir(QStringLiteral("folder.mem"));
    for (const QString &name : {QStringLiteral("none.mem"), QStringLiteral("folder.mem")}) {
        const RosterRead read = ::readRosterFile(env.path(name));
        QCOMPARE(read.outcome, Outcome::NotOpened);
        QVERIFY(read.names.isEmpty());
    }
}

void TestRosterFile::collectNamesClosesUpInSeatOrder()
{
    QStringList boxes(28);
    boxes[0] = QStringLiteral("山田");
    boxes[4] = QStringLiteral("  ");
    boxes[19] = QStringLiteral(" 佐藤 ");
    QCOMPARE(collectNames(boxes), (QStringList{QStringLiteral("山田"), QStringLiteral("  "), QStringLiteral(" 佐藤 ")}));
    QCOMPARE(collectNames(QStringList(28)), QStringList());
}

void TestRosterFile::duplicates_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("duplicate");
    QTest::newRow("none") << QStringList{QStringLiteral("山田"), QStringLiteral("佐藤")} << false;
    QTest::newRow("nothing") << QStringList() << false;
    QTest::newRow("same name") << QStringList{QStringLiteral("山田"), QStringLiteral("佐藤"), QStringLiteral("山田")} << true;
    QTest::newRow("last pair") << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("c")}
                               << true;
    QTest::newRow("trailing blank differs") << QStringList{QStringLiteral("山田"), QStringLiteral("山田 ")} << false;
    QTest::newRow("letter case differs") << QStringList{QStringLiteral("Ken"), QStringLiteral("ken")} << false;
    QTest::newRow("full width differs") << QStringList{QStringLiteral("ｹﾝ"), QStringLiteral("ケン")} << false;
    QTest::newRow("blank names") << QStringList{QStringLiteral(" "), QStringLiteral(" ")} << true;
}

void TestRosterFile::duplicates()
{
    QFETCH(QStringList, names);
    QFETCH(bool, duplicate);
    QCOMPARE(hasDuplicateName(names), duplicate);
}

void TestRosterFile::firstBoxCp932CannotHold()
{
    QStringList boxes(28);
    boxes[2] = QStringLiteral("髙橋");
    QCOMPARE(firstBoxNotFittingCp932(boxes), -1);
    boxes[6] = QStringLiteral("𠮷田");
    boxes[9] = QStringLiteral("😀");
    QCOMPARE(firstBoxNotFittingCp932(boxes), 6);
}

void TestRosterFile::writtenBytes_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("CP932, CR LF after every line")
        << QStringList{QStringLiteral("髙橋"), QStringLiteral("①"), QStringLiteral("～"), QStringLiteral("ｱｲ")}
        << QByteArray::fromHex("fbfc8bb40d0a87400d0a81600d0ab1b20d0a");
    QTest::newRow("blanks and commas written as they are")
        << QStringList{QStringLiteral("  "), QStringLiteral("山田,花子")} << QByteArray("  \r\n") + sjis(QStringLiteral("山田,花子\r\n"));
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

void TestRosterFile::failedWriteKeepsTheOldFile()
{
    TestEnv env;
    const QByteArray old = sjis(QStringLiteral("前の名簿\r\n"));
    env.writeFile(QStringLiteral("class.mem"), old);
    setWriteFaultForTests(QStringLiteral("class.mem"), 3);
    QCOMPARE(writeRosterFile(env.path(QStringLiteral("class.mem")), names(20)),
             QStringLiteral("ディスクの空き容量が足りないか、書き込めない状態です。（No space left on device）"));
    QCOMPARE(env.readFile(QStringLiteral("class.mem")), old);
    QCOMPARE(QDir(env.work()).entryList(QDir::Files), QStringList{QStringLiteral("class.mem")});
}

void TestRosterFile::otherSpellingsOfCp932AreKept()
{
    TestEnv env;
    // 髙 and 纊 in the NEC-selected rows, as some tools write them; ① and ～ have one code only.
    const QByteArray nec = QByteArray::fromHex("eee08bb40d0a87400d0aed40816093630d0a");
    env.writeFile(QStringLiteral("nec.mem"), nec);
    const RosterRead read = ::readRosterFile(env.path(QStringLiteral("nec.mem")));
    QCOMPARE(read.names, (QStringList{QStringLiteral("髙橋"), QStringLiteral("①"), QStringLiteral("纊～田")}));
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
