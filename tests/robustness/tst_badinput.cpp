// Bad files fed to every command that reads one: File>Open, a past-result item, the log
// read when the main window is created and the log cleaning after a deletion. None may
// crash or hang; each gives the command's own failure message or a correct result, and
// leaves every file on disk as it was unless the command is meant to write it.
#include "core/resultfile.h"
#include "roster/rostereditor.h"
#include "seating/resultwindow.h"
#include "support/mainfixtures.h"

#include <QtTest>

#include <ctime>

namespace
{

// What happens to the file after the file dialog answered (or the log listed it) and
// before the command reads it.
enum Trouble { None, Vanishes, FolderInPlace, NoPermission };

const QString Log = QStringLiteral("ならびん.ini");
const QStringList Unchanged{"<log as it was>"};
const QString NotCp932OrUtf8 = QStringLiteral("文字コードが正しくありません（Shift_JIS でも UTF-8 でもありません）。");

void makeTrouble(const QString &path, int trouble)
{
    if (trouble == NoPermission)
        QFile(path).setPermissions({});
    else if (trouble != None)
        QFile::remove(path);
    if (trouble == FolderInPlace)
        QDir().mkpath(path);
}

} // namespace

class TestBadInput : public QObject
{
    Q_OBJECT

private slots:
    void everyReader_data();
    void everyReader();
};

// One bad input and, deliberately for each command, what it must come to: File>Open's
// failure message or the shared roster; the past result's not-found message or its seats;
// the main window's past-log entries; the log after the cleaning (`Unchanged`: nothing to
// drop, no log, or the failure `cleaningError`).
void TestBadInput::everyReader_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("trouble");
    QTest::addColumn<bool>("rosterFails");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("chartFails");
    QTest::addColumn<QStringList>("seats");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QStringList>("cleaned");
    QTest::addColumn<QString>("cleaningError");
    const QString sato = QStringLiteral("佐藤");
    const QStringList three{"山田", sato, "鈴木"}, none, onlySato{sato}, seventh{"生徒7"};
    const QStringList withNul{QStringLiteral("山田") + QChar(0) + QStringLiteral("花子"), sato};
    const QStringList withLong{QString(10000, QChar(u'長')), sato};
    const QByteArray fine = crlfLines(three);
    // An image picked by mistake: a PNG signature and bytes neither CP932 nor UTF-8 can be.
    QByteArray binary("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    for (int i = 0; i < 4096; ++i)
        binary.append(char((i * 37 + 11) % 256));
    // Ten megabytes of names, one a line: far more than any list the program keeps.
    QByteArray big;
    for (int n = 1; big.size() < 10 * 1024 * 1024; ++n)
        big += sjis("生徒") + QByteArray::number(n) + "\r\n";
    const int lines = int(big.count('\n'));
    // Two names, the blanks after the closing quote dropped: a chart but for its size.
    QByteArray oversized = sjis("山田\r\n\"佐藤\"");
    oversized += QByteArray(MaxResultFileBytes - oversized.size() - 1, ' ') + "\r\n";
    QTest::newRow("binary file") << binary << 0 << true << none << true << none << none << Unchanged << NotCp932OrUtf8;
    QTest::newRow("NUL bytes") << crlfLines(withNul) << 0 << true << none << true << none << withNul << onlySato
                               << QString();
    QTest::newRow("10 MB file") << big << 0 << true << numberedNames(1, MaxRosterNames + 1) << true << none
                                << numberedNames(lines - 14, lines) << seventh << QString();
    // The quote runs to the end of the file: one entry that holds the line ends.
    QTest::newRow("unterminated quote") << sjis("\"山田\r\n佐藤\r\n") << 0 << true << none << true << none
                                        << QStringList{"山田\r\n佐藤\r\n"} << none << QString();
    QTest::newRow("CR and LF line ends") << sjis("山田\r佐藤\n鈴木\r") << 0 << false << three << false << three << three
                                         << onlySato << QString();
    QTest::newRow("BOM alone") << QByteArray("\xEF\xBB\xBF") << 0 << false << none << false << none << none << Unchanged
                               << QString();
    // The main window lists the 15 newest entries, the ones a save keeps.
    QTest::newRow("29 fields") << crlfLines(numberedNames(1, 29)) << 0 << true << numberedNames(1, 29) << true << none
                               << numberedNames(15, 29) << seventh << QString();
    QTest::newRow("a byte more than a chart holds") << oversized << 0 << false << QStringList{"山田", sato} << true
                                                    << none << QStringList{"山田", sato} << onlySato << QString();
    QTest::newRow("10,000-character name")
        << crlfLines(withLong) << 0 << false << withLong << false << withLong << withLong << onlySato << QString();
    QTest::newRow("file vanishes") << fine << int(Vanishes) << true << none << true << none << none << Unchanged
                                   << QString();
    // Root reads a file whatever its permissions; a folder in its place is unreadable to anyone.
    QTest::newRow("folder in its place") << fine << int(FolderInPlace) << true << none << true << none << none
                                         << Unchanged << QString();
    QTest::newRow("no permission to read")
        << fine << int(NoPermission) << true << none << true << none << none << Unchanged
        << QStringLiteral("アクセスが許可されていません。ファイルやフォルダーの権限を確かめて下さい。");
}

