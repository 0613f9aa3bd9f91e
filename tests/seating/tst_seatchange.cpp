// The countdown, the seat-change run through the windows, and the result window.
#include "app/settings.h"
#include "app/textfile.h"
#include "app/ui.h"
#include "seating/conditioneditor.h"
#include "seating/noprintlinedialog.h"
#include "seating/placement.h"
#include "seating/resultwindow.h"
#include "seating/seatchangerun.h"
#include "seatingfixture.h"

#include <QScopeGuard>
#include <QToolButton>
#include <QtTest>

namespace {

// A roster with its conditions and the main window as the condition editor leaves it (run enabled).
NARABIN *mainReadyToRun(TestEnv &env, const QStringList &names, const SeatMap &conditions = {})
{
    NARABIN *w = mainWithRoster(names, conditions);
    state().RosterFileName = env.path(QStringLiteral("1組.mem"));
    switchMainWindowToConditions();
    return w;
}

// Seat 3 empty, seat 28 left over.
QStringList chart()
{
    QStringList seats = pupils(26);
    seats.insert(2, QStringLiteral(" "));
    seats.append(QString());
    return seats;
}

// A result window with the chart in it, shown as an opener shows it.
RESULT *shownResult()
{
    RESULT *r = form<RESULT>();
    r->setSeatTexts(chart());
    r->show();
    return r;
}

QStringList numberedNames(int first, int last)
{
    QStringList out;
    for (int i = first; i <= last; ++i)
        out.append(QStringLiteral("結果%1.rlt").arg(i));
    return out;
}

} // namespace

class TestSeatChange : public QObject {
    Q_OBJECT

private slots:
    void runThroughTheWindows_data();
    void runThroughTheWindows();
    void runUsesKeysDrawnAfterTheCountdown();
    void refusedRun_data();
    void refusedRun();
    void optPsbarNormalisedOnLoad_data();
    void optPsbarNormalisedOnLoad();
    void closeCommands_data();
    void closeCommands();
    void save_data();
    void save();
    void saveIntoChosenFolderKeepsOneLog();
};

void TestSeatChange::runThroughTheWindows_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("closeAfter"); // ticks before the user closes the countdown; -1: never
    QTest::newRow("menu, 28 pupils") << "menu" << 28 << -1;
    QTest::newRow("menu, 25 pupils, closed early") << "menu" << 25 << 3;
    QTest::newRow("toolbar 8, no pupils") << "toolbar" << 0 << -1;
}

void TestSeatChange::runThroughTheWindows()
{
    QFETCH(QString, how);
    QFETCH(int, count);
    QFETCH(int, closeAfter);
    TestEnv env;
    QPointer<NARABIN> main = mainReadyToRun(env, pupils(count));
    const auto seen = driveCountdown(closeAfter);
    if (how == QLatin1String("menu"))
        TRIGGER(main, "mnuFileNarabin");
    else
        main->Toolbar1->button(8)->click();
    QTRY_VERIFY(isLoaded<RESULT>());

    // The countdown, tick by tick, closing itself on the tick that finds 0.
    QVERIFY(seen->modal && seen->timerRunning);
    const int shown = closeAfter < 0 ? 11 : closeAfter + 1;
    QCOMPARE(seen->ticks, shown == 11 ? 11 : closeAfter);
    QCOMPARE(seen->numbers, QStringList({"10", "9", "8", "7", "6", "5", "4", "3", "2", "1", "0"}).mid(0, shown));
    // Full-width ＼／, U+3000 and ASCII spaces and the ASCII backslash, exactly.
    QCOMPARE(seen->faces, QStringList({"＼(^_^)／", "\u3000o(^_^)／", "\u3000o(^_^)o", "＼(^_^)\\", "＼(^_^)／",
                                       "\u3000\\(^_^)／", "\u3000o(^_^)o", "＼(^_^)o", "\u3000o(^_^)／", " (^_^;)",
                                       " (;ﾟoﾟ)"}).mid(0, shown));
    QCOMPARE(seen->bars, QList<int>({0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}).mid(0, shown));
    QVERIFY(loadedForm<RESULT>()->isVisible() && !loadedForm<RESULT>()->isModal());
    QTRY_VERIFY(main.isNull());
    // Without conditions seat k gets the k-th name of the shuffled roster.
    QStringList expected;
    for (int k = 1; k <= 28; ++k)
        expected.append(k <= count ? state().PupilNames[size_t(k)] : QString());
    QCOMPARE(loadedForm<RESULT>()->seatTexts(), expected);
    QCOMPARE(sorted(expected.mid(0, count)), sorted(pupils(count)));
    QVERIFY(env.platform.messageLog().isEmpty());
    // The next countdown starts with an empty bar and fills it from the first tick.
    unload<RESULT>();
    const auto next = driveCountdown(1);
    seatChangeRunCommand();
    QTRY_VERIFY(isLoaded<RESULT>());
    QCOMPARE(next->bars, (QList<int>{0, 10}));
}

