// File management: copy, rename, delete with the log cleaning, backup, and their dialogs.
#include "core/backupmedia.h"
#include "support/mainfixtures.h"

#include <QToolButton>
#include <QtTest>

#include <memory>
#include <vector>

namespace
{

const QByteArray RosterA = sjis(QStringLiteral("山田\r\n花子\r\n"));
// A class file goes wherever its roster goes.
const QByteArray ClassA = R"({"format":"narabin-class","version":1,"room":{"rows":5,"columns":7}})";
const QString Log = QStringLiteral("ならびん.ini");
// The backup's first question, for the rosters of <work> unless another folder is named.
QString prepare(int rosters = 3, const QString &folder = QStringLiteral("<work>"))
{
    return QStringLiteral("ﾊﾞｯｸｱｯﾌﾟ準備|フォルダー「%1」の名簿 %2 件をバックアップします。\r"
                          "データのバックアップをとる場合は\rUSBメモリーをセットして下さい。|33")
        .arg(folder)
        .arg(rosters);
}

} // namespace

class TestFileManagement : public QObject
{
    Q_OBJECT

private slots:
    void fileCommands_data();
    void fileCommands();
    void dialogValuesCarriedFromCommandToCommand();
    void backupCommand_data();
    void backupCommand();
    void backupReplacesOnlyOnTheDeviceSeen();
};

// Copy, rename and delete in one folder: the class file goes with its roster, and a
// deletion cleans the log of the deleted file's folder.
void TestFileManagement::fileCommands_data()
{
    QTest::addColumn<QString>("command"); // "copy NAME [FROM]", "rename NAME" or "delete FILE"; from a.mem
    QTest::addColumn<QByteArray>("log");  // beside r1.rlt, r2.rlt, a.mem, b.mem and their class files
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<Files>("changes"); // to the files; an empty value: removed
    const QByteArray log = crlfLines({"r1.rlt", "", "消えた.rlt", "r2.rlt"});
    const QStringList deleted{"削除確認|指定されたﾌｧｲﾙを削除します。よろしいですか？|33",
                              "削除情報|指定されたﾌｧｲﾙを削除しました。|64"};
    QTest::newRow("copy: bare name lands beside the source, over a file there")
        << "copy b.mem" << log << QStringList{"複写確認|ファイルをコピーしました。|64"}
        << Files{{"b.mem", RosterA}, {"b.mem.json", ClassA}};
    QTest::newRow("copy: a roster without a class file takes the old one away")
        << "copy b.mem c.mem" << log << QStringList{"複写確認|ファイルをコピーしました。|64"}
        << Files{{"b.mem", "新\r\n"}, {"b.mem.json", {}}};
    QTest::newRow("copy onto itself") << "copy a.mem" << log
                                      << QStringList{"コピー失敗|「a.mem」を「a.mem」にコピーできませんでした。\r"
                                                     "コピー元と同じファイルです。別の名前を指定して下さい。|48"}
                                      << Files{};
    QTest::newRow("rename onto an existing name changes nothing")
        << "rename b.mem" << log
        << QStringList{"変更失敗|「a.mem」の名前を「b."
                       "mem」に変更できませんでした。\r同じ名前のファイルが既にあります。|48"}
        << Files{};
    QTest::newRow("rename onto another file system moves the file")
        << "rename usb/c.mem" << log << QStringList{"変更確認|ファイル名を変更しました。|64"}
        << Files{{"a.mem", {}}, {"usb/c.mem", RosterA}, {"a.mem.json", {}}, {"usb/c.mem.json", ClassA}};
    // The reasons of every name Windows refuses are pinned where the backup checks names.
    QTest::newRow("rename to a name Windows cannot hold")
        << "rename b?.mem" << log
        << QStringList{"変更失敗|「a.mem」の名前を「b?.mem」に変更できませんでした。\r"
                       "ファイル名に使えない文字（\\ / : * ? \" < > |）が含まれています。|48"}
        << Files{};
    QTest::newRow("delete: an empty line and a missing file dropped, later entries kept")
        << "delete a.mem" << log << deleted
        << Files{{"a.mem", {}}, {"a.mem.json", {}}, {Log, crlfLines({"r1.rlt", "r2.rlt"})}};
    QTest::newRow("delete: entry found whatever its letter case")
        << "delete r2.rlt" << crlfLines({"R1.RLT", "r2.rlt"}) << deleted
        << Files{{"r2.rlt", {}}, {Log, crlfLines({"R1.RLT"})}};
    QTest::newRow("delete: nothing to drop, the log keeps its bytes")
        << "delete a.mem" << QByteArray("\"r1.rlt\"\r\nr2.rlt\r\n") << deleted
        << Files{{"a.mem", {}}, {"a.mem.json", {}}};
    QTest::newRow("delete: another folder cleans that log only")
        << "delete other/o1.rlt" << log << deleted
        << Files{{"other/o1.rlt", {}}, {"other/" + Log, crlfLines({"o2.rlt"})}};
}

