// File management: copy, rename, delete with the log cleaning, backup, and their dialogs.
#include "app/resultlog.h"
#include "app/textfile.h"
#include "mainwin/filechores.h"
#include "mainwin/filedialogs.h"
#include "mainwin/mainwindow.h"
#include "support/testenv.h"

#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using Files = QMap<QString, QByteArray>;

namespace {

const QByteArray RosterA = sjis(QStringLiteral("山田\r\n花子\r\n"));
const QString CopyFilter = QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|ﾚｲｱｳﾄ(*.LAY)|*.LAY|すべてのﾌｧｲﾙ(*.*)|*.*");
const QString FirstFilter = QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|旧名簿ﾌｧｲﾙ(*.DAT)|*.DAT|すべてのﾌｧｲﾙ(*.*)|*.*");
const QString AfterCopyFilter = QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|すべてのﾌｧｲﾙ(*.*)|*.*");
const QString Log = QStringLiteral("ならびん.ini");
const QString Prepare = QStringLiteral("ﾊﾞｯｸｱｯﾌﾟ準備|データのバックアップをとる場合はドライブＡに\rフロッピーディスクをセットして下さい。|33");
const QString NoDisk = QStringLiteral(
        "ﾊﾞｯｸｱｯﾌﾟ準備|ドライブＡにフロッピーディスクがセットされていません。\r処理を続ける場合はフロッピーディスクをセットして下さい。|33");
const QString BackupDone = QStringLiteral("終了確認|バックアップを終了しました。|64");

// Every file under a folder with its bytes, by path relative to it.
Files tree(const QString &root)
{
    Files files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        files.insert(QDir(root).relativeFilePath(path), f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>"));
    }
    return files;
}

QByteArray lines(const QStringList &names)
{
    QByteArray bytes;
    for (const QString &name : names)
        bytes += sjis(name) + "\r\n";
    return bytes;
}

Files with(Files files, const Files &changes, const QStringList &removed = {})
{
    for (auto it = changes.begin(); it != changes.end(); ++it)
        files.insert(it.key(), it.value());
    for (const QString &name : removed)
        files.remove(name);
    return files;
}

NARABIN *mainWindow()
{
    NARABIN *w = form<NARABIN>();
    w->show();
    return w;
}

// What a file-name dialog showed while the test typed names into it.
struct NameDialogRun {
    bool opened = false;
    QString caption;
    QString sourceName;
    QList<bool> openAfterOk;
    QList<bool> focusInTextAfterOk;
    bool focusInTextAtStart = false;
};

// Types each name and presses OK (the button taking the focus, as a click does) while the
// dialog stays open; then cancels it if it is still open.
template <class D>
void typeNames(const QStringList &names, NameDialogRun &run)
{
    whenModal([names, &run] {
        D *d = loadedForm<D>();
        if (!d)
            return;
        run.opened = d->isVisible() && d->isModal();
        run.caption = d->windowTitle();
        run.sourceName = (std::is_same_v<D, FILESCOPY> ? d->Label3 : d->Label2)->text();
        run.focusInTextAtStart = d->focusWidget() == d->Text1 && d->Text1->text().isEmpty();
        for (const QString &name : names) {
            d->Command1[0]->setFocus();
            d->Text1->setText(name);
            d->Command1[0]->click();
            run.openAfterOk.append(!d->isUnloaded() && d->isVisible());
            run.focusInTextAfterOk.append(d->focusWidget() == d->Text1);
            if (d->isUnloaded())
                return;
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
    void copyChore_data();
    void copyChore();
    void renameChore_data();
    void renameChore();
    void deleteChore();
    void logCleaning_data();
    void logCleaning();
    void rosterFilesIgnoreCase();
    void backupRetriesTheSameFile();
    void copyDialog_data();
    void copyDialog();
    void renameDialog_data();
    void renameDialog();
    void dialogValuesCarriedFromCommandToCommand();
    void deleteCommand_data();
    void deleteCommand();
    void deleteFailureAndLogWriteFailureAreReported();
    void toolbarFiveDeletes();
    void backupCommand_data();
    void backupCommand();
    void dialogsKeepKeysAndButtons();
    void helpButtons();
};

void TestFileManagement::copyChore_data()
{
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<Files>("changes");
    QTest::newRow("over an existing file") << "b.mem" << "" << Files{{QStringLiteral("b.mem"), RosterA}};
    QTest::newRow("new name") << "c.mem" << "" << Files{{QStringLiteral("c.mem"), RosterA}};
    QTest::newRow("into a folder") << "sub/c.mem" << "" << Files{{QStringLiteral("sub/c.mem"), RosterA}};
    const QString self = QStringLiteral("コピー元と同じファイルです。別の名前を指定して下さい。");
    QTest::newRow("itself") << "a.mem" << self << Files{};
    QTest::newRow("itself by another spelling") << "sub/../a.mem" << self << Files{};
    QTest::newRow("itself through a link") << "link.mem" << self << Files{};
    QTest::newRow("a folder") << "sub" << "コピー先に同じ名前のフォルダーがあります。" << Files{};
    QTest::newRow("missing folder") << "none/c.mem" << "コピー先のフォルダーが見つかりません。" << Files{};
    QTest::newRow("no file name") << "sub/" << "ファイル名がありません。" << Files{};
    QTest::newRow("blank name") << "  " << "ファイル名がありません。" << Files{};
    QTest::newRow("forbidden character")
            << "a?.mem" << "ファイル名に使えない文字（\\ / : * ? \" < > |）が含まれています。" << Files{};
    QTest::newRow("control character") << "a\tb.mem" << "名前に制御文字が含まれています。" << Files{};
}

void TestFileManagement::copyChore()
{
    QFETCH(QString, destination);
    QFETCH(QString, reason);
    QFETCH(Files, changes);
    TestEnv env;
    env.writeFile(QStringLiteral("a.mem"), RosterA);
    env.writeFile(QStringLiteral("b.mem"), "old\r\n");
    env.writeFile(QStringLiteral("sub/keep.txt"), "k");
    QVERIFY(QFile::link(env.path(QStringLiteral("a.mem")), env.path(QStringLiteral("link.mem"))));
    const Files before = tree(env.work());
    QCOMPARE(copyFileTo(env.path(QStringLiteral("a.mem")), destination), reason);
    QCOMPARE(tree(env.work()), with(before, changes));
    QCOMPARE(copyFileTo(env.path(QStringLiteral("gone.mem")), QStringLiteral("d.mem")),
             QStringLiteral("コピー元のファイルが見つかりません。"));
}

void TestFileManagement::renameChore_data()
{
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<Files>("changes");
    QTest::addColumn<QStringList>("removed");
    const QStringList gone{QStringLiteral("a.mem")};
    QTest::newRow("bare name") << "c.mem" << "" << Files{{QStringLiteral("c.mem"), RosterA}} << gone;
    QTest::newRow("a path moves it") << "sub/c.mem" << "" << Files{{QStringLiteral("sub/c.mem"), RosterA}} << gone;
    QTest::newRow("letter case") << "A.MEM" << "" << Files{{QStringLiteral("A.MEM"), RosterA}} << gone;
    QTest::newRow("existing file") << "b.mem" << "同じ名前のファイルが既にあります。" << Files{} << QStringList{};
    QTest::newRow("existing folder") << "sub" << "同じ名前のフォルダーが既にあります。" << Files{} << QStringList{};
    QTest::newRow("the same name") << "./a.mem" << "新しい名前が元の名前と同じです。" << Files{} << QStringList{};
    QTest::newRow("missing folder") << "none/c.mem" << "移動先のフォルダーが見つかりません。" << Files{} << QStringList{};
    QTest::newRow("invalid name") << "c:d.mem" << "ファイル名に使えない文字（\\ / : * ? \" < > |）が含まれています。"
                                  << Files{} << QStringList{};
}

void TestFileManagement::renameChore()
{
    QFETCH(QString, destination);
    QFETCH(QString, reason);
    QFETCH(Files, changes);
    QFETCH(QStringList, removed);
    TestEnv env;
    env.writeFile(QStringLiteral("a.mem"), RosterA);
    env.writeFile(QStringLiteral("b.mem"), "old\r\n");
    env.writeFile(QStringLiteral("sub/keep.txt"), "k");
    const Files before = tree(env.work());
    QCOMPARE(renameFileTo(env.path(QStringLiteral("a.mem")), destination), reason);
    QCOMPARE(tree(env.work()), with(before, changes, removed));
}

void TestFileManagement::deleteChore()
{
    TestEnv env;
    env.writeFile(QStringLiteral("a.mem"), RosterA);
    env.writeFile(QStringLiteral("sub/keep.txt"), "k");
    QCOMPARE(deleteFileAt(QStringLiteral("sub")), QStringLiteral("フォルダーは削除できません。"));
    QCOMPARE(deleteFileAt(QStringLiteral("gone.mem")), QStringLiteral("ファイルが見つかりません。"));
    QCOMPARE(deleteFileAt(QStringLiteral("a.mem")), QString());
    QCOMPARE(tree(env.work()), (Files{{QStringLiteral("sub/keep.txt"), "k"}}));
}

void TestFileManagement::logCleaning_data()
{
    QTest::addColumn<QString>("logName");
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("error");
    const QStringList r123{QStringLiteral("1組.rlt"), QStringLiteral("2組.rlt"), QStringLiteral("3組.rlt")};
    QTest::newRow("gone entries dropped, order kept")
            << Log << lines({"2組.rlt", "消えた.rlt", "1組.rlt", "旧.rlt", "3組.rlt"}) << r123
            << lines({"2組.rlt", "1組.rlt", "3組.rlt"}) << "";
    QTest::newRow("empty line skipped, later entries kept")
            << Log << QByteArray(lines({"1組.rlt"}) + "\r\n" + lines({"消えた.rlt", "3組.rlt"})) << r123
            << lines({"1組.rlt", "3組.rlt"}) << "";
    QTest::newRow("entry names a folder") << Log << lines({"sub", "1組.rlt"}) << r123 << lines({"1組.rlt"}) << "";
    QTest::newRow("log name in capitals") << QStringLiteral("ならびん.INI") << lines({"消えた.rlt", "2組.rlt"}) << r123
                                          << lines({"2組.rlt"}) << "";
    QStringList fifteen, twenty;
    for (int i = 1; i <= 20; ++i)
        (i <= 15 ? fifteen : twenty).append(QStringLiteral("r%1.rlt").arg(i));
    twenty = fifteen + twenty;
    QTest::newRow("15 entries all present") << Log << lines(fifteen) << fifteen << lines(fifteen) << "";
    QStringList present = twenty;
    present.removeAll(QStringLiteral("r3.rlt"));
    QTest::newRow("more than 15 entries") << Log << lines(twenty) << present << lines(present) << "";
    QTest::newRow("unreadable log left as it is") << Log << QByteArray("\xff\xfe\x81\r\n", 5) << r123
                                                  << QByteArray("\xff\xfe\x81\r\n", 5)
                                                  << "文字コードが正しくありません（Shift_JIS でも UTF-8 でもありません）。";
}

void TestFileManagement::logCleaning()
{
    QFETCH(QString, logName);
    QFETCH(QByteArray, log);
    QFETCH(QStringList, existing);
    QFETCH(QByteArray, after);
    QFETCH(QString, error);
    TestEnv env;
    env.writeFile(logName, log);
    env.writeFile(QStringLiteral("sub/keep.txt"), "k");
    for (const QString &name : existing)
        env.writeFile(name, "x");
    const LogCleaning cleaning = cleanFolderResultLog(env.work());
    QVERIFY(cleaning.hadLog);
    QCOMPARE(cleaning.error, error);
    QCOMPARE(cleaning.rewritten, after != log);
    QCOMPARE(env.readFile(logName), after);
    QCOMPARE(QDir(env.work()).entryList({QStringLiteral("ならびん.*")}), QStringList{logName});

    QCOMPARE(cleanFolderResultLog(env.path(QStringLiteral("sub"))).hadLog, false);
    QCOMPARE(QDir(env.path(QStringLiteral("sub"))).entryList(QDir::Files), QStringList{QStringLiteral("keep.txt")});
}

void TestFileManagement::rosterFilesIgnoreCase()
{
    TestEnv env;
    for (const char *name : {"b.mem", "A.MEM", "c.Mem", "d.memo", "e.txt", "mem", "sub.mem/x"})
        env.writeFile(QString::fromLatin1(name), "x");
    const RosterFilesFound found = findRosterFiles(env.work());
    QVERIFY(found.ok);
    QCOMPARE(found.names, (QStringList{QStringLiteral("A.MEM"), QStringLiteral("b.mem"), QStringLiteral("c.Mem")}));
    const RosterFilesFound missing = findRosterFiles(env.path(QStringLiteral("none")));
    QVERIFY(!missing.ok);
    QCOMPARE(missing.error, QStringLiteral("フォルダー（%1）の中を読めません。").arg(env.path(QStringLiteral("none"))));
}

void TestFileManagement::backupRetriesTheSameFile()
{
    TestEnv env;
    env.writeFile(QStringLiteral("a.mem"), "A");
    env.writeFile(QStringLiteral("B.MEM"), "B");
    env.writeFile(QStringLiteral("c.Mem"), "C");
    const QString floppy = env.root() + QStringLiteral("/floppy");
    // A folder in the way of the second file makes that one copy fail.
    QVERIFY(QDir().mkpath(floppy + QStringLiteral("/B.MEM")));
    QStringList reasons;
    Files atFirstFailure;
    const bool done = backupRosterFiles(env.work(), floppy, [&](const QString &reason) {
        reasons.append(reason);
        atFirstFailure = tree(floppy);
        return QDir(floppy + QStringLiteral("/B.MEM")).removeRecursively();
    });
    QVERIFY(done);
    QCOMPARE(reasons, QStringList{QStringLiteral("「B.MEM」をコピーできませんでした。コピー先に同じ名前のフォルダーがあります。")});
    QCOMPARE(atFirstFailure, (Files{{QStringLiteral("a.mem"), "A"}}));
    QCOMPARE(tree(floppy), (Files{{QStringLiteral("a.mem"), "A"}, {QStringLiteral("B.MEM"), "B"}, {QStringLiteral("c.Mem"), "C"}}));

    // Backing up a folder into itself copies nothing and succeeds.
    QVERIFY(backupRosterFiles(floppy, floppy, [](const QString &) { return false; }));
    int asked = 0;
    QVERIFY(!backupRosterFiles(env.path(QStringLiteral("none")), floppy, [&](const QString &) { return ++asked < 3; }));
    QCOMPARE(asked, 3);
}

void TestFileManagement::copyDialog_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QList<bool>>("openAfterOk");
    QTest::addColumn<Files>("changes");
    const QString copied = QStringLiteral("複写確認|ファイルをコピーしました。|64");
    QTest::newRow("over an existing file") << QStringList{"b.mem"} << QStringList{copied} << QList<bool>{false}
                                           << Files{{QStringLiteral("class/b.mem"), RosterA}};
    QTest::newRow("bare name lands beside the source") << QStringList{"c.mem"} << QStringList{copied} << QList<bool>{false}
                                                       << Files{{QStringLiteral("class/c.mem"), RosterA}};
    QTest::newRow("path to another folder") << QStringList{"../c.mem"} << QStringList{copied} << QList<bool>{false}
                                            << Files{{QStringLiteral("c.mem"), RosterA}};
    QTest::newRow("empty, then a name")
            << QStringList{"", "c.mem"} << QStringList{QStringLiteral("入力確認|コピー先が入力されていません。|64"), copied}
            << QList<bool>{true, false} << Files{{QStringLiteral("class/c.mem"), RosterA}};
    QTest::newRow("onto itself, then a name")
            << QStringList{"a.mem", "c.mem"}
            << QStringList{QStringLiteral("コピー失敗|「a.mem」を「a.mem」にコピーできませんでした。\r"
                                          "コピー元と同じファイルです。別の名前を指定して下さい。|48"),
                           copied}
            << QList<bool>{true, false} << Files{{QStringLiteral("class/c.mem"), RosterA}};
    QTest::newRow("missing folder, then cancel")
            << QStringList{"none/c.mem"}
            << QStringList{QStringLiteral("コピー失敗|「a.mem」を「none/c.mem」にコピーできませんでした。\r"
                                          "コピー先のフォルダーが見つかりません。|48")}
            << QList<bool>{true} << Files{};
}

void TestFileManagement::copyDialog()
{
    QFETCH(QStringList, typed);
    QFETCH(QStringList, messages);
    QFETCH(QList<bool>, openAfterOk);
    QFETCH(Files, changes);
    TestEnv env;
    env.writeFile(QStringLiteral("class/a.mem"), RosterA);
    env.writeFile(QStringLiteral("class/b.mem"), "old\r\n");
    const Files before = tree(env.work());
    NARABIN *main = mainWindow();
    state().RosterFileName = QStringLiteral("/somewhere/open.mem");
    QStringList sourceAndOwner;
    env.platform.onMessage = [&](const PlatformCall &c) {
        sourceAndOwner.append(state().RosterFileName + QLatin1Char('|') + c.owner->objectName());
    };
    env.platform.openFiles.enqueue(env.path(QStringLiteral("class/a.mem")));
    NameDialogRun run;
    typeNames<FILESCOPY>(typed, run);
    TRIGGER(main, "mnuFileCopy");
    QVERIFY(run.opened);
    QCOMPARE(run.caption, QStringLiteral("ファイルのコピー"));
    QCOMPARE(run.sourceName, QStringLiteral("a.mem"));
    QVERIFY(run.focusInTextAtStart);
    QCOMPARE(run.openAfterOk, openAfterOk);
    QCOMPARE(env.platform.messageLog(), messages);
    // The messages belong to the dialog, so they show over it.
    QCOMPARE(sourceAndOwner, QStringList(messages.size(), env.path(QStringLiteral("class/a.mem")) + QStringLiteral("|FILESCOPY")));
    QCOMPARE(tree(env.work()), with(before, changes));
    QCOMPARE(QDir::currentPath(), env.path(QStringLiteral("class")));
    QCOMPARE(state().RosterFileName, QString());
    QVERIFY(!isLoaded<FILESCOPY>());
}

void TestFileManagement::renameDialog_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QList<bool>>("focusInText");
    QTest::addColumn<Files>("changes");
    QTest::addColumn<QStringList>("removed");
    const QString renamed = QStringLiteral("変更確認|ファイル名を変更しました。|64");
    const QStringList sourceGone{QStringLiteral("class/a.mem")};
    QTest::newRow("bare name stays in its folder") << QStringList{"new.mem"} << QStringList{renamed} << QList<bool>{false}
                                                   << Files{{QStringLiteral("class/new.mem"), RosterA}} << sourceGone;
    QTest::newRow("a path moves it") << QStringList{"../new.mem"} << QStringList{renamed} << QList<bool>{false}
                                     << Files{{QStringLiteral("new.mem"), RosterA}} << sourceGone;
    QTest::newRow("empty, then a name")
            << QStringList{"", "new.mem"} << QStringList{QStringLiteral("ﾌｧｲﾙ名入力確認|新しい名前が入力されていません。|64"), renamed}
            << QList<bool>{true, false} << Files{{QStringLiteral("class/new.mem"), RosterA}} << sourceGone;
    QTest::newRow("existing name changes nothing")
            << QStringList{"b.mem"}
            << QStringList{QStringLiteral("変更失敗|「a.mem」の名前を「b.mem」に変更できませんでした。\r同じ名前のファイルが既にあります。|48")}
            << QList<bool>{true} << Files{} << QStringList{};
    QTest::newRow("invalid name changes nothing")
            << QStringList{"a*.mem"}
            << QStringList{QStringLiteral("変更失敗|「a.mem」の名前を「a*.mem」に変更できませんでした。\r"
                                          "ファイル名に使えない文字（\\ / : * ? \" < > |）が含まれています。|48")}
            << QList<bool>{true} << Files{} << QStringList{};
}

void TestFileManagement::renameDialog()
{
    QFETCH(QStringList, typed);
    QFETCH(QStringList, messages);
    QFETCH(QList<bool>, focusInText);
    QFETCH(Files, changes);
    QFETCH(QStringList, removed);
    TestEnv env;
    env.writeFile(QStringLiteral("class/a.mem"), RosterA);
    env.writeFile(QStringLiteral("class/b.mem"), "old\r\n");
    const Files before = tree(env.work());
    NARABIN *main = mainWindow();
    state().RosterFileName = QStringLiteral("/somewhere/open.mem");
    env.platform.openFiles.enqueue(env.path(QStringLiteral("class/a.mem")));
    NameDialogRun run;
    typeNames<RENAME>(typed, run);
    TRIGGER(main, "mnuFileRename");
    QVERIFY(run.opened);
    QCOMPARE(run.caption, QStringLiteral("ファイル名の変更"));
    QCOMPARE(run.sourceName, QStringLiteral("a.mem"));
    QVERIFY(run.focusInTextAtStart);
    QCOMPARE(run.focusInTextAfterOk, focusInText);
    QCOMPARE(env.platform.messageLog(), messages);
    QCOMPARE(tree(env.work()), with(before, changes, removed));
    QCOMPARE(state().RenameSourceFile, QString());
    // A rename leaves the roster in use alone.
    QCOMPARE(state().RosterFileName, QStringLiteral("/somewhere/open.mem"));
    QVERIFY(!isLoaded<RENAME>());
}

void TestFileManagement::dialogValuesCarriedFromCommandToCommand()
{
    TestEnv env;
    env.writeFile(QStringLiteral("class/a.mem"), RosterA);
    const QString roster = env.path(QStringLiteral("class/a.mem"));
    NARABIN *main = mainWindow();
    CommonDialog &dialog = main->CommonDialog1;
    const auto values = [&dialog] { return QStringList{dialog.DialogTitle, dialog.Filter, dialog.FileName}; };
    QCOMPARE(values(), (QStringList{QStringLiteral("名簿を開く"), FirstFilter, QString()}));

    // As File>Open leaves it after opening a roster.
    dialog.FileName = roster;
    env.platform.openFiles.enqueue(roster);
    NameDialogRun cancelled;
    typeNames<FILESCOPY>({}, cancelled);
    TRIGGER(main, "mnuFileCopy");
    QCOMPARE(values(), (QStringList{QStringLiteral("名簿ﾌｧｲﾙを開く"), AfterCopyFilter, QString()}));

    state().RosterFileName = roster;
    TRIGGER(main, "mnuFileRename"); // file dialog cancelled
    QCOMPARE(values(), (QStringList{QStringLiteral("名簿を開く"), AfterCopyFilter, QString()}));
    QCOMPARE(state().RosterFileName, roster);

    dialog.FileName = roster;
    TRIGGER(main, "mnuFileDelete"); // file dialog cancelled
    QCOMPARE(values(), (QStringList{QStringLiteral("名簿を開く"), AfterCopyFilter, QString()}));
    QCOMPARE(state().RosterFileName, QString());

    TRIGGER(main, "mnuFileCopy"); // file dialog cancelled
    QStringList shown;
    for (const PlatformCall &c : env.platform.callsOf(QStringLiteral("open")))
        shown.append(c.title + QLatin1Char('|') + c.filter + QLatin1Char('|') + c.fileName);
    QCOMPARE(shown, (QStringList{QStringLiteral("コピーするﾌｧｲﾙを選択|") + CopyFilter + QLatin1Char('|') + roster,
                                 QStringLiteral("名前を変更するﾌｧｲﾙを選択|") + AfterCopyFilter + QLatin1Char('|'),
                                 QStringLiteral("削除するﾌｧｲﾙを選択|") + AfterCopyFilter + QLatin1Char('|') + roster,
                                 QStringLiteral("コピーするﾌｧｲﾙを選択|") + CopyFilter + QLatin1Char('|')}));
    QVERIFY(env.platform.messageLog().isEmpty());
    QCOMPARE(tree(env.work()), (Files{{QStringLiteral("class/a.mem"), RosterA}}));

    // A main window created anew starts from the first values again.
    unload<NARABIN>();
    QCOMPARE(QStringList({form<NARABIN>()->CommonDialog1.DialogTitle, form<NARABIN>()->CommonDialog1.Filter}),
             (QStringList{QStringLiteral("名簿を開く"), FirstFilter}));
}

void TestFileManagement::deleteCommand_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<Files>("changes");
    QTest::addColumn<QStringList>("removed");
    const QString question = QStringLiteral("削除確認|指定されたﾌｧｲﾙを削除します。よろしいですか？|33");
    const QStringList deleted{question, QStringLiteral("削除情報|指定されたﾌｧｲﾙを削除しました。|64")};
    QTest::newRow("file in the log") << "r2.rlt" << IDOK << deleted
                                     << Files{{Log, lines({"r1.rlt", "r3.rlt"})}} << QStringList{"r2.rlt"};
    QTest::newRow("file not in the log still cleans it") << "a.mem" << IDOK << deleted
                                                         << Files{{Log, lines({"r1.rlt", "r2.rlt", "r3.rlt"})}}
                                                         << QStringList{"a.mem"};
    QTest::newRow("another folder cleans that log only") << "other/o1.rlt" << IDOK << deleted
                                                         << Files{{QStringLiteral("other/") + Log, lines({"o2.rlt"})}}
                                                         << QStringList{"other/o1.rlt"};
    QTest::newRow("folder without a log") << "bare/x.mem" << IDOK << deleted << Files{} << QStringList{"bare/x.mem"};
    QTest::newRow("the log itself") << Log << IDOK << deleted << Files{} << QStringList{Log};
    QTest::newRow("cancelled") << "r2.rlt" << IDCANCEL << QStringList{question} << Files{} << QStringList{};
}

void TestFileManagement::deleteCommand()
{
    QFETCH(QString, target);
    QFETCH(int, answer);
    QFETCH(QStringList, messages);
    QFETCH(Files, changes);
    QFETCH(QStringList, removed);
    TestEnv env;
    for (const char *name : {"r1.rlt", "r2.rlt", "r3.rlt", "a.mem", "other/o2.rlt", "other/o1.rlt", "bare/x.mem"})
        env.writeFile(QString::fromLatin1(name), "x");
    env.writeFile(Log, lines({"r1.rlt", "消えた.rlt", "r2.rlt", "r3.rlt"}));
    env.writeFile(QStringLiteral("other/") + Log, lines({"o1.rlt", "o2.rlt", "r1.rlt"}));
    const Files before = tree(env.work());
    NARABIN *main = mainWindow();
    state().RosterFileName = QStringLiteral("/somewhere/open.mem");
    env.platform.answers.enqueue(answer);
    env.platform.openFiles.enqueue(env.path(target));
    QString chosenWhileAsked;
    env.platform.onMessage = [&](const PlatformCall &) {
        if (chosenWhileAsked.isEmpty())
            chosenWhileAsked = state().RosterFileName;
    };
    TRIGGER(main, "mnuFileDelete");
    QCOMPARE(env.platform.messageLog(), messages);
    QCOMPARE(tree(env.work()), with(before, changes, removed));
    QCOMPARE(chosenWhileAsked, env.path(target));
    QCOMPARE(state().RosterFileName, QString());
    QCOMPARE(env.platform.callsOf(QStringLiteral("message")).constFirst().owner.data(), static_cast<QWidget *>(main));
}

void TestFileManagement::deleteFailureAndLogWriteFailureAreReported()
{
    TestEnv env;
    env.writeFile(QStringLiteral("a.mem"), "x");
    env.writeFile(QStringLiteral("b.mem"), "x");
    env.writeFile(Log, lines({"消えた.rlt", "b.mem"}));
    NARABIN *main = mainWindow();
    // The file goes away while the question is up.
    env.platform.openFiles.enqueue(env.path(QStringLiteral("a.mem")));
    env.platform.onMessage = [&](const PlatformCall &) { QFile::remove(env.path(QStringLiteral("a.mem"))); };
    TRIGGER(main, "mnuFileDelete");
    QCOMPARE(env.platform.messageLog(),
             (QStringList{QStringLiteral("削除確認|指定されたﾌｧｲﾙを削除します。よろしいですか？|33"),
                          QStringLiteral("削除失敗|「a.mem」を削除できませんでした。\rファイルが見つかりません。|48")}));
    QCOMPARE(env.readFile(Log), lines({"消えた.rlt", "b.mem"}));

    env.platform.clear();
    env.platform.onMessage = {};
    setWriteFaultForTests(Log, 3);
    env.platform.openFiles.enqueue(env.path(QStringLiteral("b.mem")));
    TRIGGER(main, "mnuFileDelete");
    QCOMPARE(env.platform.messageLog(),
             (QStringList{QStringLiteral("削除確認|指定されたﾌｧｲﾙを削除します。よろしいですか？|33"),
                          QStringLiteral("削除情報|指定されたﾌｧｲﾙを削除しました。|64"),
                          QStringLiteral("過去ログの整理|過去ログ「%1」を整理できませんでした。ログは元のままです。\r"
                                         "ディスクの空き容量が足りないか、書き込めない状態です。（No space left on device）|48")
                                  .arg(env.path(Log))}));
    QCOMPARE(env.readFile(Log), lines({"消えた.rlt", "b.mem"}));
    QVERIFY(!QFile::exists(env.path(QStringLiteral("b.mem"))));
}

void TestFileManagement::toolbarFiveDeletes()
{
    TestEnv env;
    env.writeFile(QStringLiteral("a.mem"), "x");
    NARABIN *main = mainWindow();
    env.platform.openFiles.enqueue(env.path(QStringLiteral("a.mem")));
    main->Toolbar1_ButtonClick(5);
    QCOMPARE(env.platform.callsOf(QStringLiteral("open")).constFirst().title, QStringLiteral("削除するﾌｧｲﾙを選択"));
    QVERIFY(!QFile::exists(env.path(QStringLiteral("a.mem"))));
}

void TestFileManagement::backupCommand_data()
{
    QTest::addColumn<bool>("floppyIn");
    QTest::addColumn<bool>("rosters");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("copied");
    QTest::newRow("disk in") << true << true << QList<int>{IDOK} << QStringList{Prepare, BackupDone} << true;
    QTest::newRow("no roster files") << true << false << QList<int>{IDOK} << QStringList{Prepare, BackupDone} << false;
    QTest::newRow("cancelled at once") << true << true << QList<int>{IDCANCEL} << QStringList{Prepare} << false;
    QTest::newRow("disk put in after the question")
            << false << true << QList<int>{IDOK, IDOK} << QStringList{Prepare, NoDisk, BackupDone} << true;
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
    if (floppyIn) {
        QDir().mkpath(floppy);
        env.writeFile(QStringLiteral("../floppy/B.MEM"), "old");
    }
    if (rosters) {
        env.writeFile(QStringLiteral("a.mem"), RosterA);
        env.writeFile(QStringLiteral("B.MEM"), "B\r\n");
        env.writeFile(QStringLiteral("c.Mem"), "C\r\n");
    }
    env.writeFile(QStringLiteral("notes.txt"), "n");
    env.writeFile(QStringLiteral("d.memo"), "d");
    const Files onFloppy = tree(floppy);
    NARABIN *main = mainWindow();
    // -1: the disk is still out when OK is pressed.
    int asked = 0;
    env.platform.onMessage = [&](const PlatformCall &) {
        const int answer = asked < answers.size() ? answers.at(asked) : IDOK;
        ++asked;
        if (asked > 1 && answer == IDOK)
            QDir().mkpath(floppy);
    };
    for (int a : answers)
        env.platform.answers.enqueue(a == -1 ? IDOK : a);
    TRIGGER(main, "mnuBackup");
    QCOMPARE(env.platform.messageLog(), messages);
    const Files expected = copied ? Files{{QStringLiteral("a.mem"), RosterA}, {QStringLiteral("B.MEM"), "B\r\n"},
                                          {QStringLiteral("c.Mem"), "C\r\n"}}
                                  : onFloppy;
    QCOMPARE(tree(floppy), expected);
}

void TestFileManagement::dialogsKeepKeysAndButtons()
{
    TestEnv env;
    for (FileNameDialog *d : std::initializer_list<FileNameDialog *>{form<FILESCOPY>(), form<RENAME>()}) {
        QCOMPARE(d->size(), QSize(334, 148));
        QCOMPARE(d->palette().color(QPalette::Window), QColor(128, 128, 128));
        QStringList buttons;
        for (QPushButton *b : d->Command1)
            buttons << b->text() + QLatin1Char('/') + b->toolTip() + QLatin1Char('/') + QString::number(b->isDefault() || b->autoDefault());
        QCOMPARE(buttons, (QStringList{QStringLiteral("OK/ OK /0"), QStringLiteral("キャンセル/ キャンセル /0"),
                                       QStringLiteral("ヘルプ/ ヘルプ /0")}));
        QCOMPARE(d->focusWidget(), d->Text1);
        QCOMPARE(d->Text1->nextInFocusChain(), d->Command1[0]);
        QCOMPARE(d->Command1[0]->nextInFocusChain(), d->Command1[1]);
        QCOMPARE(d->Command1[1]->nextInFocusChain(), d->Command1[2]);
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d));
        d->Text1->setText(QStringLiteral("x.mem"));
        QTest::keyClick(d->Text1, Qt::Key_Return);
        QTest::keyClick(d->Text1, Qt::Key_Escape);
        QVERIFY(d->isVisible());
        QVERIFY(env.platform.calls.isEmpty());
    }
}

void TestFileManagement::helpButtons()
{
    TestEnv env;
    state().HelpFilePath = env.path(QStringLiteral("NARABIN.HLP"));
    FILESCOPY *copy = form<FILESCOPY>();
    RENAME *rename = form<RENAME>();
    copy->Command1[2]->click();
    rename->Command1[2]->click();
    const QList<PlatformCall> help = env.platform.callsOf(QStringLiteral("help"));
    QCOMPARE(help.size(), 2);
    QCOMPARE(help[0].owner.data(), static_cast<QWidget *>(copy));
    QCOMPARE(help[1].owner.data(), static_cast<QWidget *>(rename));
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(help[i].text, env.path(QStringLiteral("NARABIN.HLP")));
        QCOMPARE(help[i].style, HELP_CONTEXT);
        QCOMPARE(help[i].data, 29 + i);
    }
    QVERIFY(isLoaded<FILESCOPY>() && isLoaded<RENAME>());
}

QTEST_MAIN(TestFileManagement)
#include "tst_filemanagement.moc"