void TestSeatChange::runUsesKeysDrawnAfterTheCountdown()
{
    TestEnv env;
    const auto restore = qScopeGuard([] { setRunSourceForTests({}); });
    NARABIN *main = mainReadyToRun(env, {"佐藤", "伊藤", "加藤", "後藤"}, {{1, "-"}, {2, "後藤"}});
    const auto seen = driveCountdown();
    int ticksWhenSeeded = -1;
    setRunSourceForTests([seen, &ticksWhenSeeded] {
        ticksWhenSeeded = seen->ticks;
        auto keys = std::make_shared<QList<double>>(QList<double>{0.9, 0.5, 0.0, 0.5});
        return UniformSource([keys] { return keys->takeFirst(); });
    });
    TRIGGER(main, "mnuFileNarabin");
    QTRY_VERIFY(isLoaded<RESULT>());
    QCOMPARE(ticksWhenSeeded, 11);
    QCOMPARE(loadedForm<RESULT>()->seatTexts().mid(0, 6), (QStringList{" ", "後藤", "加藤", "伊藤", "佐藤", ""}));
    QCOMPARE((QStringList{state().PupilNames[1], state().PupilNames[4]}), (QStringList{"加藤", "佐藤"}));
}

void TestSeatChange::refusedRun_data()
{
    QTest::addColumn<QStringList>("roster");
    QTest::addColumn<SeatMap>("conditions");
    const QStringList three{"佐藤", "伊藤", "加藤"};
    QTest::newRow("designated name not in the roster") << three << SeatMap{{4, "鈴木"}};
    QTest::newRow("designated name twice in the roster") << QStringList{"佐藤", "佐藤"} << SeatMap{{4, "佐藤"}};
    QTest::newRow("one name on two seats") << three << SeatMap{{2, "伊藤"}, {9, "伊藤"}};
    QTest::newRow("more empty seats than room") << three << emptySeats(1, 26);
}

void TestSeatChange::refusedRun()
{
    QFETCH(QStringList, roster);
    QFETCH(SeatMap, conditions);
    TestEnv env;
    NARABIN *main = mainReadyToRun(env, roster, conditions);
    state().SeatResult[5] = QStringLiteral("前回");
    const SharedState before = state();
    // Were a countdown shown, this would end it and tell.
    const auto countdown = std::make_shared<QList<bool>>();
    whenModal([countdown] {
        countdown->append(isLoaded<WAIT>());
        unload<WAIT>();
    });
    TRIGGER(main, "mnuFileNarabin");
    QTRY_COMPARE(*countdown, QList<bool>{false});
    QCOMPARE(env.platform.messageLog(),
             QStringList{"実行確認|座席の条件に誤りがあります。条件設定の変更で条件を設定し直して下さい。|16"});
    QCOMPARE(env.platform.callsOf(QStringLiteral("message")).constFirst().owner.data(), main);
    QVERIFY(!isLoaded<RESULT>());
    QVERIFY(main->isVisible() && !main->mnuResult->isEnabled());
    QVERIFY(state().PupilNames == before.PupilNames && state().SeatResult == before.SeatResult);
}

void TestSeatChange::optPsbarNormalisedOnLoad_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("inMemory");
    QTest::newRow("1") << "1" << "1";
    QTest::newRow("0") << "0" << "0";
    QTest::newRow("empty") << "" << "1";
    QTest::newRow("2") << "2" << "1";
    QTest::newRow("0 with a blank") << "0 " << "1";
}

void TestSeatChange::optPsbarNormalisedOnLoad()
{
    QFETCH(QString, stored);
    QFETCH(QString, inMemory);
    TestEnv env;
    loadStartupSettings(QDir::currentPath());
    writeSetting(QStringLiteral("OptPsbar"), QStringLiteral("untouched"));
    state().OptPsbar = stored;
    RESULT *r = form<RESULT>();
    QCOMPARE((QStringList{state().OptPsbar, readSetting(QStringLiteral("OptPsbar"))}), (QStringList{inMemory, "untouched"}));
    QCOMPARE(r->mnuPrintStatusBar->isChecked(), inMemory == QLatin1String("1"));
    // The menu item toggles it and stores it.
    const QString toggled = inMemory == QLatin1String("1") ? QStringLiteral("0") : QStringLiteral("1");
    TRIGGER(r, "mnuPrintStatusBar");
    QCOMPARE((QStringList{state().OptPsbar, readSetting(QStringLiteral("OptPsbar"))}), (QStringList{toggled, toggled}));
    QCOMPARE(r->mnuPrintStatusBar->isChecked(), toggled == QLatin1String("1"));
}