void TestFileManagement::fileCommands()
{
    QFETCH(QString, command);
    QFETCH(QByteArray, log);
    QFETCH(QStringList, messages);
    QFETCH(Files, changes);
    TestEnv env;
    env.writeFile("a.mem", RosterA);
    env.writeFile("a.mem.json", ClassA);
    env.writeFile("b.mem", "old\r\n");
    env.writeFile("b.mem.json", "{}");
    env.writeFile("c.mem", "新\r\n");
    for (const char *name : {"r1.rlt", "r2.rlt", "other/o2.rlt", "other/o1.rlt"})
        env.writeFile(QString::fromLatin1(name), "x");
    env.writeFile(Log, log);
    env.writeFile("other/" + Log, crlfLines({"o1.rlt", "o2.rlt", "r1.rlt"}));
    const QString verb = command.section(u' ', 0, 0), name = command.section(u' ', 1, 1);
    std::optional<Tmpfs> usb;
    if (name.startsWith("usb/") && !usb.emplace(env.path("usb"), "size=64k").mounted)
        QSKIP("another file system is a tmpfs the test mounts, which needs Linux and root");
    Files expected = fileTree(env.work());
    expected.insert(changes); // no file of the tree is empty
    expected.removeIf([](Files::iterator it) { return it.value().isEmpty(); });
    MainWindow *main = shownMain();
    if (verb == "delete") {
        env.platform.answers.enqueue(IDOK);
        env.platform.openFiles.enqueue(env.path(name));
        main->toolbar->button(5)->click();
    } else {
        env.platform.openFiles.enqueue(
            env.path(command.section(u' ', 2).isEmpty() ? "a.mem" : command.section(u' ', 2)));
        answerNameDialog(verb == "copy", name);
        findAction(main, verb == "copy" ? "mnuFileCopy" : "mnuFileRename")->trigger();
    }
    QCOMPARE(env.platform.messageLog(), messages);
    QCOMPARE(fileTree(env.work()), expected);
}

