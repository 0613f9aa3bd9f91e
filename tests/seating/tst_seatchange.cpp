// The countdown, the seat-change run through the windows, and the result window.
#include "core/chartexport.h"
#include "core/chartgrid.h"
#include "core/repeatavoidance.h"
#include "core/settings.h"
#include "seating/chartscreen.h"
#include "seating/resultwindow.h"
#include "seating/rulelist.h"
#include "seatingfixture.h"
#include "support/mainfixtures.h"
#include "widgets/mainwindowstate.h"
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

} // namespace

class TestSeatChange : public QObject
{
    Q_OBJECT

private slots:
    void runWithRules_data();
    void runWithRules();
    void swapByHand_data();
    void swapByHand();
    void save_data();
    void save();
    void optionToggles_data();
    void optionToggles();
    void nameLettering_data();
    void nameLettering();
    void fullScreenChart_data();
    void fullScreenChart();
};

void TestSeatChange::runWithRules_data()
{
    QTest::addColumn<QStringList>("roster");
    QTest::addColumn<SeatMap>("conditions");
    QTest::addColumn<Rules>("rules");
    QTest::addColumn<QString>("previous"); // the last chart; OptNoSameSeat is on with one
    QTest::addColumn<int>("answer");       // to a refusal; 0: the run is not refused
    QTest::addColumn<QStringList>("messages");
    // Drawn by the test clock's seed, as name:desk; charts the rules leave equally good split
    // by "|"; none where only the messages tell.
    QTest::addColumn<QString>("chart");
    using K = Rule::Kind;
    const QStringList two{"生徒1", "生徒2"};
    const QString badConditions =
        QStringLiteral("実行確認|座席の条件に誤りがあります。条件設定の変更で条件を設定し直して下さい。|16");
    for (const auto &[tag, roster, conditions] :
         {std::tuple{"designated name not in the roster", pupils(3), SeatMap{{4, "鈴木"}}},
          std::tuple{"designated name twice in the roster", QStringList{"生徒1", "生徒1"}, SeatMap{{4, "生徒1"}}},
          std::tuple{"one name on two seats", pupils(3), SeatMap{{2, "生徒2"}, {9, "生徒2"}}},
          std::tuple{"more empty seats than room", pupils(3), emptySeats(1, 26)}})
        QTest::newRow(tag) << roster << conditions << Rules{} << "" << IDOK << QStringList{badConditions} << "";
    QTest::newRow("no rules") << pupils(28) << SeatMap{} << Rules{} << "" << 0 << QStringList() << "";
    // 生徒1 pinned to desk 1 and every desk but 2 empty: 生徒2 has no other desk.
    SeatMap pinned = emptySeats(3, 28);
    pinned[1] = two.at(0);
    QTest::newRow("no rules, a repeat no chart avoids")
        << two << pinned << Rules{} << "生徒1:1,生徒2:2" << 0
        << QStringList{"ならびん君 for Windows|前回と同じ席になった人がいます。\r生徒2|64"} << "";
    const QString ask = QStringLiteral("\r条件を見直しますか？|17");
    QTest::newRow("five in the four desks of a row: rules opened")
        << pupils(5) << SeatMap{} << Rules{ruleOf(K::Zone, pupils(5))} << "" << IDOK
        << QStringList{"実行確認|前1列に5人を指定しましたが、前1列の席は4席です。" + ask} << "";
    QTest::newRow("apart and side by side: cancelled")
        << pupils(4) << SeatMap{} << Rules{ruleOf(K::Apart, two), ruleOf(K::SideBySide, two)} << "" << IDCANCEL
        << QStringList{"実行確認|「生徒1と生徒2を2席以上離す」と「生徒1と生徒2を隣に」 が両立しません。" + ask} << "";
    // Only a derangement of the three desks has no repeat.
    QTest::newRow("repeats avoided") << pupils(3) << SeatMap{} << Rules{ruleOf(K::Zone, pupils(3), true, 1, {1, 2, 3})}
                                     << "生徒1:1,生徒2:2,生徒3:3" << 0 << QStringList()
                                     << "生徒2:1,生徒3:2,生徒1:3|生徒3:1,生徒1:2,生徒2:3";
    QTest::newRow("a wish no chart keeps, a repeat no chart avoids")
        << pupils(5) << SeatMap{} << Rules{ruleOf(K::Zone, pupils(5), false), ruleOf(K::Zone, {"生徒1"}, true, 1, {1})}
        << "生徒1:1" << 0
        << QStringList{"ならびん君 for Windows|できればの条件のうち、次の条件は守れませんでした。\r"
                       "「生徒1・生徒2・生徒3・生徒4・生徒5を前1列に」\r前回と同じ席になった人がいます。\r生徒1|64"}
        << "";
}

