// Bad files fed to every command that reads one: File>Open, a past-result item, the log
// read when the main window is created and the log cleaning after a deletion. None may
// crash or hang; each gives the command's own failure message or a correct result, and
// leaves every file on disk as it was unless the command is meant to write it.
#include "app/sharedstate.h"
#include "app/textfile.h"
#include "mainwin/mainwindow.h"
#include "roster/rostereditor.h"
#include "seating/resultwindow.h"
#include "support/testenv.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// What happens to a file after the file dialog answered (or the log listed it) and
// before the command reads it.
enum class Trouble { None, Vanishes, FolderInPlace, FifoInPlace, NoPermission };

const QString Log = QStringLiteral("ならびん.ini");
const QString RosterMissing = QStringLiteral("名簿の存在確認|指定した名簿がありません。存在を確認して下さい。|16");
const QString NotFound = QStringLiteral("ﾌｧｲﾙの存在確認|指定したﾌｧｲﾙがありません。存在を確認して下さい。|16");
const QStringList Deleted{QStringLiteral("削除確認|指定されたﾌｧｲﾙを削除します。よろしいですか？|33"),
                          QStringLiteral("削除情報|指定されたﾌｧｲﾙを削除しました。|64")};
const QString NotCp932OrUtf8 = QStringLiteral("文字コードが正しくありません（Shift_JIS でも UTF-8 でもありません）。");
// However slow the machine, reading one file must not take longer than this.
constexpr qint64 CommandBudgetMs = 60000;

QByteArray lines(const QStringList &texts)
{
    QString text;
    for (const QString &t : texts)
        text += t + QStringLiteral("\r\n");
    return sjis(text);
}

QStringList numbered(int first, int last)
{
    QStringList out;
    for (int i = first; i <= last; ++i)
        out.append(QStringLiteral("生徒%1").arg(i));
    return out;
}

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

int tenMegabyteNameCount()
{
    return int(tenMegabytes().count('\n'));
}

QString longName()
{
    return QString(10000, QChar(u'長'));
}

// Every entry under a folder: a file's bytes, or what else it is.
using Listing = QMap<QString, QByteArray>;
Listing listing(const QString &root)
{
    Listing out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QByteArray what = info.isDir() ? QByteArray("<folder>") : QByteArray("<not a file>");
        if (info.isFile()) {
            QFile f(info.filePath());
            what = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
        }
        out.insert(QDir(root).relativeFilePath(info.filePath()), what);
    }
    return out;
}

bool isRoot()
{
    return geteuid() == 0;
}

void makeTrouble(const QString &path, Trouble trouble)
{
    if (trouble != Trouble::None && trouble != Trouble::NoPermission)
        QFile::remove(path);
    switch (trouble) {
    case Trouble::FolderInPlace:
        QDir().mkpath(path);
        break;
    case Trouble::FifoInPlace:
        if (mkfifo(QFile::encodeName(path).constData(), 0600) != 0)
            qFatal("no FIFO made");
        break;
    case Trouble::NoPermission:
        QFile(path).setPermissions({});
        break;
    default:
        break;
    }
}

// The scripted platform, with a change to the disk made the moment a file dialog has
// answered: what the user picked is gone or unreadable by the time the command reads it.
class DiskChangesAfterDialog : public Platform {
public:
    DiskChangesAfterDialog(ScriptedPlatform &inner, std::function<void()> change)
        : inner_(inner), change_(std::move(change))
    {
        setPlatform(this);
    }
    ~DiskChangesAfterDialog() override { setPlatform(&inner_); }
    QString openFileName(QWidget *owner, const FileDialogRequest &request) override
    {
        const QString chosen = inner_.openFileName(owner, request);
        change_();
        return chosen;
    }
    int messageBox(QWidget *o, const QString &text, const QString &title, int style) override
    {
        return inner_.messageBox(o, text, title, style);
    }
    QString saveFileName(QWidget *o, const FileDialogRequest &r) override { return inner_.saveFileName(o, r); }
    std::optional<ColorValue> chooseColor(QWidget *o, ColorValue c) override { return inner_.chooseColor(o, c); }
    bool printDialog(QWidget *o, QPrinter &p) override { return inner_.printDialog(o, p); }
    void help(QWidget *o, const QString &f, int c, int d) override { inner_.help(o, f, c, d); }
    bool startMail(const QString &a) override { return inner_.startMail(a); }
    bool startBrowser(const QString &u) override { return inner_.startBrowser(u); }
    bool capsLockOn() override { return inner_.capsLockOn(); }
    bool insertModeOn() override { return inner_.insertModeOn(); }
    void switchInputMethodOn(QWidget *box) override { inner_.switchInputMethodOn(box); }
    void quitProgram() override { inner_.quitProgram(); }

private:
    ScriptedPlatform &inner_;
    std::function<void()> change_;
};