// File>Open shares the main window's dialog with the file commands, which change its title
// and filter for the next opening.
void TestFileManagement::dialogValuesCarriedFromCommandToCommand()
{
    TestEnv env;
    env.writeFile("class/a.mem", RosterA);
    const QString roster = env.path("class/a.mem");
    MainWindow *main = shownMain();
    env.platform.openFiles.enqueue(roster);
    TRIGGER(main, "mnuFileOpen");
    env.platform.openFiles.enqueue(roster);
    whenModal([] { loadedForm<FileCopyDialog>()->buttons[1]->click(); });
    TRIGGER(main, "mnuFileCopy");
    main->toolbar->button(3)->click(); // each file dialog from here on cancelled
    TRIGGER(main, "mnuFileRename");
    env.platform.openFiles.enqueue(roster);
    TRIGGER(main, "mnuFileOpen");
    TRIGGER(main, "mnuFileDelete");
    TRIGGER(main, "mnuFileCopy");
    QStringList shown;
    for (const PlatformCall &c : env.platform.callsOf("open"))
        shown.append(c.title + u'|' + c.filter + u'|' + c.fileName);
    const QString copyFilter = "|名簿ﾌｧｲﾙ(*.MEM)|*.MEM|ﾚｲｱｳﾄ(*.LAY)|*.LAY|すべてのﾌｧｲﾙ(*.*)|*.*|";
    const QString afterCopy = "|名簿ﾌｧｲﾙ(*.MEM)|*.MEM|すべてのﾌｧｲﾙ(*.*)|*.*|";
    QCOMPARE(shown, (QStringList{"名簿を開く|名簿ﾌｧｲﾙ(*.MEM)|*.MEM|旧名簿ﾌｧｲﾙ(*.DAT)|*.DAT|すべてのﾌｧｲﾙ(*.*)|*.*|",
                                 "コピーするﾌｧｲﾙを選択" + copyFilter + roster, "名簿ﾌｧｲﾙを開く" + afterCopy,
                                 "名前を変更するﾌｧｲﾙを選択" + afterCopy, "名簿を開く" + afterCopy,
                                 "削除するﾌｧｲﾙを選択" + afterCopy + roster, "コピーするﾌｧｲﾙを選択" + copyFilter}));
    QVERIFY(env.platform.messageLog().isEmpty());
}

void TestFileManagement::backupCommand_data()
{
    // Mounted at the start; "+NAME" mounted after the first answer, "-NAME" a bare folder;
    // "NAME*" has room for one roster, "NAME!" too and is pulled out at the first failure.
    QTest::addColumn<QStringList>("sticks");
    QTest::addColumn<QString>("setup");      // "fat": a FAT stick and two rosters more; "onstick": the
                                             // folder is on the stick; "none": no roster
    QTest::addColumn<QList<int>>("answers"); // message boxes after the first
    QTest::addColumn<int>("choice");         // in the list of sticks; -1: cancelled
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("landed"); // "STICK/name" of the rosters there afterwards; "STICK": all
    const QString missing =
        "ﾊﾞｯｸｱｯﾌﾟ準備|USBメモリーがセットされていません。\r処理を続ける場合はUSBメモリーをセットして下さい。|33";
    const QString done =
        "終了確認|バックアップを終了しました。\rフォルダー「<work>」の名簿 3 件を「<media>/%1」にコピーしました。|64";
    const auto failed = [](const char *name, const QString &reason) {
        return QStringLiteral("ﾊﾞｯｸｱｯﾌﾟ失敗|「%1」をバックアップできませんでした。\r%2\r「再試行」でもう一度コピーし、"
                              "「無視」でこの名簿を飛ばして続け、「中止」でバックアップをやめます。|306")
            .arg(QString::fromUtf8(name), reason);
    };
    const QString full = "ディスクの空き容量が足りません。";
    const QString pulled = "バックアップ先（<media>/STICK）が取り外されたか、別のものに替わりました。";
    const QString partly = "終了確認|バックアップを%1しました。\rフォルダー「<work>」の名簿 %2 件のうち %3 件を"
                           "「<media>/STICK」にコピーしました。\rコピーしなかった名簿: %4|48";
    const QString otherFolder = "\r名簿のあるフォルダーのファイルを開いてから、もう一度バックアップして下さい。|48";
    QTest::newRow("stick put in after the question")
        << QStringList{"+STICK"} << "" << QList<int>{IDOK} << -1 << QStringList{prepare(), missing, done.arg("STICK")}
        << QStringList{"STICK"};
    // A folder in the media place that nothing is mounted on is the computer's own disk.
    QTest::newRow("a folder that is no medium, cancelled") << QStringList{"-FOLDER"} << "" << QList<int>{IDCANCEL} << -1
                                                           << QStringList{prepare(), missing} << QStringList();
    QTest::newRow("two sticks, the second chosen")
        << QStringList{"A_STICK", "B_STICK"} << "" << QList<int>() << 1
        << QStringList{prepare(),
                       "list|バックアップ先の選択|バックアップ先のUSBメモリーを選んで下さい。|"
                       "A_STICK（空き 1.0 MB）  <media>/A_STICK|B_STICK（空き 1.0 MB）  <media>/B_STICK",
                       done.arg("B_STICK")}
        << QStringList{"B_STICK"};
    QTest::newRow("two sticks, the choice cancelled") << QStringList{"A_STICK", "B_STICK"} << "" << QList<int>() << -1
                                                      << QStringList{prepare(), "list|<the list>"} << QStringList();
    QTest::newRow("nearly full: the real reason, one skipped, then stopped")
        << QStringList{"STICK*"} << "" << QList<int>{IDIGNORE, IDABORT} << -1
        << QStringList{prepare(), failed("B.MEM", full), failed("c.Mem", full),
                       partly.arg("中止").arg(3).arg(1).arg("B.MEM、c.Mem")}
        << QStringList{"STICK/a.mem"};
    QTest::newRow("pulled out: nothing lands in its folder")
        << QStringList{"STICK!"} << "" << QList<int>{IDRETRY, IDIGNORE, IDIGNORE} << -1
        << QStringList{prepare(), failed("B.MEM", full), failed("B.MEM", pulled), failed("c.Mem", pulled),
                       partly.arg("終了").arg(3).arg(1).arg("B.MEM、c.Mem")}
        << QStringList();
    QTest::newRow("FAT stick: names it cannot hold are left out")
        << QStringList{"STICK"} << "fat" << QList<int>{IDOK} << -1
        << QStringList{prepare(5),
                       "ﾊﾞｯｸｱｯﾌﾟ準備|次の名簿は、このUSBメモリーには今の名前では置けないため、コピーしません。\r"
                       "「e?.mem」: ファイル名に使えない文字（\\ / : * ? \" < > |）が含まれています。\r"
                       "「A.MEM」「a.mem」: 大文字と小文字の違いしかないため、同じ名前になります。\r"
                       "ほかの名簿 2 件をバックアップしますか？|33",
                       partly.arg("終了").arg(5).arg(2).arg("e?.mem、A.MEM、a.mem")}
        << QStringList{"STICK/B.MEM", "STICK/c.Mem", "STICK/c.Mem.json"};
    QTest::newRow("the folder is on the stick itself")
        << QStringList{"STICK"} << "onstick" << QList<int>() << -1
        << QStringList{prepare(3, "<media>/STICK"), "ﾊﾞｯｸｱｯﾌﾟ準備|フォルダー「<media>/STICK」はバックアップ先のUSBメ"
                                                    "モリーの中にあるため、バックアップしません。" +
                                                        otherFolder}
        << QStringList{"STICK"};
    QTest::newRow("no roster in the folder")
        << QStringList{"STICK"} << "none" << QList<int>() << -1
        << QStringList{"ﾊﾞｯｸｱｯﾌﾟ準備|フォルダー「<work>」には名簿ﾌｧｲﾙ（*.MEM）がありません。" + otherFolder}
        << QStringList();
}

