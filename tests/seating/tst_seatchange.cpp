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

// Restores the clock-seeded source when a test that replaced it ends.
struct SourceGuard {
    ~SourceGuard() { setRunSourceForTests({}); }
};

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
    void visibleTexts();
    void countdownColoursOnActivate_data();
    void countdownColoursOnActivate();
    void runThroughTheWindows_data();
    void runThroughTheWindows();
    void runUsesKeysDrawnAfterTheCountdown();
    void countdownClosedEarlyRunGoesOn();
    void refusedRun_data();
    void refusedRun();
    void seatGrid_data();
    void seatGrid();
    void optPsbarNormalisedOnLoad_data();
    void optPsbarNormalisedOnLoad();
    void loadEnablesPreviousResult();
    void closeCommands_data();
    void closeCommands();
    void save_data();
    void save();
    void saveRefusedOrFailed_data();
    void saveRefusedOrFailed();
    void saveIntoChosenFolderKeepsOneLog();
    void commandsReachTheirTargets();
};

void TestSeatChange::visibleTexts()
{
    TestEnv env;
    WAIT *w = form<WAIT>();
    QStringList texts{w->windowTitle()}; // a blank: an empty title would show the program's name
    for (QLabel *l : {w->Label4, w->Label5, w->Label6, w->Label7, w->Label1, w->Label2, w->Label3})
        texts.append(l->text());
    RESULT *r = form<RESULT>();
    texts << r->windowTitle() << r->Label4->text() << r->StatusBar1->panelText(1);
    QCOMPARE(texts, (QStringList{" ", "今回は、だれの", "隣りかなぁ・・・。(*^_^*)", "＼(^_^)／", "わくわく、どきどき・・・。",
                                 "結果が出るまであと・・・", "10", "秒", "ならびん結果", "教     卓",
                                 "結果に対しては・・・  いつも、(^_^)(^_^)ﾆｺﾆｺ 笑顔で了解"}));
    QCOMPARE(w->cursor().shape(), Qt::WaitCursor);
    QCOMPARE(w->Timer1->interval(), 1000);
}

void TestSeatChange::countdownColoursOnActivate_data()
{
    QTest::addColumn<QString>("back");
    QTest::addColumn<QString>("fore");
    QTest::addColumn<QColor>("backColor");
    QTest::addColumn<QColor>("foreColor");
    QTest::newRow("defaults (&H form)") << "&HFF" << "&HFFFFFF" << QColor(255, 0, 0) << QColor(255, 255, 255);
    QTest::newRow("decimal form") << "16744448" << "65280" << QColor(0, 128, 255) << QColor(0, 255, 0);
    QTest::newRow("not a colour: design colours") << "blue" << "" << QColor(0, 0, 0) << QColor(255, 255, 255);
}

void TestSeatChange::countdownColoursOnActivate()
{
    QFETCH(QString, back);
    QFETCH(QString, fore);
    QFETCH(QColor, backColor);
    QFETCH(QColor, foreColor);
    TestEnv env;
    WAIT *w = form<WAIT>();
    w->Label2->setText(QStringLiteral("4"));
    state().CountdownBackColor = back;
    state().CountdownForeColor = fore;
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(w, &activate);
    QCOMPARE(w->Label2->text(), QStringLiteral("10"));
    QCOMPARE(w->palette().color(QPalette::Window), backColor);
    for (QLabel *l : {w->Label1, w->Label3, w->Label4, w->Label5, w->Label6, w->Label7})
        QCOMPARE(l->palette().color(QPalette::WindowText), foreColor);
    // The number is drawn inverted.
    QCOMPARE(w->Label2->palette().color(QPalette::Window), foreColor);
    QCOMPARE(w->Label2->palette().color(QPalette::WindowText), backColor);
    QVERIFY(w->Label2->autoFillBackground());
}

void TestSeatChange::runThroughTheWindows_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("count");
    QTest::newRow("menu, 28 pupils") << "menu" << 28;
    QTest::newRow("Ctrl+G, 25 pupils") << "Ctrl+G" << 25;
    QTest::newRow("toolbar 8, no pupils") << "toolbar" << 0;
}

