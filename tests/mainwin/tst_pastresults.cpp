// Past results: the charts of saved result files.
#include "app/startup.h"
#include "seating/resultwindow.h"
#include "support/mainfixtures.h"

#include <QtTest>

class TestPastResults : public QObject {
    Q_OBJECT

private slots:
    void pastResult_data();
    void pastResult();
};

void TestPastResults::pastResult_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("seats"); // empty: the not-found message
    QTest::newRow("28 lines") << cp932Lines(numberedNames(1, 28)) << numberedNames(1, 28);
    QTest::newRow("fewer lines") << cp932Lines(numberedNames(1, 3)) << padded(numberedNames(1, 3));
    QStringList shifted = numberedNames(1, 28);
    shifted[0] = QStringLiteral("山田,花子");
    QTest::newRow("comma inside a name: 29 fields") << cp932Lines(shifted) << QStringList();
}

void TestPastResults::pastResult()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, seats);
    TestEnv env;
    env.writeFile(QStringLiteral("ならびん.ini"), cp932Lines({"1組.rlt"}));
    env.writeFile(QStringLiteral("1組.rlt"), file);
    NARABIN *main = startedMain();
    TRIGGER(main, "mnuFileArray_1");
    QVERIFY(isLoaded<NARABIN>() && main->isVisible()); // the main window stays open behind
    QCOMPARE(env.platform.messageLog(),
             seats.isEmpty() ? QStringList{QStringLiteral("ﾌｧｲﾙの存在確認|指定したﾌｧｲﾙがありません。存在を確認して下さい。|16")}
                             : QStringList());
    RESULT *r = loadedForm<RESULT>();
    QCOMPARE(r ? r->seatTexts() : QStringList(), seats);
}

QTEST_MAIN(TestPastResults)
#include "tst_pastresults.moc"
