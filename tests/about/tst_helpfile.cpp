// The help file: reading it, a topic as HTML, the keyword index, and the Windows link paths.
#include "about/helpfile.h"
#include "about/windowslinks.h"

#include <QRegularExpression>
#include <QtTest>

namespace {

const char *const Fixture = "\xEF\xBB\xBF"
                            "; a comment before any topic\r\n"
                            "stray text before the first topic\r\n"
                            "*topic contents\r\n"
                            "*title 目次\r\n"
                            "*topic copy 29\r\n"
                            "*title ファイルのコピー\r\n"
                            "*keywords コピー ;  ｺﾋﾟｰ; ;ファイル\r\n"
                            "*keywords コピー; MEM\r\n"
                            "\r\n"
                            "一行目 <b>&\r\n"
                            "二行目は[[rename|名前の変更]]へ、[[nowhere|行き先なし]]\r\n"
                            "\r\n"
                            "■ 注意\r\n"
                            "; a comment inside a body\r\n"
                            "上書きされます。\r\n"
                            "*topic rename 30\r\n"
                            "*title ファイル名の変更\r\n"
                            "*keywords ファイル; 名前\r\n"
                            "*topic copy 31\r\n"
                            "*topic other 29\r\n";

QStringList labels(const QList<HelpIndexEntry> &entries)
{
    QStringList out;
    for (const HelpIndexEntry &e : entries)
        out.append(e.label);
    return out;
}

} // namespace

class TestHelpFile : public QObject {
    Q_OBJECT

private slots:
    void parseAndShowATopic();
    void partialMatch_data();
    void partialMatch();
    void shippedFileLinksAndKeywords();
    void windowsLinkDecision_data();
    void windowsLinkDecision();
};

void TestHelpFile::parseAndShowATopic()
{
    const HelpFile file = parseHelpText(QString::fromUtf8(Fixture));
    QStringList ids; // a second topic with a taken id or number is dropped
    for (const HelpTopic &t : file.topics)
        ids.append(t.id + u'/' + QString::number(t.context));
    QCOMPARE(ids, (QStringList{"contents/0", "copy/29", "rename/30"}));
    QCOMPARE(file.byContext(29)->keywords, (QStringList{"コピー", "ｺﾋﾟｰ", "ファイル", "MEM"}));
    // A keyword of two topics names the topic; titles are keywords too.
    QCOMPARE(labels(helpIndex(file)), (QStringList{"MEM", "コピー", "ｺﾋﾟｰ", "ファイル（ファイルのコピー）",
                                                   "ファイル（ファイル名の変更）", "ファイルのコピー", "ファイル名の変更", "名前", "目次"}));
    QCOMPARE(helpTopicHtml(file, *file.byId("copy")),
             QStringLiteral("<h2>ファイルのコピー</h2>\n"
                            "<p>一行目 &lt;b&gt;&amp;<br>二行目は<a href=\"topic:rename\">名前の変更</a>へ、行き先なし</p>\n"
                            "<h3>注意</h3>\n"
                            "<p>上書きされます。</p>\n"));
}

void TestHelpFile::partialMatch_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("found");
    const QStringList copies{"コピー", "ｺﾋﾟｰ", "ファイルのコピー"};
    QTest::newRow("half-width") << "ｺﾋﾟ" << copies;
    QTest::newRow("hiragana") << "こぴ" << copies;
    QTest::newRow("full-width latin, other case") << "ｍｅ" << QStringList{"MEM"};
    QTest::newRow("blanks ignored, middle of a word") << " イル名の " << QStringList{"ファイル名の変更"};
    QTest::newRow("nothing") << "印刷" << QStringList{};
}

void TestHelpFile::partialMatch()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, found);
    QCOMPARE(labels(matchHelpIndex(helpIndex(parseHelpText(QString::fromUtf8(Fixture))), typed)), found);
}

void TestHelpFile::shippedFileLinksAndKeywords()
{
    const HelpLoad load = loadHelpFile(QFINDTESTDATA("../../resources/NARABIN.HLP"));
    QVERIFY2(load.ok, qPrintable(load.error));
    QVERIFY(load.file.contents());
    static const QRegularExpression link(QStringLiteral("\\[\\[([^\\]|]+)"));
    for (const HelpTopic &t : load.file.topics) {
        QVERIFY2(!t.keywords.isEmpty(), qPrintable(t.id));
        for (auto it = link.globalMatch(t.body); it.hasNext();) {
            const QString target = it.next().captured(1).trimmed();
            QVERIFY2(load.file.byId(target), qPrintable(t.id + QStringLiteral(" -> ") + target));
        }
    }
}

void TestHelpFile::windowsLinkDecision_data()
{
    QTest::addColumn<QString>("winDir");
    QTest::addColumn<QList<int>>("version"); // platform id, major, minor
    QTest::addColumn<QString>("system");
    QTest::addColumn<QString>("browser"); // after the drive
    const QString ie = QStringLiteral("Program Files\\Internet Explorer\\IEXPLORE.EXE");
    const QString plus = QStringLiteral("Program Files\\Plus!\\Microsoft Internet\\IEXPLORE.EXE");
    QTest::newRow("Windows 95") << "C:\\WINDOWS" << QList<int>{1, 4, 0} << "Windows95" << ie;
    QTest::newRow("Windows 98") << "C:\\WINDOWS" << QList<int>{1, 4, 10} << "Windows98" << ie;
    QTest::newRow("Windows NT 4") << "C:\\WINNT" << QList<int>{2, 4, 0} << "WindowsNT" << plus;
    QTest::newRow("Windows 2000") << "C:\\WINNT" << QList<int>{2, 5, 0} << "Windows2000" << ie;
    QTest::newRow("Windows 10") << "C:\\Windows" << QList<int>{2, 10, 0} << "Windows2000" << ie;
    QTest::newRow("drive D, NT 4") << "D:\\WINNT" << QList<int>{2, 4, 0} << "WindowsNT" << plus;
    QTest::newRow("drive D, XP") << "D:\\WINDOWS" << QList<int>{2, 5, 1} << "Windows2000" << ie;
}

void TestHelpFile::windowsLinkDecision()
{
    QFETCH(QString, winDir);
    QFETCH(QList<int>, version);
    QFETCH(QString, system);
    QFETCH(QString, browser);
    const QString drive = windowsDrivePrefix(winDir);
    QCOMPARE(drive, winDir.left(3));
    const QString name = windowsSystemName({unsigned(version[0]), unsigned(version[1]), unsigned(version[2])});
    QCOMPARE(name, system);
    QCOMPARE(windowsBrowserPath(drive, name), drive + browser);
    QCOMPARE(windowsMailProgramPath(drive), drive + QStringLiteral("Program Files\\Outlook Express\\MSIMN.EXE"));
    QCOMPARE(windowsSystemName({0, 3, 10}), QString()); // Win32s
    QCOMPARE(windowsBrowserCommandLine(drive + browser, QStringLiteral("http://www.example.jp/narabin/")),
             u'"' + drive + browser + QStringLiteral("\" http://www.example.jp/narabin/"));
}

QTEST_MAIN(TestHelpFile)
#include "tst_helpfile.moc"
