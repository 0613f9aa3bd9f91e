// The help file: reading it, showing a topic, the keyword index, and the file we ship.
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

QString shippedHelpFile()
{
    return QFINDTESTDATA("../../resources/NARABIN.HLP");
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
    void topicAsHtml();
    void contentsLinksEveryChapter();
    void indexLabelsAndOrder();
    void partialMatch_data();
    void partialMatch();
    void unusableFiles_data();
    void unusableFiles();
    void cp932HelpFileIsRead();
    void shippedFileAnswersEveryContext_data();
    void shippedFileAnswersEveryContext();
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
    QCOMPARE(ids, (QStringList{QStringLiteral("contents/0/目次"), QStringLiteral("copy/29/ファイルのコピー"),
                               QStringLiteral("rename/30/ファイル名の変更"), QStringLiteral("untitled/0/untitled")}));
    const HelpTopic *copy = file.byContext(29);
    QVERIFY(copy);
    QCOMPARE(copy->keywords, (QStringList{QStringLiteral("コピー"), QStringLiteral("ｺﾋﾟｰ"), QStringLiteral("ファイル"),
                                          QStringLiteral("MEM")}));
    QCOMPARE(copy->body, QStringLiteral("一行目 <b>&\n二行目は[[rename|名前の変更]]へ、[[nowhere|行き先なし]]\n\n■ 注意\n上書きされます。"));
    QCOMPARE(file.byContext(31), nullptr);
    QCOMPARE(file.byContext(0), nullptr);
    QCOMPARE(file.contents(), &file.topics[0]);
    QCOMPARE(file.chapters().size(), 3);
}

void TestHelpFile::topicAsHtml()
{
    const HelpFile file = fixture();
    QCOMPARE(helpTopicHtml(file, *file.byId(QStringLiteral("copy"))),
             QStringLiteral("<h2>ファイルのコピー</h2>\n"
                            "<p>一行目 &lt;b&gt;&amp;<br>二行目は<a href=\"topic:rename\">名前の変更</a>へ、行き先なし</p>\n"
                            "<h3>注意</h3>\n"
                            "<p>上書きされます。</p>\n"));
}

void TestHelpFile::contentsLinksEveryChapter()
{
    const HelpFile file = fixture();
    QCOMPARE(helpTopicHtml(file, *file.contents()),
             QStringLiteral("<h2>目次</h2>\n"
                            "<p>はじめに <a href=\"topic:copy\">ファイルのコピー</a> をどうぞ。</p>\n"
                            "<ul>\n"
                            "<li><a href=\"topic:copy\">ファイルのコピー</a></li>\n"
                            "<li><a href=\"topic:rename\">ファイル名の変更</a></li>\n"
                            "<li><a href=\"topic:untitled\">untitled</a></li>\n"
                            "</ul>\n"));
}

void TestHelpFile::indexLabelsAndOrder()
{
    // A keyword of two topics names the topic; titles are keywords too.
    QCOMPARE(labels(helpIndex(fixture())),
             (QStringList{QStringLiteral("MEM"), QStringLiteral("untitled"), QStringLiteral("コピー"), QStringLiteral("ｺﾋﾟｰ"),
                          QStringLiteral("ファイル（ファイルのコピー）"), QStringLiteral("ファイル（ファイル名の変更）"),
                          QStringLiteral("ファイルのコピー"), QStringLiteral("ファイル名の変更"), QStringLiteral("名前"),
                          QStringLiteral("目次")}));
}

void TestHelpFile::partialMatch_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("found");
    const QStringList copies{QStringLiteral("コピー"), QStringLiteral("ｺﾋﾟｰ"), QStringLiteral("ファイルのコピー")};
    QTest::newRow("katakana") << QStringLiteral("コピー") << copies;
    QTest::newRow("half-width") << QStringLiteral("ｺﾋﾟ") << copies;
    QTest::newRow("hiragana") << QStringLiteral("こぴ") << copies;
    QTest::newRow("middle of a word") << QStringLiteral("名の") << QStringList{QStringLiteral("ファイル名の変更")};
    QTest::newRow("full-width latin, other case") << QStringLiteral("ｍｅ") << QStringList{QStringLiteral("MEM")};
    QTest::newRow("blanks ignored") << QStringLiteral(" ファ イル名 ") << QStringList{QStringLiteral("ファイル名の変更")};
    QTest::newRow("nothing") << QStringLiteral("印刷") << QStringList{};
    QTest::newRow("empty: all") << QString() << labels(helpIndex(fixture()));
}