// The run, with rules and without. Rules are drawn before the countdown: conditions or rules
// that cannot hold start none and change nothing.
void TestSeatChange::runWithRules()
{
    QFETCH(QStringList, roster);
    QFETCH(SeatMap, conditions);
    QFETCH(Rules, rules);
    QFETCH(QString, previous);
    QFETCH(int, answer);
    QFETCH(QStringList, messages);
    QFETCH(QString, chart);
    TestEnv env;
    if (!rules.isEmpty() && env.services.solverLibrary.isEmpty())
        QSKIP("the rules solver is not built here (NARABIN_SOLVER=OFF)");
    QPointer<MainWindow> main = mainReadyToRun(env, roster, conditions);
    ClassModel &c = state().openClass;
    c.rules = rules;
    state().OptNoSameSeat = !previous.isEmpty();
    if (!previous.isEmpty()) {
        // A roster without a file: last time is this process's last run of it.
        state().RosterFileName.clear();
        state().LastCharts.insert(rosterKey(c.pupils, c.room), chartOf(previous));
    }
    if (answer)
        c.chart[4] = ChartDesk::fromText(QStringLiteral("前回"));
    const ClassModel before = c;
    state().CountdownBackColor = QStringLiteral("&HFF"); // red, as the setting writes colours
    env.platform.answers.enqueue(answer);
    const auto seen = driveCountdown();
    const auto rulesShown = std::make_shared<int>(-1); // -1: not looked yet
    whenModal([rulesShown] {
        *rulesShown = isLoaded<RuleList>();
        unload<RuleList>();
    });
    TRIGGER(main, "mnuFileNarabin");
    QTRY_COMPARE(env.platform.messageLog(), messages);
    if (!messages.isEmpty()) // said over the window the teacher looks at
        QCOMPARE(env.platform.callsOf(QStringLiteral("message")).constFirst().owner.data(),
                 answer ? static_cast<QWidget *>(main.data()) : loadedForm<ResultWindow>());
    if (answer) {
        QCOMPARE(seen->ticks, 0);
        QVERIFY(state().openClass == before && !isLoaded<ResultWindow>());
        QVERIFY(main->isVisible() && !main->previousResultAction->isEnabled());
        QTRY_COMPARE(*rulesShown, int(answer == IDOK && !rules.isEmpty()));
        return;
    }
    // The countdown, tick by tick, closing itself on the tick that finds 0.
    QVERIFY(seen->modal && seen->timerRunning && !seen->fullScreen);
    QCOMPARE(seen->colours, QList<QColor>({Qt::white, Qt::red})); // the number's box, around it
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
    // The roster, shuffled, in the order they sit.
    QCOMPARE(c.pupils, shown.filter(QRegularExpression(QStringLiteral("\\S"))));
    QVERIFY(sorted(c.pupils) == sorted(roster) && (c.pupils != roster || roster.size() < 3));
}

