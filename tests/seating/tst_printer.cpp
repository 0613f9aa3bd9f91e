// Printing on a real print queue: a CUPS server of the test's own, with cups-pdf's virtual PDF
// printer, whose files are read back. Runs as root (as CI does): cupsd and cups-pdf need it.
#include "printfixture.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cups/cups.h>

#include <memory>

#include <unistd.h>

namespace
{

const QString Queue = QStringLiteral("chart");
const QString CheckPrinter = QStringLiteral("ﾌﾟﾘﾝﾀｰの電源と設定を確かめて下さい。");

// A CUPS server in a temporary folder: its own configuration, spool, logs and socket, no
// network port, and cups-pdf writing into out/. Stopped with the object.
class PrintServer
{
public:
    PrintServer()
    {
        const QDir root(dir_.path());
        // Filters run as lp, who must reach the spool and the PPD; the socket stays root's.
        QFile::setPermissions(root.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                               QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
        for (const char *folder : {"etc", "spool/tmp", "cache", "state", "log", "out", "gs", "socket"})
            root.mkpath(QString::fromLatin1(folder));
        QFile::setPermissions(root.filePath(QStringLiteral("socket")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        socket_ = root.filePath(QStringLiteral("socket/cups.sock"));
        const auto writeText = [&root](const char *name, const QString &text) {
            QFile f(root.filePath(QString::fromLatin1(name)));
            if (!f.open(QIODevice::WriteOnly) || f.write(text.toUtf8()) != text.toUtf8().size())
                qFatal("cannot write %s", name);
        };
        writeText("etc/cupsd.conf",
                  QStringLiteral("Listen %1\nBrowsing No\nWebInterface No\nLogLevel warn\nDefaultAuthType None\n"
                                 "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                 "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
                      .arg(socket_));
        writeText("etc/cups-files.conf",
                  QStringLiteral("ServerRoot %1/etc\nRequestRoot %1/spool\nTempDir %1/spool/tmp\nCacheDir %1/cache\n"
                                 "StateDir %1/state\nErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
                                 "PageLog %1/log/page_log\nUser lp\nGroup lp\nSystemGroup root\n")
                      .arg(root.path()));
        // cups-pdf reads its settings from /etc/cups only: the server runs where this file is
        // mounted over that one, seen by nothing else.
        writeText("etc/cups-pdf.conf",
                  QStringLiteral("Out %1/out\nAnonDirName %1/out\nSpool %1/spool/cups-pdf\nGSTmp %1/gs\n"
                                 "Log %1/log\nLogType 1\n")
                      .arg(root.path()));
        const QString cupsd = tool("cupsd"), unshare = tool("unshare");
        if (cupsd.isEmpty() || unshare.isEmpty() || !QFile::exists(QStringLiteral("/usr/lib/cups/backend/cups-pdf")) ||
            !QFile::exists(QStringLiteral("/etc/cups/cups-pdf.conf"))) {
            error =
                QStringLiteral("cups, printer-driver-cups-pdf or unshare is missing: scripts/bootstrap installs them");
            return;
        }
        server_.setProcessChannelMode(QProcess::MergedChannels);
        server_.start(unshare, {"--mount", "--propagation", "private", "sh", "-c",
                                "mount --bind \"$1\" /etc/cups/cups-pdf.conf && exec \"$2\" -f -c \"$3\" -s \"$4\"",
                                "sh", root.filePath(QStringLiteral("etc/cups-pdf.conf")), cupsd,
                                root.filePath(QStringLiteral("etc/cupsd.conf")),
                                root.filePath(QStringLiteral("etc/cups-files.conf"))});
        // Every CUPS call of this process goes to this server from now on.
        qputenv("CUPS_SERVER", socket_.toLocal8Bit());
        const bool listening = QTest::qWaitFor(
            [this] {
                if (server_.state() == QProcess::NotRunning)
                    return true;
                http_t *http =
                    httpConnect2(qPrintable(socket_), 0, nullptr, AF_LOCAL, HTTP_ENCRYPTION_NEVER, 1, 100, nullptr);
                httpClose(http);
                return http != nullptr;
            },
            20000);
        if (!listening || server_.state() == QProcess::NotRunning)
            error = QStringLiteral("the print server did not start: ") + QString::fromLocal8Bit(server_.readAll());
    }

    ~PrintServer()
    {
        server_.terminate();
        if (!server_.waitForFinished(10000))
            server_.kill();
        server_.waitForFinished(10000);
        qunsetenv("CUPS_SERVER");
    }

    QString error; // why the server is not running; empty when it is

    QString outFolder() const { return QDir(dir_.path()).filePath(QStringLiteral("out")); }

    // An administration command (lpadmin, cupsdisable, …) on this server; its output when it failed.
    QString admin(const char *name, const QStringList &arguments) const
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(tool(name), arguments);
        if (p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            return {};
        return QString::fromLatin1(name) + QStringLiteral(": ") + QString::fromLocal8Bit(p.readAll());
    }

    // The chart's queue afresh, printing and taking jobs, and an empty output folder.
    QString freshQueue() const
    {
        admin("lpadmin", {"-x", Queue}); // gone already when a case removed it
        QDir(outFolder()).removeRecursively();
        QDir().mkpath(outFolder());
        // Ghostscript, cups-filters' usual way from PDF to PostScript, keeps the glyphs of the
        // Japanese but not which characters they are; poppler's keeps both, so the file reads back.
        return admin("lpadmin",
                     {"-p", Queue, "-E", "-v", "cups-pdf:/", "-P", "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd", "-o",
                      "pdftops-renderer-default=pdftocairo"});
    }

private:
    QTemporaryDir dir_;
    QProcess server_;
    QString socket_;
};

// The chart queue's jobs as the server lists them: how many (-1: no such queue) and the last one's state.
std::pair<int, int> jobs()
{
    cups_job_t *list = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &list, qPrintable(Queue), 0, CUPS_WHICHJOBS_ALL);
    const int state = count > 0 ? list[count - 1].state : IPP_JSTATE_PENDING;
    cupsFreeJobs(count, list);
    return {count, state};
}

} // namespace

class TestPrinter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void printOnTheQueue_data();
    void printOnTheQueue();

private:
    std::unique_ptr<PrintServer> server_;
};

void TestPrinter::initTestCase()
{
    SKIP_WITHOUT_POPPLER();
    if (geteuid() != 0)
        QSKIP("a print server of the test's own needs root (CI runs as root): cupsd runs its printer as root");
    server_ = std::make_unique<PrintServer>();
    QVERIFY2(server_->error.isEmpty(), qPrintable(server_->error));
}

void TestPrinter::init()
{
    const QString failed = server_->freshQueue();
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
}

void TestPrinter::printOnTheQueue_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("message"); // empty: printed
    const QString error = QStringLiteral("印刷エラー|ﾌﾟﾘﾝﾀｰ「chart」");
    // Two copies with rows left off: two pages whose text is the printed rows' captions and names.
    QTest::newRow("printed") << ""
                             << "";
    // A stopped queue would keep the job without printing it.
    QTest::newRow("stopped") << "stop" << error + "は停止しています。\r" + CheckPrinter + "|16";
    // Qt hands such a queue the job without a word of what CUPS answered.
    QTest::newRow("refusing jobs") << "reject" << error + "で印刷できませんでした。\r" + CheckPrinter + "|16";
    QTest::newRow("removed after it was chosen") << "remove" << error + "が見つかりません。\r" + CheckPrinter + "|16";
}

void TestPrinter::printOnTheQueue()
{
    QFETCH(QString, what);
    QFETCH(QString, message);
    TestEnv env;
    ResultWindow *r = chartShown({"0", "1", "0", "1", "0", "0"}, "1");
    if (what == QLatin1String("stop"))
        QCOMPARE(server_->admin("cupsdisable", {Queue}), QString());
    if (what == QLatin1String("reject"))
        QCOMPARE(server_->admin("cupsreject", {Queue}), QString());
    if (what == QLatin1String("remove"))
        env.platform.onPrintAnswered = [this] { server_->admin("lpadmin", {"-x", Queue}); };
    QCOMPARE(printChart(env, r, {true, 2, {}, false, Queue}), message.isEmpty() ? QStringList() : QStringList{message});
    const QDir out(server_->outFolder());
    if (!message.isEmpty()) {
        QCOMPARE(jobs().first, what == QLatin1String("remove") ? -1 : 0); // nothing queued
        QCOMPARE(out.entryList(QDir::Files), QStringList());
        return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(jobs().second >= IPP_JSTATE_CANCELED, 60000);
    QCOMPARE(jobs(), std::make_pair(1, int(IPP_JSTATE_COMPLETED)));
    const QStringList files = out.entryList(QDir::Files);
    QCOMPARE(files.size(), 1);
    const QString pdf = out.filePath(files.constFirst());
    QCOMPARE(pdfPages(pdf).size(), 2);
    const QStringList page = chartWords(r, {1, 2, 4, 6, 7}, true);
    // The printer's PDF maker keeps the text of the Japanese glyphs on one page only (a
    // subset font it makes once): that page's text is whole, and both hold the same seats.
    const QRegularExpression seat(QStringLiteral("^No\\."));
    const QStringList first = pdfWords(pdf, 1), second = pdfWords(pdf, 2);
    QVERIFY2(first == page || second == page, qPrintable((first + second).join(u' ')));
    QCOMPARE(first.filter(seat), page.filter(seat));
    QCOMPARE(second.filter(seat), page.filter(seat));
}

QTEST_MAIN(TestPrinter)
#include "tst_printer.moc"