void TestHelpFile::partialMatch()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, found);
    QCOMPARE(labels(matchHelpIndex(helpIndex(fixture()), typed)), found);
}

void TestHelpFile::unusableFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    const QString broken = QStringLiteral("は、ならびん君のヘルプファイルではないか、壊れています。");
    QTest::newRow("missing") << QStringLiteral("NARABIN.HLP") << QByteArray()
                             << QStringLiteral("が見つかりません。\rヘルプは表示できませんが、ならびん君はこのままお使いいただけます。");
    QTest::newRow("a folder") << QStringLiteral("NARABIN.HLP") << QByteArray("<folder>")
                              << QStringLiteral("を読み込めませんでした。\rファイルの読み取りが許可されているか確認して下さい。");
    QTest::newRow("no topics") << QStringLiteral("NARABIN.HLP") << QByteArray("; only a comment\r\ntext\r\n") << broken;
    QTest::newRow("binary") << QStringLiteral("NARABIN.HLP") << QByteArray("*topic a\r\n\0\x01\x02", 13) << broken;
    QTest::newRow("undecodable") << QStringLiteral("NARABIN.HLP") << QByteArray("*topic a\r\n\x81\x20\xFF") << broken;
    QTest::newRow("too large") << QStringLiteral("NARABIN.HLP")
                               << QByteArray("*topic a\r\n") + QByteArray(MaxHelpFileBytes, 'a') << broken;
}

void TestHelpFile::unusableFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    TestEnv env;
    if (bytes == "<folder>")
        QDir(env.work()).mkdir(name);
    else if (!bytes.isEmpty())
        env.writeFile(name, bytes);
    const HelpLoad load = loadHelpFile(env.path(name));
    QVERIFY(!load.ok);
    QCOMPARE(load.error, QStringLiteral("ヘルプファイル「") + QDir::toNativeSeparators(env.path(name)) + QStringLiteral("」") + error);
}

void TestHelpFile::cp932HelpFileIsRead()
{
    TestEnv env;
    env.writeFile(QStringLiteral("NARABIN.HLP"), sjis(QStringLiteral("*topic nopline 25\r\n*title 非印刷行の設定\r\n*keywords 印刷\r\n髙橋～①\r\n")));
    const HelpLoad load = loadHelpFile(env.path(QStringLiteral("NARABIN.HLP")));
    QVERIFY(load.ok);
    QCOMPARE(load.file.byContext(25)->title, QStringLiteral("非印刷行の設定"));
    QCOMPARE(load.file.byContext(25)->body, QStringLiteral("髙橋～①"));
}

void TestHelpFile::shippedFileAnswersEveryContext_data()
{
    QTest::addColumn<int>("context");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("mentions");
    QTest::newRow("25") << 25 << QStringLiteral("非印刷行の設定")
                        << QStringList{QStringLiteral("No.1～No.4"), QStringLiteral("キャンセル")};
    QTest::newRow("29") << 29 << QStringLiteral("ファイルのコピー")
                        << QStringList{QStringLiteral("コピー先が入力されていません。"), QStringLiteral("上書き")};
    QTest::newRow("30") << 30 << QStringLiteral("ファイル名の変更")
                        << QStringList{QStringLiteral("新しい名前が入力されていません。"), QStringLiteral("拡張子")};
    QTest::newRow("39") << 39 << QStringLiteral("メイン画面の背景の選択")
                        << QStringList{QStringLiteral("深海"), QStringLiteral("夕焼け空"), QStringLiteral("青い空")};
    QTest::newRow("43") << 43 << QStringLiteral("登録・修正")
                        << QStringList{QStringLiteral("同じ氏名を登録しようとしました。"), QStringLiteral("取消・了解"),
                                       QStringLiteral("新規登録・修正")};
    QTest::newRow("44") << 44 << QStringLiteral("条件設定")
                        << QStringList{QStringLiteral("ドラッグ"), QStringLiteral("空座席"),
                                       QStringLiteral("登録者以外の氏名を条件として設定しようとしました。")};
    QTest::newRow("46") << 46 << QStringLiteral("ならびん結果")
                        << QStringList{QStringLiteral("結果の保存"), QStringLiteral("印刷"), QStringLiteral("非印刷行の設定"),
                                       QStringLiteral("ｽﾃｰﾀｽﾊﾞｰの印刷")};
}

