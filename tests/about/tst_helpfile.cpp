// The help file: reading it, showing a topic, the keyword index, and the Windows link paths.
#include "about/helpfile.h"
#include "about/windowslinks.h"
#include "support/testenv.h"

#include <QDir>
#include <QRegularExpression>
#include <QtTest>

namespace {

const char *const Fixture = "\xEF\xBB\xBF"
                            "; a comment before any topic\r\n"
                            "stray text before the first topic\r\n"
                            "*topic contents\r\n"
                            "*title 目次\r\n"
                            "はじめに [[copy]] をどうぞ。\r\n"
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
                            "\r\n"
                            "*topic rename 30\r\n"
                            "*title ファイル名の変更\r\n"
                            "*keywords ファイル; 名前\r\n"
                            "本文\r\n"
                            "*topic copy 31\r\n"
                            "*title 二つ目の copy は捨てられる\r\n"
                            "*topic other 29\r\n"
                            "*title 番号 29 の二つ目も捨てられる\r\n"
                            "*topic untitled x\r\n";

HelpFile fixture()
{
    return parseHelpText(QString::fromUtf8(Fixture));
}

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
    void topicsKeywordsAndDuplicates();
    void topicHtml_data();
    void topicHtml();
    void partialMatch_data();
    void partialMatch();
    void unusableFiles_data();
    void unusableFiles();
    void shippedFileLinksAndKeywords();
    void windowsLinkDecision_data();
    void windowsLinkDecision();
};

void TestHelpFile::topicsKeywordsAndDuplicates()
{
    const HelpFile file = fixture();
    QStringList ids;
    for (const HelpTopic &t : file.topics)
        ids.append(t.id + QLatin1Char('/') + QString::number(t.context) + QLatin1Char('/') + t.title);
    QCOMPARE(ids, (QStringList{"contents/0/目次", "copy/29/ファイルのコピー", "rename/30/ファイル名の変更", "untitled/0/untitled"}));
    const HelpTopic *copy = file.byContext(29);
    QVERIFY(copy);
    QCOMPARE(copy->keywords, (QStringList{"コピー", "ｺﾋﾟｰ", "ファイル", "MEM"}));
    QCOMPARE(copy->body, QStringLiteral("一行目 <b>&\n二行目は[[rename|名前の変更]]へ、[[nowhere|行き先なし]]\n\n■ 注意\n上書きされます。"));
    QCOMPARE(file.byContext(31), nullptr);
    QCOMPARE(file.byContext(0), nullptr);
    QCOMPARE(file.contents(), &file.topics[0]);
    QCOMPARE(file.chapters().size(), 3);
    // A keyword of two topics names the topic; titles are keywords too.
    QCOMPARE(labels(helpIndex(file)), (QStringList{"MEM", "untitled", "コピー", "ｺﾋﾟｰ", "ファイル（ファイルのコピー）",
                                                   "ファイル（ファイル名の変更）", "ファイルのコピー", "ファイル名の変更", "名前", "目次"}));
}

void TestHelpFile::topicHtml_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("html");
    QTest::newRow("escapes, links, headings") << "copy"
                                              << "<h2>ファイルのコピー</h2>\n"
                                                 "<p>一行目 &lt;b&gt;&amp;<br>二行目は<a href=\"topic:rename\">名前の変更</a>へ、行き先なし</p>\n"
                                                 "<h3>注意</h3>\n"
                                                 "<p>上書きされます。</p>\n";
    QTest::newRow("contents links every chapter") << "contents"
                                                  << "<h2>目次</h2>\n"
                                                     "<p>はじめに <a href=\"topic:copy\">ファイルのコピー</a> をどうぞ。</p>\n"
                                                     "<ul>\n"
                                                     "<li><a href=\"topic:copy\">ファイルのコピー</a></li>\n"
                                                     "<li><a href=\"topic:rename\">ファイル名の変更</a></li>\n"
                                                     "<li><a href=\"topic:untitled\">untitled</a></li>\n"
                                                     "</ul>\n";
}

void TestHelpFile::topicHtml()
{
    QFETCH(QString, id);
    QFETCH(QString, html);
    const HelpFile file = fixture();
    QCOMPARE(helpTopicHtml(file, *file.byId(id)), html);
}

void TestHelpFile::partialMatch_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("found");
    const QStringList copies{"コピー", "ｺﾋﾟｰ", "ファイルのコピー"};
    QTest::newRow("katakana") << "コピー" << copies;
    QTest::newRow("half-width") << "ｺﾋﾟ" << copies;
    QTest::newRow("hiragana") << "こぴ" << copies;
    QTest::newRow("middle of a word") << "名の" << QStringList{"ファイル名の変更"};
    QTest::newRow("full-width latin, other case") << "ｍｅ" << QStringList{"MEM"};
    QTest::newRow("blanks ignored") << " ファ イル名 " << QStringList{"ファイル名の変更"};
    QTest::newRow("nothing") << "印刷" << QStringList{};
    QTest::newRow("empty: all") << "" << labels(helpIndex(fixture()));
}

