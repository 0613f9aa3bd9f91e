// Files, colours, dates and the result log: the logic every window builds on.
#include "app/clock.h"
#include "app/colors.h"
#include "app/resultlog.h"
#include "app/textfile.h"
#include "mainwin/gradient.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QtTest>

class TestTextFile : public QObject {
    Q_OBJECT

private slots:
    void splitFields_data();
    void splitFields();
    void decodeText_data();
    void decodeText();
    void cp932RoundTripIsByteForByte();
    void namesCp932CannotHoldAreFound();
    void failedWritesAreReportedAndKeepTheOldFile();
    void unreadableFilesAndNamesInAnyCase();
    void colorFromText_data();
    void colorFromText();
    void dateAndClockTexts_data();
    void dateAndClockTexts();
    void appendToResultLog_data();
    void appendToResultLog();
    void gradientBands();
};

void TestTextFile::splitFields_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("empty file") << QString() << QStringList();
    QTest::newRow("no final line end") << QStringLiteral("山田\r\n佐藤") << QStringList{QStringLiteral("山田"), QStringLiteral("佐藤")};
    QTest::newRow("comma splits") << QStringLiteral("山田,花子\r\n") << QStringList{QStringLiteral("山田"), QStringLiteral("花子")};
    QTest::newRow("quotes removed, comma kept")
        << QStringLiteral("\"山田,花子\"\r\n佐藤\r\n") << QStringList{QStringLiteral("山田,花子"), QStringLiteral("佐藤")};
    QTest::newRow("leading blanks skipped, trailing kept") << QStringLiteral("  \t山田 \r\n") << QStringList{QStringLiteral("山田 ")};
    QTest::newRow("blank line is an empty field") << QStringLiteral(" \r\n佐藤\r\n") << QStringList{QString(), QStringLiteral("佐藤")};
    QTest::newRow("empty line in the middle") << QStringLiteral("a\r\n\r\nb\r\n") << QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")};
    QTest::newRow("trailing comma gives an empty field") << QStringLiteral("a,\r\n") << QStringList{QStringLiteral("a"), QString()};
    QTest::newRow("LF and CR line ends") << QStringLiteral("a\nb\rc") << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    QTest::newRow("text after closing quote dropped") << QStringLiteral("\"a\"xyz,b\r\n") << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("quoted field spans lines") << QStringLiteral("\"a\r\nb\"\r\n") << QStringList{QStringLiteral("a\r\nb")};
    QTest::newRow("unterminated quote runs to the end") << QStringLiteral("\"ab\r\ncd") << QStringList{QStringLiteral("ab\r\ncd")};
    QTest::newRow("digits stay text") << QStringLiteral("07\r\n") << QStringList{QStringLiteral("07")};
    QTest::newRow("stops at the limit") << QStringLiteral("x\r\n").repeated(100000) << QStringList(29, QStringLiteral("x"));
}

void TestTextFile::splitFields()
{
    QFETCH(QString, text);
    QFETCH(QStringList, fields);
    QCOMPARE(::splitFields(text, 29), fields);
}

void TestTextFile::decodeText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("text");
    QTest::newRow("CP932") << sjis(QStringLiteral("髙橋①～")) << true << QStringLiteral("髙橋①～");
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF") + QStringLiteral("山田").toUtf8() << true << QStringLiteral("山田");
    // These UTF-8 bytes also read as (different) CP932 text; UTF-8 is what was meant.
    QTest::newRow("UTF-8 that is also CP932") << QStringLiteral("山田\r\n").toUtf8() << true << QStringLiteral("山田\r\n");
    // Half-width katakana bytes that happen to be valid UTF-8 (U+00FD).
    QTest::newRow("half-width kana that look like UTF-8") << QByteArray("\xC3\xBD") << true << QStringLiteral("ﾃｽ");
    QTest::newRow("BOM alone") << QByteArray("\xEF\xBB\xBF") << true << QString();
    QTest::newRow("neither CP932 nor UTF-8") << QByteArray("\x81\x20\xFF\xFE") << false << QString();
    // A decoder left waiting for the rest of a character would drop it without an error.
    QTest::newRow("kana that starts a UTF-8 sequence") << QByteArray("\xC3") << true << QStringLiteral("ﾃ");
    QTest::newRow("CP932 lead byte at the end") << QByteArray("\x8e\x52\x82") << false << QString();
    // Windows' CP932 keeps the ASCII control codes (a DOS end-of-file mark among them).
    QTest::newRow("control codes as in ASCII") << QByteArray("\x8e\x52\x1a\x1c\x7f") << true << QStringLiteral("山\x1a\x1c\x7f");
    QTest::newRow("NUL bytes") << QByteArray("a\0b", 3) << true << QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
}