void TestHelpFile::shippedFileAnswersEveryContext()
{
    QFETCH(int, context);
    QFETCH(QString, title);
    QFETCH(QStringList, mentions);
    const HelpLoad load = loadHelpFile(shippedHelpFile());
    QVERIFY2(load.ok, qPrintable(load.error));
    const HelpTopic *topic = load.file.byContext(context);
    QVERIFY(topic);
    QCOMPARE(topic->title, title);
    QVERIFY(topic->keywords.contains(title));
    for (const QString &m : mentions)
        QVERIFY2(topic->body.contains(m), qPrintable(m));
}

void TestHelpFile::shippedFileLinksAndKeywords()
{
    const HelpLoad load = loadHelpFile(shippedHelpFile());
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
    QTest::addColumn<int>("platformId");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("system");
    QTest::addColumn<QString>("browser");
    QTest::addColumn<QString>("mail");
    const QString ie = QStringLiteral("Program Files\\Internet Explorer\\IEXPLORE.EXE");
    const QString plus = QStringLiteral("Program Files\\Plus!\\Microsoft Internet\\IEXPLORE.EXE");
    const QString oe = QStringLiteral("Program Files\\Outlook Express\\MSIMN.EXE");
    const QString c = QStringLiteral("C:\\");
    QTest::newRow("Windows 95") << QStringLiteral("C:\\WINDOWS") << 1 << 4 << 0 << QStringLiteral("Windows95") << c + ie << c + oe;
    QTest::newRow("Windows 98") << QStringLiteral("C:\\WINDOWS") << 1 << 4 << 10 << QStringLiteral("Windows98") << c + ie << c + oe;
    QTest::newRow("Windows Me") << QStringLiteral("C:\\WINDOWS") << 1 << 4 << 90 << QStringLiteral("Windows98") << c + ie << c + oe;
    QTest::newRow("Windows NT 4") << QStringLiteral("C:\\WINNT") << 2 << 4 << 0 << QStringLiteral("WindowsNT") << c + plus << c + oe;
    QTest::newRow("Windows 2000") << QStringLiteral("C:\\WINNT") << 2 << 5 << 0 << QStringLiteral("Windows2000") << c + ie << c + oe;
    QTest::newRow("Windows XP") << QStringLiteral("C:\\WINDOWS") << 2 << 5 << 1 << QStringLiteral("Windows2000") << c + ie << c + oe;
    QTest::newRow("Windows 10") << QStringLiteral("C:\\Windows") << 2 << 10 << 0 << QStringLiteral("Windows2000") << c + ie << c + oe;
    QTest::newRow("drive D, NT 4") << QStringLiteral("D:\\WINNT") << 2 << 4 << 0 << QStringLiteral("WindowsNT")
                                   << QStringLiteral("D:\\") + plus << QStringLiteral("D:\\") + oe;
    QTest::newRow("drive D, XP") << QStringLiteral("D:\\WINDOWS") << 2 << 5 << 1 << QStringLiteral("Windows2000")
                                 << QStringLiteral("D:\\") + ie << QStringLiteral("D:\\") + oe;
    QTest::newRow("Win32s: nothing") << QStringLiteral("C:\\WINDOWS") << 0 << 3 << 10 << QString() << QString() << c + oe;
}

void TestHelpFile::windowsLinkDecision()
{
    QFETCH(QString, winDir);
    QFETCH(int, platformId);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(QString, system);
    QFETCH(QString, browser);
    QFETCH(QString, mail);
    const QString drive = windowsDrivePrefix(winDir);
    const QString name = windowsSystemName({unsigned(platformId), unsigned(major), unsigned(minor)});
    QCOMPARE(name, system);
    QCOMPARE(windowsBrowserPath(drive, name), browser);
    QCOMPARE(windowsMailProgramPath(drive), mail);
    QCOMPARE(windowsBrowserCommandLine(QStringLiteral("C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE"),
                                       QStringLiteral("http://www.example.jp/narabin/")),
             QStringLiteral("\"C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE\" http://www.example.jp/narabin/"));
}

QTEST_MAIN(TestHelpFile)
#include "tst_helpfile.moc"
