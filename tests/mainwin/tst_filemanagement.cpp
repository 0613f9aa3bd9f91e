// File management: copy, rename, delete with the log cleaning, backup, and their dialogs.
#include "app/resultlog.h"
#include "app/textfile.h"
#include "mainwin/filechores.h"
#include "mainwin/filedialogs.h"
#include "support/mainfixtures.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

namespace {

const QByteArray RosterA = sjis(QStringLiteral("山田\r\n花子\r\n"));
const QString CopyFilter = QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|ﾚｲｱｳﾄ(*.LAY)|*.LAY|すべてのﾌｧｲﾙ(*.*)|*.*");
const QString FirstFilter = QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|旧名簿ﾌｧｲﾙ(*.DAT)|*.DAT|すべてのﾌｧｲﾙ(*.*)|*.*");
const QString AfterCopyFilter = QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|すべてのﾌｧｲﾙ(*.*)|*.*");
const QString Log = QStringLiteral("ならびん.ini");
const QString BadName = QStringLiteral("ファイル名に使えない文字（\\ / : * ? \" < > |）が含まれています。");
const QString Prepare = QStringLiteral("ﾊﾞｯｸｱｯﾌﾟ準備|データのバックアップをとる場合はドライブＡに\rフロッピーディスクをセットして下さい。|33");
const QString NoDisk = QStringLiteral(
    "ﾊﾞｯｸｱｯﾌﾟ準備|ドライブＡにフロッピーディスクがセットされていません。\r処理を続ける場合はフロッピーディスクをセットして下さい。|33");
const QString BackupDone = QStringLiteral("終了確認|バックアップを終了しました。|64");
const QString DeleteQuestion = QStringLiteral("削除確認|指定されたﾌｧｲﾙを削除します。よろしいですか？|33");
const QString Deleted = QStringLiteral("削除情報|指定されたﾌｧｲﾙを削除しました。|64");

// `files` with `changes` applied; an empty value removes the entry.
Files with(Files files, const Files &changes)
{
    for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
        if (it.value().isEmpty())
            files.remove(it.key());
        else
            files.insert(it.key(), it.value());
    }
    return files;
}

// Types each name and presses OK (the button taking the focus, as a click does) while the
// dialog stays open; then cancels it if it is still open. `seen` gets "source|focus"
// when it opened modally, then for each OK "closed", "open" (focus left on OK) or "text"
// (focus back in the name box).
template <class D>
void typeNames(const QStringList &names, QStringList &seen)
{
    whenModal([names, &seen] {
        D *d = loadedForm<D>();
        if (!d)
            return;
        if (d->isVisible() && d->isModal())
            seen.append((std::is_same_v<D, FILESCOPY> ? d->Label3 : d->Label2)->text() + u'|' +
                        (d->focusWidget() == d->Text1 && d->Text1->text().isEmpty() ? "text" : "elsewhere"));
        for (const QString &name : names) {
            d->Command1[0]->setFocus();
            d->Text1->setText(name);
            d->Command1[0]->click();
            if (d->isUnloaded()) {
                seen.append(QStringLiteral("closed"));
                return;
            }
            seen.append(d->focusWidget() == d->Text1 ? QStringLiteral("text") : QStringLiteral("open"));
        }
        d->Command1[1]->click();
    });
}

// Points the backup at a test folder for one test case.
struct BackupTo {
    explicit BackupTo(const QString &folder) { setBackupFolderForTests(folder); }
    ~BackupTo() { setBackupFolderForTests({}); }
};

} // namespace

class TestFileManagement : public QObject {
    Q_OBJECT

private slots:
    void chores_data();
    void chores();
    void logCleaning_data();
    void logCleaning();
    void nameDialogs_data();
    void nameDialogs();
    void dialogValuesCarriedFromCommandToCommand();
    void deleteCommand_data();
    void deleteCommand();
    void backupCommand_data();
    void backupCommand();
};