NARABIN *mainWindow()
{
    NARABIN *w = form<NARABIN>();
    w->show();
    return w;
}

// The visible past-log items of the main window, as the entries they stand for.
QStringList listedEntries(NARABIN *w)
{
    QStringList out;
    for (const auto &[index, action] : w->mnuFileArray) {
        if (index > 0 && action->isVisible())
            out.append(action->data().toString());
    }
    return out;
}

QStringList readNames()
{
    QStringList out;
    for (int i = 1; i <= state().PupilCount; ++i)
        out.append(state().PupilNames[size_t(i)]);
    return out;
}

QStringList padded(QStringList seats)
{
    while (seats.size() < SeatCount)
        seats.append(QString());
    return seats;
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
    const QStringList withLong{longName(), sato};
    const QByteArray fine = lines(three);
    const int big = tenMegabyteNameCount();
    static const QList<BadInput> inputs{
        {"binary file", binaryFile(), Trouble::None, true, {}, true, {}, {}, std::nullopt, NotCp932OrUtf8},
        {"NUL bytes", lines(withNul), Trouble::None, true, {}, true, {}, withNul, QStringList{sato}},
        {"10 MB file", tenMegabytes(), Trouble::None, true, numbered(1, 29), true, {}, numbered(big - 14, big),
         seventh},
        {"invalid CP932", lines({QStringLiteral("山田")}) + "\x81\x7f" + lines({QString(), sato}), Trouble::None, true,
         {}, true, {}, {}, std::nullopt, NotCp932OrUtf8},
        // The quote runs to the end of the file: one entry that holds the line ends.
        {"unterminated quote", sjis(QStringLiteral("\"山田\r\n佐藤\r\n")), Trouble::None, true, {}, true, {},
         {QStringLiteral("山田\r\n佐藤\r\n")}, QStringList()},
        {"CR line ends", sjis(QStringLiteral("山田\r佐藤\r鈴木\r")), Trouble::None, false, three, false, three, three,
         QStringList{sato}},
        {"LF line ends", sjis(QStringLiteral("山田\n佐藤\n鈴木\n")), Trouble::None, false, three, false, three, three,
         QStringList{sato}},
        {"BOM alone", QByteArray("\xEF\xBB\xBF"), Trouble::None, false, {}, false, {}, {}, std::nullopt},
        // The main window lists the 15 newest entries, the ones a save keeps.
        {"29 fields", lines(numbered(1, 29)), Trouble::None, true, numbered(1, 29), true, {}, numbered(15, 29),
         seventh},
        {"10,000-character name", lines(withLong), Trouble::None, false, withLong, false, withLong, withLong,
         QStringList{sato}},
        {"file vanishes", fine, Trouble::Vanishes, true, {}, true, {}, {}, std::nullopt},
        {"folder in its place", fine, Trouble::FolderInPlace, true, {}, true, {}, {}, std::nullopt},
        {"FIFO in its place", fine, Trouble::FifoInPlace, true, {}, true, {}, {}, std::nullopt,
         QStringLiteral("ファイルが見つかりません。")},
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
        QTest::newRow(in.name) << in.bytes << in.trouble << in.rosterFails << in.names << in.chartFails << in.seats
                               << in.listed << in.cleaned << in.cleaningError;
    }
}

#define SKIP_WHEN_ROOT_READS_ANYTHING(trouble)                                                                   \
    if ((trouble) == Trouble::NoPermission && isRoot())                                                          \
        QSKIP("root reads a file whatever its permissions (the FIFO and folder rows cover unreadable files)");