void TestSeatChange::swapByHand_data()
{
    // "drag <from> <to>", or a desk to focus ("-": where the window put the focus) and the keys pressed
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("rules");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("told"); // a message, else the first status panel; "": as it always reads
    // 生徒3 pinned to desk 3, desk 5 kept empty; 生徒1 must sit in the front row, 生徒2 should.
    const QString chart = QStringLiteral("生徒1:1,生徒2:2,生徒3:3,生徒4:6");
    const QString refused = QStringLiteral("席の入れ替え|この入れ替えは「必ず」の条件「%1」を守れません。|48");
    const auto row = [](const char *tag, const char *steps, const QString &after, const QString &told = {},
                        bool rules = true) {
        QTest::newRow(tag) << QString::fromUtf8(steps) << rules << after << told;
    };
    row("drag: two pupils", "drag 1 2", "生徒2:1,生徒1:2,生徒3:3,生徒4:6");
    row("drag onto a free desk", "drag 6 10", "生徒1:1,生徒2:2,生徒3:3,生徒4:10");
    row("keys from the first desk", "- Space Left Return", "生徒2:1,生徒1:2,生徒3:3,生徒4:6");
    row("keys: a wish broken", "6 Space Down Return", "生徒1:1,生徒4:2,生徒3:3,生徒2:6");
    row("keys: picked up", "6 Space", chart, "No.6 生徒4 を移します。移す先で Space か Enter、やめるときは Esc。");
    row("keys: Esc", "6 Space Left Escape", chart);
    row("a must rule", "drag 1 7", chart, refused.arg("生徒1を前1列に"));
    row("a desk kept empty", "6 Space Up Right Down Return", chart, refused.arg("No.5を空席に"));
    row("no rules", "drag 1 7", "生徒2:2,生徒3:3,生徒4:6,生徒1:7", {}, false);
}

void TestSeatChange::swapByHand()
{
    QFETCH(QString, steps);
    QFETCH(bool, rules);
    QFETCH(QString, after);
    QFETCH(QString, told);
    TestEnv env;
    loadStartupSettings(QDir::currentPath());
    putRoster(state(), pupils(4), {{3, "生徒3"}, {5, "-"}});
    ClassModel &c = state().openClass;
    const QStringList before = chartOf(QStringLiteral("生徒1:1,生徒2:2,生徒3:3,生徒4:6, :5")); // desk 5 kept empty
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
    const QStringList expected = chartOf(after + QStringLiteral(", :5"));
    QCOMPARE(r->seatTexts(), expected);
    QCOMPARE(chartTexts(c.chart), expected);
    QCOMPARE(r->fullScreenChart()->texts(), expected);
    const bool message = told.contains(u'|');
    QCOMPARE(r->statusPanels->panelText(1), told.isEmpty() || message ? resultStatusText() : told);
    QCOMPARE(env.platform.messageLog(), message ? QStringList{told} : QStringList());
    QCOMPARE(state().LastCharts.value(rosterKey(c.pupils, c.room)), expected);
}

void TestSeatChange::save_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QByteArray>("logBefore");
    QTest::addColumn<QString>("chosen"); // in the dialog; empty: cancelled
    QTest::addColumn<int>("answer");     // to the question before replacing a CSV file
    // <old> 1組.rlt or 1組.csv, there before; <log> the log. A reason of a full disk: the log or
    // the CSV file fills it.
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("written");     // the file holding the chart, if any
    QTest::addColumn<QByteArray>("logAfter"); // empty: as before
    const auto row = [](const char *tag, const QByteArray &log, const QString &chosen, const QStringList &messages,
                        const QString &written, const QByteArray &after = {}, const char *item = "mnuResultSave",
                        int answer = IDOK) {
        QTest::newRow(tag) << item << log << chosen << answer << messages << written << after;
    };
    const QString saved = QStringLiteral("保存確認|ならびん結果を保存しました。|64"),
                  full("ディスクの空き容量が足りません。|16");
    const QString logFailed =
        QStringLiteral("保存エラー|結果ﾌｧｲﾙ「<old>」は保存しましたが、過去ﾛｸﾞ「<log>」に記録できませんでした。\n");
    const QString refused = QStringLiteral("保存エラー|ﾌｧｲﾙ名「%1」には過去ﾛｸﾞに記録できない文字%2が含まれています。"
                                           "別の名前で保存して下さい。|16");
    const QByteArray one = crlfLines({"1組.rlt"}), broken("\x82\xff\x81\x00garbage", 11);
    row("empty log", {}, "1組.rlt", {saved}, "1組.rlt", one);
    row("14 names become 15", crlfLines(numberedNames(1, 14)), "new.rlt", {saved}, "new.rlt",
        crlfLines(numberedNames(1, 14) << "new.rlt"));
    row("15 names stay 15", crlfLines(numberedNames(1, 15)), "new.rlt", {saved}, "new.rlt",
        crlfLines(numberedNames(2, 15) << "new.rlt"));
    row("same name twice", one, "1組.rlt", {saved}, "1組.rlt", crlfLines({"1組.rlt", "1組.rlt"}));
    // In quotes, so that the log reads it as one name.
    row("name with a comma is logged in quotes", {}, "1組,2組.rlt", {saved}, "1組,2組.rlt",
        crlfLines({"\"1組,2組.rlt\""}));
    row("a name with a double quote", one, "1\"組.rlt", {refused.arg("1\"組.rlt", "（\"）")}, "");
    row("a name the log cannot hold", one, "1組\U0001F600.rlt", {refused.arg("1組\U0001F600.rlt", "")}, "");
    row("the log itself", one, "ならびん.INI",
        {"保存エラー|「ならびん.INI」は過去ﾛｸﾞのﾌｧｲﾙです。結果は別の名前で保存して下さい。|16"}, "");
    row("log write fails", one, "1組.rlt", {logFailed + full}, "1組.rlt");
    row("log unreadable", broken, "1組.rlt",
        {logFailed + "文字コードが正しくありません（Shift_JIS でも UTF-8 でもありません）。|16"}, "1組.rlt");
    // CSV: a name gets the extension; replacing a file asks first.
    const char *csv = "mnuExportCsv";
    const QString csvSaved = QStringLiteral("保存確認|座席表をCSVﾌｧｲﾙに保存しました。|64");
    const QString replace = QStringLiteral("上書き確認|「<old>」は既にあります。\n上書きしますか？|289");
    row("CSV: a name without extension", {}, "2組", {csvSaved}, "2組.csv", {}, csv);
    row("CSV: replaced when the user agrees", {}, "1組.csv", {replace, csvSaved}, "1組.csv", {}, csv);
    row("CSV: kept when the user does not", {}, "1組.csv", {replace}, "", {}, csv, IDCANCEL);
    row("CSV: a failed write keeps the old file", {}, "1組.csv",
        {replace, "保存エラー|CSVﾌｧｲﾙ「<old>」を保存できませんでした。\n" + full}, "", {}, csv);
    row("CSV: dialog cancelled", {}, "", {}, "", {}, csv);
}

