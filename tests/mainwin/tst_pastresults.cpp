// Past results: the last run's chart again and the charts of saved result files.
#include "app/startup.h"
#include "mainwin/mainwindow.h"
#include "mainwin/pastresults.h"
#include "seating/resultwindow.h"
#include "support/testenv.h"

#include <QtTest>

namespace {

const char *NotFound = "ﾌｧｲﾙの存在確認|指定したﾌｧｲﾙがありません。存在を確認して下さい。|16";

NARABIN *freshMain(const std::function<void()> &before = {})
{
    loadStartupSettings(QDir::currentPath());
    if (before)
        before();
    NARABIN *w = form<NARABIN>();
    w->show();
    return w;
}

QByteArray lines(const QStringList &texts)
{
    QByteArray bytes;
    for (const QString &t : texts)
        bytes += sjis(t) + "\r\n";
    return bytes;
}

QStringList names(int count, const QString &stem = QStringLiteral("生徒"))
{
    QStringList out;
    for (int i = 1; i <= count; ++i)
        out.append(stem + QString::number(i));
    return out;
}

QStringList padded(QStringList seats)
{
    while (seats.size() < SeatCount)
        seats.append(QString());
    return seats;
}

// The visible past-log items of a main window, by caption, and their indices.
QStringList logItems(NARABIN *w)
{
    QStringList out;
    for (const auto &[index, action] : w->mnuFileArray) {
        if (index > 0 && action->isVisible())
            out.append(action->text());
    }
    return out;
}

QList<int> logIndices(NARABIN *w)
{
    QList<int> out;
    for (const auto &[index, action] : w->mnuFileArray) {
        if (index > 0)
            out.append(index);
    }
    return out;
}

} // namespace

class TestPastResults : public QObject {
    Q_OBJECT

private slots:
    void previousResultShowsTheLastRun_data();
    void previousResultShowsTheLastRun();
    void pastResult_data();
    void pastResult();
    void separatorAndEmptyEntryAreNotFound();
    void entriesResolveInTheCurrentFolder();
    void mainWindowRecreatedListsEachEntryOnce();
    void resultSavedAfterPreviousResultIsListed();
};

void TestPastResults::previousResultShowsTheLastRun_data()
{
    QTest::addColumn<bool>("byShortcut");
    QTest::newRow("menu") << false;
    QTest::newRow("Ctrl+R") << true;
}

void TestPastResults::previousResultShowsTheLastRun()
{
    QFETCH(bool, byShortcut);
    TestEnv env;
    QStringList seats = padded(names(20));
    seats[2] = QStringLiteral(" ");
    seats[3] = QStringLiteral("07");
    QPointer<NARABIN> main = freshMain([&seats] {
        state().ResultShown = 1;
        for (int k = 1; k <= SeatCount; ++k)
            state().SeatResult[size_t(k)] = seats.at(k - 1);
    });
    if (byShortcut) {
        main->activateWindow();
        QTRY_VERIFY(main->isActiveWindow());
        QTest::keyClick(main, Qt::Key_R, Qt::ControlModifier);
    } else {
        TRIGGER(main, "mnuResult");
    }
    QVERIFY(!isLoaded<NARABIN>());
    QTRY_VERIFY(main.isNull());
    RESULT *r = loadedForm<RESULT>();
    QVERIFY(r && r->isVisible());
    QCOMPARE(r->seatTexts(), seats); // as they are: the blank and the leading zero kept
    QVERIFY(env.platform.messageLog().isEmpty());
}

void TestPastResults::pastResult_data()
{
    QTest::addColumn<QByteArray>("file"); // "<none>": no such file
    QTest::addColumn<bool>("resultOpenBefore");
    QTest::addColumn<QStringList>("seats"); // empty: the not-found message
    QTest::newRow("28 lines") << lines(names(28)) << false << names(28);
    QTest::newRow("fewer lines") << lines(names(3)) << false << padded(names(3));
    QTest::newRow("fewer lines over another chart") << lines(names(3)) << true << padded(names(3));
    QTest::newRow("texts as they are") << lines({QStringLiteral("07"), QStringLiteral(" "), QStringLiteral("1e3"), QStringLiteral("髙橋")})
                                       << false
                                       << padded({QStringLiteral("07"), QString(), QStringLiteral("1e3"), QStringLiteral("髙橋")});
    QTest::newRow("quoted name with a comma") << lines({QStringLiteral("\"山田,花子\""), QStringLiteral("佐藤")}) << false
                                              << padded({QStringLiteral("山田,花子"), QStringLiteral("佐藤")});
    QStringList shifted = names(28);
    shifted[0] = QStringLiteral("山田,花子");
    QTest::newRow("comma inside a name: 29 fields") << lines(shifted) << false << QStringList();
    QTest::newRow("29 fields over another chart") << lines(shifted) << true << QStringList();
    QTest::newRow("missing file") << QByteArray("<none>") << false << QStringList();
    QTest::newRow("unreadable file") << QByteArray("\x82\xff\x81") << false << QStringList();
}