void TestFileManagement::chores_data()
{
    QTest::addColumn<QString>("chore");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<Files>("changes");
    const QString self = QStringLiteral("コピー元と同じファイルです。別の名前を指定して下さい。");
    QTest::newRow("copy into a folder") << "copy" << "sub/c.mem" << "" << Files{{QStringLiteral("sub/c.mem"), RosterA}};
    QTest::newRow("copy onto itself by another spelling") << "copy" << "sub/../a.mem" << self << Files{};
    QTest::newRow("copy onto itself through a link") << "copy" << "link.mem" << self << Files{};
    QTest::newRow("copy onto a folder") << "copy" << "sub" << "コピー先に同じ名前のフォルダーがあります。" << Files{};
    QTest::newRow("copy without a file name") << "copy" << "sub/" << "ファイル名がありません。" << Files{};
    QTest::newRow("copy to a forbidden character") << "copy" << "a?.mem" << BadName << Files{};
    QTest::newRow("copy to a control character") << "copy" << "a\tb.mem" << "名前に制御文字が含まれています。" << Files{};
    QTest::newRow("copy of a missing file") << "copy gone.mem" << "d.mem" << "コピー元のファイルが見つかりません。" << Files{};
    QTest::newRow("rename: a path moves it") << "rename" << "sub/c.mem" << "" << Files{{QStringLiteral("a.mem"), {}}, {QStringLiteral("sub/c.mem"), RosterA}};
    QTest::newRow("rename: letter case") << "rename" << "A.MEM" << "" << Files{{QStringLiteral("a.mem"), {}}, {QStringLiteral("A.MEM"), RosterA}};
    QTest::newRow("rename onto a folder") << "rename" << "sub" << "同じ名前のフォルダーが既にあります。" << Files{};
    QTest::newRow("rename to the same name") << "rename" << "./a.mem" << "新しい名前が元の名前と同じです。" << Files{};
    QTest::newRow("rename to an invalid name") << "rename" << "c:d.mem" << BadName << Files{};
    QTest::newRow("delete a folder") << "delete" << "sub" << "フォルダーは削除できません。" << Files{};
    QTest::newRow("delete a missing file") << "delete" << "gone.mem" << "ファイルが見つかりません。" << Files{};
}

void TestFileManagement::chores()
{
    QFETCH(QString, chore);
    QFETCH(QString, destination);
    QFETCH(QString, reason);
    QFETCH(Files, changes);
    TestEnv env;
    env.writeFile(QStringLiteral("a.mem"), RosterA);
    env.writeFile(QStringLiteral("b.mem"), "old\r\n");
    env.writeFile(QStringLiteral("sub/keep.txt"), "k");
    if (chore.startsWith(QLatin1String("copy")))
        QVERIFY(QFile::link(env.path(QStringLiteral("a.mem")), env.path(QStringLiteral("link.mem"))));
    const Files before = fileTree(env.work());
    const QString source = env.path(chore == QLatin1String("copy gone.mem") ? QStringLiteral("gone.mem") : QStringLiteral("a.mem"));
    QString outcome;
    if (chore == QLatin1String("rename"))
        outcome = renameFileTo(source, destination);
    else if (chore == QLatin1String("delete"))
        outcome = deleteFileAt(destination);
    else
        outcome = copyFileTo(source, destination);
    QCOMPARE(outcome, reason);
    QCOMPARE(fileTree(env.work()), with(before, changes));
}

void TestFileManagement::logCleaning_data()
{
    QTest::addColumn<QString>("logName");
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QByteArray>("after");
    const QStringList r123{QStringLiteral("1組.rlt"), QStringLiteral("2組.rlt"), QStringLiteral("3組.rlt")};
    // Dropping gone entries in order is in the delete command's table.
    QTest::newRow("empty line skipped, later entries kept")
        << Log << cp932Lines({"1組.rlt", "", "消えた.rlt", "3組.rlt"}) << r123 << cp932Lines({"1組.rlt", "3組.rlt"});
    QTest::newRow("entry names a folder") << Log << cp932Lines({"sub", "1組.rlt"}) << r123 << cp932Lines({"1組.rlt"});
    QTest::newRow("log name in capitals") << QStringLiteral("ならびん.INI") << cp932Lines({"消えた.rlt", "2組.rlt"}) << r123
                                          << cp932Lines({"2組.rlt"});
    QStringList twenty;
    for (int i = 1; i <= 20; ++i)
        twenty.append(QStringLiteral("r%1.rlt").arg(i));
    const QStringList fifteen = twenty.mid(0, 15);
    QTest::newRow("15 entries all present") << Log << cp932Lines(fifteen) << fifteen << cp932Lines(fifteen);
    QStringList present = twenty;
    present.removeAll(QStringLiteral("r3.rlt"));
    QTest::newRow("more than 15 entries") << Log << cp932Lines(twenty) << present << cp932Lines(present);
}