// Saving the result, logged in the past log, and writing it as CSV: the chart's bytes, or the
// old file as it was and nothing left over.
void TestSeatChange::save()
{
    QFETCH(QString, item);
    QFETCH(QByteArray, logBefore);
    QFETCH(QString, chosen);
    QFETCH(int, answer);
    QFETCH(QStringList, messages);
    QFETCH(QString, written);
    QFETCH(QByteArray, logAfter);
    TestEnv env;
    loadStartupSettings(QDir::currentPath());
    const bool csv = item == QLatin1String("mnuExportCsv");
    const QString log = QStringLiteral("ならびん.ini"),
                  old = csv ? QStringLiteral("1組.csv") : QStringLiteral("1組.rlt");
    env.writeFile(log, logBefore);
    env.writeFile(old, "old\r\n");
    if (messages.join(u'|').contains(QStringLiteral("空き容量")))
        env.limitWrites(csv ? old : log, 3);
    ResultWindow *r = shownResult();
    if (!chosen.isEmpty())
        env.platform.saveFiles.enqueue(env.path(chosen));
    env.platform.answers.enqueue(answer);
    findAction(r, item)->trigger();

    const PlatformCall dialog = env.platform.callsOf(QStringLiteral("save")).value(0);
    if (csv) // titled and filtered, offering a dated name
        QCOMPARE(dialog.title + u'|' + dialog.filter + u'|' + dialog.fileName,
                 "CSV形式で書き出し|CSVファイル (*.csv)|*.csv|すべてのﾌｧｲﾙ(*.*)|*.*|" +
                     env.path("ならびん結果-20261205.csv"));
    messages.replaceInStrings(QStringLiteral("<old>"), QDir::toNativeSeparators(env.path(old)));
    QCOMPARE(env.platform.messageLog().replaceInStrings(QDir::toNativeSeparators(env.path(log)), "<log>"), messages);
    QStringList files = QDir(env.work()).entryList(QDir::Files);
    if (!written.isEmpty()) {
        QCOMPARE(env.readFile(written), csv ? chartCsv(Room::standard(), chart()) : crlfLines(chart()));
        files.removeOne(written);
    }
    if (written != old) {
        QCOMPARE(env.readFile(old), QByteArray("old\r\n"));
        files.removeOne(old);
    }
    QCOMPARE(env.readFile(log), logAfter.isEmpty() ? logBefore : logAfter);
    files.removeOne(log);
    QCOMPARE(files, QStringList()); // nothing left over
    // Saved and logged: the window makes way for the main window, which lists the log once.
    QCOMPARE(r->isVisible(), logAfter.isEmpty());
    if (!logAfter.isEmpty()) {
        const MainWindow *main = loadedForm<MainWindow>();
        QVERIFY(main && main->isVisible() && main->previousResultAction->isEnabled());
        QCOMPARE(pastLogItems(main).size(), logAfter.count('\n'));
    }
}

