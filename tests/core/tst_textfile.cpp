// Files, rosters, dates and bands: the logic every window builds on.
#include "core/clock.h"
#include "core/rosterfile.h"
#include "core/textfile.h"
#include "support/fixtures.h"

#include <QDir>
#include <QFile>
#include <QtTest>

class TestTextFile : public QObject
{
    Q_OBJECT

private slots:
    void readFields_data();
    void readFields();
    void writtenLines_data();
    void writtenLines();
    void writeFailureReasons_data();
    void writeFailureReasons();
    void rosterNames_data();
    void rosterNames();
    void dateAndClockTexts();
};

// The bytes of a file read as text, then split into fields.
void TestTextFile::readFields_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("fields"); // {"<not text>"}: refused
    // These UTF-8 bytes also read as (different) CP932 text; UTF-8 is what was meant.
    QTest::newRow("UTF-8 that is also CP932, no final line end")
        << QByteArray("山田\r\n佐藤") << QStringList{"山田", "佐藤"};
    QTest::newRow("leading blanks skipped, trailing kept") << QByteArray("  \t山田 \r\n") << QStringList{"山田 "};
    QTest::newRow("blank and empty lines are empty fields")
        << QByteArray(" \r\n佐藤\r\n\r\nb,\r\n") << QStringList{"", "佐藤", "", "b", ""};
    // Half-width katakana bytes that happen to be valid UTF-8 (U+00FD).
    QTest::newRow("half-width kana that look like UTF-8") << QByteArray("\xC3\xBD") << QStringList{"ﾃｽ"};
    // A decoder left waiting for the rest of a character would drop it without an error.
    QTest::newRow("kana that starts a UTF-8 sequence") << QByteArray("\xC3") << QStringList{"ﾃ"};
    QTest::newRow("CP932 lead byte at the end") << QByteArray("\x8e\x52\x82") << QStringList{"<not text>"};
}

void TestTextFile::readFields()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, fields);
    const std::optional<QString> text = decodeText(bytes);
    QCOMPARE(text ? splitFields(*text, 29) : QStringList{"<not text>"}, fields);
}

// Each value written as the reader takes it back: in quotes where blanks or a comma would be
// lost, in the form CP932 holds; what no line can hold is refused and nothing written.
void TestTextFile::writtenLines_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<bool>("quoteBlanks");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("read");
    QTest::newRow("quoted where needed") << QStringList{"山田", "佐藤,花子", " 前", "a\"b", "〜", "", "\t"} << false
                                         << "" << sjis("山田\r\n\"佐藤,花子\"\r\n\" 前\"\r\na\"b\r\n～\r\n\r\n\t\r\n")
                                         << QStringList{"山田", "佐藤,花子", " 前", "a\"b", "～", "", ""};
    QTest::newRow("blanks kept") << QStringList{" ", "\t,"} << true << "" << QByteArray("\" \"\r\n\"\t,\"\r\n")
                                 << QStringList{" ", "\t,"};
    const QString unwritable = QStringLiteral("」はファイルに正しく書けません（改行や、先頭の \" が含まれています）。");
    QTest::newRow("line break") << QStringList{"山田", "一\r\n二"} << false << "「一\r\n二" + unwritable
                                << QByteArray("<missing>") << QStringList();
    QTest::newRow("leading quote") << QStringList{" \"山田"} << false << "「 \"山田" + unwritable
                                   << QByteArray("<missing>") << QStringList();
    QTest::newRow("quote needing quotes")
        << QStringList{"a\"b,c"} << false << "「a\"b,c" + unwritable << QByteArray("<missing>") << QStringList();
    QTest::newRow("no CP932") << QStringList{"😀"} << false << "「😀」には Shift_JIS で保存できない文字が含まれています。"
                              << QByteArray("<missing>") << QStringList();
}

void TestTextFile::writtenLines()
{
    QFETCH(QStringList, values);
    QFETCH(bool, quoteBlanks);
    QFETCH(QString, reason);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, read);
    TestEnv env;
    QCOMPARE(writeLinesFile(env.path("v.txt"), values, LineOptions{{}, quoteBlanks}), reason);
    QCOMPARE(env.readFile("v.txt"), bytes);
    QCOMPARE(readFieldsFile(env.path("v.txt")).fields, read);
}

// Each row's name is the situation the test makes.
void TestTextFile::writeFailureReasons_data()
{
    QTest::addColumn<QString>("reason"); // empty: written
    const QString deviceError =
        "装置との読み書きに失敗しました（入出力エラー）。USBメモリーなどが抜かれていないか確かめて下さい。";
    QTest::newRow("read-only folder") << "アクセスが許可されていません。ファイルやフォルダーの権限を確かめて下さい。";
    QTest::newRow("read-only file")
        << "読み取り専用のファイルなので上書きできません。読み取り専用を外すか、別の名前にして下さい。";
    QTest::newRow("read-only mount") << "書き込みできないメディア（読み取り専用）です。";
    QTest::newRow("no folder") << "フォルダーが見つかりません。";
    QTest::newRow("long name") << "ファイル名が長すぎます。";
    QTest::newRow("folder in place") << "その名前はファイルではありません（フォルダーなど）。";
    QTest::newRow("sync fails") << deviceError;
    // The new file is in place, but its name may not outlive a power cut.
    QTest::newRow("folder sync fails") << deviceError;
    // Another program shrinks the new file.
    QTest::newRow("file shrinks") << "書き込んだ内容を確かめられませんでした（ファイルの大きさが違います）。";
    // A 255-byte name saved over.
    QTest::newRow("longest name") << "";
}

