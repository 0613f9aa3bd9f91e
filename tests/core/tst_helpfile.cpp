// The keyword search, and the Windows link paths: which system, which browser, on which drive.
#include "core/helpfile.h"
#include "core/windowslinks.h"

#include <QtTest>

class TestHelpFile : public QObject
{
    Q_OBJECT

private slots:
    void keywordSearch_data();
    void keywordSearch();
    void windowsLinkDecision_data();
    void windowsLinkDecision();
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
}

QTEST_MAIN(TestHelpFile)
#include "tst_helpfile.moc"