void TestSeatChange::closeCommands_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("roster");
    QTest::newRow("mnuOK, roster open") << "mnuOK" << true;
    QTest::newRow("toolbar 3, no roster") << "toolbar 3" << false;
    QTest::newRow("close box, roster open") << "close box" << true;
}

void TestSeatChange::closeCommands()
{
    QFETCH(QString, how);
    QFETCH(bool, roster);
    TestEnv env;
    env.writeFile(QStringLiteral("ならびん.ini"), crlfLines({"一学期.rlt"}));
    loadStartupSettings(QDir::currentPath());
    RESULT *r = shownResult();
    if (roster)
        state().RosterFileName = env.path(QStringLiteral("1組.mem"));
    if (how == QLatin1String("mnuOK"))
        TRIGGER(r, "mnuOK");
    else if (how == QLatin1String("toolbar 3"))
        r->Toolbar1->button(3)->click();
    else
        r->close();
    QVERIFY(!isLoaded<RESULT>());
    NARABIN *main = loadedForm<NARABIN>();
    QVERIFY(main && main->isVisible() && main->mnuResult->isEnabled());
    // The log's one entry, listed once (with its separator).
    QCOMPARE(main->mnuFileArray.size(), size_t(2));
    QVERIFY(env.platform.messageLog().isEmpty()); // the main window's quit question is not asked
    QCOMPARE(env.platform.quitCount, 0);
}

void TestSeatChange::save_data()
{
    QTest::addColumn<QByteArray>("logBefore"); // "<none>": no log file
    QTest::addColumn<QString>("fileName");     // empty: the dialog is cancelled
    QTest::addColumn<QString>("fault");        // a file whose write fails after a few bytes
    QTest::addColumn<QString>("message");      // <rlt> the result file, <log> the log
    QTest::addColumn<QByteArray>("logAfter");
    QTest::addColumn<bool>("written"); // the result file
    const QString saved = QStringLiteral("保存確認|ならびん結果を保存しました。|64");
    const QString noSpace = QStringLiteral("ディスクの空き容量が足りないか、書き込めない状態です。（No space left on device）|16");
    const QString logFailed = QStringLiteral("保存エラー|結果ﾌｧｲﾙ「<rlt>」は保存しましたが、過去ﾛｸﾞ「<log>」に記録できませんでした。\n");
    const QByteArray one = crlfLines({"1組.rlt"}), broken("\x82\xff\x81\x00garbage", 11);
    QTest::newRow("no log") << QByteArray("<none>") << "1組.rlt" << "" << saved << one << true;
    QTest::newRow("empty log") << QByteArray() << "1組.rlt" << "" << saved << one << true;
    QTest::newRow("14 names become 15") << crlfLines(numberedNames(1, 14)) << "new.rlt" << "" << saved
                                       << crlfLines(numberedNames(1, 14) << "new.rlt") << true;
    QTest::newRow("15 names stay 15") << crlfLines(numberedNames(1, 15)) << "new.rlt" << "" << saved
                                     << crlfLines(numberedNames(2, 15) << "new.rlt") << true;
    QTest::newRow("hand-edited 17 names keep the newest 15") << crlfLines(numberedNames(1, 17)) << "new.rlt" << ""
                                                            << saved << crlfLines(numberedNames(4, 17) << "new.rlt") << true;
    QTest::newRow("same name twice") << one << "1組.rlt" << "" << saved << crlfLines({"1組.rlt", "1組.rlt"}) << true;
    QTest::newRow("name with a comma is written whole") << QByteArray() << "1組,2組.rlt" << "" << saved
                                                        << crlfLines({"1組,2組.rlt"}) << true;
    QTest::newRow("no extension added") << QByteArray() << "席替え" << "" << saved << crlfLines({"席替え"}) << true;
    QTest::newRow("dialog cancelled") << one << "" << "" << "" << one << false;
    QTest::newRow("the log itself") << one << "ならびん.INI" << ""
                                    << "保存エラー|「ならびん.INI」は過去ﾛｸﾞのﾌｧｲﾙです。結果は別の名前で保存して下さい。|16" << one
                                    << false;
    QTest::newRow("a name the log cannot hold")
        << one << "1組\U0001F600.rlt" << ""
        << "保存エラー|ﾌｧｲﾙ名「1組\U0001F600.rlt」には過去ﾛｸﾞに記録できない文字が含まれています。別の名前で保存して下さい。|16"
        << one << false;
    QTest::newRow("result file write fails") << one << "1組.rlt" << "1組.rlt"
                                             << "保存エラー|結果ﾌｧｲﾙ「<rlt>」を保存できませんでした。\n" + noSpace << one << false;
    QTest::newRow("log write fails") << one << "1組.rlt" << "ならびん.ini" << logFailed + noSpace << one << true;
    QTest::newRow("log unreadable") << broken << "1組.rlt" << ""
                                    << logFailed + "文字コードが正しくありません（Shift_JIS でも UTF-8 でもありません）。|16"
                                    << broken << true;
}