void TestHelpFile::partialMatch()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, found);
    QCOMPARE(labels(matchHelpIndex(helpIndex(fixture()), typed)), found);
}

void TestHelpFile::unusableFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    const QString broken = QStringLiteral("は、ならびん君のヘルプファイルではないか、壊れています。");
    QTest::newRow("missing") << QByteArray() << "が見つかりません。\rヘルプは表示できませんが、ならびん君はこのままお使いいただけます。";
    QTest::newRow("a folder") << QByteArray("<folder>")
                              << "を読み込めませんでした。\rファイルの読み取りが許可されているか確認して下さい。";
    QTest::newRow("no topics") << QByteArray("; only a comment\r\ntext\r\n") << broken;
    QTest::newRow("binary") << QByteArray("*topic a\r\n\0\x01\x02", 13) << broken;
    QTest::newRow("undecodable") << QByteArray("*topic a\r\n\x81\x20\xFF") << broken;
    QTest::newRow("too large") << QByteArray("*topic a\r\n") + QByteArray(MaxHelpFileBytes, 'a') << broken;
}

void TestHelpFile::unusableFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    TestEnv env;
    const QString name = QStringLiteral("NARABIN.HLP");
    if (bytes == "<folder>")
        QDir(env.work()).mkdir(name);
    else if (!bytes.isEmpty())
        env.writeFile(name, bytes);
    const HelpLoad load = loadHelpFile(env.path(name));
    QVERIFY(!load.ok);
    QCOMPARE(load.error, QStringLiteral("ヘルプファイル「") + QDir::toNativeSeparators(env.path(name)) + QStringLiteral("」") + error);
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
    QTest::addColumn<QString>("browser");
    const QString ie = QStringLiteral("Program Files\\Internet Explorer\\IEXPLORE.EXE");
    const QString plus = QStringLiteral("Program Files\\Plus!\\Microsoft Internet\\IEXPLORE.EXE");
    QTest::newRow("Windows 95") << "C:\\WINDOWS" << QList<int>{1, 4, 0} << "Windows95" << "C:\\" + ie;
    QTest::newRow("Windows 98") << "C:\\WINDOWS" << QList<int>{1, 4, 10} << "Windows98" << "C:\\" + ie;
    QTest::newRow("Windows Me") << "C:\\WINDOWS" << QList<int>{1, 4, 90} << "Windows98" << "C:\\" + ie;
    QTest::newRow("Windows NT 4") << "C:\\WINNT" << QList<int>{2, 4, 0} << "WindowsNT" << "C:\\" + plus;
    QTest::newRow("Windows 2000") << "C:\\WINNT" << QList<int>{2, 5, 0} << "Windows2000" << "C:\\" + ie;
    QTest::newRow("Windows 10") << "C:\\Windows" << QList<int>{2, 10, 0} << "Windows2000" << "C:\\" + ie;
    QTest::newRow("drive D, NT 4") << "D:\\WINNT" << QList<int>{2, 4, 0} << "WindowsNT" << "D:\\" + plus;
    QTest::newRow("drive D, XP") << "D:\\WINDOWS" << QList<int>{2, 5, 1} << "Windows2000" << "D:\\" + ie;
    QTest::newRow("Win32s: nothing") << "C:\\WINDOWS" << QList<int>{0, 3, 10} << "" << "";
}

void TestHelpFile::windowsLinkDecision()
{
    QFETCH(QString, winDir);
    QFETCH(QList<int>, version);
    QFETCH(QString, system);
    QFETCH(QString, browser);
    const QString drive = windowsDrivePrefix(winDir);
    const QString name = windowsSystemName({unsigned(version[0]), unsigned(version[1]), unsigned(version[2])});
    QCOMPARE(name, system);
    QCOMPARE(windowsBrowserPath(drive, name), browser);
    const QString root = winDir.startsWith(u'D') ? QStringLiteral("D:\\") : QStringLiteral("C:\\");
    QCOMPARE(windowsMailProgramPath(drive), root + QStringLiteral("Program Files\\Outlook Express\\MSIMN.EXE"));
    QCOMPARE(windowsBrowserCommandLine(QStringLiteral("C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE"),
                                       QStringLiteral("http://www.example.jp/narabin/")),
             QStringLiteral("\"C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE\" http://www.example.jp/narabin/"));
}

QTEST_MAIN(TestHelpFile)
#include "tst_helpfile.moc"