// Sticks are small tmpfs mounted under a media folder of the test's own.
void TestFileManagement::backupCommand()
{
    QFETCH(QStringList, sticks);
    QFETCH(QString, setup);
    QFETCH(QList<int>, answers);
    QFETCH(int, choice);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, landed);
    TestEnv env;
    const QString media = env.root() + "/media/teacher";
#ifdef Q_OS_LINUX
    if (geteuid() != 0)
#endif
        QSKIP("a USB stick is a tmpfs the test mounts, which needs Linux and root (CI runs as root)");
    env.services.backupMediaRoots = {media};
    if (setup == "fat")
        env.services.backupMediaFileSystem = "vfat";
    std::vector<std::unique_ptr<Tmpfs>> mounted;
    std::vector<Tmpfs *> pulledAtFailure;
    const auto mountStick = [&](QString name) {
        const bool small = name.endsWith(u'*') || name.endsWith(u'!');
        const bool pulled = name.endsWith(u'!');
        name.chop(small ? 1 : 0);
        Tmpfs &stick = *mounted.emplace_back(std::make_unique<Tmpfs>(media + u'/' + name, "size=1m"));
        QFile filler(stick.path + "/filler");
        if (stick.mounted && small && filler.open(QIODevice::WriteOnly)) // room for one roster: a page of 4 KiB
            filler.write(QByteArray(1024 * 1024 - 4096, 'x'));
        if (pulled)
            pulledAtFailure.push_back(&stick);
    };
    for (const QString &stick : sticks) {
        if (stick.startsWith(u'-'))
            QDir().mkpath(media + u'/' + stick.mid(1));
        else if (!stick.startsWith(u'+'))
            mountStick(stick);
    }
    const Files rosters{{"a.mem", RosterA}, {"B.MEM", "B\r\n"}, {"c.Mem", "C\r\n"}, {"c.Mem.json", ClassA}};
    Files source = setup == "none" ? Files() : rosters;
    if (setup == "fat")
        source.insert(Files{{"A.MEM", "A\r\n"}, {"e?.mem", "E\r\n"}});
    for (auto it = source.cbegin(); it != source.cend(); ++it)
        env.writeFile(it.key(), it.value());
    env.writeFile("d.memo", "d");
    if (setup == "onstick") {
        for (auto it = rosters.cbegin(); it != rosters.cend(); ++it)
            QVERIFY(QFile::copy(env.path(it.key()), media + "/STICK/" + it.key()));
        QDir::setCurrent(media + "/STICK");
    }
    MainWindow *main = shownMain();
    env.platform.onMessage = [&](const PlatformCall &call) {
        if (env.platform.callsOf("message").size() == 2)
            for (const QString &stick : sticks)
                if (stick.startsWith(u'+'))
                    mountStick(stick.mid(1));
        if (call.title == "ﾊﾞｯｸｱｯﾌﾟ失敗")
            for (Tmpfs *stick : std::exchange(pulledAtFailure, {}))
                stick->unmount();
    };
    env.platform.answers.enqueue(IDOK);
    for (int a : answers)
        env.platform.answers.enqueue(a);
    if (choice >= 0)
        env.platform.listChoices.enqueue(choice);
    TRIGGER(main, "mnuBackup");
    QStringList shown;
    for (const PlatformCall &call : env.platform.calls) {
        if (call.kind == "message")
            shown.append(call.title + u'|' + call.text + u'|' + QString::number(call.style));
        else if (call.kind == "list")
            shown.append(choice < 0 ? "list|<the list>" : "list|" + call.title + u'|' + call.text);
    }
    QCOMPARE(shown, messages.replaceInStrings("<media>", media).replaceInStrings("<work>", env.work()));
    Files expected, there = fileTree(media);
    there.removeIf([](Files::iterator it) { return it.value() == "<folder>" || it.key().endsWith("/filler"); });
    for (const QString &entry : landed) {
        if (entry.contains(u'/'))
            expected.insert(entry, source.value(entry.section(u'/', 1)));
        for (auto it = rosters.cbegin(); it != rosters.cend() && !entry.contains(u'/'); ++it)
            expected.insert(entry + u'/' + it.key(), it.value());
    }
    QCOMPARE(there, expected);
}

// A stick pulled out after its copy began leaves its mount folder on the computer's disk:
// the copy must not land there.
void TestFileManagement::backupReplacesOnlyOnTheDeviceSeen()
{
    TestEnv env;
    env.writeFile("a.mem", RosterA);
    const QString folder = env.root() + "/media/STICK";
    QDir().mkpath(folder);
    BackupMedium medium{folder, "STICK", 0, "vfat", deviceOf(folder).value() + 1};
    QCOMPARE(copyRosterOnto(env.work(), medium, "a.mem"),
             "バックアップ先（" + QDir::toNativeSeparators(folder) + "）が取り外されたか、別のものに替わりました。");
    QCOMPARE(fileTree(folder), Files());
    medium.device = *deviceOf(folder);
    QCOMPARE(copyRosterOnto(env.work(), medium, "a.mem"), QString());
    QCOMPARE(fileTree(folder), (Files{{"a.mem", RosterA}}));
}

QTEST_MAIN(TestFileManagement)
#include "tst_filemanagement.moc"