void TestSeatChange::save()
{
    QFETCH(QByteArray, logBefore);
    QFETCH(QString, fileName);
    QFETCH(QString, fault);
    QFETCH(QString, message);
    QFETCH(QByteArray, logAfter);
    QFETCH(bool, written);
    TestEnv env;
    loadStartupSettings(QDir::currentPath());
    if (logBefore != "<none>")
        env.writeFile(QStringLiteral("ならびん.ini"), logBefore);
    env.writeFile(QStringLiteral("1組.rlt"), "old chart\r\n");
    if (!fault.isEmpty())
        setWriteFaultForTests(fault, 3);
    RESULT *r = shownResult();
    if (!fileName.isEmpty())
        env.platform.saveFiles.enqueue(env.path(fileName));
    TRIGGER(r, "mnuResultSave");

    const QList<PlatformCall> dialogs = env.platform.callsOf(QStringLiteral("save"));
    QCOMPARE(dialogs.size(), 1);
    QCOMPARE(dialogs[0].title, QStringLiteral("ならびん結果の保存"));
    QCOMPARE(dialogs[0].filter, QStringLiteral("結果ﾌｧｲﾙ(*.RLT)|*.RLT|旧結果ﾌｧｲﾙ(*.DAT)|*.DAT|すべてのﾌｧｲﾙ(*.*)|*.*"));
    message.replace(QLatin1String("<rlt>"), env.path(QStringLiteral("1組.rlt")));
    message.replace(QLatin1String("<log>"), env.path(QStringLiteral("ならびん.ini")));
    QCOMPARE(env.platform.messageLog(), message.isEmpty() ? QStringList() : QStringList{message});
    if (written) {
        QCOMPARE(env.readFile(fileName), crlfLines(chart()));
    } else { // nothing written, nothing left over
        QCOMPARE(env.readFile(QStringLiteral("1組.rlt")), QByteArray("old chart\r\n"));
        QCOMPARE(QDir(env.work()).entryList(QDir::Files).size(), 2);
    }
    // A new log is created as "ならびん.INI"; an existing one keeps its name. One log either way.
    const QStringList logs = QDir(env.work()).entryList({QStringLiteral("ならびん.*")}, QDir::Files);
    QCOMPARE(logs, QStringList{logBefore == "<none>" ? "ならびん.INI" : "ならびん.ini"});
    QCOMPARE(env.readFile(logs.constFirst()), logAfter);
    const bool success = message.startsWith(QStringLiteral("保存確認"));
    if (success)
        QCOMPARE(state().ResultSaveFileName, fileName);
    QCOMPARE(isLoaded<RESULT>(), !success);
    QCOMPARE(isLoaded<NARABIN>() && loadedForm<NARABIN>()->isVisible(), success);
}

void TestSeatChange::saveIntoChosenFolderKeepsOneLog()
{
    TestEnv env;
    QDir(env.work()).mkpath(QStringLiteral("結果"));
    // The log there is spelt in capitals; it is read and written as the one log.
    env.writeFile(QStringLiteral("結果/ならびん.INI"), crlfLines({"old.rlt"}));
    env.writeFile(QStringLiteral("ならびん.ini"), crlfLines({"elsewhere.rlt"}));
    RESULT *r = shownResult();
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("結果/new.RLT")));
    TRIGGER(r, "mnuResultSave");
    QCOMPARE(QDir::currentPath(), env.path(QStringLiteral("結果")));
    QCOMPARE(env.readFile(QStringLiteral("結果/new.RLT")), crlfLines(chart()));
    QCOMPARE(env.readFile(QStringLiteral("結果/ならびん.INI")), crlfLines({"old.rlt", "new.RLT"}));
    QCOMPARE(env.readFile(QStringLiteral("ならびん.ini")), crlfLines({"elsewhere.rlt"}));
    // The main window made afresh lists the log of the folder now current.
    QCOMPARE(findAction(loadedForm<NARABIN>(), QStringLiteral("mnuFileArray_2"))->text(), QStringLiteral("new.RLT"));
}

QTEST_MAIN(TestSeatChange)
#include "tst_seatchange.moc"