void TestTextFile::decodeText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(QString, text);
    const QString none = QStringLiteral("<not text>");
    QCOMPARE(::decodeText(bytes).value_or(none), ok ? text : none);
}

void TestTextFile::cp932RoundTripIsByteForByte()
{
    TestEnv env;
    const QByteArray original = QByteArray::fromHex("fbfc8bb40d0a87400d0a81600d0ab1b20d0a"); // 髙橋 ① ～ ｱｲ
    env.writeFile(QStringLiteral("in.mem"), original);
    const FieldsRead read = readFieldsFile(env.path(QStringLiteral("in.mem")));
    QCOMPARE(read.fields, (QStringList{QStringLiteral("髙橋"), QStringLiteral("①"), QStringLiteral("～"), QStringLiteral("ｱｲ")}));
    QCOMPARE(writeLinesFile(env.path(QStringLiteral("out.mem")), read.fields), QString());
    QCOMPARE(env.readFile(QStringLiteral("out.mem")), original);
    // WAVE DASH and MINUS SIGN, as input methods on Unix type them, and the ASCII controls.
    QCOMPARE(encodeCp932(QString(QChar(0x301C)) + QChar(0x2212)).value_or("none"), QByteArray("\x81\x60\x81\x7C"));
    QCOMPARE(encodeCp932(QStringLiteral("山\x1a\x1c\x7f")).value_or("none"), QByteArray("\x8e\x52\x1a\x1c\x7f"));
}

void TestTextFile::namesCp932CannotHoldAreFound()
{
    QCOMPARE(firstLineNotFittingCp932({QStringLiteral("山田"), QStringLiteral("𠮷野"), QStringLiteral("😀")}), 1);
    QCOMPARE(firstLineNotFittingCp932({QStringLiteral("山田"), QStringLiteral("髙橋")}), -1);
    // The encoder would write a look-alike (№) for this one.
    QVERIFY(!fitsCp932(QString(QChar(0xF86F))));
    TestEnv env;
    QCOMPARE(writeLinesFile(env.path(QStringLiteral("x.mem")), {QStringLiteral("😀")}),
             QStringLiteral("「😀」には Shift_JIS で保存できない文字が含まれています。"));
    QVERIFY(!QFile::exists(env.path(QStringLiteral("x.mem"))));
}

void TestTextFile::failedWritesAreReportedAndKeepTheOldFile()
{
    TestEnv env;
    QVERIFY(!writeLinesFile(env.path(QStringLiteral("no/such/folder/x.mem")), {QStringLiteral("山田")}).isEmpty());
    env.writeFile(QStringLiteral("class.mem"), sjis(QStringLiteral("古い名簿\r\n")));
    setWriteFaultForTests(QStringLiteral("class.mem"), 3);
    QCOMPARE(writeLinesFile(env.path(QStringLiteral("class.mem")), {QStringLiteral("新しい"), QStringLiteral("名簿")}),
             QStringLiteral("ディスクの空き容量が足りないか、書き込めない状態です。（No space left on device）"));
    QCOMPARE(env.readFile(QStringLiteral("class.mem")), sjis(QStringLiteral("古い名簿\r\n")));
    QCOMPARE(QDir(env.work()).entryList(QDir::Files), QStringList{QStringLiteral("class.mem")});
}

void TestTextFile::unreadableFilesAndNamesInAnyCase()
{
    TestEnv env;
    QCOMPARE(readFieldsFile(env.path(QStringLiteral("none.mem"))).error, QStringLiteral("ファイルが見つかりません。"));
    QCOMPARE(readFieldsFile(env.work()).error, QStringLiteral("ファイルが見つかりません。")); // a folder is no file
    env.writeFile(QStringLiteral("Bad.MEM"), QByteArray("\x81\x20\xFF\xFE"));
    const FieldsRead bad = readFieldsFile(env.path(QStringLiteral("Bad.MEM")));
    QVERIFY(!bad.ok);
    QCOMPARE(bad.error, QStringLiteral("文字コードが正しくありません（Shift_JIS でも UTF-8 でもありません）。"));
    QCOMPARE(findFileNoCase(env.work(), QStringLiteral("bad.mem")), env.path(QStringLiteral("Bad.MEM")));
    QCOMPARE(findFileNoCase(env.work(), QStringLiteral("other.mem")), QString());
}