void TestFileManagement::logCleaning()
{
    QFETCH(QString, logName);
    QFETCH(QByteArray, log);
    QFETCH(QStringList, existing);
    QFETCH(QByteArray, after);
    TestEnv env;
    env.writeFile(logName, log);
    QDir(env.work()).mkdir(QStringLiteral("sub"));
    for (const QString &name : existing)
        env.writeFile(name, "x");
    const LogCleaning cleaning = cleanFolderResultLog(env.work());
    QVERIFY(cleaning.hadLog && cleaning.error.isEmpty());
    QCOMPARE(cleaning.rewritten, after != log);
    QCOMPARE(env.readFile(logName), after);
    QCOMPARE(QDir(env.work()).entryList({QStringLiteral("ならびん.*")}), QStringList{logName});
}

void TestFileManagement::nameDialogs_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("afterOk");
    QTest::addColumn<Files>("changes");
    const QString copied = QStringLiteral("複写確認|ファイルをコピーしました。|64");
    const QString renamed = QStringLiteral("変更確認|ファイル名を変更しました。|64");
    const Files copyC{{QStringLiteral("class/c.mem"), RosterA}};
    const Files renamedNew{{QStringLiteral("class/a.mem"), {}}, {QStringLiteral("class/new.mem"), RosterA}};
    QTest::newRow("copy: bare name lands beside the source, over a file there")
        << "copy" << QStringList{"b.mem"} << QStringList{copied} << QStringList{"closed"} << Files{{QStringLiteral("class/b.mem"), RosterA}};
    QTest::newRow("copy: empty, then a name")
        << "copy" << QStringList{"", "c.mem"} << QStringList{QStringLiteral("入力確認|コピー先が入力されていません。|64"), copied}
        << QStringList{"open", "closed"} << copyC;
    QTest::newRow("copy onto itself, then a name")
        << "copy" << QStringList{"a.mem", "c.mem"}
        << QStringList{QStringLiteral("コピー失敗|「a.mem」を「a.mem」にコピーできませんでした。\r"
                                      "コピー元と同じファイルです。別の名前を指定して下さい。|48"),
                       copied}
        << QStringList{"text", "closed"} << copyC;
    QTest::newRow("copy: missing folder, then cancel")
        << "copy" << QStringList{"none/c.mem"}
        << QStringList{QStringLiteral("コピー失敗|「a.mem」を「none/c.mem」にコピーできませんでした。\rコピー先のフォルダーが見つかりません。|48")}
        << QStringList{"text"} << Files{};
    QTest::newRow("rename: bare name stays in its folder") << "rename" << QStringList{"new.mem"} << QStringList{renamed}
                                                           << QStringList{"closed"} << renamedNew;
    QTest::newRow("rename: empty, then a name")
        << "rename" << QStringList{"", "new.mem"}
        << QStringList{QStringLiteral("ﾌｧｲﾙ名入力確認|新しい名前が入力されていません。|64"), renamed} << QStringList{"text", "closed"}
        << renamedNew;
    QTest::newRow("rename onto an existing name changes nothing")
        << "rename" << QStringList{"b.mem"}
        << QStringList{QStringLiteral("変更失敗|「a.mem」の名前を「b.mem」に変更できませんでした。\r同じ名前のファイルが既にあります。|48")}
        << QStringList{"text"} << Files{};
}

void TestFileManagement::nameDialogs()
{
    QFETCH(QString, command);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, afterOk);
    QFETCH(Files, changes);
    TestEnv env;
    env.writeFile(QStringLiteral("class/a.mem"), RosterA);
    env.writeFile(QStringLiteral("class/b.mem"), "old\r\n");
    const Files before = fileTree(env.work());
    NARABIN *main = shownMain();
    const bool copy = command == QLatin1String("copy");
    state().RosterFileName = QStringLiteral("/somewhere/open.mem");
    env.platform.openFiles.enqueue(env.path(QStringLiteral("class/a.mem")));
    QStringList seen;
    if (copy)
        typeNames<FILESCOPY>(typed, seen);
    else
        typeNames<RENAME>(typed, seen);
    findAction(main, copy ? QStringLiteral("mnuFileCopy") : QStringLiteral("mnuFileRename"))->trigger();
    QCOMPARE(seen, QStringList{"a.mem|text"} + afterOk);
    QCOMPARE(env.platform.messageLog(), messages);
    // The messages belong to the dialog, so they show over it.
    for (const PlatformCall &c : env.platform.callsOf(QStringLiteral("message")))
        QCOMPARE(c.owner->objectName(), copy ? "FILESCOPY" : "RENAME");
    QCOMPARE(fileTree(env.work()), with(before, changes));
    // Emptied at the end of the command; a rename leaves the roster in use alone.
    QCOMPARE(state().RenameSourceFile, QString());
    QCOMPARE(state().RosterFileName, copy ? QString() : QStringLiteral("/somewhere/open.mem"));
    QVERIFY(!isLoaded<FILESCOPY>() && !isLoaded<RENAME>());
}

