// Past results: the charts of saved result files.
#include "core/resultfile.h"
#include "core/startup.h"
#include "seating/resultwindow.h"
#include "support/mainfixtures.h"

#include <QtTest>

class TestPastResults : public QObject
{
    Q_OBJECT

private slots:
    void pastResult_data();
    void pastResult();
};

void TestPastResults::pastResult_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("logLine");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("seats"); // empty: the not-found message
    const QString plain = QStringLiteral("1組.rlt");
    QTest::newRow("28 lines") << plain << sjis(plain) << crlfLines(numberedNames(1, 28)) << numberedNames(1, 28);
    QTest::newRow("fewer lines") << plain << sjis(plain) << crlfLines(numberedNames(1, 3))
                                 << padded(numberedNames(1, 3));
    QStringList shifted = numberedNames(1, 28);
    shifted[0] = QStringLiteral("山田,花子");
    QTest::newRow("comma inside a name: 29 fields") << plain << sjis(plain) << crlfLines(shifted) << QStringList();
    const QStringList withTab{"伊藤\t翔太", "佐藤"};
    QTest::newRow("a TAB inside a name is text") << plain << sjis(plain) << crlfLines(withTab) << padded(withTab);
    // In the file's room, not the class's standard one.
    const Room wide = Room::grid(7, 5);
    QString error;
    QTest::newRow("a chart of another room")
        << plain << sjis(plain) << resultFileBytes(wide, chartFromTexts(numberedNames(1, 35), 35), &error)
        << numberedNames(1, 35);
    // As a save logs such a name: listed once, and it opens.
    const QString comma = QStringLiteral("山田,花子.rlt");
    QTest::newRow("file name with a comma")
        << comma << sjis('"' + comma + '"') << crlfLines(numberedNames(1, 3)) << padded(numberedNames(1, 3));
}

void TestPastResults::pastResult()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, logLine);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, seats);
    TestEnv env;
    env.writeFile(QStringLiteral("ならびん.ini"), logLine + "\r\n");
    env.writeFile(fileName, file);
    MainWindow *main = startedMain();
    QCOMPARE(pastLogItems(main), QStringList{fileName});
    TRIGGER(main, "mnuFileArray_1");
    QVERIFY(isLoaded<MainWindow>() && main->isVisible()); // the main window stays open behind
    QCOMPARE(env.platform.messageLog(),
             seats.isEmpty()
                 ? QStringList{QStringLiteral("ﾌｧｲﾙの存在確認|指定したﾌｧｲﾙがありません。存在を確認して下さい。|16")}
                 : QStringList());
    ResultWindow *r = loadedForm<ResultWindow>();
    QCOMPARE(r ? r->seatTexts() : QStringList(), seats);
}

QTEST_MAIN(TestPastResults)
#include "tst_pastresults.moc"