void TestPastResults::pastResult()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, resultOpenBefore);
    QFETCH(QStringList, seats);
    TestEnv env;
    env.writeFile(QStringLiteral("ならびん.ini"), lines({QStringLiteral("1組.rlt")}));
    if (file != "<none>")
        env.writeFile(QStringLiteral("1組.rlt"), file);
    NARABIN *main = freshMain();
    const QStringList other = names(28, QStringLiteral("前の"));
    if (resultOpenBefore) {
        RESULT *r = form<RESULT>();
        r->setSeatTexts(other);
        r->show();
    }
    TRIGGER(main, "mnuFileArray_1");
    QVERIFY(isLoaded<NARABIN>() && main->isVisible()); // the main window stays open behind
    RESULT *r = loadedForm<RESULT>();
    if (seats.isEmpty()) {
        QCOMPARE(env.platform.messageLog(), QStringList{QString::fromUtf8(NotFound)});
        QCOMPARE(env.platform.callsOf(QStringLiteral("message")).constFirst().owner.data(), main);
        QCOMPARE(r != nullptr, resultOpenBefore);
        if (r)
            QCOMPARE(r->seatTexts(), other); // untouched
        return;
    }
    QVERIFY(env.platform.messageLog().isEmpty());
    QVERIFY(r && r->isVisible());
    QCOMPARE(r->seatTexts(), seats);
}

void TestPastResults::separatorAndEmptyEntryAreNotFound()
{
    TestEnv env;
    env.writeFile(QStringLiteral("ならびん.ini"), QByteArray("\r\nb.rlt\r\n"));
    env.writeFile(QStringLiteral("b.rlt"), QByteArray("x\r\n"));
    NARABIN *main = freshMain();
    QCOMPARE(logItems(main), (QStringList{QString(), QStringLiteral("b.rlt")}));
    pastResultCommand(0); // the separator's index
    TRIGGER(main, "mnuFileArray_1");
    QCOMPARE(env.platform.messageLog(), QStringList(2, QString::fromUtf8(NotFound)));
    QVERIFY(!isLoaded<RESULT>());
}

void TestPastResults::entriesResolveInTheCurrentFolder()
{
    TestEnv env;
    env.writeFile(QStringLiteral("ならびん.ini"), lines({QStringLiteral("1組.rlt")}));
    env.writeFile(QStringLiteral("1組.rlt"), lines({QStringLiteral("ここ")}));
    env.writeFile(QStringLiteral("別/1組.RLT"), lines({QStringLiteral("別の所")}));
    NARABIN *main = freshMain();
    // A confirmed file dialog moved the current folder; the bare name resolves there,
    // whatever the letter case of the file on disk.
    QDir::setCurrent(env.path(QStringLiteral("別")));
    TRIGGER(main, "mnuFileArray_1");
    QCOMPARE(loadedForm<RESULT>()->seatTexts(), padded({QStringLiteral("別の所")}));
    unload<RESULT>();
    QDir::setCurrent(env.root());
    TRIGGER(main, "mnuFileArray_1");
    QCOMPARE(env.platform.messageLog(), QStringList{QString::fromUtf8(NotFound)});
}

void TestPastResults::mainWindowRecreatedListsEachEntryOnce()
{
    TestEnv env;
    env.writeFile(QStringLiteral("ならびん.ini"), lines({QStringLiteral("a.rlt"), QStringLiteral("b.rlt"), QStringLiteral("c.rlt")}));
    env.writeFile(QStringLiteral("a.rlt"), lines({QStringLiteral("山田")}));
    NARABIN *main = freshMain([] { state().ResultShown = 1; });
    QCOMPARE(logIndices(main), (QList<int>{1, 2, 3}));

    // A past result leaves the main window open: closing the chart shows it again as it was.
    TRIGGER(main, "mnuFileArray_1");
    TRIGGER(loadedForm<RESULT>(), "mnuOK");
    QCOMPARE(loadedForm<NARABIN>(), main);
    QCOMPARE(logIndices(main), (QList<int>{1, 2, 3}));

    // The previous result closes it: closing the chart brings a new one, listing each entry once.
    TRIGGER(main, "mnuResult");
    TRIGGER(loadedForm<RESULT>(), "mnuOK");
    NARABIN *again = loadedForm<NARABIN>();
    QVERIFY(again && again != main);
    QVERIFY(again->isVisible());
    QCOMPARE(logItems(again), (QStringList{QStringLiteral("a.rlt"), QStringLiteral("b.rlt"), QStringLiteral("c.rlt")}));
    QCOMPARE(logIndices(again), (QList<int>{4, 5, 6}));
    QVERIFY(again->mnuResult->isEnabled());
    QVERIFY(env.platform.messageLog().isEmpty());
}

void TestPastResults::resultSavedAfterPreviousResultIsListed()
{
    TestEnv env;
    env.writeFile(QStringLiteral("ならびん.ini"), lines({QStringLiteral("a.rlt")}));
    NARABIN *main = freshMain([] { state().ResultShown = 1; });
    state().RosterFileName = env.path(QStringLiteral("1組.mem"));
    TRIGGER(main, "mnuResult");
    // The chart's load made a main window unseen, listing the log as it was then.
    QVERIFY(isLoaded<NARABIN>() && !loadedForm<NARABIN>()->isVisible());
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("b.rlt")));
    TRIGGER(loadedForm<RESULT>(), "mnuResultSave");
    NARABIN *shown = loadedForm<NARABIN>();
    QVERIFY(shown && shown->isVisible());
    QCOMPARE(logItems(shown), (QStringList{QStringLiteral("a.rlt"), QStringLiteral("b.rlt")}));
    QVERIFY(shown->mnuResult->isEnabled());
}

QTEST_MAIN(TestPastResults)
#include "tst_pastresults.moc"
