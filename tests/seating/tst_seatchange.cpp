// The countdown, the seat-change run through the windows, and the result window.
#include "core/chartexport.h"
#include "core/chartgrid.h"
#include "core/colors.h"
#include "core/product.h"
#include "core/repeatavoidance.h"
#include "core/resultsave.h"
#include "core/rulerun.h"
#include "core/settings.h"
#include "core/textfile.h"
#include "seating/chartscreen.h"
#include "seating/conditioneditor.h"
#include "seating/resultwindow.h"
#include "seating/rulelist.h"
#include "seating/seatchangerun.h"
#include "seatingfixture.h"
#include "widgets/mainwindowstate.h"
#include "widgets/seatbox.h"
#include "widgets/ui.h"

#include <QClipboard>
#include <QMimeData>
#include <QScreen>
#include <QtTest>

namespace
{

// A roster with its conditions and the main window as the condition editor leaves it (run enabled).
MainWindow *mainReadyToRun(TestEnv &env, const QStringList &names, const SeatMap &conditions = {})
{
    MainWindow *w = mainWithRoster(names, conditions);
    state().RosterFileName = env.path(QStringLiteral("1組.mem"));
    mainWindowState().enterConditionsState();
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
ResultWindow *shownResult()
{
    ResultWindow *r = form<ResultWindow>();
    r->setSeatTexts(chart());
    r->show();
    return r;
}

QStringList resultNames(int first, int last)
{
    QStringList out;
    for (int i = first; i <= last; ++i)
        out.append(QStringLiteral("結果%1.rlt").arg(i));
    return out;
}

} // namespace

class TestSeatChange : public QObject
{
    Q_OBJECT

private slots:
    void repeatToldOverTheChart();
    void refusedRun_data();
    void refusedRun();
    void runWithRules_data();
    void runWithRules();
    void swapByHand_data();
    void swapByHand();
    void optPsbarNormalisedOnLoad_data();
    void optPsbarNormalisedOnLoad();
    void closingListsEachPastResultOnce();
    void save_data();
    void save();
    void numberBoxShowsItsEdge_data();
    void numberBoxShowsItsEdge();
    void exportCsv_data();
    void exportCsv();
    void copyChart_data();
    void copyChart();
    void chartSides_data();
    void chartSides();
    void teacherViewToggles_data();
    void teacherViewToggles();
    void nameLettering_data();
    void nameLettering();
    void fullScreenChart_data();
    void fullScreenChart();
    void countdownFillsTheScreenUnderTheFullScreenChart();
};

void TestSeatChange::repeatToldOverTheChart()
{
    TestEnv env;
    const QStringList roster{"伊藤 翔太", "佐藤 花子"};
    QCOMPARE(saveResult(QDir::currentPath(), QStringLiteral("前回.rlt"), Room::standard(), padded(roster)).kind,
             ResultSaveOutcome::Kind::Saved);
    // 伊藤 is pinned to seat 1 and every seat but 2 is empty: 佐藤 has no other seat.
    SeatMap conditions = emptySeats(3, 28);
    conditions[1] = roster.at(0);
    MainWindow *main = mainReadyToRun(env, roster, conditions);
    state().OptNoSameSeat = true;
    driveCountdown();
    TRIGGER(main, "mnuFileNarabin");
    QTRY_VERIFY(isLoaded<ResultWindow>());
    QCOMPARE(loadedForm<ResultWindow>()->seatTexts().mid(0, 3), (QStringList{roster.at(0), roster.at(1), " "}));
    QTRY_COMPARE(env.platform.messageLog(),
                 QStringList{"ならびん君 for Windows|前回と同じ席になった人がいます。\r佐藤 花子|64"});
    QCOMPARE(env.platform.callsOf(QStringLiteral("message")).constFirst().owner.data(), loadedForm<ResultWindow>());
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
    MainWindow *main = mainReadyToRun(env, roster, conditions);
    state().openClass.chart[4] = ChartDesk::fromText(QStringLiteral("前回"));
    const SharedState before = state();
    // Were a countdown shown, this would end it and tell.
    const auto countdown = std::make_shared<QList<bool>>();
    whenModal([countdown] {
        countdown->append(isLoaded<CountdownWindow>());
        unload<CountdownWindow>();
    });
    TRIGGER(main, "mnuFileNarabin");
    QTRY_COMPARE(*countdown, QList<bool>{false});
    QCOMPARE(env.platform.messageLog(),
             QStringList{"実行確認|座席の条件に誤りがあります。条件設定の変更で条件を設定し直して下さい。|16"});
    QCOMPARE(env.platform.callsOf(QStringLiteral("message")).constFirst().owner.data(), main);
    QVERIFY(!isLoaded<ResultWindow>());
    QVERIFY(main->isVisible() && !main->previousResultAction->isEnabled());
    QVERIFY(state().openClass == before.openClass);
}

void TestSeatChange::runWithRules_data()
{
    QTest::addColumn<int>("pupils");
    QTest::addColumn<Rules>("rules");
    QTest::addColumn<QString>("previous"); // the last chart; OptNoSameSeat is on with one
    QTest::addColumn<int>("answer");       // to a refusal
    QTest::addColumn<QStringList>("messages");
    // Drawn by the test clock's seed, as name:desk; charts the rules leave equally good split
    // by "|"; none where only the messages tell.
    QTest::addColumn<QString>("chart");
    using K = Rule::Kind;
    const QStringList two{"生徒1", "生徒2"};
    // Without rules seat k gets the k-th name of the shuffled roster.
    QTest::newRow("no rules")
        << 28 << Rules{} << "" << 0 << QStringList()
        << "生徒13:1,生徒16:2,生徒10:3,生徒15:4,生徒17:5,生徒5:6,生徒1:7,生徒2:8,生徒9:9,生徒26:10,"
           "生徒20:11,生徒4:12,生徒28:13,生徒3:14,生徒19:15,生徒25:16,生徒11:17,生徒21:18,生徒6:19,"
           "生徒24:20,生徒22:21,生徒18:22,生徒27:23,生徒12:24,生徒8:25,生徒7:26,生徒14:27,生徒23:28";
    QTest::newRow("musts kept") << 6 << Rules{ruleOf(K::Zone, two), ruleOf(K::SideBySide, {"生徒3", "生徒4"})} << ""
                                << 0 << QStringList() << "生徒2:2,生徒1:4,生徒6:7,生徒5:12,生徒4:25,生徒3:26";
    const QString ask = QStringLiteral("\r条件を見直しますか？|17");
    QTest::newRow("five in the four desks of a row: rules opened")
        << 5 << Rules{ruleOf(K::Zone, pupils(5))} << "" << IDOK
        << QStringList{"実行確認|前1列に5人を指定しましたが、前1列の席は4席です。" + ask} << "";
    QTest::newRow("apart and side by side: cancelled")
        << 4 << Rules{ruleOf(K::Apart, two), ruleOf(K::SideBySide, two)} << "" << IDCANCEL
        << QStringList{"実行確認|「生徒1と生徒2を2席以上離す」と「生徒1と生徒2を隣に」 が両立しません。" + ask} << "";
    // Only a derangement of the three desks has no repeat.
    QTest::newRow("repeats avoided") << 3 << Rules{ruleOf(K::Zone, pupils(3), true, 1, {1, 2, 3})}
                                     << "生徒1:1,生徒2:2,生徒3:3" << 0 << QStringList()
                                     << "生徒2:1,生徒3:2,生徒1:3|生徒3:1,生徒1:2,生徒2:3";
    QTest::newRow("a wish no chart keeps, a repeat no chart avoids")
        << 5 << Rules{ruleOf(K::Zone, pupils(5), false), ruleOf(K::Zone, {"生徒1"}, true, 1, {1})} << "生徒1:1" << 0
        << QStringList{"ならびん君 for Windows|できればの条件のうち、次の条件は守れませんでした。\r"
                       "「生徒1・生徒2・生徒3・生徒4・生徒5を前1列に」\r前回と同じ席になった人がいます。\r生徒1|64"}
        << "";
}

// Rules are drawn before the countdown: a clash starts none and changes nothing.
void TestSeatChange::runWithRules()
{
    QFETCH(int, pupils);
    QFETCH(Rules, rules);
    QFETCH(QString, previous);
    QFETCH(int, answer);
    QFETCH(QStringList, messages);
    QFETCH(QString, chart);
    TestEnv env;
    if (env.services.solverLibrary.isEmpty())
        QSKIP("the rules solver is not built here (NARABIN_SOLVER=OFF)");
    QPointer<MainWindow> main = mainReadyToRun(env, ::pupils(pupils));
    ClassModel &c = state().openClass;
    c.rules = rules;
    state().OptNoSameSeat = !previous.isEmpty();
    if (!previous.isEmpty()) {
        // A roster without a file: last time is this process's last run of it.
        state().RosterFileName.clear();
        state().LastCharts.insert(rosterKey(c.pupils, c.room), chartOf(previous));
    }
    const ClassModel before = c;
    env.platform.answers.enqueue(answer);
    const auto seen = driveCountdown();
    const auto rulesShown = std::make_shared<int>(-1); // -1: not looked yet
    whenModal([rulesShown] {
        *rulesShown = isLoaded<RuleList>();
        unload<RuleList>();
    });
    TRIGGER(main, "mnuFileNarabin");
    QTRY_COMPARE(env.platform.messageLog(), messages);
    if (answer) {
        QCOMPARE(seen->ticks, 0);
        QVERIFY(state().openClass == before && !isLoaded<ResultWindow>());
        QTRY_COMPARE(*rulesShown, int(answer == IDOK));
        return;
    }
    // The countdown, tick by tick, closing itself on the tick that finds 0.
    QVERIFY(seen->modal && seen->timerRunning && !seen->fullScreen);
    QCOMPARE(seen->numbers, QStringList({"10", "9", "8", "7", "6", "5", "4", "3", "2", "1", "0"}));
    // Full-width ＼／, U+3000 and ASCII spaces and the ASCII backslash, exactly.
    QCOMPARE(seen->faces,
             QStringList({"＼(^_^)／", "\u3000o(^_^)／", "\u3000o(^_^)o", "＼(^_^)\\", "＼(^_^)／", "\u3000\\(^_^)／",
                          "\u3000o(^_^)o", "＼(^_^)o", "\u3000o(^_^)／", " (^_^;)", " (;ﾟoﾟ)"}));
    QCOMPARE(seen->bars, QList<int>({0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
    QTRY_VERIFY(main.isNull());
    const QStringList shown = loadedForm<ResultWindow>()->seatTexts();
    const QStringList choices = chart.split(u'|', Qt::SkipEmptyParts);
    QVERIFY2(choices.isEmpty() || std::any_of(choices.cbegin(), choices.cend(),
                                              [&](const QString &one) { return chartOf(one) == shown; }),
             qPrintable(shown.join(u',')));
    QCOMPARE(chartTexts(c.chart), shown);
    QCOMPARE(state().LastCharts.value(rosterKey(c.pupils, c.room)), shown);
    // The roster in the order they sit.
    QCOMPARE(c.pupils, shown.filter(QRegularExpression(QStringLiteral("\\S"))));
}

void TestSeatChange::swapByHand_data()
{
    // "drag <from> <to>", or a desk to focus ("-": where the window put the focus) and the keys pressed
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("rules");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("status"); // the first status panel afterwards; "": as it always reads
    // 生徒3 pinned to desk 3, desk 5 kept empty; 生徒1 must sit in the front row, 生徒2 should.
    const QString chart = QStringLiteral("生徒1:1,生徒2:2,生徒3:3,生徒4:6");
    const QString refused = QStringLiteral("席の入れ替え|この入れ替えは「必ず」の条件「%1」を守れません。|48");
    QTest::newRow("drag: two pupils") << "drag 1 2" << true << "生徒2:1,生徒1:2,生徒3:3,生徒4:6"
                                      << ""
                                      << "";
    QTest::newRow("drag onto a free desk") << "drag 6 10" << true << "生徒1:1,生徒2:2,生徒3:3,生徒4:10"
                                           << ""
                                           << "";
    QTest::newRow("keys from the first desk") << "- Space Left Return" << true << "生徒2:1,生徒1:2,生徒3:3,生徒4:6"
                                              << ""
                                              << "";
    QTest::newRow("keys: a wish broken") << "6 Space Down Return" << true << "生徒1:1,生徒4:2,生徒3:3,生徒2:6"
                                         << ""
                                         << "";
    QTest::newRow("keys: picked up") << "6 Space" << true << chart << ""
                                     << "No.6 生徒4 を移します。移す先で Space か Enter、やめるときは Esc。";
    QTest::newRow("keys: Esc") << "6 Space Left Escape" << true << chart << ""
                               << "";
    QTest::newRow("a must rule") << "drag 1 7" << true << chart << refused.arg("生徒1を前1列に") << "";
    QTest::newRow("a pinned pupil") << "drag 2 3" << true << chart << refused.arg("生徒3をNo.3に") << "";
    QTest::newRow("a desk kept empty") << "6 Space Up Right Down Return" << true << chart << refused.arg("No.5を空席に")
                                       << "";
    QTest::newRow("no rules") << "drag 1 7" << false << "生徒2:2,生徒3:3,生徒4:6,生徒1:7"
                              << ""
                              << "";
}

void TestSeatChange::swapByHand()
{
    QFETCH(QString, steps);
    QFETCH(bool, rules);
    QFETCH(QString, after);
    QFETCH(QString, message);
    QFETCH(QString, status);
    TestEnv env;
    loadStartupSettings(QDir::currentPath());
    putRoster(state(), pupils(4), {{3, "生徒3"}, {5, "-"}});
    ClassModel &c = state().openClass;
    QStringList before = chartOf(QStringLiteral("生徒1:1,生徒2:2,生徒3:3,生徒4:6"));
    before[4] = QStringLiteral(" ");
    c.chart = chartFromTexts(before, SeatCount);
    state().LastCharts.insert(rosterKey(c.pupils, c.room), before); // as the run left it
    if (rules)
        c.rules = {ruleOf(Rule::Kind::Zone, {"生徒1"}), ruleOf(Rule::Kind::Zone, {"生徒2"}, false)};
    ResultWindow *r = form<ResultWindow>();
    r->showClassChart();
    r->show();
    TRIGGER(r, "mnuFullScreen");
    QStringList words = steps.split(u' ');
    const auto box = [r](const QString &desk) { return r->seatBoxes[desk.toInt() - 1]; };
    if (words[0] == QLatin1String("drag")) {
        // The pressed box keeps the mouse, as the window system does.
        const QPoint to = box(words[1])->mapFrom(r->client(), box(words[2])->geometry().center());
        QTest::mousePress(box(words[1]), Qt::LeftButton);
        QTest::mouseMove(box(words[1]), to);
        QTest::mouseRelease(box(words[1]), Qt::LeftButton, {}, to);
    } else {
        if (const QString first = words.takeFirst(); first != QLatin1String("-"))
            box(first)->setFocus();
        QVERIFY(r->focusWidget());
        for (const QString &key : words)
            QTest::keyClick(r->focusWidget(), QKeySequence(key)[0].key());
    }
    QStringList expected = chartOf(after);
    expected[4] = QStringLiteral(" ");
    QCOMPARE(r->seatTexts(), expected);
    QCOMPARE(chartTexts(c.chart), expected);
    QCOMPARE(r->fullScreenChart()->texts(), expected);
    QCOMPARE(r->statusPanels->panelText(1), status.isEmpty() ? resultStatusText() : status);
    QCOMPARE(env.platform.messageLog(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(state().LastCharts.value(rosterKey(c.pupils, c.room)), expected);
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("1組.rlt")));
    TRIGGER(r, "mnuResultSave");
    QCOMPARE(env.readFile(QStringLiteral("1組.rlt")), crlfLines(expected));
}

void TestSeatChange::optPsbarNormalisedOnLoad_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("inMemory");
    QTest::newRow("1") << QStringLiteral("1") << "1";
    QTest::newRow("0") << QStringLiteral("0") << "0";
    QTest::newRow("empty") << QString() << "1";
    QTest::newRow("0 with a blank") << QStringLiteral("0 ") << "1";
}

void TestSeatChange::optPsbarNormalisedOnLoad()
{
    QFETCH(QString, stored);
    QFETCH(QString, inMemory);
    TestEnv env;
    storeBefore(QStringLiteral("OptPsbar"), stored);
    loadStartupSettings(QDir::currentPath());
    ResultWindow *r = form<ResultWindow>();
    // Start-up writes the default for an empty value; the window writes nothing.
    QCOMPARE(readSetting(QStringLiteral("OptPsbar")), stored.isEmpty() ? QStringLiteral("1") : stored);
    QCOMPARE(r->printStatusBarAction->isChecked(), inMemory == QLatin1String("1"));
}

void TestSeatChange::closingListsEachPastResultOnce()
{
    TestEnv env;
    env.writeFile(QStringLiteral("ならびん.ini"), crlfLines({"一学期.rlt"}));
    loadStartupSettings(QDir::currentPath());
    shownResult()->close();
    MainWindow *main = loadedForm<MainWindow>();
    QVERIFY(main && main->isVisible() && main->previousResultAction->isEnabled());
    QCOMPARE(main->pastResultItems.size(), size_t(2)); // the entry and its separator
    QVERIFY(env.platform.messageLog().isEmpty());
}

void TestSeatChange::save_data()
{
    QTest::addColumn<QByteArray>("logBefore");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("fault");   // a file whose write fails after a few bytes
    QTest::addColumn<QString>("message"); // <rlt> the result file, <log> the log
    QTest::addColumn<QByteArray>("logAfter");
    QTest::addColumn<bool>("written"); // the result file
    const QString saved = QStringLiteral("保存確認|ならびん結果を保存しました。|64");
    const QString noSpace = QStringLiteral("ディスクの空き容量が足りません。|16");
    const QString logFailed =
        QStringLiteral("保存エラー|結果ﾌｧｲﾙ「<rlt>」は保存しましたが、過去ﾛｸﾞ「<log>」に記録できませんでした。\n");
    const QByteArray one = crlfLines({"1組.rlt"}), broken("\x82\xff\x81\x00garbage", 11);
    QTest::newRow("no log yet") << QByteArray("<none>") << "1組.rlt" << QString() << saved << one << true;
    QTest::newRow("empty log") << QByteArray() << "1組.rlt" << QString() << saved << one << true;
    QTest::newRow("14 names become 15") << crlfLines(resultNames(1, 14)) << "new.rlt" << QString() << saved
                                        << crlfLines(resultNames(1, 14) << "new.rlt") << true;
    QTest::newRow("15 names stay 15") << crlfLines(resultNames(1, 15)) << "new.rlt" << QString() << saved
                                      << crlfLines(resultNames(2, 15) << "new.rlt") << true;
    QTest::newRow("same name twice") << one << "1組.rlt" << QString() << saved << crlfLines({"1組.rlt", "1組.rlt"})
                                     << true;
    // In quotes, so that the log reads it as one name.
    QTest::newRow("name with a comma is logged in quotes") << QByteArray() << "1組,2組.rlt"
                                                           << "" << saved << crlfLines({"\"1組,2組.rlt\""}) << true;
    QTest::newRow("a name with a double quote")
        << one << "1\"組.rlt"
        << ""
        << "保存エラー|ﾌｧｲﾙ名「1\"組."
           "rlt」には過去ﾛｸﾞに記録できない文字（\"）が含まれています。別の名前で保存して下さい。|16"
        << one << false;
    QTest::newRow("the log itself")
        << one << "ならびん.INI"
        << ""
        << "保存エラー|「ならびん.INI」は過去ﾛｸﾞのﾌｧｲﾙです。結果は別の名前で保存して下さい。|16" << one << false;
    QTest::newRow("a name the log cannot hold")
        << one << "1組\U0001F600.rlt"
        << ""
        << "保存エラー|ﾌｧｲﾙ名「1組\U0001F600."
           "rlt」には過去ﾛｸﾞに記録できない文字が含まれています。別の名前で保存して下さい。|16"
        << one << false;
    QTest::newRow("result file write fails")
        << one << "1組.rlt"
        << "1組.rlt"
        << "保存エラー|結果ﾌｧｲﾙ「<rlt>」を保存できませんでした。\n" + noSpace << one << false;
    QTest::newRow("log write fails") << one << "1組.rlt"
                                     << "ならびん.ini" << logFailed + noSpace << one << true;
    QTest::newRow("log unreadable") << broken << "1組.rlt"
                                    << ""
                                    << logFailed +
                                           "文字コードが正しくありません（Shift_JIS でも UTF-8 でもありません）。|16"
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
    // A log the program makes itself is named in capitals.
    const QString log = logBefore == "<none>" ? QStringLiteral("ならびん.INI") : QStringLiteral("ならびん.ini");
    if (logBefore != "<none>")
        env.writeFile(log, logBefore);
    env.writeFile(QStringLiteral("1組.rlt"), "old chart\r\n");
    if (!fault.isEmpty())
        env.limitWrites(fault, 3);
    ResultWindow *r = shownResult();
    env.platform.saveFiles.enqueue(env.path(fileName));
    TRIGGER(r, "mnuResultSave");

    message.replace(QLatin1String("<rlt>"), QDir::toNativeSeparators(env.path(QStringLiteral("1組.rlt"))));
    message.replace(QLatin1String("<log>"), QDir::toNativeSeparators(env.path(log)));
    QCOMPARE(env.platform.messageLog(), QStringList{message});
    if (written) {
        QCOMPARE(env.readFile(fileName), crlfLines(chart()));
    } else { // nothing written, nothing left over
        QCOMPARE(env.readFile(QStringLiteral("1組.rlt")), QByteArray("old chart\r\n"));
        QCOMPARE(QDir(env.work()).entryList(QDir::Files).size(), 2);
    }
    QCOMPARE(env.readFile(log), logAfter);
}

void TestSeatChange::numberBoxShowsItsEdge_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("background");
    QTest::newRow("the defaults: white on red") << QStringLiteral("&HFFFFFF") << "&HFF";
    QTest::newRow("white on black") << QStringLiteral("&HFFFFFF") << "0";
    QTest::newRow("black on white") << QStringLiteral("0") << "16777215";
    QTest::newRow("grey on grey") << QStringLiteral("&H808080") << "&HA0A0A0";
}

// The number box's line stands out from the window around it, and the box holds the
// text colour, whatever the two colours are.
void TestSeatChange::numberBoxShowsItsEdge()
{
    QFETCH(QString, text);
    QFETCH(QString, background);
    TestEnv env;
    state().CountdownForeColor = text;
    state().CountdownBackColor = background;
    CountdownWindow *w = form<CountdownWindow>();
    w->show();
    const QImage image = w->grab().toImage();
    const QRect box = w->numberBox->geometry();
    const int y = box.center().y();
    const QColor edge = image.pixelColor(box.left(), y);
    const QColor outside = image.pixelColor(box.left() - 2, y);
    const QColor inside = image.pixelColor(box.left() + 4, box.top() + 4);
    QCOMPARE(outside, qcolor(*colorFromText(background)));
    QCOMPARE(inside, qcolor(*colorFromText(text)));
    QVERIFY2(edge != outside, qPrintable(edge.name() + " on " + outside.name()));
    QCOMPARE(image.pixelColor(box.right(), y), edge);
    QCOMPARE(image.pixelColor(box.center().x(), box.top()), edge);
}

void TestSeatChange::exportCsv_data()
{
    QTest::addColumn<QString>("chosen");    // in the dialog; empty: cancelled
    QTest::addColumn<QByteArray>("before"); // of 1組.csv; empty: none
    QTest::addColumn<int>("answer");        // to the question before replacing it
    QTest::addColumn<bool>("fails");        // writing 1組.csv fails after a few bytes
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("written"); // the file holding the chart, if any
    const QString saved = QStringLiteral("保存確認|座席表をCSVﾌｧｲﾙに保存しました。|64");
    const QString replace = QStringLiteral("上書き確認|「<csv>」は既にあります。\n上書きしますか？|289");
    const QByteArray old("old\r\n");
    QTest::newRow("proposed name") << "ならびん結果-20261205.csv" << QByteArray() << IDOK << false << QStringList{saved}
                                   << "ならびん結果-20261205.csv";
    QTest::newRow("a name without extension")
        << "1組" << QByteArray() << IDOK << false << QStringList{saved} << "1組.csv";
    QTest::newRow("replaced when the user agrees")
        << "1組.csv" << old << IDOK << false << QStringList{replace, saved} << "1組.csv";
    QTest::newRow("kept when the user does not") << "1組.csv" << old << IDCANCEL << false << QStringList{replace} << "";
    QTest::newRow("a failed write keeps the old file")
        << "1組.csv" << old << IDOK << true
        << QStringList{replace,
                       "保存エラー|CSVﾌｧｲﾙ「<csv>」を保存できませんでした。\nディスクの空き容量が足りません。|16"}
        << "";
    QTest::newRow("dialog cancelled") << "" << QByteArray() << IDOK << false << QStringList() << "";
}

void TestSeatChange::exportCsv()
{
    QFETCH(QString, chosen);
    QFETCH(QByteArray, before);
    QFETCH(int, answer);
    QFETCH(bool, fails);
    QFETCH(QStringList, messages);
    QFETCH(QString, written);
    TestEnv env;
    loadStartupSettings(QDir::currentPath());
    if (!before.isEmpty())
        env.writeFile(QStringLiteral("1組.csv"), before);
    if (fails)
        env.limitWrites(QStringLiteral("1組.csv"), 3);
    ResultWindow *r = shownResult();
    if (!chosen.isEmpty())
        env.platform.saveFiles.enqueue(env.path(chosen));
    env.platform.answers.enqueue(answer);
    TRIGGER(r, "mnuExportCsv");

    const QList<PlatformCall> dialogs = env.platform.callsOf(QStringLiteral("save"));
    QCOMPARE(dialogs.size(), 1);
    QCOMPARE(dialogs.first().title, QStringLiteral("CSV形式で書き出し"));
    QCOMPARE(dialogs.first().filter, QStringLiteral("CSVファイル (*.csv)|*.csv|すべてのﾌｧｲﾙ(*.*)|*.*"));
    QCOMPARE(dialogs.first().fileName, env.path(QStringLiteral("ならびん結果-20261205.csv")));
    messages.replaceInStrings(QStringLiteral("<csv>"), QDir::toNativeSeparators(env.path(QStringLiteral("1組.csv"))));
    QCOMPARE(env.platform.messageLog(), messages);
    QStringList files = QDir(env.work()).entryList(QDir::Files);
    if (!written.isEmpty()) {
        QCOMPARE(env.readFile(written), chartCsv(Room::standard(), chart()));
        files.removeOne(written);
    }
    if (!before.isEmpty() && written != QStringLiteral("1組.csv")) {
        QCOMPARE(env.readFile(QStringLiteral("1組.csv")), before);
        files.removeOne(QStringLiteral("1組.csv"));
    }
    QCOMPARE(files, QStringList()); // nothing left over
    QVERIFY(r->isVisible());
}

// The chart as the screen shows it, as a picture and as rows a spreadsheet takes.
void TestSeatChange::copyChart_data()
{
    QTest::addColumn<bool>("teacher");
    QTest::addColumn<QString>("text");
    QTest::newRow("pupils' side") << false
                                  << QStringLiteral("\t生徒26\t生徒25\t生徒24\n"
                                                    "生徒23\t生徒22\t生徒21\t生徒20\n"
                                                    "生徒19\t生徒18\t生徒17\t生徒16\n"
                                                    "生徒15\t生徒14\t生徒13\t生徒12\n"
                                                    "生徒11\t生徒10\t生徒9\t生徒8\n"
                                                    "生徒7\t生徒6\t生徒5\t生徒4\n"
                                                    "生徒3\t\t生徒2\t生徒1\n");
    QTest::newRow("from the desk") << true
                                   << QStringLiteral("生徒1\t生徒2\t\t生徒3\n"
                                                     "生徒4\t生徒5\t生徒6\t生徒7\n"
                                                     "生徒8\t生徒9\t生徒10\t生徒11\n"
                                                     "生徒12\t生徒13\t生徒14\t生徒15\n"
                                                     "生徒16\t生徒17\t生徒18\t生徒19\n"
                                                     "生徒20\t生徒21\t生徒22\t生徒23\n"
                                                     "生徒24\t生徒25\t生徒26\t\n");
}

void TestSeatChange::copyChart()
{
    QFETCH(bool, teacher);
    QFETCH(QString, text);
    TestEnv env;
    loadStartupSettings(QDir::currentPath());
    state().OptTeacherView = teacher;
    ResultWindow *r = shownResult();
    QGuiApplication::clipboard()->clear();
    TRIGGER(r, "mnuCopyChart");
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data);
    QCOMPARE(data->text(), text);
    const QImage image = qvariant_cast<QImage>(data->imageData());
    QCOMPARE(image.size(), r->client()->size() * r->devicePixelRatio());
    const QPoint inSeatOne = r->seatBoxes[0]->geometry().topLeft() + QPoint(3, 3);
    QCOMPARE(image.pixelColor(inSeatOne), rgb(192, 192, 192));
    QCOMPARE(image.pixelColor(r->seatBoxes[0]->geometry().topLeft() - QPoint(3, 3)), rgb(128, 128, 128));
    QVERIFY(env.platform.messageLog().isEmpty());
}

void TestSeatChange::chartSides_data()
{
    QTest::addColumn<int>("seat"); // 0: the desk
    QTest::addColumn<bool>("teacher");
    QTest::addColumn<QPoint>("cell");  // column, line; the desk's line only
    QTest::addColumn<QPoint>("place"); // the box's top-left in twips
    QTest::newRow("seat 1: bottom right") << 1 << false << QPoint(3, 6) << QPoint(7215, 5130);
    QTest::newRow("seat 1 from the desk: top left") << 1 << true << QPoint(0, 0) << QPoint(735, 1320);
    QTest::newRow("seat 4: bottom left") << 4 << false << QPoint(0, 6) << QPoint(735, 5130);
    QTest::newRow("seat 4 from the desk: top right") << 4 << true << QPoint(3, 0) << QPoint(7215, 1320);
    QTest::newRow("seat 14") << 14 << false << QPoint(2, 3) << QPoint(5055, 3000);
    QTest::newRow("seat 14 from the desk") << 14 << true << QPoint(1, 3) << QPoint(2895, 3450);
    QTest::newRow("seat 28: top left") << 28 << false << QPoint(0, 0) << QPoint(735, 810);
    QTest::newRow("seat 28 from the desk: bottom right") << 28 << true << QPoint(3, 6) << QPoint(7215, 5640);
    QTest::newRow("the desk below row 1") << 0 << false << QPoint(0, 7) << QPoint(4215, 5670);
    QTest::newRow("the desk above row 1") << 0 << true << QPoint(0, -1) << QPoint(4215, 570);
}

// The grid and the result window's labels, from both sides.
void TestSeatChange::chartSides()
{
    QFETCH(int, seat);
    QFETCH(bool, teacher);
    QFETCH(QPoint, cell);
    QFETCH(QPoint, place);
    TestEnv env;
    loadStartupSettings(QDir::currentPath());
    state().OptTeacherView = teacher;
    const ResultWindow *r = shownResult();
    if (seat == 0) {
        QCOMPARE(deskLine(teacher), cell.y());
        QCOMPARE(r->desk->geometry(), twRect(place.x(), place.y(), 1095, 315));
        return;
    }
    QCOMPARE(seatCell(seat, teacher), (ChartCell{cell.x(), cell.y()}));
    QCOMPARE(r->seatBoxes[size_t(seat - 1)]->geometry(), twRect(place.x(), place.y(), 1575, 345));
    QCOMPARE(r->seatCaptions[size_t(seat - 1)]->geometry(), twRect(place.x() + 420, place.y() - 240, 735, 255));
    QCOMPARE(r->seatCaptions[size_t(seat - 1)]->text(), QStringLiteral("No.%1").arg(seat));
}

void TestSeatChange::teacherViewToggles_data()
{
    QTest::addColumn<QString>("stored"); // before start-up; "<none>": not in the store
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("after"); // in memory and in the store
    QTest::newRow("not stored: on") << "<none>" << true << "1";
    QTest::newRow("on: off") << "1" << true << "0";
    QTest::newRow("any other value is off: on") << "yes" << true << "1";
    QTest::newRow("settings not writable: unchanged") << "<none>" << false << "";
}

void TestSeatChange::teacherViewToggles()
{
    QFETCH(QString, stored);
    QFETCH(bool, writable);
    QFETCH(QString, after);
    TestEnv env;
    const QString before = stored == QLatin1String("<none>") ? QString() : stored;
    if (!before.isEmpty())
        storeBefore(QStringLiteral("OptTeacherView"), before);
    loadStartupSettings(QDir::currentPath());
    QCOMPARE(readSetting(QStringLiteral("OptTeacherView")), before); // start-up writes no default
    ResultWindow *r = shownResult();
    QCOMPARE(r->teacherViewAction->isChecked(), before == QLatin1String("1"));
    if (!writable)
        QVERIFY(lockSettings(env));
    TRIGGER(r, "mnuTeacherView");
    QCOMPARE(env.platform.messageLog().size(), writable ? 0 : 1);
    QCOMPARE(state().OptTeacherView, after == QLatin1String("1"));
    if (writable)
        QCOMPARE(readSetting(QStringLiteral("OptTeacherView")), after);
    QCOMPARE(r->teacherViewAction->isChecked(), after == QLatin1String("1"));
    const QPoint seatOne = after == QLatin1String("1") ? QPoint(735, 1320) : QPoint(7215, 5130);
    QCOMPARE(r->seatBoxes[0]->geometry().topLeft(), twRect(seatOne.x(), seatOne.y(), 0, 0).topLeft());
}

void TestSeatChange::nameLettering_data()
{
    QTest::addColumn<QString>("name");
    // "height": one size larger too tall; "whole": one size larger too tall or cut, whatever the face; "cut"
    QTest::addColumn<QString>("limit");
    QTest::addColumn<QSize>("room");
    const QString longName = QStringLiteral("寿限無寿限無五劫の擦り切れ海砂利水魚の水行末雲来末風来末");
    const QSize wide(400, 60);
    QTest::newRow("short name grows to the box's height") << "森"
                                                          << "height" << wide;
    QTest::newRow("blanks take no room") << QString(40, u' ') + "森 "
                                         << "height" << wide;
    QTest::newRow("14 characters: smaller, whole") << longName.left(14) << "whole" << wide;
    QTest::newRow("30 characters: its beginning at the smallest size") << longName << "cut" << wide;
    // Widths where the name's advance fits while the drawing would cut it.
    for (const int width : {97, 101, 105})
        QTest::addRow("a name that just fits, %d wide", width) << "山田 7郎"
                                                               << "whole" << QSize(width, 32);
}

void TestSeatChange::nameLettering()
{
    QFETCH(QString, name);
    QFETCH(QString, limit);
    QFETCH(QSize, room);
    const int smallest = room.height() / 3;
    QFont font = makeFont(Face::PGothic, 12);
    const NameLettering drawn = letterName(font, name, room, smallest);
    const auto size = [&](int pixels, const QString &text) {
        font.setPixelSize(pixels);
        return QSize(QFontMetrics(font).horizontalAdvance(text), QFontMetrics(font).height());
    };
    const QSize at = size(drawn.pixels, drawn.text), above = size(drawn.pixels + 1, drawn.text);
    QVERIFY2(at.width() <= room.width() && at.height() <= room.height(), qPrintable(QString::number(drawn.pixels)));
    QVERIFY(drawn.pixels >= smallest);
    if (limit == QLatin1String("cut")) {
        QCOMPARE(drawn.pixels, smallest);
        QVERIFY(drawn.text.size() > 10 && drawn.text.endsWith(u'…') && name.startsWith(drawn.text.chopped(1)));
    } else {
        QCOMPARE(drawn.text, name.trimmed());
        // One size larger would be cut as the drawing cuts it.
        font.setPixelSize(drawn.pixels + 1);
        const bool cutAbove = QFontMetrics(font).elidedText(drawn.text, Qt::ElideRight, room.width()) != drawn.text;
        QVERIFY(above.height() > room.height() || (limit == QLatin1String("whole") && cutAbove));
    }
}

void TestSeatChange::fullScreenChart_data()
{
    QTest::addColumn<bool>("teacher");
    QTest::addColumn<int>("key");
    QTest::newRow("pupils' side, Escape") << false << int(Qt::Key_Escape);
    QTest::newRow("from the desk, F11") << true << int(Qt::Key_F11);
}

void TestSeatChange::fullScreenChart()
{
    QFETCH(bool, teacher);
    QFETCH(int, key);
    TestEnv env;
    loadStartupSettings(QDir::currentPath());
    state().OptTeacherView = teacher;
    ResultWindow *r = shownResult();
    QCOMPARE(findAction(r, QStringLiteral("mnuFullScreen"))->shortcut(), QKeySequence(Qt::Key_F11));
    TRIGGER(r, "mnuFullScreen");
    ChartScreen *v = r->fullScreenChart();
    QVERIFY(v);
    QTRY_VERIFY(v->isFullScreen() && v->geometry() == r->screen()->geometry());
    QTRY_COMPARE(QApplication::activeWindow(), v);
    QCOMPARE(v->texts(), chart());
    QCOMPARE(v->teacherView(), teacher);
    // The window's chart, scaled alike in both directions: every box where the window has it.
    const QRect one = v->seatBoxRect(1), windowOne = r->seatBoxes[0]->geometry();
    const qreal scale = qreal(qAbs(v->seatBoxRect(4).center().x() - one.center().x())) /
                        qAbs(r->seatBoxes[3]->geometry().center().x() - windowOne.center().x());
    QVERIFY(scale > 1.2);
    const auto matches = [&](const QRect &shown, const QRect &inWindow) {
        const QPointF expected = one.center() + QPointF(inWindow.center() - windowOne.center()) * scale;
        return (QPointF(shown.center()) - expected).manhattanLength() < 4;
    };
    for (int seat = 2; seat <= SeatCount; ++seat)
        QVERIFY2(matches(v->seatBoxRect(seat), r->seatBoxes[size_t(seat - 1)]->geometry()),
                 qPrintable(QString::number(seat)));
    QVERIFY(matches(v->deskRect(), r->desk->geometry()));
    QCOMPARE(v->deskRect().top() < one.top(), teacher);
    // Short names larger than in the window (12 points, 16 pixels). Long names, put in while the
    // view is open, take sizes of their own, never below the seat numbers'; one that does not
    // fit even so shows its beginning. The window does the same at its fixed size.
    QList<int> before;
    for (int seat = 1; seat <= SeatCount; ++seat)
        before.append(v->seatName(seat).pixels);
    QVERIFY(before.constFirst() > 16);
    QStringList names = chart();
    names[5] = QStringLiteral("寿限無寿限無五劫の擦り切れ海");
    names[9] = names[5] + QStringLiteral("砂利水魚の水行末雲来末風来末");
    r->setSeatTexts(names);
    QCOMPARE(v->texts(), names);
    QFont font = makeFont(Face::PGothic, 12);
    for (int seat = 1; seat <= SeatCount; ++seat) {
        const NameLettering name = v->seatName(seat);
        font.setPixelSize(name.pixels);
        QVERIFY(QFontMetrics(font).horizontalAdvance(name.text) <= v->nameRoom(seat).width());
        QVERIFY(v->seatBoxRect(seat).contains(v->nameRoom(seat)));
        QVERIFY(name.pixels >= v->numberPixels());
        if (seat != 6 && seat != 10)
            QCOMPARE(name.pixels, before.at(seat - 1));
    }
    const NameLettering longest = v->seatName(10);
    QVERIFY(longest.text.endsWith(u'…') && names[9].startsWith(longest.text.chopped(1)));
    auto *box = static_cast<NameLabel *>(r->seatBoxes[9]);
    const QString shown = box->shownText();
    QVERIFY(shown.endsWith(u'…') && names[9].startsWith(shown.chopped(1)));
    const QImage drawnBox = box->grab().toImage();
    box->setText(shown);
    QCOMPARE(box->grab().toImage(), drawnBox);
    // Drawn: the box's grey inside, black around the chart.
    const QImage image = v->grab().toImage();
    QCOMPARE(image.pixelColor(v->seatBoxRect(3).topLeft() + QPoint(4, 4)), rgb(192, 192, 192));
    QCOMPARE(image.pixelColor(2, 2), QColor(Qt::black));

    QTest::keyClick(v, Qt::Key(key));
    QTRY_VERIFY(!r->fullScreenChart());
    QTRY_COMPARE(QApplication::activeWindow(), r);
}

void TestSeatChange::countdownFillsTheScreenUnderTheFullScreenChart()
{
    TestEnv env;
    QPointer<MainWindow> main = mainReadyToRun(env, pupils(28));
    ResultWindow *r = shownResult(); // a past result: the main window stays open behind it
    TRIGGER(r, "mnuFullScreen");
    QTRY_VERIFY(r->fullScreenChart() && r->fullScreenChart()->isFullScreen());
    const auto seen = driveCountdown();
    TRIGGER(main, "mnuFileNarabin");
    QTRY_VERIFY(main.isNull());
    QVERIFY(seen->modal && seen->fullScreen);
    QCOMPARE(seen->ticks, 11);
    const QRect screen = r->screen()->geometry();
    QCOMPARE(seen->geometry, screen);
    // The lettering grown with the window, and on the screen.
    QVERIFY(seen->numberBox.height() > 1.5 * tw(1500) && screen.contains(seen->numberBox));
    QVERIFY(seen->facePoints > 1.5 * 27.75);
    // The new chart where the class looks.
    ChartScreen *v = r->fullScreenChart();
    QVERIFY(v);
    QCOMPARE(sorted(v->texts()), sorted(pupils(28)));
    QCOMPARE(v->texts(), r->seatTexts());
    QTRY_COMPARE(QApplication::activeWindow(), v);
}

QTEST_MAIN(TestSeatChange)
#include "tst_seatchange.moc"