void TestTextFile::colorFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qlonglong>("value"); // -1: not a colour
    QTest::newRow("hex default") << QStringLiteral("&HFF") << 255LL;
    QTest::newRow("decimal") << QStringLiteral("16711680") << 16711680LL;
    QTest::newRow("lower-case hex") << QStringLiteral("&hffffff") << 16777215LL;
    QTest::newRow("long suffix") << QStringLiteral("&HFF&") << 255LL;
    QTest::newRow("blanks around") << QStringLiteral(" 255 ") << 255LL;
    QTest::newRow("empty") << QString() << -1LL;
    QTest::newRow("word") << QStringLiteral("red") << -1LL;
    QTest::newRow("beyond 24 bits") << QStringLiteral("&H1000000") << -1LL;
    QTest::newRow("negative") << QStringLiteral("-1") << -1LL;
}

void TestTextFile::colorFromText()
{
    QFETCH(QString, text);
    QFETCH(qlonglong, value);
    const std::optional<ColorValue> c = ::colorFromText(text);
    QCOMPARE(c ? qlonglong(*c) : -1LL, value);
}

void TestTextFile::dateAndClockTexts_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("today");
    QTest::addColumn<QString>("clock");
    QTest::newRow("just after midnight") << QDateTime(QDate(2027, 3, 9), QTime(0, 5)) << QStringLiteral("2027/03/09") << QStringLiteral("午前 12:05");
    QTest::newRow("afternoon") << QDateTime(QDate(2026, 12, 5), QTime(15, 7)) << QStringLiteral("2026/12/05") << QStringLiteral("午後 03:07");
    QTest::newRow("noon") << QDateTime(QDate(2027, 1, 3), QTime(12, 0)) << QStringLiteral("2027/01/03") << QStringLiteral("午後 12:00");
    QTest::newRow("before noon") << QDateTime(QDate(2027, 10, 31), QTime(11, 59)) << QStringLiteral("2027/10/31") << QStringLiteral("午前 11:59");
}

void TestTextFile::dateAndClockTexts()
{
    QFETCH(QDateTime, now);
    QFETCH(QString, today);
    QFETCH(QString, clock);
    TestEnv env;
    env.setNow(now);
    RefreshDateTime();
    QCOMPARE(state().TodayText, today);
    QCOMPARE(state().ClockText, clock);
}

void TestTextFile::appendToResultLog_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::addColumn<QString>("first");
    QTest::newRow("empty log") << 0 << 1 << QStringLiteral("new.rlt");
    QTest::newRow("14 names") << 14 << 15 << QStringLiteral("r1.rlt");
    QTest::newRow("15 names: oldest goes") << 15 << 15 << QStringLiteral("r2.rlt");
    QTest::newRow("hand-edited 18 names keep the newest") << 18 << 15 << QStringLiteral("r5.rlt");
}

void TestTextFile::appendToResultLog()
{
    QFETCH(int, before);
    QFETCH(int, after);
    QFETCH(QString, first);
    QStringList log;
    for (int i = 1; i <= before; ++i)
        log.append(QStringLiteral("r%1.rlt").arg(i));
    const QStringList out = ::appendToResultLog(log, QStringLiteral("new.rlt"));
    QCOMPARE(out.size(), after);
    QCOMPARE(out.constFirst(), first);
    QCOMPARE(out.constLast(), QStringLiteral("new.rlt"));
}

void TestTextFile::gradientBands()
{
    // The large windows' client area: 9525 x 6555 twips.
    const std::vector<GradientBand> bands = ::gradientBands(10, 50, 110, 6555, 9525);
    QCOMPARE(bands.size(), size_t(17));
    const GradientBand &first = bands.front();
    QCOMPARE((QList<int>{first.left, first.top, first.right, first.bottom}), (QList<int>{-1, -1, 9525, 409}));
    QCOMPARE((QList<int>{first.red, first.green, first.blue}), (QList<int>{10, 50, 110}));
    QCOMPARE(bands[1].top, 408); // each band reaches into the next
    QCOMPARE(bands.back().top, 16 * 409 - 1);
    QCOMPARE(bands.back().blue, 110 - (110 * 16 * 409) / 6555);
    // A height that is a multiple of 16 ends on blue 0.
    const std::vector<GradientBand> even = ::gradientBands(200, 100, 150, 6560, 9525);
    QCOMPARE(even.size(), size_t(17));
    QCOMPARE(even.back().blue, 0);
    QCOMPARE(even[8].blue, 150 - (150 * 8 * 410) / 6560);
}

QTEST_MAIN(TestTextFile)
#include "tst_textfile.moc"
