// The keyword search, and the Windows link paths: which system, which browser, on which drive.
#include "core/helpfile.h"

#include <QtTest>

class TestHelpFile : public QObject
{
    Q_OBJECT

private slots:
    void keywordSearch_data();
    void keywordSearch();
};

void TestHelpFile::keywordSearch_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("hiragana finds half-width katakana") << "ばっく" << QStringList{"ﾊﾞｯｸｱｯﾌﾟ"};
    QTest::newRow("part of a katakana word") << "ウント" << QStringList{"カウントダウン"};
    QTest::newRow("width and case") << "END" << QStringList{"Ｅｎｄ"};
    QTest::newRow("blanks ignored") << "空 座席" << QStringList{"空座席"};
    QTest::newRow("nothing") << "印刷" << QStringList();
}

void TestHelpFile::keywordSearch()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, found);
    QList<HelpIndexEntry> index;
    for (const char *keyword : {"ﾊﾞｯｸｱｯﾌﾟ", "カウントダウン", "Ｅｎｄ", "空座席"})
        index.append({QString::fromUtf8(keyword), QString::fromUtf8(keyword), QStringLiteral("t")});
    QStringList keywords;
    for (const HelpIndexEntry &e : matchHelpIndex(index, typed))
        keywords.append(e.keyword);
    QCOMPARE(keywords, found);
}

QTEST_MAIN(TestHelpFile)
#include "tst_helpfile.moc"