void TestBadInput::everyReader()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, trouble);
    QFETCH(bool, rosterFails);
    QFETCH(QStringList, names);
    QFETCH(bool, chartFails);
    QFETCH(QStringList, seats);
    QFETCH(QStringList, listed);
    QFETCH(QStringList, cleaned);
    QFETCH(QString, cleaningError);
#ifdef Q_OS_WIN
    if (trouble == NoPermission)
        QSKIP("Windows keeps only a read-only mark: a test cannot take the right to read away");
#endif
    const HeldToPermissions heldToPermissions;
    // Each command in a fresh world, the bad file where it reads it.
    const auto start = [&](TestEnv &env, const QString &file) {
        env.writeFile(file, bytes);
        MainWindow *main = shownMain();
        makeTrouble(env.path(file), trouble);
        return main;
    };
    {
        TestEnv env;
        MainWindow *main = start(env, "名簿.mem");
        const Files before = fileTree(env.work());
        env.platform.openFiles.enqueue(env.path("名簿.mem"));
        env.platform.answers.enqueue(IDCANCEL); // more names than the room holds: the room stays
        TRIGGER(main, "mnuFileOpen");
        const QString failure = names.size() > MaxRosterNames
                                    ? "名簿の存在確認|名簿の氏名が多すぎます。1つの名簿に入るのは100人までです。|16"
                                : names.size() > SeatCount
                                    ? "教室の設定|この名簿には29人の氏名がありますが、教室の机は28台です。\r\n"
                                      "教室の設定を開いて、机を増やしますか？|33"
                                    : "名簿の存在確認|指定した名簿がありません。存在を確認して下さい。|16";
        QCOMPARE(env.platform.messageLog(), rosterFails ? QStringList{failure} : QStringList());
        QCOMPARE(state().openClass.pupils, names);
        RosterEditor *editor = loadedForm<RosterEditor>();
        QCOMPARE(editor ? editor->boxTexts() : QStringList{"<none>"},
                 rosterFails ? QStringList{"<none>"} : padded(names));
        QCOMPARE(fileTree(env.work()), before);
    }
    {
        TestEnv env;
        env.writeFile(Log, crlfLines({"結果.rlt"}));
        MainWindow *main = start(env, "結果.rlt");
        const Files before = fileTree(env.work());
        TRIGGER(main, "mnuFileArray_1");
        QCOMPARE(env.platform.messageLog(),
                 chartFails ? QStringList{"ﾌｧｲﾙの存在確認|指定したﾌｧｲﾙがありません。存在を確認して下さい。|16"}
                            : QStringList());
        ResultWindow *result = loadedForm<ResultWindow>();
        QCOMPARE(result ? result->seatTexts() : QStringList{"<none>"},
                 chartFails ? QStringList{"<none>"} : padded(seats));
        QCOMPARE(fileTree(env.work()), before);
    }
    {
        TestEnv env;
        env.writeFile(Log, bytes);
        makeTrouble(env.path(Log), trouble);
        const Files before = fileTree(env.work());
        MainWindow *main = shownMain();
        QCOMPARE(pastLogItems(main), listed);
        QCOMPARE(main->pastResultItems.at(0)->isVisible(), !listed.isEmpty());
        QVERIFY(env.platform.messageLog().isEmpty());
        QCOMPARE(fileTree(env.work()), before);
    }
    TestEnv env;
    for (const QString present : {"消す.rlt", "佐藤", "生徒7"})
        env.writeFile(present, "x");
    MainWindow *main = start(env, Log);
    Files expected = fileTree(env.work());
    env.platform.openFiles.enqueue(env.path("消す.rlt"));
    const std::clock_t began = std::clock();
    TRIGGER(main, "mnuFileDelete");
    // Even a log of half a million entries is cleaned in moments, not minutes.
    QVERIFY(double(std::clock() - began) / CLOCKS_PER_SEC < 15);
    QStringList messages{"削除確認|指定されたﾌｧｲﾙを削除します。よろしいですか？|33",
                         "削除情報|指定されたﾌｧｲﾙを削除しました。|64"};
    if (!cleaningError.isEmpty()) {
        messages.append(
            QStringLiteral("過去ログの整理|過去ログ「%1」を整理できませんでした。ログは元のままです。\r%2|48")
                .arg(QDir::toNativeSeparators(env.path(Log)), cleaningError));
    }
    QCOMPARE(env.platform.messageLog(), messages);
    expected.remove("消す.rlt");
    if (cleaned != Unchanged)
        expected.insert(Log, crlfLines(cleaned));
    QCOMPARE(fileTree(env.work()), expected);
}

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
