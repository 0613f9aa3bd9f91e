// Every command that writes, on a file system that is really full: a small tmpfs,
// filled to the last page. Each command reports the disk as full, says nothing of
// success, and leaves every file byte for byte as it was, with no temporary file.
#include "core/classfile.h"
#include "core/settings.h"
#include "core/startup.h"
#include "mainwin/filedialogs.h"
#include "roster/rostereditor.h"
#include "seating/resultwindow.h"
#include "support/mainfixtures.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

namespace
{

const QString DiskFull = QStringLiteral("ディスクの空き容量が足りません。");

// A tmpfs of its own over the test's folder, holding the work folder and the settings.
class SmallDisk
{
public:
    explicit SmallDisk(TestEnv &env) : root_(env.root())
    {
        if (::mount("tmpfs", qPrintable(root_), "tmpfs", 0, "size=128k,mode=0755") != 0) {
            error_ = QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        mounted_ = true;
        // The folders of the test live on the new file system now.
        QDir(root_).mkpath(QStringLiteral("work"));
        QDir(root_).mkpath(QStringLiteral("config"));
        QDir::setCurrent(env.work());
    }
    ~SmallDisk()
    {
        if (!mounted_)
            return;
        QDir::setCurrent(QDir::tempPath());
        ::umount2(qPrintable(root_), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    QString error() const { return error_; }

    // Writes a filler until the file system refuses a single byte more.
    void fill() const
    {
        QFile filler(QDir(root_).filePath(QStringLiteral("filler")));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray page(4096, 'x');
        while (filler.write(page) == page.size()) {
        }
        while (filler.write("x", 1) == 1) {
        }
        filler.close();
        QFile probe(QDir(root_).filePath(QStringLiteral("probe")));
        QVERIFY(probe.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        QCOMPARE(probe.write("x", 1), qint64(-1));
        probe.close();
        probe.remove();
    }

private:
    QString root_;
    QString error_;
    bool mounted_ = false;
};

} // namespace

class TestFullDisk : public QObject
{
    Q_OBJECT

private slots:
    void commandsOnAFullDisk_data();
    void commandsOnAFullDisk();
};

void TestFullDisk::commandsOnAFullDisk_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("messages"); // <path>: the file written
    QTest::addColumn<QString>("deleted");      // the file the command removes, if any
    QTest::newRow("register a roster over its file")
        << "register" << QStringList{"保存エラー|名簿ファイルを保存できませんでした。\r\n<path>\r\n" + DiskFull + "|16"}
        << QString();
    QTest::newRow("save a result and its log")
        << "save" << QStringList{"保存エラー|結果ﾌｧｲﾙ「<path>」を保存できませんでした。\n" + DiskFull + "|16"}
        << QString();
    QTest::newRow("copy a roster over another")
        << "copy" << QStringList{"コピー失敗|「1組.mem」を「2組.mem」にコピーできませんでした。\r" + DiskFull + "|48"}
        << QString();
    // An empty file frees no room: the log's cleaning after it needs a page the disk has not.
    QTest::newRow("delete a file, then clean the log")
        << "delete"
        << QStringList{"削除確認|指定されたﾌｧｲﾙを削除します。よろしいですか？|33",
                       "削除情報|指定されたﾌｧｲﾙを削除しました。|64",
                       "過去ログの整理|過去ログ「<path>」を整理できませんでした。ログは元のままです。\r" + DiskFull +
                           "|48"}
        << "空.rlt";
    // From another device the rename is a copy: it fails whole and the original stays.
    QTest::newRow("rename a roster from another disk onto it")
        << "rename"
        << QStringList{"変更失敗|「3組.mem」の名前を「<path>」に変更できませんでした。\r" + DiskFull + "|48"}
        << QString();
    // The year's charts in the class file stay as they were.
    QTest::newRow("accept a chart into the class's year")
        << "accept" << QStringList{"席替えの記録|この席替えを一年の記録に残せませんでした。\r" + DiskFull + "|48"}
        << QString();
    QTest::newRow("switch the splash off") << "option"
                                           << QStringList{"設定の保存エラー|設定を保存できませんでした。\r" + DiskFull +
                                                          "\r保存先: <path>\r設定は変更されていません。|16"}
                                           << QString();
}

void TestFullDisk::commandsOnAFullDisk()
{
    QFETCH(QString, command);
    QFETCH(QStringList, messages);
    QFETCH(QString, deleted);
    if (geteuid() != 0)
        QSKIP("mounting a small file system needs root (CI runs as root)");
    TestEnv env;
    SmallDisk disk(env);
    if (!disk.mounted())
        QSKIP(qPrintable(QStringLiteral("no tmpfs could be mounted: ") + disk.error()));

    env.writeFile(QStringLiteral("1組.mem"), crlfLines({"山田", "佐藤"}));
    env.writeFile(QStringLiteral("2組.mem"), crlfLines({"鈴木"}));
    env.writeFile(QStringLiteral("1組.rlt"), crlfLines(padded({"佐藤", "山田"})));
    env.writeFile(QStringLiteral("空.rlt"), QByteArray());
    env.writeFile(QStringLiteral("ならびん.ini"), crlfLines({"1組.rlt", "空.rlt"}));
    if (command == QLatin1String("accept")) {
        const KeptChart first{QStringLiteral("r1"),
                              QDateTime::currentDateTime(),
                              Room::standard(),
                              padded({"山田", "佐藤"}),
                              {QStringLiteral("1組.rlt")}};
        env.writeFile(QStringLiteral("1組.mem.json"), classFileBytes({Room::standard(), {}, {}, Ledger{first}}));
    }
    MainWindow *main = startedMain(); // writes the settings' defaults
    QVERIFY(QFileInfo(env.settingsFile()).size() > 0);
    Files expected = fileTree(env.root());
    disk.fill();
    expected.insert(QStringLiteral("filler"), fileTree(env.root()).value(QStringLiteral("filler")));

    QString written;
    if (command == QLatin1String("register")) {
        written = env.path(QStringLiteral("1組.mem"));
        env.platform.openFiles.enqueue(written);
        TRIGGER(main, "mnuFileOpen");
        RosterEditor *editor = loadedForm<RosterEditor>();
        QVERIFY(editor);
        editor->seatBoxes[2]->setText(QStringLiteral("鈴木"));
        env.platform.saveFiles.enqueue(written);
        TRIGGER(editor, "mnuNewFile");
        QVERIFY(editor->isVisible()); // the names stay to be saved elsewhere
    } else if (command == QLatin1String("save")) {
        written = env.path(QStringLiteral("1組.rlt"));
        ResultWindow *result = form<ResultWindow>();
        result->setSeatTexts(padded({"山田", "佐藤"}));
        result->show();
        env.platform.saveFiles.enqueue(written);
        TRIGGER(result, "mnuResultSave");
        QVERIFY(result->isVisible());
    } else if (command == QLatin1String("accept")) {
        state().RosterFileName = env.path(QStringLiteral("1組.mem"));
        state().openClass.pupils = QStringList{"佐藤", "山田"};
        ResultWindow *result = form<ResultWindow>();
        result->setSeatTexts(padded({"佐藤", "山田"}));
        result->setRun(QStringLiteral("r2"));
        result->show();
        TRIGGER(result, "mnuOK");
    } else if (command == QLatin1String("copy")) {
        env.platform.openFiles.enqueue(env.path(QStringLiteral("1組.mem")));
        bool openAfterFailure = false;
        whenModal([&] {
            FileCopyDialog *copy = loadedForm<FileCopyDialog>();
            QVERIFY(copy);
            copy->nameBox->setText(QStringLiteral("2組.mem"));
            copy->buttons[0]->click();
            openAfterFailure = isLoaded<FileCopyDialog>(); // for another name; the user gives up
            copy->buttons[1]->click();
        });
        TRIGGER(main, "mnuFileCopy");
        QVERIFY(openAfterFailure);
    } else if (command == QLatin1String("rename")) {
        written = env.path(QStringLiteral("3組.mem"));
        const QTemporaryDir elsewhere;
        const QString source = QDir(elsewhere.path()).filePath(QStringLiteral("3組.mem"));
        const QByteArray roster = crlfLines({"田中", "高橋"});
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(roster) == roster.size());
        file.close();
        env.platform.openFiles.enqueue(source);
        whenModal([&] {
            RenameDialog *rename = loadedForm<RenameDialog>();
            QVERIFY(rename);
            rename->nameBox->setText(written);
            rename->buttons[0]->click();
            rename->buttons[1]->click();
        });
        TRIGGER(main, "mnuFileRename");
        QCOMPARE(fileTree(elsewhere.path()), (Files{{QStringLiteral("3組.mem"), roster}}));
    } else if (command == QLatin1String("delete")) {
        written = env.path(QStringLiteral("ならびん.ini"));
        env.platform.openFiles.enqueue(env.path(deleted));
        TRIGGER(main, "mnuFileDelete");
        expected.remove(QStringLiteral("work/") + deleted);
    } else {
        written = env.settingsFile();
        TRIGGER(main, "mnuLogoMark");
        QCOMPARE(main->splashAction->isChecked(), true); // the check mark stays where it was
        QVERIFY(state().OptLogo);
    }
    QCOMPARE(env.platform.messageLog(),
             messages.replaceInStrings(QStringLiteral("<path>"), QDir::toNativeSeparators(written)));
    QCOMPARE(fileTree(env.root()), expected);
}

QTEST_MAIN(TestFullDisk)
#include "tst_fulldisk.moc"
