// Bad files fed to every command that reads one: File>Open, a past-result item, the log
// read when the main window is created and the log cleaning after a deletion. None may
// crash or hang; each gives the command's own failure message or a correct result, and
// leaves every file on disk as it was unless the command is meant to write it.
#include "app/textfile.h"
#include "roster/rostereditor.h"
#include "seating/resultwindow.h"
#include "support/mainfixtures.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// What happens to the file after the file dialog answered (or the log listed it) and
// before the command reads it.
enum class Trouble { None, Vanishes, FolderInPlace, FifoInPlace, NoPermission };

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
    static const QByteArray bytes = [] {
        const QByteArray stem = sjis(QStringLiteral("生徒"));
        QByteArray out;
        for (int n = 1; out.size() < 10 * 1024 * 1024; ++n)
            out += stem + QByteArray::number(n) + "\r\n";
        return out;
    }();
    return bytes;
}

void makeTrouble(const QString &path, Trouble trouble)
{
    if (trouble == Trouble::NoPermission)
        QFile(path).setPermissions({});
    else if (trouble != Trouble::None)
        QFile::remove(path);
    if (trouble == Trouble::FolderInPlace)
        QDir().mkpath(path);
    if (trouble == Trouble::FifoInPlace && mkfifo(QFile::encodeName(path).constData(), 0600) != 0)
        qFatal("no FIFO made");
}

// Runs a command, failing the test when it takes longer than any machine may need.
#define TIMED(command)                                                                                             \
    do {                                                                                                           \
        QElapsedTimer took_;                                                                                       \
        took_.start();                                                                                             \
        command;                                                                                                   \
        QVERIFY2(took_.elapsed() < 60000, qPrintable(QString::number(took_.elapsed())));                           \
    } while (false)

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
    QStringList seats; // past result: the seats shown
    QStringList listed; // main window: the past-log entries
    std::optional<QStringList> cleaned;
    QString cleaningError = {};
};

const QList<BadInput> &badInputs()
{
    const QString sato = QStringLiteral("佐藤");
    const QStringList three{QStringLiteral("山田"), sato, QStringLiteral("鈴木")};
    const QStringList seventh{QStringLiteral("生徒7")};
    const QStringList withNul{QStringLiteral("山田") + QChar(0) + QStringLiteral("花子"), sato};
    const QStringList withLong{QString(10000, QChar(u'長')), sato};
    const QByteArray fine = cp932Lines(three);
    const int big = int(tenMegabytes().count('\n'));
    static const QList<BadInput> inputs{
        {"binary file", binaryFile(), Trouble::None, true, {}, true, {}, {}, std::nullopt, NotCp932OrUtf8},
        {"NUL bytes", cp932Lines(withNul), Trouble::None, true, {}, true, {}, withNul, QStringList{sato}},
        {"10 MB file", tenMegabytes(), Trouble::None, true, numberedNames(1, 29), true, {}, numberedNames(big - 14, big), seventh},
        {"invalid CP932", cp932Lines({"山田"}) + "\x81\x7f" + cp932Lines({"", sato}), Trouble::None, true, {}, true, {}, {},
         std::nullopt, NotCp932OrUtf8},
        // The quote runs to the end of the file: one entry that holds the line ends.
        {"unterminated quote", sjis(QStringLiteral("\"山田\r\n佐藤\r\n")), Trouble::None, true, {}, true, {},
         {QStringLiteral("山田\r\n佐藤\r\n")}, QStringList()},
        {"CR line ends", sjis(QStringLiteral("山田\r佐藤\r鈴木\r")), Trouble::None, false, three, false, three, three, QStringList{sato}},
        {"LF line ends", sjis(QStringLiteral("山田\n佐藤\n鈴木\n")), Trouble::None, false, three, false, three, three, QStringList{sato}},
        {"BOM alone", QByteArray("\xEF\xBB\xBF"), Trouble::None, false, {}, false, {}, {}, std::nullopt},
        // The main window lists the 15 newest entries, the ones a save keeps.
        {"29 fields", cp932Lines(numberedNames(1, 29)), Trouble::None, true, numberedNames(1, 29), true, {}, numberedNames(15, 29), seventh},
        {"10,000-character name", cp932Lines(withLong), Trouble::None, false, withLong, false, withLong, withLong, QStringList{sato}},
        {"file vanishes", fine, Trouble::Vanishes, true, {}, true, {}, {}, std::nullopt},
        {"folder in its place", fine, Trouble::FolderInPlace, true, {}, true, {}, {}, std::nullopt},
        {"FIFO in its place", fine, Trouble::FifoInPlace, true, {}, true, {}, {}, std::nullopt, QStringLiteral("ファイルが見つかりません。")},
        {"no permission to read", fine, Trouble::NoPermission, true, {}, true, {}, {}, std::nullopt,
         QStringLiteral("ファイルを読めません。（Permission denied）")},
    };
    return inputs;
}

} // namespace

Q_DECLARE_METATYPE(Trouble)
Q_DECLARE_METATYPE(std::optional<QStringList>)

class TestBadInput : public QObject {
    Q_OBJECT

private slots:
    void fileOpen_data() { addRows(); }
    void fileOpen();
    void pastResult_data() { addRows(); }
    void pastResult();
    void logAtMainWindowCreation_data() { addRows(); }
    void logAtMainWindowCreation();
    void logCleaningAfterDeletion_data() { addRows(); }
    void logCleaningAfterDeletion();

private:
    static void addRows();
};