// Each cause where it really happens; the old file stays unless the new one was put in place.
void TestTextFile::writeFailureReasons()
{
    QFETCH(QString, reason);
    const QString situation = QString::fromUtf8(QTest::currentDataTag());
    TestEnv env;
    const HeldToPermissions heldToPermissions;
    QString path = env.path(QStringLiteral("box/class.mem"));
    const QString box = env.path(QStringLiteral("box"));
    if (situation == QLatin1String("longest name"))
        path = env.path(QStringLiteral("box/") + QString(251, u'x') + QStringLiteral(".mem"));
    env.writeFile(QDir(env.work()).relativeFilePath(path), "old\r\n");
    env.writeFile(QStringLiteral("box/class.mem"), "old\r\n");
    std::optional<Tmpfs> medium;
#ifdef Q_OS_WIN
    // Windows keeps no read-only mark on folders, and the test cannot mount a medium.
    if (situation.startsWith(QLatin1String("read-only")) && situation != QLatin1String("read-only file"))
        QSKIP("a read-only folder or medium cannot be made by a test on Windows");
    // The new file is opened for this program alone, and its name is put on the disk by the move.
    if (situation == QLatin1String("file shrinks") || situation == QLatin1String("folder sync fails"))
        QSKIP("Windows lets no other program open the new file and has no folder to sync");
#endif
    if (situation == QLatin1String("read-only folder")) {
        QVERIFY(QFile::setPermissions(box, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    } else if (situation == QLatin1String("read-only file")) {
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    } else if (situation == QLatin1String("read-only mount")) {
        medium.emplace(box, "size=16k", true);
        if (!medium->mounted)
            QSKIP("a read-only medium is a tmpfs the test mounts, which needs Linux and root");
    } else if (situation == QLatin1String("no folder")) {
        path = env.path(QStringLiteral("gone/class.mem"));
    } else if (situation == QLatin1String("long name")) {
        path = env.path(QStringLiteral("box/") + QString(300, u'x') + QStringLiteral(".mem"));
    } else if (situation == QLatin1String("folder in place")) {
        path = box;
    } else if (situation.endsWith(QLatin1String("sync fails"))) {
        const QString failing = situation.startsWith(QLatin1String("folder")) ? box : path;
        env.services.syncFault = [failing](const QString &synced) { return synced == failing; };
    } else if (situation == QLatin1String("file shrinks")) {
        env.services.syncFault = [box](const QString &) {
            for (const QString &name : QDir(box).entryList(QDir::Files | QDir::Hidden)) {
                if (name != QLatin1String("class.mem"))
                    QFile::resize(QDir(box).filePath(name), 1);
            }
            return false;
        };
    }
    QCOMPARE(writeLinesFile(path, {"新しい"}), reason);
    medium.reset();
    QFile::setPermissions(box, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const bool longest = situation == QLatin1String("longest name");
    const QString kept = longest ? QFileInfo(path).fileName() : QStringLiteral("class.mem");
    QStringList entries{"class.mem"};
    if (longest)
        entries.append(kept);
    QCOMPARE(QDir(box).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), entries);
    const bool replaced = reason.isEmpty() || situation == QLatin1String("folder sync fails");
    QCOMPARE(env.readFile(QStringLiteral("box/") + kept), replaced ? sjis("新しい\r\n") : QByteArray("old\r\n"));
    // An uncommon cause: a general sentence and the system's own words.
    QCOMPARE(problemText(problemFromSystemText(QStringLiteral("Input/output error?")),
                         QStringLiteral("Input/output error?")),
             QStringLiteral("ファイルを読み書きできませんでした。（Input/output error?）"));
}

void TestTextFile::rosterNames_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("blank lines and empty fields are no names, a trailing blank is kept")
        << sjis(QStringLiteral("山田 \r\n\r\n   \r\n佐藤\r\n,\r\n")) << QStringList{"山田 ", "佐藤"};
    // The limit counts names, not lines.
    QTest::newRow("28 names among blank lines")
        << crlfLines(numberedNames(1, 14) + QStringList{"", ""} + numberedNames(15, 28)) << numberedNames(1, 28);
}

void TestTextFile::rosterNames()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    TestEnv env;
    env.writeFile(QStringLiteral("class.mem"), bytes);
    const RosterRead read = readRosterFile(env.path(QStringLiteral("class.mem")));
    QCOMPARE(read.outcome, RosterRead::Outcome::Read);
    QCOMPARE(read.names, names);
}

// Midnight is 午前 12, and every number two digits.
void TestTextFile::dateAndClockTexts()
{
    TestEnv env;
    QStringList texts;
    for (const QDateTime &now :
         {QDateTime(QDate(2027, 3, 9), QTime(0, 5)), QDateTime(QDate(2026, 12, 5), QTime(15, 7))}) {
        env.setNow(now);
        refreshDateTime();
        texts.append(state().TodayText + u' ' + state().ClockText);
    }
    QCOMPARE(texts, (QStringList{"2027/03/09 午前 12:05", "2026/12/05 午後 03:07"}));
}

QTEST_MAIN(TestTextFile)
#include "tst_textfile.moc"