// File>Open shares the main window's dialog with the file commands, which change its title
// and filter for the next opening.
void TestFileManagement::dialogValuesCarriedFromCommandToCommand()
{
    TestEnv env;
    env.writeFile(QStringLiteral("class/a.mem"), RosterA);
    const QString roster = env.path(QStringLiteral("class/a.mem"));
    NARABIN *main = shownMain();
    env.platform.openFiles.enqueue(roster);
    TRIGGER(main, "mnuFileOpen");
    env.platform.openFiles.enqueue(roster);
    QStringList seen;
    typeNames<FILESCOPY>({}, seen);
    TRIGGER(main, "mnuFileCopy");
    // Cancelled: only the roster's file name is forgotten.
    main->Toolbar1->button(3)->click();
    QCOMPARE(state().PupilNames[1] + u'|' + state().RosterFileName, QStringLiteral("山田|"));
    state().RosterFileName = roster;
    TRIGGER(main, "mnuFileRename"); // file dialog cancelled
    QCOMPARE(state().RosterFileName, roster);
    env.platform.openFiles.enqueue(roster);
    TRIGGER(main, "mnuFileOpen");
    TRIGGER(main, "mnuFileDelete"); // file dialog cancelled
    QCOMPARE(state().RosterFileName, QString());
    TRIGGER(main, "mnuFileCopy"); // file dialog cancelled
    QStringList shown;
    for (const PlatformCall &c : env.platform.callsOf(QStringLiteral("open")))
        shown.append(c.title + QLatin1Char('|') + c.filter + QLatin1Char('|') + c.fileName);
    QCOMPARE(shown, (QStringList{QStringLiteral("名簿を開く|") + FirstFilter + QLatin1Char('|'),
                                 QStringLiteral("コピーするﾌｧｲﾙを選択|") + CopyFilter + QLatin1Char('|') + roster,
                                 QStringLiteral("名簿ﾌｧｲﾙを開く|") + AfterCopyFilter + QLatin1Char('|'),
                                 QStringLiteral("名前を変更するﾌｧｲﾙを選択|") + AfterCopyFilter + QLatin1Char('|'),
                                 QStringLiteral("名簿を開く|") + AfterCopyFilter + QLatin1Char('|'),
                                 QStringLiteral("削除するﾌｧｲﾙを選択|") + AfterCopyFilter + QLatin1Char('|') + roster,
                                 QStringLiteral("コピーするﾌｧｲﾙを選択|") + CopyFilter + QLatin1Char('|')}));
    QVERIFY(env.platform.messageLog().isEmpty());
    QCOMPARE(fileTree(env.work()), (Files{{QStringLiteral("class"), "<folder>"}, {QStringLiteral("class/a.mem"), RosterA}}));

    // A main window created anew starts from the first values again.
    unload<NARABIN>();
    QCOMPARE(QStringList({form<NARABIN>()->CommonDialog1.DialogTitle, form<NARABIN>()->CommonDialog1.Filter}),
             (QStringList{QStringLiteral("名簿を開く"), FirstFilter}));
}

void TestFileManagement::deleteCommand_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("answer");
    QTest::addColumn<Files>("changes");
    QTest::addColumn<QString>("failure"); // the file goes away while the question is up
    QTest::newRow("file in the log") << "r2.rlt" << IDOK << Files{{"r2.rlt", {}}, {Log, cp932Lines({"r1.rlt", "r3.rlt"})}} << "";
    QTest::newRow("file not in the log still cleans it")
        << "a.mem" << IDOK << Files{{"a.mem", {}}, {Log, cp932Lines({"r1.rlt", "r2.rlt", "r3.rlt"})}} << "";
    QTest::newRow("another folder cleans that log only")
        << "other/o1.rlt" << IDOK << Files{{"other/o1.rlt", {}}, {QStringLiteral("other/") + Log, cp932Lines({"o2.rlt"})}} << "";
    QTest::newRow("folder without a log") << "bare/x.mem" << IDOK << Files{{"bare/x.mem", {}}} << "";
    QTest::newRow("the log itself") << Log << IDOK << Files{{Log, {}}} << "";
    QTest::newRow("cancelled") << "r2.rlt" << IDCANCEL << Files{} << "";
    QTest::newRow("failed: reported, log left") << "r2.rlt" << IDOK << Files{{"r2.rlt", {}}}
                                                << "削除失敗|「r2.rlt」を削除できませんでした。\rファイルが見つかりません。|48";
}