void TestBadInput::addRows()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Trouble>("trouble");
    QTest::addColumn<bool>("rosterFails");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("chartFails");
    QTest::addColumn<QStringList>("seats");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<std::optional<QStringList>>("cleaned");
    QTest::addColumn<QString>("cleaningError");
    for (const BadInput &in : badInputs()) {
        QTest::newRow(in.name) << in.bytes << in.trouble << in.rosterFails << in.names << in.chartFails << in.seats << in.listed
                               << in.cleaned << in.cleaningError;
    }
}

// Root reads a file whatever its permissions (the FIFO and folder rows cover unreadable files).
#define FETCH_TROUBLE()                                                                                            \
    QFETCH(QByteArray, bytes);                                                                                     \
    QFETCH(Trouble, trouble);                                                                                      \
    if (trouble == Trouble::NoPermission && geteuid() == 0)                                                        \
        QSKIP("root reads any file");

void TestBadInput::fileOpen()
{
    FETCH_TROUBLE();
    QFETCH(bool, rosterFails);
    QFETCH(QStringList, names);
    TestEnv env;
    env.writeFile(QStringLiteral("名簿.mem"), bytes);
    NARABIN *main = shownMain();
    makeTrouble(env.path(QStringLiteral("名簿.mem")), trouble);
    const Files before = fileTree(env.work());
    env.platform.openFiles.enqueue(env.path(QStringLiteral("名簿.mem")));
    TIMED(main->mnuFileOpen->trigger());

    QCOMPARE(env.platform.messageLog(),
             rosterFails ? QStringList{QStringLiteral("名簿の存在確認|指定した名簿がありません。存在を確認して下さい。|16")} : QStringList());
    QStringList read;
    for (int i = 1; i <= state().PupilCount; ++i)
        read.append(state().PupilNames[size_t(i)]);
    QCOMPARE(read, names);
    TOUROKU *editor = loadedForm<TOUROKU>();
    QCOMPARE(editor != nullptr, !rosterFails);
    if (editor)
        QCOMPARE(editor->boxTexts(), padded(names));
    QCOMPARE(fileTree(env.work()), before);
}

void TestBadInput::pastResult()
{
    FETCH_TROUBLE();
    QFETCH(bool, chartFails);
    QFETCH(QStringList, seats);
    TestEnv env;
    env.writeFile(Log, cp932Lines({"結果.rlt"}));
    env.writeFile(QStringLiteral("結果.rlt"), bytes);
    NARABIN *main = shownMain();
    QCOMPARE(pastLogItems(main), QStringList{"結果.rlt"});
    makeTrouble(env.path(QStringLiteral("結果.rlt")), trouble);
    const Files before = fileTree(env.work());
    TIMED(TRIGGER(main, "mnuFileArray_1"));

    QCOMPARE(env.platform.messageLog(),
             chartFails ? QStringList{QStringLiteral("ﾌｧｲﾙの存在確認|指定したﾌｧｲﾙがありません。存在を確認して下さい。|16")} : QStringList());
    RESULT *result = loadedForm<RESULT>();
    QCOMPARE(result != nullptr, !chartFails);
    if (result)
        QCOMPARE(result->seatTexts(), padded(seats));
    QVERIFY(main->isVisible());
    QCOMPARE(fileTree(env.work()), before);
}

void TestBadInput::logAtMainWindowCreation()
{
    FETCH_TROUBLE();
    QFETCH(QStringList, listed);
    TestEnv env;
    env.writeFile(Log, bytes);
    makeTrouble(env.path(Log), trouble);
    const Files before = fileTree(env.work());
    NARABIN *main = nullptr;
    TIMED(main = shownMain());

    QStringList entries;
    for (const auto &[index, action] : main->mnuFileArray) {
        if (index > 0 && action->isVisible())
            entries.append(action->data().toString());
    }
    QCOMPARE(entries, listed);
    QCOMPARE(int(main->mnuFileArray.size()), 1 + int(listed.size())); // the separator and the entries
    QCOMPARE(main->mnuFileArray.at(0)->isVisible(), !listed.isEmpty());
    QVERIFY(env.platform.messageLog().isEmpty());
    QCOMPARE(fileTree(env.work()), before);
}

void TestBadInput::logCleaningAfterDeletion()
{
    FETCH_TROUBLE();
    QFETCH(std::optional<QStringList>, cleaned);
    QFETCH(QString, cleaningError);
    TestEnv env;
    const QString doomed = QStringLiteral("消す.rlt");
    for (const QString &present : {doomed, QStringLiteral("佐藤"), QStringLiteral("生徒7")})
        env.writeFile(present, "x");
    env.writeFile(Log, bytes);
    NARABIN *main = shownMain();
    makeTrouble(env.path(Log), trouble);
    Files expected = fileTree(env.work());
    env.platform.openFiles.enqueue(env.path(doomed));
    TIMED(TRIGGER(main, "mnuFileDelete"));

    QStringList messages{QStringLiteral("削除確認|指定されたﾌｧｲﾙを削除します。よろしいですか？|33"),
                         QStringLiteral("削除情報|指定されたﾌｧｲﾙを削除しました。|64")};
    if (!cleaningError.isEmpty()) {
        messages.append(QStringLiteral("過去ログの整理|過去ログ「%1」を整理できませんでした。ログは元のままです。\r%2|48")
                            .arg(QDir::toNativeSeparators(env.path(Log)), cleaningError));
    }
    QCOMPARE(env.platform.messageLog(), messages);
    expected.remove(doomed);
    if (cleaned)
        expected.insert(Log, cp932Lines(*cleaned));
    QCOMPARE(fileTree(env.work()), expected);
}

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