void TestSeatChange::optionToggles_data()
{
    QTest::addColumn<QString>("item");   // and the setting it stores
    QTest::addColumn<QString>("stored"); // before start-up; "<none>": not in the store
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("on"); // afterwards, in the menu and in the store
    const auto row = [](const char *tag, const char *item, const char *stored, bool on, bool writable = true) {
        QTest::newRow(tag) << QString::fromLatin1(item) << QString::fromLatin1(stored) << writable << on;
    };
    const char *view = "mnuTeacherView OptTeacherView", *bar = "mnuPrintStatusBar OptPsbar";
    row("teacher view not stored: on", view, "<none>", true);
    row("teacher view on: off", view, "1", false);
    row("teacher view, any other value is off: on", view, "yes", true);
    row("settings not writable: unchanged", view, "<none>", false, false);
    row("status bar off: on", bar, "0", true);
    row("status bar, any other value is on: off", bar, "0 ", false);
    row("fit to page off: on", "mnuFitToPage OptFitToPage", "0", true);
}

// Each option of the result window's menu: read at start-up, turned by its item, stored at once.
void TestSeatChange::optionToggles()
{
    QFETCH(QString, item);
    QFETCH(QString, stored);
    QFETCH(bool, writable);
    QFETCH(bool, on);
    TestEnv env;
    const QString key = item.section(u' ', 1);
    item = item.section(u' ', 0, 0);
    if (stored != QLatin1String("<none>"))
        storeBefore(key, stored);
    loadStartupSettings(QDir::currentPath());
    ResultWindow *r = shownResult();
    QAction *action = findAction(r, item);
    QCOMPARE(action->isChecked(), writable ? !on : on);
    if (!writable)
        QVERIFY(lockSettings(env));
    TRIGGER(r, "mnuFullScreen"); // the projector's chart turns with the window's
    action->trigger();
    QCOMPARE(env.platform.messageLog(),
             writable ? QStringList()
                      : QStringList{SettingsNotSaved.arg(QDir::toNativeSeparators(env.settingsFile()))});
    QCOMPARE(action->isChecked(), on);
    if (writable)
        QCOMPARE(readSetting(key), on ? QStringLiteral("1") : QStringLiteral("0"));
    // The chart turned with the option, where the layout puts it.
    const bool turned = on && key == QLatin1String("OptTeacherView");
    QCOMPARE(r->seatBoxes[13]->geometry(), twRect(seatBoxTwips(14, turned)));
    QCOMPARE(r->desk->geometry(), twRect(deskTwips(turned)));
    QCOMPARE(r->fullScreenChart()->teacherView(), turned);
    // Copied as the screen shows it: rows a spreadsheet takes, and the picture.
    TRIGGER(r, "mnuCopyChart");
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(data->text(), chartClipboardText(Room::standard(), chart(), turned));
    QCOMPARE(qvariant_cast<QImage>(data->imageData()).size(), r->client()->size() * r->devicePixelRatio());
}

void TestSeatChange::nameLettering_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("room");
    QTest::newRow("short name grows to the box's height") << "森" << QSize(400, 60);
    QTest::newRow("blanks take no room") << QString(40, u' ') + "森 " << QSize(400, 60);
    // Widths where the name's advance fits while the drawing would cut it.
    for (const int width : {97, 101, 105})
        QTest::addRow("a name that just fits, %d wide", width) << "山田 7郎" << QSize(width, 32);
}

