// Bad files fed to every command that reads one: File>Open, a past-result item, the log
// read when the main window is created and the log cleaning after a deletion. None may
// crash or hang; each gives the command's own failure message or a correct result, and
// leaves every file on disk as it was unless the command is meant to write it.
#include "core/resultfile.h"
#include "core/rosterfile.h"
#include "core/textfile.h"
#include "roster/rostereditor.h"
#include "seating/resultwindow.h"
#include "support/mainfixtures.h"

#include <QtTest>

namespace
{

// What happens to the file after the file dialog answered (or the log listed it) and
// before the command reads it.
enum class Trouble { None, Vanishes, FolderInPlace, NoPermission };

const QString Log = QStringLiteral("ならびん.ini");
const QString NotCp932OrUtf8 = QStringLiteral("文字コードが正しくありません（Shift_JIS でも UTF-8 でもありません）。");

// An image picked by mistake: a PNG signature and bytes neither CP932 nor UTF-8 can be.
QByteArray binaryFile()
{
    QByteArray bytes("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    for (int i = 0; i < 4096; ++i)
        bytes.append(char((i * 37 + 11) % 256));
    return bytes;
}

// Ten megabytes of names, one a line: far more than any list the program keeps.
QByteArray tenMegabytes()
{
    const QByteArray stem = sjis("生徒");
    QByteArray out;
    for (int n = 1; out.size() < 10 * 1024 * 1024; ++n)
        out += stem + QByteArray::number(n) + "\r\n";
    return out;
}

void makeTrouble(const QString &path, Trouble trouble)
{
    if (trouble == Trouble::NoPermission)
        QFile(path).setPermissions({});
    else if (trouble != Trouble::None)
        QFile::remove(path);
    if (trouble == Trouble::FolderInPlace)
        QDir().mkpath(path);
}

// One bad input and, deliberately for each command, what it must come to. `fails` means
// the command's own failure message; otherwise `names`, `seats` and `listed` are the
// correct result. The cleaning either leaves the log as it is (`cleaned` empty: nothing
// to drop, no log, or the failure `cleaningError`) or rewrites it with `cleaned`.
struct BadInput {
    const char *name;
    QByteArray bytes;
    Trouble trouble;
    bool rosterFails;
    QStringList names; // File>Open: the shared roster afterwards
    bool chartFails;
    QStringList seats;  // past result: the seats shown
    QStringList listed; // main window: the past-log entries
    std::optional<QStringList> cleaned;
    QString cleaningError = {};
};

QList<BadInput> makeBadInputs()
{
    const QString sato = QStringLiteral("佐藤");
    const QStringList three{"山田", sato, "鈴木"};
    const QStringList seventh{"生徒7"};
    const QStringList withNul{QStringLiteral("山田") + QChar(0) + QStringLiteral("花子"), sato};
    const QStringList withLong{QString(10000, QChar(u'長')), sato};
    const QByteArray fine = crlfLines(three);
    const QByteArray big = tenMegabytes();
    // Two names, the blanks after the closing quote dropped: a chart but for its size.
    QByteArray oversized = sjis("山田\r\n\"佐藤\"");
    oversized += QByteArray(MaxResultFileBytes - oversized.size() - 1, ' ') + "\r\n";
    const int lines = int(big.count('\n'));
    return {
        {"binary file", binaryFile(), Trouble::None, true, {}, true, {}, {}, std::nullopt, NotCp932OrUtf8},
        {"NUL bytes", crlfLines(withNul), Trouble::None, true, {}, true, {}, withNul, QStringList{sato}},
        {"10 MB file",
         big,
         Trouble::None,
         true,
         numberedNames(1, MaxRosterNames + 1),
         true,
         {},
         numberedNames(lines - 14, lines),
         seventh},
        {"invalid CP932",
         crlfLines({"山田"}) + "\x81\x7f" + crlfLines({"", sato}),
         Trouble::None,
         true,
         {},
         true,
         {},
         {},
         std::nullopt,
         NotCp932OrUtf8},
        // The quote runs to the end of the file: one entry that holds the line ends.
        {"unterminated quote",
         sjis("\"山田\r\n佐藤\r\n"),
         Trouble::None,
         true,
         {},
         true,
         {},
         {"山田\r\n佐藤\r\n"},
         QStringList()},
        {"CR line ends", sjis("山田\r佐藤\r鈴木\r"), Trouble::None, false, three, false, three, three,
         QStringList{sato}},
        {"LF line ends", sjis("山田\n佐藤\n鈴木\n"), Trouble::None, false, three, false, three, three,
         QStringList{sato}},
        {"BOM alone", QByteArray("\xEF\xBB\xBF"), Trouble::None, false, {}, false, {}, {}, std::nullopt},
        // The main window lists the 15 newest entries, the ones a save keeps.
        {"29 fields",
         crlfLines(numberedNames(1, 29)),
         Trouble::None,
         true,
         numberedNames(1, 29),
         true,
         {},
         numberedNames(15, 29),
         seventh},
        {"a byte more than a chart holds",
         oversized,
         Trouble::None,
         false,
         {"山田", sato},
         true,
         {},
         {"山田", sato},
         QStringList{sato}},
        {"10,000-character name", crlfLines(withLong), Trouble::None, false, withLong, false, withLong, withLong,
         QStringList{sato}},
        {"file vanishes", fine, Trouble::Vanishes, true, {}, true, {}, {}, std::nullopt},
        // Root reads a file whatever its permissions; a folder in its place is unreadable to anyone.
        {"folder in its place", fine, Trouble::FolderInPlace, true, {}, true, {}, {}, std::nullopt},
        {"no permission to read",
         fine,
         Trouble::NoPermission,
         true,
         {},
         true,
         {},
         {},
         std::nullopt,
         QStringLiteral("アクセスが許可されていません。ファイルやフォルダーの権限を確かめて下さい。")},
    };
}

const QList<BadInput> &badInputs()
{
    static const QList<BadInput> inputs = makeBadInputs();
    return inputs;
}

} // namespace

class TestBadInput : public QObject
{
    Q_OBJECT

private slots:
    void everyReader_data();
    void everyReader();
};

void TestBadInput::everyReader_data()
{
    QTest::addColumn<int>("row");
    for (int row = 0; row < badInputs().size(); ++row)
        QTest::newRow(badInputs()[row].name) << row;
}

void TestBadInput::everyReader()
{
    QFETCH(int, row);
    const BadInput &in = badInputs()[row];
#ifdef Q_OS_WIN
    if (in.trouble == Trouble::NoPermission)
        QSKIP("Windows keeps only a read-only mark: a test cannot take the right to read away");
#endif
    const HeldToPermissions heldToPermissions;
    // Each command in a fresh world, the bad file where it reads it.
    const auto start = [&in](TestEnv &env, const QString &file) {
        env.writeFile(file, in.bytes);
        MainWindow *main = shownMain();
        makeTrouble(env.path(file), in.trouble);
        return main;
    };
    {
        TestEnv env;
        MainWindow *main = start(env, "名簿.mem");
        const Files before = fileTree(env.work());
        env.platform.openFiles.enqueue(env.path("名簿.mem"));
        env.platform.answers.enqueue(IDCANCEL); // more names than the room holds: the room stays
        TRIGGER(main, "mnuFileOpen");
        const qsizetype count = in.names.size();
        const QString failure =
            count > MaxRosterNames ? "名簿の存在確認|名簿の氏名が多すぎます。1つの名簿に入るのは100人までです。|16"
            : count > SeatCount ? "教室の設定|この名簿には29人の氏名がありますが、教室の机は28台です。\r\n"
                                  "教室の設定を開いて、机を増やしますか？|33"
                                : "名簿の存在確認|指定した名簿がありません。存在を確認して下さい。|16";
        QCOMPARE(env.platform.messageLog(), in.rosterFails ? QStringList{failure} : QStringList());
        QCOMPARE(state().openClass.pupils, in.names);
        RosterEditor *editor = loadedForm<RosterEditor>();
        QCOMPARE(editor ? editor->boxTexts() : QStringList{"<none>"},
                 in.rosterFails ? QStringList{"<none>"} : padded(in.names));
        QCOMPARE(fileTree(env.work()), before);
    }
    {
        TestEnv env;
        env.writeFile(Log, crlfLines({"結果.rlt"}));
        MainWindow *main = start(env, "結果.rlt");
        const Files before = fileTree(env.work());
        TRIGGER(main, "mnuFileArray_1");
        QCOMPARE(env.platform.messageLog(),
                 in.chartFails ? QStringList{"ﾌｧｲﾙの存在確認|指定したﾌｧｲﾙがありません。存在を確認して下さい。|16"}
                               : QStringList());
        ResultWindow *result = loadedForm<ResultWindow>();
        QCOMPARE(result ? result->seatTexts() : QStringList{"<none>"},
                 in.chartFails ? QStringList{"<none>"} : padded(in.seats));
        QVERIFY(main->isVisible());
        QCOMPARE(fileTree(env.work()), before);
    }
    {
        TestEnv env;
        env.writeFile(Log, in.bytes);
        makeTrouble(env.path(Log), in.trouble);
        const Files before = fileTree(env.work());
        MainWindow *main = shownMain();
        QStringList entries;
        for (const auto &[index, action] : main->pastResultItems) {
            if (index > 0 && action->isVisible())
                entries.append(action->data().toString());
        }
        QCOMPARE(entries, in.listed);
        QCOMPARE(int(main->pastResultItems.size()), 1 + int(in.listed.size())); // the separator and the entries
        QCOMPARE(main->pastResultItems.at(0)->isVisible(), !in.listed.isEmpty());
        QVERIFY(env.platform.messageLog().isEmpty());
        QCOMPARE(fileTree(env.work()), before);
    }
    TestEnv env;
    for (const QString present : {"消す.rlt", "佐藤", "生徒7"})
        env.writeFile(present, "x");
    MainWindow *main = start(env, Log);
    Files expected = fileTree(env.work());
    env.platform.openFiles.enqueue(env.path("消す.rlt"));
    TRIGGER(main, "mnuFileDelete");
    QStringList messages{"削除確認|指定されたﾌｧｲﾙを削除します。よろしいですか？|33",
                         "削除情報|指定されたﾌｧｲﾙを削除しました。|64"};
    if (!in.cleaningError.isEmpty()) {
        messages.append(
            QStringLiteral("過去ログの整理|過去ログ「%1」を整理できませんでした。ログは元のままです。\r%2|48")
                .arg(QDir::toNativeSeparators(env.path(Log)), in.cleaningError));
    }
    QCOMPARE(env.platform.messageLog(), messages);
    expected.remove("消す.rlt");
    if (in.cleaned)
        expected.insert(Log, crlfLines(*in.cleaned));
    QCOMPARE(fileTree(env.work()), expected);
}

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
