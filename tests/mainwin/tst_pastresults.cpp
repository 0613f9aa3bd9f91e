// Past results: the last run's chart again and the charts of saved result files.
#include "app/startup.h"
#include "mainwin/pastresults.h"
#include "seating/resultwindow.h"
#include "support/mainfixtures.h"

#include <QtTest>

const QString NotFound = QStringLiteral("ﾌｧｲﾙの存在確認|指定したﾌｧｲﾙがありません。存在を確認して下さい。|16");

class TestPastResults : public QObject {
    Q_OBJECT

private slots:
    void pastResult_data();
    void pastResult();
    void separatorEmptyEntryAndOtherFolder();
    void closingTheChartShowsTheMainWindowAgain();
};

void TestPastResults::pastResult_data()
{
    QTest::addColumn<QByteArray>("file"); // "<none>": no such file
    QTest::addColumn<bool>("resultOpenBefore");
    QTest::addColumn<QStringList>("seats"); // empty: the not-found message
    QTest::newRow("28 lines") << cp932Lines(numberedNames(1, 28)) << false << numberedNames(1, 28);
    QTest::newRow("fewer lines over another chart") << cp932Lines(numberedNames(1, 3)) << true << padded(numberedNames(1, 3));
    QTest::newRow("texts as they are, a quoted comma") << cp932Lines({"07", " ", "1e3", "髙橋", "\"山田,花子\""}) << false
                                                       << padded({"07", "", "1e3", "髙橋", "山田,花子"});
    QStringList shifted = numberedNames(1, 28);
    shifted[0] = QStringLiteral("山田,花子");
    QTest::newRow("comma inside a name: 29 fields, over another chart") << cp932Lines(shifted) << true << QStringList();
    QTest::newRow("missing file") << QByteArray("<none>") << false << QStringList();
}

void TestPastResults::pastResult()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, resultOpenBefore);
    QFETCH(QStringList, seats);
    TestEnv env;
    env.writeFile(QStringLiteral("ならびん.ini"), cp932Lines({"1組.rlt"}));
    if (file != "<none>")
        env.writeFile(QStringLiteral("1組.rlt"), file);
    NARABIN *main = startedMain();
    const QStringList other = padded({QStringLiteral("前の")});
    if (resultOpenBefore) {
        RESULT *r = form<RESULT>();
        r->setSeatTexts(other);
        r->show();
    }
    TRIGGER(main, "mnuFileArray_1");
    QVERIFY(isLoaded<NARABIN>() && main->isVisible()); // the main window stays open behind
    RESULT *r = loadedForm<RESULT>();
    QCOMPARE(env.platform.messageLog(), seats.isEmpty() ? QStringList{NotFound} : QStringList());
    if (seats.isEmpty()) {
        QCOMPARE(r != nullptr, resultOpenBefore);
        if (r)
            QCOMPARE(r->seatTexts(), other); // untouched
        return;
    }
    QVERIFY(r && r->isVisible());
    QCOMPARE(r->seatTexts(), seats);
}

void TestPastResults::separatorEmptyEntryAndOtherFolder()
{
    TestEnv env;
    env.writeFile(QStringLiteral("ならびん.ini"), QByteArray("\r\n1組.rlt\r\n"));
    env.writeFile(QStringLiteral("1組.rlt"), cp932Lines({"ここ"}));
    env.writeFile(QStringLiteral("別/1組.RLT"), cp932Lines({"別の所"}));
    NARABIN *main = startedMain();
    QCOMPARE(pastLogItems(main), (QStringList{QString(), QStringLiteral("1組.rlt")}));
    pastResultCommand(0); // the separator's index
    TRIGGER(main, "mnuFileArray_1");
    QCOMPARE(env.platform.messageLog(), QStringList(2, NotFound));
    QVERIFY(!isLoaded<RESULT>());
    // A confirmed file dialog moved the current folder; the bare name resolves there,
    // whatever the letter case of the file on disk.
    QDir::setCurrent(env.path(QStringLiteral("別")));
    TRIGGER(main, "mnuFileArray_2");
    QCOMPARE(loadedForm<RESULT>()->seatTexts(), padded({"別の所"}));
}

void TestPastResults::closingTheChartShowsTheMainWindowAgain()
{
    TestEnv env;
    env.writeFile(QStringLiteral("ならびん.ini"), cp932Lines({"a.rlt", "b.rlt"}));
    env.writeFile(QStringLiteral("a.rlt"), cp932Lines({"山田"}));
    const QStringList seats = padded({"山田", " ", "07"});
    NARABIN *main = startedMain([&seats] {
        state().ResultShown = 1;
        for (int k = 1; k <= SeatCount; ++k)
            state().SeatResult[size_t(k)] = seats.at(k - 1);
    });
    // A past result leaves the main window open: closing the chart shows it again as it was.
    TRIGGER(main, "mnuFileArray_1");
    TRIGGER(loadedForm<RESULT>(), "mnuOK");
    QCOMPARE(loadedForm<NARABIN>(), main);
    QCOMPARE(findAction(main, QStringLiteral("mnuFileArray_2"))->text(), QStringLiteral("b.rlt"));

    // The previous result, its texts as they are, closes it; saving the chart lists the new file
    // in a new main window, each entry once.
    state().RosterFileName = env.path(QStringLiteral("1組.mem"));
    TRIGGER(main, "mnuResult");
    QVERIFY(isLoaded<NARABIN>() && !loadedForm<NARABIN>()->isVisible());
    QCOMPARE(loadedForm<RESULT>()->seatTexts(), seats);
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("c.rlt")));
    TRIGGER(loadedForm<RESULT>(), "mnuResultSave");
    NARABIN *shown = loadedForm<NARABIN>();
    QVERIFY(shown && shown != main && shown->isVisible());
    QCOMPARE(pastLogItems(shown), (QStringList{"a.rlt", "b.rlt", "c.rlt"}));
    QVERIFY(findAction(shown, QStringLiteral("mnuFileArray_5")));
    QVERIFY(shown->mnuResult->isEnabled());
    QCOMPARE(env.platform.messageLog(), QStringList{QStringLiteral("保存確認|ならびん結果を保存しました。|64")});
}

QTEST_MAIN(TestPastResults)
#include "tst_pastresults.moc"