void TestSeatChange::runThroughTheWindows()
{
    QFETCH(QString, how);
    QFETCH(int, count);
    TestEnv env;
    QPointer<NARABIN> main = mainReadyToRun(env, pupils(count));
    main->activateWindow();
    QTRY_VERIFY(main->isActiveWindow()); // shortcuts work in the active window
    const auto seen = driveCountdown();
    if (how == QLatin1String("menu"))
        TRIGGER(main, "mnuFileNarabin");
    else if (how == QLatin1String("Ctrl+G"))
        QTest::keyClick(main, Qt::Key_G, Qt::ControlModifier);
    else
        main->Toolbar1->button(8)->click();
    QTRY_VERIFY(isLoaded<RESULT>());

    // The countdown, tick by tick, closing itself on the tick that finds 0.
    QVERIFY(seen->modal);
    QVERIFY(seen->timerRunning);
    QCOMPARE(seen->ticks, 11);
    QCOMPARE(seen->numbers, (QStringList{"10", "9", "8", "7", "6", "5", "4", "3", "2", "1", "0"}));
    // Full-width ＼／, U+3000 and ASCII spaces and the ASCII backslash, exactly.
    QCOMPARE(seen->faces, (QStringList{"＼(^_^)／", "\u3000o(^_^)／", "\u3000o(^_^)o", "＼(^_^)\\", "＼(^_^)／",
                                       "\u3000\\(^_^)／", "\u3000o(^_^)o", "＼(^_^)o", "\u3000o(^_^)／", " (^_^;)",
                                       " (;ﾟoﾟ)"}));
    QCOMPARE(seen->bars, (QList<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
    RESULT *result = loadedForm<RESULT>();
    QVERIFY(result->isVisible() && !result->isModal());
    QTRY_VERIFY(main.isNull());
    // Without conditions seat k gets the k-th name of the shuffled roster.
    QStringList expected;
    for (int k = 1; k <= 28; ++k)
        expected.append(k <= count ? state().PupilNames[size_t(k)] : QString());
    QCOMPARE(result->seatTexts(), expected);
    QCOMPARE(sorted(expected.mid(0, count)), sorted(pupils(count)));
    QVERIFY(env.platform.messageLog().isEmpty());
}

void TestSeatChange::runUsesKeysDrawnAfterTheCountdown()
{
    TestEnv env;
    SourceGuard guard;
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
    QCOMPARE(state().PupilNames[1], QStringLiteral("加藤"));
    QCOMPARE(state().PupilNames[4], QStringLiteral("佐藤"));
}

void TestSeatChange::countdownClosedEarlyRunGoesOn()
{
    TestEnv env;
    NARABIN *main = mainReadyToRun(env, pupils(3));
    const auto first = driveCountdown(3);
    TRIGGER(main, "mnuFileNarabin");
    QTRY_VERIFY(isLoaded<RESULT>());
    QCOMPARE(first->numbers, (QStringList{"10", "9", "8", "7"}));
    QCOMPARE(first->bars.last(), 30);

    // The next countdown starts with an empty bar and fills it from the first tick.
    unload<RESULT>();
    const auto second = driveCountdown(1);
    seatChangeRunCommand();
    QTRY_VERIFY(isLoaded<RESULT>());
    QCOMPARE(second->bars, (QList<int>{0, 10}));
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
    QVERIFY(state().PupilNames == before.PupilNames);
    QVERIFY(state().SeatResult == before.SeatResult);
}

void TestSeatChange::seatGrid_data()
{
    // Seat numbers grow from right to left and from the front (next to the desk) to the back.
    QTest::addColumn<int>("seat");
    QTest::addColumn<QRect>("box");
    QTest::newRow("seat 1, front right") << 1 << twRect(7215, 5130, 1575, 345);
    QTest::newRow("seat 4, front left") << 4 << twRect(735, 5130, 1575, 345);
    QTest::newRow("seat 11, row 3") << 11 << twRect(2895, 3690, 1575, 345);
    QTest::newRow("seat 28, back left") << 28 << twRect(735, 810, 1575, 345);
}

void TestSeatChange::seatGrid()
{
    QFETCH(int, seat);
    QFETCH(QRect, box);
    TestEnv env;
    RESULT *r = form<RESULT>();
    QStringList seats(28);
    seats[seat - 1] = QStringLiteral("ここ");
    r->setSeatTexts(seats);
    QLabel *name = r->findChild<QLabel *>(QStringLiteral("Label3_%1").arg(seat - 1));
    QCOMPARE(name->text(), QStringLiteral("ここ"));
    QCOMPARE(name->geometry(), box);
    // Its number just above it.
    QLabel *caption = r->Label1[size_t(seat - 1)];
    QCOMPARE(caption->text(), QStringLiteral("No.%1").arg(seat));
    QCOMPARE(caption->y(), box.y() - tw(240));
    QVERIFY(qAbs(caption->geometry().center().x() - box.center().x()) <= 1);
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
    QCOMPARE(state().OptPsbar, inMemory);
    QCOMPARE(r->mnuPrintStatusBar->isChecked(), inMemory == QLatin1String("1"));
    QCOMPARE(readSetting(QStringLiteral("OptPsbar")), QStringLiteral("untouched"));
    // The menu item toggles it and stores it.
    const QString toggled = inMemory == QLatin1String("1") ? QStringLiteral("0") : QStringLiteral("1");
    TRIGGER(r, "mnuPrintStatusBar");
    QCOMPARE((QStringList{state().OptPsbar, readSetting(QStringLiteral("OptPsbar"))}), (QStringList{toggled, toggled}));
    QCOMPARE(r->mnuPrintStatusBar->isChecked(), toggled == QLatin1String("1"));
}

void TestSeatChange::loadEnablesPreviousResult()
{
    TestEnv env;
    loadStartupSettings(QDir::currentPath());
    // No main window open and no roster: none is created.
    RESULT *r = form<RESULT>();
    QVERIFY(!isLoaded<NARABIN>());
    QCOMPARE(state().ResultShown, 1);
    // The clock in the status bar moves on.
    env.setNow(QDateTime(QDate(2027, 3, 9), QTime(0, 5)));
    r->Timer1_Timer();
    QCOMPARE((QStringList{r->StatusBar1->panelText(2), r->StatusBar1->panelText(3)}),
             (QStringList{"2027/03/09", "午前 12:05"}));
    unload<RESULT>();

    // With a roster file the main window is made, unseen, with the previous result on.
    state().ResultShown = 0;
    state().RosterFileName = env.path(QStringLiteral("1組.mem"));
    form<RESULT>();
    NARABIN *main = loadedForm<NARABIN>();
    QVERIFY(main && !main->isVisible());
    QVERIFY(main->mnuResult->isEnabled());
    QCOMPARE(state().ResultShown, 1);
}

void TestSeatChange::closeCommands_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("roster");
    for (const char *how : {"mnuOK", "toolbar 3", "close box"}) {
        QTest::addRow("%s, roster open", how) << QString::fromLatin1(how) << true;
        QTest::addRow("%s, no roster", how) << QString::fromLatin1(how) << false;
    }
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
    QVERIFY(main && main->isVisible());
    QVERIFY(main->mnuResult->isEnabled());
    // The log's one entry, listed once (with its separator).
    QCOMPARE(main->mnuFileArray.size(), size_t(2));
    QVERIFY(env.platform.messageLog().isEmpty()); // the main window's quit question is not asked
    QCOMPARE(env.platform.quitCount, 0);
}

void TestSeatChange::save_data()
{
    QTest::addColumn<QByteArray>("logBefore"); // "<none>": no log file
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("logAfter");
    QTest::newRow("no log") << QByteArray("<none>") << "1組.rlt" << crlfLines({"1組.rlt"});
    QTest::newRow("empty log") << QByteArray() << "1組.rlt" << crlfLines({"1組.rlt"});
    QTest::newRow("14 names become 15") << crlfLines(numberedNames(1, 14)) << "new.rlt"
                                       << crlfLines(numberedNames(1, 14) << "new.rlt");
    QTest::newRow("15 names stay 15") << crlfLines(numberedNames(1, 15)) << "new.rlt"
                                     << crlfLines(numberedNames(2, 15) << "new.rlt");
    QTest::newRow("hand-edited 17 names keep the newest 15")
        << crlfLines(numberedNames(1, 17)) << "new.rlt" << crlfLines(numberedNames(4, 17) << "new.rlt");
    QTest::newRow("same name twice") << crlfLines({"1組.rlt"}) << "1組.rlt" << crlfLines({"1組.rlt", "1組.rlt"});
    QTest::newRow("name with a comma is written whole") << QByteArray() << "1組,2組.rlt" << crlfLines({"1組,2組.rlt"});
    QTest::newRow("no extension added") << QByteArray() << "席替え" << crlfLines({"席替え"});
}

void TestSeatChange::save()
{
    QFETCH(QByteArray, logBefore);
    QFETCH(QString, fileName);
    QFETCH(QByteArray, logAfter);
    TestEnv env;
    loadStartupSettings(QDir::currentPath());
    if (logBefore != "<none>")
        env.writeFile(QStringLiteral("ならびん.ini"), logBefore);
    RESULT *r = shownResult();
    env.platform.saveFiles.enqueue(env.path(fileName));
    TRIGGER(r, "mnuResultSave");

    const QList<PlatformCall> dialogs = env.platform.callsOf(QStringLiteral("save"));
    QCOMPARE(dialogs.size(), 1);
    QCOMPARE(dialogs[0].title, QStringLiteral("ならびん結果の保存"));
    QCOMPARE(dialogs[0].filter, QStringLiteral("結果ﾌｧｲﾙ(*.RLT)|*.RLT|旧結果ﾌｧｲﾙ(*.DAT)|*.DAT|すべてのﾌｧｲﾙ(*.*)|*.*"));
    QCOMPARE(env.readFile(fileName), crlfLines(chart()));
    // A new log is created as "ならびん.INI"; an existing one keeps its name. One log either way.
    const QStringList logs = QDir(env.work()).entryList({QStringLiteral("ならびん.*")}, QDir::Files);
    QCOMPARE(logs, QStringList{logBefore == "<none>" ? "ならびん.INI" : "ならびん.ini"});
    QCOMPARE(env.readFile(logs.constFirst()), logAfter);
    QCOMPARE(state().ResultSaveFileName, fileName);
    QCOMPARE(env.platform.messageLog(), QStringList{"保存確認|ならびん結果を保存しました。|64"});
    QVERIFY(!isLoaded<RESULT>());
    QVERIFY(loadedForm<NARABIN>() && loadedForm<NARABIN>()->isVisible());
}

void TestSeatChange::saveRefusedOrFailed_data()
{
    QTest::addColumn<QString>("fileName"); // empty: the dialog is cancelled
    QTest::addColumn<QString>("fault");    // a file whose write fails after a few bytes, or "broken log"
    QTest::addColumn<QString>("message");  // %1 the result file, %2 the log
    QTest::addColumn<QByteArray>("resultAfter");
    const QString noSpace = QStringLiteral("ディスクの空き容量が足りないか、書き込めない状態です。（No space left on device）|16");
    const QString logFailed = QStringLiteral("保存エラー|結果ﾌｧｲﾙ「%1」は保存しましたが、過去ﾛｸﾞ「%2」に記録できませんでした。\n");
    QTest::newRow("dialog cancelled") << "" << "" << "" << QByteArray("old chart\r\n");
    QTest::newRow("the log itself")
        << "ならびん.INI" << "" << "保存エラー|「ならびん.INI」は過去ﾛｸﾞのﾌｧｲﾙです。結果は別の名前で保存して下さい。|16"
        << QByteArray("old chart\r\n");
    QTest::newRow("a name the log cannot hold")
        << "1組\U0001F600.rlt" << ""
        << "保存エラー|ﾌｧｲﾙ名「1組\U0001F600.rlt」には過去ﾛｸﾞに記録できない文字が含まれています。別の名前で保存して下さい。|16"
        << QByteArray("old chart\r\n");
    QTest::newRow("result file write fails") << "1組.rlt" << "1組.rlt"
                                             << "保存エラー|結果ﾌｧｲﾙ「%1」を保存できませんでした。\n" + noSpace
                                             << QByteArray("old chart\r\n");
    QTest::newRow("log write fails") << "1組.rlt" << "ならびん.ini" << logFailed + noSpace << crlfLines(chart());
    QTest::newRow("log unreadable") << "1組.rlt" << "broken log"
                                    << logFailed + "文字コードが正しくありません（Shift_JIS でも UTF-8 でもありません）。|16"
                                    << crlfLines(chart());
}

void TestSeatChange::saveRefusedOrFailed()
{
    QFETCH(QString, fileName);
    QFETCH(QString, fault);
    QFETCH(QString, message);
    QFETCH(QByteArray, resultAfter);
    TestEnv env;
    const QByteArray log = fault == QLatin1String("broken log") ? QByteArray("\x82\xff\x81\x00garbage", 11)
                                                                 : crlfLines({"a.rlt"});
    env.writeFile(QStringLiteral("ならびん.ini"), log);
    env.writeFile(QStringLiteral("1組.rlt"), "old chart\r\n");
    if (fault.endsWith(QLatin1String(".rlt")) || fault.endsWith(QLatin1String(".ini")))
        setWriteFaultForTests(fault, 3);
    RESULT *r = shownResult();
    if (!fileName.isEmpty())
        env.platform.saveFiles.enqueue(env.path(fileName));
    TRIGGER(r, "mnuResultSave");
    const QString expected = message.contains(QLatin1String("%2"))
                                 ? message.arg(env.path(QStringLiteral("1組.rlt")), env.path(QStringLiteral("ならびん.ini")))
                                 : message.contains(QLatin1String("%1")) ? message.arg(env.path(QStringLiteral("1組.rlt")))
                                                                         : message;
    QCOMPARE(env.platform.messageLog(), message.isEmpty() ? QStringList() : QStringList{expected});
    QCOMPARE(env.readFile(QStringLiteral("1組.rlt")), resultAfter);
    QCOMPARE(env.readFile(QStringLiteral("ならびん.ini")), log);
    QCOMPARE(QDir(env.work()).entryList(QDir::Files).size(), 2);
    QVERIFY(isLoaded<RESULT>() && r->isVisible());
    QVERIFY(!isLoaded<NARABIN>());
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
    QCOMPARE(QDir(env.path(QStringLiteral("結果"))).entryList(QDir::Files).size(), 2);
    QCOMPARE(env.readFile(QStringLiteral("ならびん.ini")), crlfLines({"elsewhere.rlt"}));
    // The main window made afresh lists the log of the folder now current.
    QCOMPARE(findAction(loadedForm<NARABIN>(), QStringLiteral("mnuFileArray_2"))->text(), QStringLiteral("new.RLT"));
}

void TestSeatChange::commandsReachTheirTargets()
{
    TestEnv env;
    loadStartupSettings(QDir::currentPath());
    RESULT *r = shownResult();
    r->activateWindow();
    QTRY_VERIFY(r->isActiveWindow());
    QTest::keyClick(r, Qt::Key_F1);
    TRIGGER(r, "mnuHelpContext_KeyWord_1");
    r->Toolbar1->button(8)->click();
    QCOMPARE(helpCalls(env), (QList<int>{HELP_PARTIALKEY, 0, HELP_CONTEXT, 46, HELP_CONTEXT, 46}));
    QCOMPARE(env.platform.callsOf(QStringLiteral("help")).constFirst().text, state().HelpFilePath);
    QVERIFY(showsVersion([r] { findAction(r, QStringLiteral("mnuVersion"))->trigger(); }));
    QVERIFY(showsVersion([r] { r->Toolbar1->button(7)->click(); }));
    // Printing asks for a printer (none queued: cancelled); the option item opens its dialog.
    TRIGGER(r, "mnuPrint");
    r->Toolbar1->button(5)->click();
    QCOMPARE(env.platform.callsOf(QStringLiteral("print")).size(), 2);
    TRIGGER(r, "mnuNoPrintLine");
    QVERIFY(isLoaded<NOPLINE>());
    QVERIFY(env.platform.messageLog().isEmpty());
}

QTEST_MAIN(TestSeatChange)
#include "tst_seatchange.moc"
