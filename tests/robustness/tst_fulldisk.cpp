// Commands that write, one after another on a file system that is really full: a small
// tmpfs, filled to the last page. Each reports the disk as full, says nothing of success,
// and leaves every file byte for byte as it was, with no temporary file. (A roster's register and a result's save
// fail the same way in their own windows' tests.)
#include "core/classfile.h"
#include "seating/resultwindow.h"
#include "support/mainfixtures.h"

#include <QtTest>

namespace
{

const QString DiskFull = QStringLiteral("ディスクの空き容量が足りません。");

// Writes a filler until the file system under `folder` refuses a single byte more.
void fill(const QString &folder)
{
    QFile filler(folder + "/filler");
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray page(4096, 'x');
    while (filler.write(page) == page.size()) {
    }
    while (filler.write("x", 1) == 1) {
    }
}

} // namespace

class TestFullDisk : public QObject
{
    Q_OBJECT

private slots:
    void commandsOnAFullDisk();
};

void TestFullDisk::commandsOnAFullDisk()
{
    if (geteuid() != 0)
        QSKIP("mounting a small file system needs root (CI runs as root)");
    TestEnv env;
    // A tmpfs of its own over the test's folder, holding the work folder and the settings.
    const Tmpfs disk(env.root(), "size=128k,mode=0755");
    QVERIFY(disk.mounted);
    QDir(env.root()).mkpath("config");
    QDir(env.root()).mkpath("cache"); // the logo's cache, tried when the window is drawn
    QDir().mkpath(env.work());
    QDir::setCurrent(env.work());
    env.writeFile("1組.mem", crlfLines({"山田", "佐藤"}));
    env.writeFile("2組.mem", crlfLines({"鈴木"}));
    env.writeFile("1組.rlt", crlfLines(padded({"佐藤", "山田"})));
    env.writeFile("ならびん.ini", crlfLines({"1組.rlt"}));
    const KeptChart first{"r1", QDateTime::currentDateTime(), Room::standard(), padded({"山田", "佐藤"}), {"1組.rlt"}};
    env.writeFile("1組.mem.json", classFileBytes({Room::standard(), {}, {}, Ledger{first}}));
    MainWindow *main = startedMain(); // writes the settings' defaults
    Files expected = fileTree(env.root());
    fill(env.root());
    expected.insert("filler", fileTree(env.root()).value("filler"));

    // A copy over another roster: the name dialog opens again for another name; the user gives up.
    env.platform.openFiles.enqueue(env.path("1組.mem"));
    bool openAfterFailure = false;
    answerNameDialog(true, "2組.mem", &openAfterFailure);
    TRIGGER(main, "mnuFileCopy");
    QVERIFY(openAfterFailure);
    // From another device a rename is a copy: it fails whole and the original stays.
    const QTemporaryDir elsewhere;
    const Files roster{{"3組.mem", crlfLines({"田中", "高橋"})}};
    QFile file(elsewhere.filePath("3組.mem"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(roster.first()) == roster.first().size());
    file.close();
    env.platform.openFiles.enqueue(file.fileName());
    answerNameDialog(false, env.path("3組.mem"));
    TRIGGER(main, "mnuFileRename");
    QCOMPARE(fileTree(elsewhere.path()), roster);
    // A chart accepted into the class's year: the year's charts stay as they were.
    ResultWindow *result = form<ResultWindow>();
    result->setSeatTexts(padded({"佐藤", "山田"}));
    result->show();
    env.platform.saveFiles.enqueue(env.path("1組.rlt"));
    state().RosterFileName = env.path("1組.mem");
    state().openClass.pupils = QStringList{"佐藤", "山田"};
    result->setRun("r2");
    TRIGGER(result, "mnuOK");
    // The splash switched off: its check mark stays where it was.
    TRIGGER(main, "mnuLogoMark");
    QCOMPARE(main->splashAction->isChecked(), true);
    QCOMPARE(env.platform.messageLog(),
             (QStringList{"コピー失敗|「1組.mem」を「2組.mem」にコピーできませんでした。\r" + DiskFull + "|48",
                          "変更失敗|「3組.mem」の名前を「" + QDir::toNativeSeparators(env.path("3組.mem")) +
                              "」に変更できませんでした。\r" + DiskFull + "|48",
                          "席替えの記録|この席替えを一年の記録に残せませんでした。\r" + DiskFull + "|48",
                          "設定の保存エラー|設定を保存できませんでした。\r" + DiskFull + "\r保存先: " +
                              QDir::toNativeSeparators(env.settingsFile()) + "\r設定は変更されていません。|16"}));
    QCOMPARE(fileTree(env.root()), expected);
}

QTEST_MAIN(TestFullDisk)
#include "tst_fulldisk.moc"