// A name as large as its box lets it be drawn whole (one too long is cut at the smallest size,
// as the full-screen chart shows).
void TestSeatChange::nameLettering()
{
    QFETCH(QString, name);
    QFETCH(QSize, room);
    QFont font = makeFont(Face::PGothic, 12);
    const NameLettering drawn = letterName(font, name, room, room.height() / 3);
    QCOMPARE(drawn.text, name.trimmed());
    font.setPixelSize(drawn.pixels);
    QVERIFY(QFontMetrics(font).horizontalAdvance(drawn.text) <= room.width() &&
            QFontMetrics(font).height() <= room.height());
    // One size larger is too tall, or, in a narrow box, cut as the drawing cuts it.
    font.setPixelSize(drawn.pixels + 1);
    const QFontMetrics above(font);
    QVERIFY(above.height() > room.height() ||
            (room.width() < 400 && above.elidedText(drawn.text, Qt::ElideRight, room.width()) != drawn.text));
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
    QPointer<MainWindow> main = mainReadyToRun(env, pupils(28));
    state().OptTeacherView = teacher;
    ResultWindow *r = shownResult(); // a past result: the main window stays open behind it
    QCOMPARE(findAction(r, QStringLiteral("mnuFullScreen"))->shortcut(), QKeySequence(Qt::Key_F11));
    TRIGGER(r, "mnuFullScreen");
    ChartScreen *v = r->fullScreenChart();
    QVERIFY(v);
    QTRY_VERIFY(v->isFullScreen() && v->geometry() == r->screen()->geometry());
    QTRY_COMPARE(QApplication::activeWindow(), v);
    QCOMPARE(v->texts(), chart());
    // The window's chart, scaled alike in both directions: the far corner and the desk where the window has them.
    const QRect one = v->seatBoxRect(1), windowOne = r->seatBoxes[0]->geometry();
    const qreal scale = qreal(qAbs(v->seatBoxRect(4).center().x() - one.center().x())) /
                        qAbs(r->seatBoxes[3]->geometry().center().x() - windowOne.center().x());
    QVERIFY(scale > 1.2);
    const auto matches = [&](const QRect &shown, const QRect &inWindow) {
        const QPointF expected = one.center() + QPointF(inWindow.center() - windowOne.center()) * scale;
        return (QPointF(shown.center()) - expected).manhattanLength() < 4;
    };
    QVERIFY(matches(v->seatBoxRect(SeatCount), r->seatBoxes[SeatCount - 1]->geometry()));
    QVERIFY(matches(v->deskRect(), r->desk->geometry()));
    QCOMPARE(v->deskRect().top() < one.top(), teacher);
    // Short names larger than in the window (12 points, 16 pixels). A long name, put in while
    // the view is open, takes a size of its own, never below the seat numbers'; one that does
    // not fit even so shows its beginning.
    const int shortName = v->seatName(1).pixels;
    QVERIFY(shortName > 16);
    QStringList names = chart();
    names[9] = QStringLiteral("寿限無寿限無五劫の擦り切れ海砂利水魚の水行末雲来末風来末");
    r->setSeatTexts(names);
    QCOMPARE(v->texts(), names);
    const NameLettering longest = v->seatName(10);
    QVERIFY(longest.pixels == v->numberPixels() && v->seatName(1).pixels == shortName);
    QVERIFY(longest.text.endsWith(u'…') && names[9].startsWith(longest.text.chopped(1)));

    // A run meanwhile: its countdown fills the screen too, lettering grown with it, and the new
    // chart comes where the class looks.
    const auto seen = driveCountdown();
    TRIGGER(main, "mnuFileNarabin");
    QTRY_VERIFY(main.isNull());
    const QRect screen = r->screen()->geometry();
    QVERIFY(seen->modal && seen->fullScreen && seen->ticks == 11 && seen->geometry == screen);
    QVERIFY(seen->numberBox.height() > 1.5 * tw(1500) && screen.contains(seen->numberBox));
    QVERIFY(seen->facePoints > 1.5 * 27.75);
    QCOMPARE(sorted(v->texts()), sorted(pupils(28)));
    QCOMPARE(v->texts(), r->seatTexts());
    QTRY_COMPARE(QApplication::activeWindow(), v);

    QTest::keyClick(v, Qt::Key(key));
    QTRY_VERIFY(!r->fullScreenChart());
    QTRY_COMPARE(QApplication::activeWindow(), r);
}

QTEST_MAIN(TestSeatChange)
#include "tst_seatchange.moc"
