// Two copies of the program on one folder at once, as two real processes: this test
// program started again with "--copy".
#include "core/filechores.h"
#include "core/filelock.h"
#include "core/resultlog.h"
#include "core/services.h"
#include "support/fixtures.h"

#include <QProcess>
#include <QtTest>

#include <cstdio>

namespace
{

const QString Title = QString::fromLatin1(ProgramTitle);
constexpr int Rounds = 6;
constexpr int SavesPerRound = 7; // two copies' 14 all fit in the log

QString resultName(const QString &copy, int n)
{
    return QStringLiteral("%1-%2.rlt").arg(copy).arg(n);
}

// The second copy in `folder`: "hold" keeps both locks until it is killed; "save" saves
// results and settings in rounds, saying "ready" and waiting for a line before each, so
// that both copies start a round together. Exits 1 with the reason on a failure.
int runCopy(const QString &what, const QString &folder, const QString &copy)
{
    CoreServices services;
    services.settingsFolder = folder;
    services.lockWait = std::chrono::seconds(30); // a busy machine does not fail the rounds
    installCoreServices(&services);
    QTextStream in(stdin);
    const auto ready = [&in](const char *word) {
        std::printf("%s\n", word);
        std::fflush(stdout);
        in.readLine();
    };
    if (what == QLatin1String("hold")) {
        QDir().mkpath(QFileInfo(settingsLocation(Title)).absolutePath());
        const FileLock log(resultLogLockTarget(folder));
        const FileLock settings(settingsLocation(Title));
        ready(log.held() && settings.held() ? "held" : "not held");
        return 0;
    }
    for (int round = 0; round < Rounds; ++round) {
        ready("ready");
        const QString roundFolder = QDir(folder).filePath(QString::number(round));
        QDir().mkpath(roundFolder);
        for (int n = 0; n < SavesPerRound; ++n) {
            const QString key = QString::number(round * SavesPerRound + n);
            const QString reason = resultSaveMessage(saveResult(roundFolder, resultName(copy, n), Room::standard(),
                                                                chartOf(copy + QStringLiteral(":1"))))
                                       .text.remove(QStringLiteral("ならびん結果を保存しました。")) +
                                   saveSettingValue(Title, QStringLiteral("Config"), copy + key, key);
            if (!reason.isEmpty()) {
                std::printf("%s\n", qPrintable(reason));
                return 1;
            }
        }
    }
    return 0;
}

// The copy's next line, waited for; empty when it says nothing more.
QByteArray nextLine(QProcess &copy)
{
    while (!copy.canReadLine() && copy.waitForReadyRead(20000)) {
    }
    return copy.readLine();
}

void startCopy(QProcess &process, const QStringList &arguments)
{
    // Text: Windows ends the copy's lines with CR LF.
    process.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--copy")} + arguments,
                  QIODevice::ReadWrite | QIODevice::Text);
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

class TestTwoCopies : public QObject
{
    Q_OBJECT

private slots:
    void nothingLost();
    void busyLockWritesNothingAbandonedOneIsTakenOver();
};

// Results saved to one folder's log and settings stored, by both copies at once.
void TestTwoCopies::nothingLost()
{
    QTemporaryDir dir;
    QProcess copies[2];
    for (int c = 0; c < 2; ++c)
        startCopy(copies[c], {QStringLiteral("save"), dir.path(), QStringLiteral("c%1_").arg(c)});
    for (int round = 0; round < Rounds; ++round) {
        for (QProcess &copy : copies)
            QCOMPARE(nextLine(copy), QByteArray("ready\n"));
        for (QProcess &copy : copies)
            QVERIFY(copy.write("go\n") == 3 && copy.waitForBytesWritten(20000));
    }
    for (QProcess &copy : copies) {
        QVERIFY(copy.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(copy.readAllStandardOutput()), QString());
        QCOMPARE(copy.exitCode(), 0);
    }
    CoreServices services;
    services.settingsFolder = dir.path();
    installCoreServices(&services);
    for (int round = 0; round < Rounds; ++round) {
        QStringList expected;
        for (int n = 0; n < 2 * SavesPerRound; ++n)
            expected.append(resultName(QStringLiteral("c%1_").arg(n % 2), n / 2));
        QCOMPARE(sorted(readResultLog(QDir(dir.path()).filePath(QString::number(round))).fields), sorted(expected));
    }
    const QHash<QString, QString> values = settingValues(Title, QStringLiteral("Config"));
    QCOMPARE(values.size(), 2 * Rounds * SavesPerRound);
    for (int k = 0; k < 2 * Rounds * SavesPerRound; ++k)
        QCOMPARE(values.value(QStringLiteral("c%1_%2").arg(k % 2).arg(k / 2)), QString::number(k / 2));
    installCoreServices(nullptr);
}

void TestTwoCopies::busyLockWritesNothingAbandonedOneIsTakenOver()
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    CoreServices services;
    services.settingsFolder = folder;
    services.lockWait = std::chrono::milliseconds(300);
    installCoreServices(&services);
    QCOMPARE(saveResult(folder, QStringLiteral("a.rlt"), Room::standard(), chartOf(QStringLiteral("山田:1"))).kind,
             ResultSaveOutcome::Kind::Saved);
    QCOMPARE(saveSettingValue(Title, QStringLiteral("Config"), QStringLiteral("OptLogo"), QStringLiteral("1")),
             QString());
    const QByteArray log = fileBytes(resultLogPath(folder));
    const QByteArray settings = fileBytes(settingsLocation(Title));
    QProcess holder;
    startCopy(holder, {QStringLiteral("hold"), folder, QString()});
    QCOMPARE(nextLine(holder), QByteArray("held\n"));