void TestFileManagement::deleteCommand()
{
    QFETCH(QString, target);
    QFETCH(int, answer);
    QFETCH(Files, changes);
    QFETCH(QString, failure);
    TestEnv env;
    for (const char *name : {"r1.rlt", "r2.rlt", "r3.rlt", "a.mem", "other/o2.rlt", "other/o1.rlt", "bare/x.mem"})
        env.writeFile(QString::fromLatin1(name), "x");
    env.writeFile(Log, cp932Lines({"r1.rlt", "消えた.rlt", "r2.rlt", "r3.rlt"}));
    env.writeFile(QStringLiteral("other/") + Log, cp932Lines({"o1.rlt", "o2.rlt", "r1.rlt"}));
    const Files before = fileTree(env.work());
    NARABIN *main = shownMain();
    state().RosterFileName = QStringLiteral("/somewhere/open.mem");
    env.platform.answers.enqueue(answer);
    env.platform.openFiles.enqueue(env.path(target));
    if (!failure.isEmpty())
        env.platform.onMessage = [&](const PlatformCall &) { QFile::remove(env.path(target)); };
    main->Toolbar1->button(5)->click();
    QCOMPARE(env.platform.messageLog(), QStringList({DeleteQuestion, failure.isEmpty() ? Deleted : failure}).mid(0, answer == IDOK ? 2 : 1));
    QCOMPARE(fileTree(env.work()), with(before, changes));
    QCOMPARE(state().RosterFileName, QString());
    QCOMPARE(env.platform.callsOf(QStringLiteral("message")).constFirst().owner.data(), static_cast<QWidget *>(main));
}

void TestFileManagement::backupCommand_data()
{
    QTest::addColumn<bool>("floppyIn");
    QTest::addColumn<bool>("rosters");
    QTest::addColumn<QList<int>>("answers"); // -1: OK while the disk is still out
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("copied");
    QTest::newRow("disk in") << true << true << QList<int>{IDOK} << QStringList{Prepare, BackupDone} << true;
    QTest::newRow("no roster files") << true << false << QList<int>{IDOK} << QStringList{Prepare, BackupDone} << false;
    QTest::newRow("cancelled at once") << true << true << QList<int>{IDCANCEL} << QStringList{Prepare} << false;
    QTest::newRow("disk put in after the question") << false << true << QList<int>{IDOK, IDOK} << QStringList{Prepare, NoDisk, BackupDone} << true;
    QTest::newRow("no disk, asked again, cancelled")
        << false << true << QList<int>{IDOK, -1, IDCANCEL} << QStringList{Prepare, NoDisk, NoDisk} << false;
    QTest::newRow("no disk and no files") << false << false << QList<int>{IDOK} << QStringList{Prepare, BackupDone} << false;
}

void TestFileManagement::backupCommand()
{
    QFETCH(bool, floppyIn);
    QFETCH(bool, rosters);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, messages);
    QFETCH(bool, copied);
    TestEnv env;
    const QString floppy = env.root() + QStringLiteral("/floppy");
    BackupTo backupTo(floppy);
    if (floppyIn)
        env.writeFile(QStringLiteral("../floppy/B.MEM"), "old");
    if (rosters) {
        env.writeFile(QStringLiteral("a.mem"), RosterA);
        env.writeFile(QStringLiteral("B.MEM"), "B\r\n");
        env.writeFile(QStringLiteral("c.Mem"), "C\r\n");
    }
    env.writeFile(QStringLiteral("notes.txt"), "n");
    env.writeFile(QStringLiteral("d.memo"), "d");
    const Files onFloppy = fileTree(floppy);
    NARABIN *main = shownMain();
    int asked = 0;
    env.platform.onMessage = [&](const PlatformCall &) {
        if (++asked > 1 && answers.value(asked - 1, IDOK) == IDOK)
            QDir().mkpath(floppy);
    };
    for (int a : answers)
        env.platform.answers.enqueue(a == -1 ? IDOK : a);
    TRIGGER(main, "mnuBackup");
    QCOMPARE(env.platform.messageLog(), messages);
    const Files all{{QStringLiteral("a.mem"), RosterA}, {QStringLiteral("B.MEM"), "B\r\n"}, {QStringLiteral("c.Mem"), "C\r\n"}};
    QCOMPARE(fileTree(floppy), copied ? all : onFloppy);
}

QTEST_MAIN(TestFileManagement)
#include "tst_filemanagement.moc"
