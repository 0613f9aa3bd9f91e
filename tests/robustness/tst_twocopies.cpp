// Two copies of the program on one folder at once, as two real processes: this test
// program started again with "--copy".
#include "core/filechores.h"
#include "core/filelock.h"
#include "core/resultlog.h"
#include "core/resultsave.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/startup.h"
#include "support/fixtures.h"

#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

namespace
{

const QString Title = QString::fromLatin1(ProgramTitle);
constexpr int LogRounds = 6;
constexpr int SavesPerRound = 7; // two copies' 14 all fit in the log
constexpr int KeysPerCopy = 40;

QString resultName(const QString &copy, int n)
{
    return QStringLiteral("%1-%2.rlt").arg(copy).arg(n);
}

// The second copy: `what` ("log", "settings" or "hold") in `folder`. Says "ready" and
// waits for a line before each round, so that both copies start a round together;
// "hold" keeps both locks until it is killed. Exits 1 with the reason on a failure.
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
    for (int round = 0; round < (what == QLatin1String("log") ? LogRounds : 1); ++round) {
        ready("ready");
        const QString roundFolder = QDir(folder).filePath(QString::number(round));
        QDir().mkpath(roundFolder);
        for (int n = 0; n < (what == QLatin1String("log") ? SavesPerRound : KeysPerCopy); ++n) {
            const QString reason =
                what == QLatin1String("log")
                    ? resultSaveMessage(saveResult(roundFolder, resultName(copy, n), Room::standard(),
                                                   chartOf(copy + QStringLiteral(":1"))))
                          .text
                    : saveSettingValue(Title, QStringLiteral("Config"), copy + QString::number(n), QString::number(n));
            if (reason != (what == QLatin1String("log") ? QStringLiteral("ならびん結果を保存しました。") : QString())) {
                std::printf("%s\n", qPrintable(reason));
                return 1;
            }
        }
    }
    return 0;
}

// Starts a copy and waits for its first word.
bool startCopy(QProcess &process, const QStringList &arguments, const QByteArray &word)
{
    // Text: Windows ends the copy's lines with CR LF.
    process.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--copy")} + arguments,
                  QIODevice::ReadWrite | QIODevice::Text);
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(20000))
            return false;
    }
    return process.readLine() == word + '\n';
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
    void nothingLost_data();
    void nothingLost();
    void busyLockWritesNothingAbandonedOneIsTakenOver();
};

void TestTwoCopies::nothingLost_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("result log") << QStringLiteral("log");
    QTest::newRow("settings") << QStringLiteral("settings");
}

void TestTwoCopies::nothingLost()
{
    QFETCH(QString, what);
    QTemporaryDir dir;
    QProcess copies[2];
    for (int c = 0; c < 2; ++c)
        QVERIFY(startCopy(copies[c], {what, dir.path(), QStringLiteral("c%1_").arg(c)}, "ready"));
    const int rounds = what == QLatin1String("log") ? LogRounds : 1;
    for (int round = 0; round < rounds; ++round) {
        for (QProcess &copy : copies) {
            while (round > 0 && !copy.canReadLine())
                QVERIFY(copy.waitForReadyRead(20000));
            QCOMPARE(round > 0 ? copy.readLine() : QByteArray("ready\n"), QByteArray("ready\n"));
        }
        for (QProcess &copy : copies) {
            copy.write("go\n");
            QVERIFY(copy.waitForBytesWritten(20000));
        }
    }
    for (QProcess &copy : copies) {
        QVERIFY(copy.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(copy.readAllStandardOutput()), QString());
        QCOMPARE(copy.exitCode(), 0);
    }
    CoreServices services;
    services.settingsFolder = dir.path();
    installCoreServices(&services);
    if (what == QLatin1String("log")) {
        for (int round = 0; round < LogRounds; ++round) {
            QStringList expected;
            for (int n = 0; n < 2 * SavesPerRound; ++n)
                expected.append(resultName(QStringLiteral("c%1_").arg(n % 2), n / 2));
            QCOMPARE(sorted(readResultLog(QDir(dir.path()).filePath(QString::number(round))).fields), sorted(expected));
        }
    } else {
        const QHash<QString, QString> values = settingValues(Title, QStringLiteral("Config"));
        QCOMPARE(values.size(), 2 * KeysPerCopy);
        for (int n = 0; n < 2 * KeysPerCopy; ++n)
            QCOMPARE(values.value(QStringLiteral("c%1_%2").arg(n % 2).arg(n / 2)), QString::number(n / 2));
    }
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
    QVERIFY(startCopy(holder, {QStringLiteral("hold"), folder, QString()}, "held"));

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