    const QString busy = QStringLiteral("ほかのならびん君が「%1」を使用中です。しばらくしてからもう一度お試し下さい。");
    const ResultSaveOutcome refused =
        saveResult(folder, QStringLiteral("b.rlt"), Room::standard(), chartOf(QStringLiteral("山田:2")));
    QCOMPARE(
        resultSaveMessage(refused).text,
        QStringLiteral("結果ﾌｧｲﾙ「%1」を保存できませんでした。\n").arg(QDir::toNativeSeparators(refused.resultPath)) +
            busy.arg(QStringLiteral("ならびん.INI")));
    QCOMPARE(saveSettingValue(Title, QStringLiteral("Config"), QStringLiteral("OptLogo"), QStringLiteral("0")),
             busy.arg(QStringLiteral("Narabin.conf")));
    QVERIFY(QFile::remove(QDir(folder).filePath(QStringLiteral("a.rlt"))));
    QCOMPARE(cleanFolderResultLog(folder).error, busy.arg(QStringLiteral("ならびん.INI")));
    QCOMPARE(fileBytes(QDir(folder).filePath(QStringLiteral("b.rlt"))), QByteArray("<missing>"));
    QCOMPARE(fileBytes(resultLogPath(folder)), log);
    QCOMPARE(fileBytes(settingsLocation(Title)), settings);

    // A copy that ended without letting go (killed, or its computer switched off).
    holder.kill();
    QVERIFY(holder.waitForFinished(20000));
    QVERIFY(QFileInfo::exists(resultLogLockTarget(folder) + QStringLiteral(".lock")));
    QCOMPARE(saveResult(folder, QStringLiteral("b.rlt"), Room::standard(), chartOf(QStringLiteral("山田:2"))).kind,
             ResultSaveOutcome::Kind::Saved);
    QCOMPARE(readResultLog(folder).fields, (QStringList{QStringLiteral("a.rlt"), QStringLiteral("b.rlt")}));
    QCOMPARE(saveSettingValue(Title, QStringLiteral("Config"), QStringLiteral("OptLogo"), QStringLiteral("0")),
             QString());
    installCoreServices(nullptr);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], "--copy") == 0)
        return runCopy(app.arguments().at(2), app.arguments().at(3), app.arguments().at(4));
    TestTwoCopies test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_twocopies.moc"