void TestBadInput::fileOpen()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Trouble, trouble);
    QFETCH(bool, rosterFails);
    QFETCH(QStringList, names);
    SKIP_WHEN_ROOT_READS_ANYTHING(trouble);
    TestEnv env;
    const QString roster = QStringLiteral("名簿.mem");
    env.writeFile(roster, bytes);
    NARABIN *main = mainWindow();
    Listing before;
    DiskChangesAfterDialog changes(env.platform, [&] {
        makeTrouble(env.path(roster), trouble);
        before = listing(env.work());
    });
    env.platform.openFiles.enqueue(env.path(roster));
    QElapsedTimer took;
    took.start();
    TRIGGER(main, "mnuFileOpen");
    QVERIFY2(took.elapsed() < CommandBudgetMs, qPrintable(QString::number(took.elapsed())));

    QCOMPARE(env.platform.messageLog(), rosterFails ? QStringList{RosterMissing} : QStringList());
    QCOMPARE(readNames(), names);
    TOUROKU *editor = loadedForm<TOUROKU>();
    QCOMPARE(editor != nullptr, !rosterFails);
    if (editor) {
        QVERIFY(editor->isVisible());
        for (int i = 0; i < SeatCount; ++i)
            QCOMPARE(editor->Text1[size_t(i)]->text(), padded(names).at(i));
    }
    QCOMPARE(listing(env.work()), before);
}

void TestBadInput::pastResult()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Trouble, trouble);
    QFETCH(bool, chartFails);
    QFETCH(QStringList, seats);
    SKIP_WHEN_ROOT_READS_ANYTHING(trouble);
    TestEnv env;
    const QString chart = QStringLiteral("結果.rlt");
    env.writeFile(Log, lines({chart}));
    env.writeFile(chart, bytes);
    NARABIN *main = mainWindow();
    QCOMPARE(listedEntries(main), QStringList{chart});
    makeTrouble(env.path(chart), trouble);
    const Listing before = listing(env.work());
    QElapsedTimer took;
    took.start();
    TRIGGER(main, "mnuFileArray_1");
    QVERIFY2(took.elapsed() < CommandBudgetMs, qPrintable(QString::number(took.elapsed())));

    QCOMPARE(env.platform.messageLog(), chartFails ? QStringList{NotFound} : QStringList());
    RESULT *result = loadedForm<RESULT>();
    QCOMPARE(result != nullptr, !chartFails);
    if (result) {
        QVERIFY(result->isVisible());
        QCOMPARE(result->seatTexts(), padded(seats));
    }
    QVERIFY(main->isVisible());
    QCOMPARE(listing(env.work()), before);
}

void TestBadInput::logAtMainWindowCreation()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Trouble, trouble);
    QFETCH(QStringList, listed);
    SKIP_WHEN_ROOT_READS_ANYTHING(trouble);
    TestEnv env;
    env.writeFile(Log, bytes);
    makeTrouble(env.path(Log), trouble);
    const Listing before = listing(env.work());
    QElapsedTimer took;
    took.start();
    NARABIN *main = mainWindow();
    QVERIFY2(took.elapsed() < CommandBudgetMs, qPrintable(QString::number(took.elapsed())));

    QCOMPARE(listedEntries(main), listed);
    QCOMPARE(int(main->mnuFileArray.size()), 1 + int(listed.size())); // the separator and the entries
    QCOMPARE(main->mnuFileArray.at(0)->isVisible(), !listed.isEmpty());
    QVERIFY(env.platform.messageLog().isEmpty());
    QCOMPARE(listing(env.work()), before);
}

void TestBadInput::logCleaningAfterDeletion()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Trouble, trouble);
    QFETCH(std::optional<QStringList>, cleaned);
    QFETCH(QString, cleaningError);
    SKIP_WHEN_ROOT_READS_ANYTHING(trouble);
    TestEnv env;
    const QString doomed = QStringLiteral("消す.rlt");
    for (const QString &present : {doomed, QStringLiteral("佐藤"), QStringLiteral("生徒7")})
        env.writeFile(present, "x");
    env.writeFile(Log, bytes);
    NARABIN *main = mainWindow();
    Listing before;
    DiskChangesAfterDialog changes(env.platform, [&] {
        makeTrouble(env.path(Log), trouble);
        before = listing(env.work());
    });
    env.platform.openFiles.enqueue(env.path(doomed));
    QElapsedTimer took;
    took.start();
    TRIGGER(main, "mnuFileDelete");
    QVERIFY2(took.elapsed() < CommandBudgetMs, qPrintable(QString::number(took.elapsed())));

    QStringList messages = Deleted;
    if (!cleaningError.isEmpty()) {
        messages.append(QStringLiteral("過去ログの整理|過去ログ「%1」を整理できませんでした。ログは元のままです。\r%2|48")
                                .arg(QDir::toNativeSeparators(env.path(Log)), cleaningError));
    }
    QCOMPARE(env.platform.messageLog(), messages);
    Listing expected = before;
    expected.remove(doomed);
    if (cleaned)
        expected.insert(Log, lines(*cleaned));
    QCOMPARE(listing(env.work()), expected);
}

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
