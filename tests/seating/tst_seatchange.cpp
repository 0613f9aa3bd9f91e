// The countdown, the seat-change run through the windows, and the result window.
#include "about/versioninfo.h"
#include "app/colors.h"
#include "app/settings.h"
#include "app/startup.h"
#include "app/textfile.h"
#include "app/ui.h"
#include "mainwin/mainwindow.h"
#include "seating/countdown.h"
#include "seating/countdownface.h"
#include "seating/noprintlinedialog.h"
#include "seating/placement.h"
#include "seating/resultwindow.h"
#include "seating/seatchangerun.h"
#include "support/testenv.h"

#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QToolButton>
#include <QFile>
#include <QtTest>

#include <memory>

using SeatMap = QMap<int, QString>;

namespace {

QStringList pupils(int count)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names.append(QStringLiteral("生徒%1").arg(i));
    return names;
}

// Start-up's settings, a roster with its conditions, and the main window shown as the
// condition editor leaves it (run enabled).
NARABIN *mainReadyToRun(TestEnv &env, const QStringList &names, const SeatMap &conditions = {})
{
    loadStartupSettings(QDir::currentPath());
    NARABIN *w = form<NARABIN>();
    w->show();
    SharedState &s = state();
    s.RosterFileName = env.path(QStringLiteral("1組.mem"));
    for (int i = 0; i < names.size(); ++i)
        s.PupilNames[size_t(i + 1)] = names.at(i);
    s.PupilCount = quint8(names.size());
    for (auto it = conditions.cbegin(); it != conditions.cend(); ++it)
        s.SeatConditions[size_t(it.key())] = it.value();
    w->mnuFileNarabin->setEnabled(true);
    w->Toolbar1->setButtonEnabled(8, true);
    return w;
}

// What the countdown showed while a run waited for it.
struct CountdownSeen {
    bool shown = false;
    bool modal = false;
    bool timerRunning = false;
    QStringList numbers;
    QStringList faces;
    QList<int> bars;
    int ticksToClose = 0;
};

void record(CountdownSeen &seen, WAIT *w)
{
    seen.numbers.append(w->Label2->text());
    seen.faces.append(w->Label6->text());
    seen.bars.append(w->ProgressBar1->value());
}

// Once the run shows the countdown, ticks it until it closes itself; with closeAfter
// >= 0 the window manager closes it after that many ticks instead.
std::shared_ptr<CountdownSeen> driveCountdown(int closeAfter = -1)
{
    auto seen = std::make_shared<CountdownSeen>();
    whenModal([seen, closeAfter] {
        WAIT *w = loadedForm<WAIT>();
        if (!w)
            return;
        seen->shown = w->isVisible();
        seen->modal = QApplication::activeModalWidget() == w;
        seen->timerRunning = w->Timer1->isActive();
        record(*seen, w);
        for (int tick = 1; tick <= 20 && !w->isUnloaded(); ++tick) {
            if (tick - 1 == closeAfter) {
                w->close();
                break;
            }
            w->Timer1_Timer();
            seen->ticksToClose = tick;
            if (!w->isUnloaded())
                record(*seen, w);
        }
    });
    return seen;
}

// Restores the clock-seeded source when a test that replaced it ends.
struct SourceGuard {
    ~SourceGuard() { setRunSourceForTests({}); }
};

QString labelFamily(QWidget *w)
{
    return w->font().families().constFirst();
}

// A result window with a chart in it, shown as an opener shows it.
RESULT *shownResult(const QStringList &seats)
{
    RESULT *r = form<RESULT>();
    r->setSeatTexts(seats);
    r->show();
    return r;
}

QStringList chart()
{
    QStringList seats = pupils(26);
    seats.insert(2, QStringLiteral(" ")); // seat 3 empty
    seats.append(QString());             // seat 28 left over
    return seats;
}

QByteArray chartBytes()
{
    QByteArray bytes;
    for (const QString &s : chart())
        bytes += sjis(s) + "\r\n";
    return bytes;
}

QByteArray logBytes(const QStringList &names)
{
    QByteArray bytes;
    for (const QString &n : names)
        bytes += sjis(n) + "\r\n";
    return bytes;
}

// The log of the work folder, whatever the letter case of its name.
QByteArray logFile(const TestEnv &env, const QString &expectedName = QStringLiteral("ならびん.ini"))
{
    const QString path = findFileNoCase(env.work(), QStringLiteral("ならびん.ini"));
    if (QFileInfo(path).fileName() != expectedName)
        return "<log named " + QFileInfo(path).fileName().toUtf8() + ">";
    return env.readFile(expectedName);
}

QStringList numberedNames(int first, int last)
{
    QStringList out;
    for (int i = first; i <= last; ++i)
        out.append(QStringLiteral("結果%1.rlt").arg(i));
    return out;
}

const char *SavedText = "保存確認|ならびん結果を保存しました。|64";

} // namespace

class TestSeatChange : public QObject {
    Q_OBJECT

private slots:
    // Countdown
    void countdownLabels_data();
    void countdownLabels();
    void countdownWindow();
    void countdownColoursOnActivate_data();
    void countdownColoursOnActivate();
    void countdownTicksToItsEnd();
    // The run
    void runThroughTheWindows_data();
    void runThroughTheWindows();
    void runUsesKeysDrawnAfterTheCountdown();
    void runHonoursConditions();
    void countdownClosedEarlyRunGoesOn();
    void refusedRun_data();
    void refusedRun();
    // Result window
    void resultLayout_data();
    void resultLayout();
    void resultMenus_data();
    void resultMenus();
    void resultToolbarAndStatusBar();
    void optPsbarNormalisedOnLoad_data();
    void optPsbarNormalisedOnLoad();
    void loadEnablesPreviousResult();
    void closeCommands_data();
    void closeCommands();
    void save_data();
    void save();
    void saveDialogCancelledChangesNothing();
    void saveIntoChosenFolderKeepsOneLog();
    void saveRefusesNames_data();
    void saveRefusesNames();
    void failedResultWriteIsReported();
    void failedLogWriteIsReported();
    void unreadableLogIsNotOverwritten();
    void helpAndVersionItems();
    void printStatusBarToggle();
    void printItemsAreWired();
};

// ---------------------------------------------------------------- countdown

void TestSeatChange::countdownLabels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("family");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<bool>("bold");
    QTest::newRow("Label4") << "Label4" << "今回は、だれの" << twRect(360, 240, 3855, 555) << "ＭＳ Ｐ明朝" << 27.75 << true;
    QTest::newRow("Label5") << "Label5" << "隣りかなぁ・・・。(*^_^*)" << twRect(360, 960, 5295, 555) << "ＭＳ Ｐ明朝" << 27.75 << true;
    QTest::newRow("Label6") << "Label6" << "＼(^_^)／" << twRect(360, 1800, 2205, 555) << "ＭＳ Ｐ明朝" << 27.75 << true;
    QTest::newRow("Label7") << "Label7" << "わくわく、どきどき・・・。" << twRect(2640, 2070, 2895, 285) << "ＭＳ Ｐ明朝" << 14.25 << true;
    QTest::newRow("Label1") << "Label1" << "結果が出るまであと・・・" << twRect(360, 2850, 2955, 285) << "ＭＳ Ｐ明朝" << 14.25 << true;
    QTest::newRow("Label2") << "Label2" << "10" << twRect(3630, 2760, 1590, 1500) << "ＭＳ Ｐゴシック" << 72.0 << false;
    QTest::newRow("Label3") << "Label3" << "秒" << twRect(5310, 3720, 375, 375) << "ＭＳ Ｐ明朝" << 14.25 << true;
}

void TestSeatChange::countdownLabels()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);
    QFETCH(QString, family);
    QFETCH(qreal, points);
    QFETCH(bool, bold);
    TestEnv env;
    WAIT *w = form<WAIT>();
    auto *label = w->findChild<QLabel *>(name);
    QVERIFY(label);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->geometry(), geometry);
    if (name == QLatin1String("Label6")) {
        // Every face fits whole in the fonts at hand.
        for (int n = 0; n <= 9; ++n)
            QVERIFY(label->fontMetrics().horizontalAdvance(countdownFace(QString::number(n)).value()) < label->width());
    }
    QCOMPARE(labelFamily(label), family);
    QCOMPARE(label->font().pointSizeF(), points);
    QCOMPARE(label->font().bold(), bold);
    // Only the number is opaque and framed.
    QCOMPARE(label->autoFillBackground(), name == QLatin1String("Label2"));
    QCOMPARE(label->frameShape(), name == QLatin1String("Label2") ? QFrame::Box : QFrame::NoFrame);
}

void TestSeatChange::countdownWindow()
{
    TestEnv env;
    WAIT *w = form<WAIT>();
    QCOMPARE(w->windowTitle(), QStringLiteral(" ")); // shows no text; an empty one would show the program's name
    QCOMPARE(w->size(), QSize(392, 302));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QCOMPARE(w->cursor().shape(), Qt::WaitCursor);
    QCOMPARE(w->Label2->alignment(), Qt::AlignCenter);
    QCOMPARE(w->ProgressBar1->geometry(), twRect(240, 3540, 3045, 495));
    QCOMPARE(w->ProgressBar1->minimum(), 0);
    QCOMPARE(w->ProgressBar1->maximum(), 100);
    QCOMPARE(w->ProgressBar1->value(), 0);
    QCOMPARE(w->Timer1->interval(), 1000);
    QVERIFY(!w->Timer1->isActive()); // the run starts it
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

void TestSeatChange::countdownTicksToItsEnd()
{
    TestEnv env;
    WAIT *w = form<WAIT>();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(w, &activate);
    QStringList numbers{w->Label2->text()};
    QStringList faces{w->Label6->text()};
    QList<int> bars{w->ProgressBar1->value()};
    for (int tick = 1; tick <= 10; ++tick) {
        w->Timer1_Timer();
        numbers.append(w->Label2->text());
        faces.append(w->Label6->text());
        bars.append(w->ProgressBar1->value());
    }
    QCOMPARE(numbers, (QStringList{"10", "9", "8", "7", "6", "5", "4", "3", "2", "1", "0"}));
    QCOMPARE(faces, (QStringList{QStringLiteral("＼(^_^)／"), QStringLiteral("　o(^_^)／"), QStringLiteral("　o(^_^)o"),
                                 QStringLiteral("＼(^_^)\\"), QStringLiteral("＼(^_^)／"), QStringLiteral("　\\(^_^)／"),
                                 QStringLiteral("　o(^_^)o"), QStringLiteral("＼(^_^)o"), QStringLiteral("　o(^_^)／"),
                                 QStringLiteral(" (^_^;)"), QStringLiteral(" (;ﾟoﾟ)")}));
    QCOMPARE(bars, (QList<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
    QVERIFY(isLoaded<WAIT>());
    w->Timer1_Timer(); // the tick that finds 0
    QVERIFY(!isLoaded<WAIT>());
    QVERIFY(!w->isVisible());
    QCOMPARE(w->Label2->text(), QStringLiteral("0"));
}

// ---------------------------------------------------------------- the run

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
    QVERIFY(!main->mnuResult->isEnabled());
    main->activateWindow();
    QTRY_VERIFY(main->isActiveWindow()); // shortcuts work in the active window
    const auto seen = driveCountdown();
    if (how == QLatin1String("menu")) {
        TRIGGER(main, "mnuFileNarabin");
    } else if (how == QLatin1String("Ctrl+G")) {
        QTest::keyClick(main, Qt::Key_G, Qt::ControlModifier);
    } else {
        main->Toolbar1->button(8)->click();
    }
    QTRY_VERIFY(isLoaded<RESULT>());

    QVERIFY(seen->shown);
    QVERIFY(seen->modal);
    QVERIFY(seen->timerRunning);
    QCOMPARE(seen->ticksToClose, 11);
    QCOMPARE(seen->numbers.first(), QStringLiteral("10"));
    QCOMPARE(seen->numbers.last(), QStringLiteral("0"));
    QCOMPARE(seen->bars.last(), 100);
    QVERIFY(!isLoaded<WAIT>());

    RESULT *result = loadedForm<RESULT>();
    QVERIFY(result->isVisible());
    QVERIFY(!result->isModal());
    QVERIFY(!isLoaded<NARABIN>());
    QTRY_VERIFY(main.isNull());
    const SharedState &s = state();
    QCOMPARE(s.ResultShown, 1);
    // Without conditions seat k gets the k-th name of the shuffled roster.
    QStringList expected;
    for (int k = 1; k <= 28; ++k)
        expected.append(k <= count ? s.PupilNames[size_t(k)] : QString());
    QCOMPARE(result->seatTexts(), expected);
    QStringList placed = expected.mid(0, count);
    placed.sort();
    QStringList all = pupils(count);
    all.sort();
    QCOMPARE(placed, all);
    QVERIFY(env.platform.messageLog().isEmpty());
}

void TestSeatChange::runUsesKeysDrawnAfterTheCountdown()
{
    TestEnv env;
    SourceGuard guard;
    bool countdownOpenWhenSeeded = true;
    setRunSourceForTests([&countdownOpenWhenSeeded] {
        countdownOpenWhenSeeded = isLoaded<WAIT>();
        auto keys = std::make_shared<QList<double>>(QList<double>{0.9, 0.5, 0.0, 0.5});
        return UniformSource([keys] { return keys->takeFirst(); });
    });
    NARABIN *main = mainReadyToRun(env, {QStringLiteral("佐藤"), QStringLiteral("伊藤"), QStringLiteral("加藤"), QStringLiteral("後藤")},
                                   {{1, QStringLiteral("-")}, {2, QStringLiteral("後藤")}});
    driveCountdown();
    TRIGGER(main, "mnuFileNarabin");
    QTRY_VERIFY(isLoaded<RESULT>());
    QVERIFY(!countdownOpenWhenSeeded);
    QCOMPARE(loadedForm<RESULT>()->seatTexts().mid(0, 6),
             (QStringList{QStringLiteral(" "), QStringLiteral("後藤"), QStringLiteral("加藤"), QStringLiteral("伊藤"),
                          QStringLiteral("佐藤"), QString()}));
    QCOMPARE(state().PupilNames[1], QStringLiteral("加藤"));
    QCOMPARE(state().PupilNames[4], QStringLiteral("佐藤"));
}

void TestSeatChange::runHonoursConditions()
{
    // Many runs with the real generator: every pupil exactly once, conditions kept.
    TestEnv env;
    const QStringList names = pupils(24);
    mainReadyToRun(env, names, {{1, QStringLiteral("生徒24")}, {7, QStringLiteral("-")}, {28, QStringLiteral("生徒1")}});
    for (int run = 0; run < 5; ++run) {
        env.setNow(QDateTime(QDate(2026, 12, 5), QTime(15, 7, run, run * 37)));
        driveCountdown();
        seatChangeRunCommand();
        QTRY_VERIFY(isLoaded<RESULT>());
        const QStringList seats = loadedForm<RESULT>()->seatTexts();
        QCOMPARE(seats.at(0), QStringLiteral("生徒24"));
        QCOMPARE(seats.at(6), QStringLiteral(" "));
        QCOMPARE(seats.at(27), QStringLiteral("生徒1"));
        QStringList placed;
        for (const QString &seat : seats) {
            if (!seat.trimmed().isEmpty())
                placed.append(seat);
        }
        placed.sort();
        QStringList all = names;
        all.sort();
        QCOMPARE(placed, all);
        unload<RESULT>();
    }
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
    QVERIFY(!isLoaded<WAIT>());

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
    const QStringList three{QStringLiteral("佐藤"), QStringLiteral("伊藤"), QStringLiteral("加藤")};
    QTest::newRow("designated name not in the roster") << three << SeatMap{{4, QStringLiteral("鈴木")}};
    QTest::newRow("designated name twice in the roster")
        << QStringList{QStringLiteral("佐藤"), QStringLiteral("佐藤")} << SeatMap{{4, QStringLiteral("佐藤")}};
    QTest::newRow("one name on two seats") << three << SeatMap{{2, QStringLiteral("伊藤")}, {9, QStringLiteral("伊藤")}};
    SeatMap crowded;
    for (int k = 1; k <= 26; ++k)
        crowded[k] = QStringLiteral("-");
    QTest::newRow("more empty seats than room") << three << crowded;
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
    auto countdownShown = std::make_shared<bool>(false);
    auto checked = std::make_shared<bool>(false);
    whenModal([countdownShown, checked] {
        *countdownShown = isLoaded<WAIT>();
        *checked = true;
        unload<WAIT>();
    });
    TRIGGER(main, "mnuFileNarabin");
    const bool countdownDuringRun = *countdownShown;
    QCOMPARE(env.platform.messageLog(),
             QStringList{QStringLiteral("実行確認|座席の条件に誤りがあります。条件設定の変更で条件を設定し直して下さい。|16")});
    QCOMPARE(env.platform.callsOf(QStringLiteral("message")).constFirst().owner.data(), main);
    QVERIFY(!countdownDuringRun);
    QTRY_VERIFY(*checked);
    QVERIFY(!isLoaded<WAIT>());
    QVERIFY(!isLoaded<RESULT>());
    QVERIFY(isLoaded<NARABIN>() && main->isVisible());
    QVERIFY(state().PupilNames == before.PupilNames);
    QVERIFY(state().SeatConditions == before.SeatConditions);
    QVERIFY(state().SeatResult == before.SeatResult);
    QVERIFY(!main->mnuResult->isEnabled());
}

// ---------------------------------------------------------------- result window

void TestSeatChange::resultLayout_data()
{
    QTest::addColumn<int>("seat");
    QTest::addColumn<QRect>("box");
    QTest::addColumn<int>("captionTop");
    QTest::newRow("seat 1, front right") << 1 << twRect(7215, 5130, 1575, 345) << tw(5130 - 240);
    QTest::newRow("seat 2") << 2 << twRect(5055, 5130, 1575, 345) << tw(5130 - 240);
    QTest::newRow("seat 4, front left") << 4 << twRect(735, 5130, 1575, 345) << tw(5130 - 240);
    QTest::newRow("seat 5, row 2") << 5 << twRect(7215, 4410, 1575, 345) << tw(4410 - 240);
    QTest::newRow("seat 11, row 3") << 11 << twRect(2895, 3690, 1575, 345) << tw(3690 - 240);
    QTest::newRow("seat 14, row 4") << 14 << twRect(5055, 3000, 1575, 345) << tw(3000 - 240);
    QTest::newRow("seat 20, row 5") << 20 << twRect(735, 2250, 1575, 345) << tw(2250 - 240);
    QTest::newRow("seat 21, row 6") << 21 << twRect(7215, 1530, 1575, 345) << tw(1530 - 240);
    QTest::newRow("seat 28, back left") << 28 << twRect(735, 810, 1575, 345) << tw(810 - 240);
}

void TestSeatChange::resultLayout()
{
    QFETCH(int, seat);
    QFETCH(QRect, box);
    QFETCH(int, captionTop);
    TestEnv env;
    RESULT *r = form<RESULT>();
    QLabel *name = r->Label3[size_t(seat - 1)];
    QLabel *caption = r->Label1[size_t(seat - 1)];
    QCOMPARE(name->objectName(), QStringLiteral("Label3_%1").arg(seat - 1));
    QCOMPARE(name->geometry(), box);
    QCOMPARE(name->text(), QString());
    QCOMPARE(name->alignment(), Qt::AlignCenter);
    QCOMPARE(name->frameShape(), QFrame::Box);
    QCOMPARE(name->palette().color(QPalette::Window), QColor(192, 192, 192));
    QCOMPARE(name->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    QCOMPARE(labelFamily(name), QStringLiteral("ＭＳ Ｐゴシック"));
    QCOMPARE(name->font().pointSizeF(), 12.0);
    QVERIFY(!name->font().bold());

    QCOMPARE(caption->text(), QStringLiteral("No.%1").arg(seat));
    QCOMPARE(caption->y(), captionTop);
    QVERIFY(qAbs(caption->geometry().center().x() - box.center().x()) <= 1);
    QCOMPARE(caption->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    QVERIFY(!caption->autoFillBackground());
    QCOMPARE(labelFamily(caption), QStringLiteral("ＭＳ Ｐゴシック"));

    QCOMPARE(r->Label4->text(), QStringLiteral("教     卓"));
    QCOMPARE(r->Label4->geometry(), twRect(4215, 5670, 1095, 315));
    QCOMPARE(r->Label4->palette().color(QPalette::Window), QColor(192, 192, 192));
    QCOMPARE(r->Label4->frameShape(), QFrame::Box);
    QCOMPARE(r->windowTitle(), QStringLiteral("ならびん結果"));
    QCOMPARE(r->client()->palette().color(QPalette::Window), QColor(128, 128, 128));
    QCOMPARE(r->client()->size(), QSize(635, 437));
}

void TestSeatChange::resultMenus_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    const auto row = [](const char *name, const char *caption, QKeySequence key = {}) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption) << key;
    };
    row("mnuFile", "ﾌｧｲﾙ(F)");
    row("mnuResultSave", "結果の保存(&S)...");
    row("mnuPrint", "印刷(&P)...");
    row("mnuOK", "了解(&X)");
    row("mnuOption", "ｵﾌﾟｼｮﾝ(&O)");
    row("mnuNoPrintLine", "非印刷行の設定(&L)...");
    row("mnuPrintStatusBar", "ｽﾃｰﾀｽﾊﾞｰの印刷(&S)");
    row("mnuHelp", "ﾍﾙﾌﾟ(&H)");
    row("mnuHelpContext_KeyWord_0", "ﾄﾋﾟｯｸの検索(&H)", QKeySequence(QStringLiteral("F1")));
    row("mnuHelpContext_KeyWord_1", "当該ﾍﾙﾌﾟ(&C)");
    row("mnuVersion", "ﾊﾞｰｼﾞｮﾝ情報(&A)...");
}

void TestSeatChange::resultMenus()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    TestEnv env;
    RESULT *r = form<RESULT>();
    QAction *a = findAction(r, name);
    QVERIFY2(a, qPrintable(name));
    QCOMPARE(a->text(), caption);
    QCOMPARE(a->shortcut(), shortcut);
    const auto names = [](QWidget *menu) {
        QStringList out;
        for (QAction *item : menu->actions())
            out.append(item->objectName());
        return out;
    };
    QCOMPARE(names(r->menuBar()), (QStringList{"mnuFile", "mnuOption", "mnuHelp"}));
    QCOMPARE(names(r->mnuFile), (QStringList{"mnuResultSave", "mnuPrint", "mnuDummy", "mnuOK"}));
    QCOMPARE(names(r->mnuOption), (QStringList{"mnuNoPrintLine", "mnuPrintStatusBar"}));
    QCOMPARE(names(r->mnuHelp),
             (QStringList{"mnuHelpContext_KeyWord_0", "mnuHelpContext_KeyWord_1", "mnuDummy3", "mnuVersion"}));
    QVERIFY(r->mnuDummy->isSeparator() && r->mnuDummy3->isSeparator());
}

void TestSeatChange::resultToolbarAndStatusBar()
{
    TestEnv env;
    state().TodayText = QStringLiteral("2026/12/05");
    state().ClockText = QStringLiteral("午後 03:07");
    RESULT *r = form<RESULT>();
    const QMap<int, QString> tips{{2, QStringLiteral(" 結果の保存 ")}, {3, QStringLiteral(" 了解  ")}, {5, QStringLiteral(" 印刷 ")},
                                  {7, QStringLiteral(" ﾊﾞｰｼﾞｮﾝ情報 ")}, {8, QStringLiteral(" 当該ﾍﾙﾌﾟ ")}};
    for (int pos = 1; pos <= 8; ++pos) {
        QToolButton *b = r->Toolbar1->button(pos);
        QCOMPARE(b != nullptr, tips.contains(pos));
        if (b) {
            QCOMPARE(b->toolTip(), tips[pos]);
            QVERIFY(!b->icon().isNull());
        }
    }
    QCOMPARE(r->Toolbar1->actions().size(), 8);
    QCOMPARE(r->StatusBar1->panelText(1), QStringLiteral("結果に対しては・・・  いつも、(^_^)(^_^)ﾆｺﾆｺ 笑顔で了解"));
    QCOMPARE(r->StatusBar1->panelText(2), QStringLiteral("2026/12/05"));
    QCOMPARE(r->StatusBar1->panelText(3), QStringLiteral("午後 03:07"));
    QCOMPARE(r->Timer1->interval(), 33000);
    QVERIFY(r->Timer1->isActive());
    env.setNow(QDateTime(QDate(2027, 3, 9), QTime(0, 5)));
    r->Timer1_Timer();
    QCOMPARE(r->StatusBar1->panelText(2), QStringLiteral("2027/03/09"));
    QCOMPARE(r->StatusBar1->panelText(3), QStringLiteral("午前 12:05"));
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
    QVERIFY(r->mnuPrintStatusBar->isCheckable());
    QCOMPARE(r->mnuPrintStatusBar->isChecked(), inMemory == QLatin1String("1"));
    QCOMPARE(readSetting(QStringLiteral("OptPsbar")), QStringLiteral("untouched"));
}

void TestSeatChange::loadEnablesPreviousResult()
{
    TestEnv env;
    loadStartupSettings(QDir::currentPath());
    // No main window open and no roster: none is created.
    form<RESULT>();
    QVERIFY(!isLoaded<NARABIN>());
    QCOMPARE(state().ResultShown, 1);
    unload<RESULT>();

    // With a roster file the main window is made, unseen, with the previous result on.
    state().ResultShown = 0;
    state().RosterFileName = env.path(QStringLiteral("1組.mem"));
    form<RESULT>();
    NARABIN *main = loadedForm<NARABIN>();
    QVERIFY(main);
    QVERIFY(!main->isVisible());
    QVERIFY(main->mnuResult->isEnabled());
    QVERIFY(state().RosterFileName.isEmpty()); // the main window's own load forgets it
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
    env.writeFile(QStringLiteral("ならびん.ini"), sjis(QStringLiteral("一学期.rlt\r\n")));
    loadStartupSettings(QDir::currentPath());
    RESULT *r = shownResult(chart());
    if (roster)
        state().RosterFileName = env.path(QStringLiteral("1組.mem"));
    if (how == QLatin1String("mnuOK"))
        TRIGGER(r, "mnuOK");
    else if (how == QLatin1String("toolbar 3"))
        r->Toolbar1->button(3)->click();
    else
        r->close();
    QVERIFY(!isLoaded<RESULT>());
    QVERIFY(!r->isVisible());
    NARABIN *main = loadedForm<NARABIN>();
    QVERIFY(main);
    QVERIFY(main->isVisible());
    QVERIFY(main->mnuResult->isEnabled());
    QCOMPARE(main->mnuFileArray.size(), size_t(2));
    QVERIFY(env.platform.messageLog().isEmpty()); // the main window's quit question is not asked
    QCOMPARE(env.platform.quitCount, 0);
}

void TestSeatChange::save_data()
{
    QTest::addColumn<QByteArray>("logBefore"); // "<none>": no log file
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("logAfter");
    QTest::newRow("no log") << QByteArray("<none>") << "1組.rlt" << logBytes({QStringLiteral("1組.rlt")});
    QTest::newRow("empty log") << QByteArray() << "1組.rlt" << logBytes({QStringLiteral("1組.rlt")});
    QTest::newRow("14 names become 15") << logBytes(numberedNames(1, 14)) << "new.rlt"
                                       << logBytes(numberedNames(1, 14) << QStringLiteral("new.rlt"));
    QTest::newRow("15 names stay 15") << logBytes(numberedNames(1, 15)) << "new.rlt"
                                     << logBytes(numberedNames(2, 15) << QStringLiteral("new.rlt"));
    QTest::newRow("hand-edited 17 names keep the newest 15")
        << logBytes(numberedNames(1, 17)) << "new.rlt" << logBytes(numberedNames(4, 17) << QStringLiteral("new.rlt"));
    QTest::newRow("same name twice") << logBytes({QStringLiteral("1組.rlt")}) << "1組.rlt"
                                     << logBytes({QStringLiteral("1組.rlt"), QStringLiteral("1組.rlt")});
    QTest::newRow("name with a comma is written whole")
        << QByteArray() << "1組,2組.rlt" << logBytes({QStringLiteral("1組,2組.rlt")});
    QTest::newRow("no extension added") << QByteArray() << "席替え" << logBytes({QStringLiteral("席替え")});
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
    RESULT *r = shownResult(chart());
    env.platform.saveFiles.enqueue(env.path(fileName));
    TRIGGER(r, "mnuResultSave");

    const QList<PlatformCall> dialogs = env.platform.callsOf(QStringLiteral("save"));
    QCOMPARE(dialogs.size(), 1);
    QCOMPARE(dialogs[0].title, QStringLiteral("ならびん結果の保存"));
    QCOMPARE(dialogs[0].filter, QStringLiteral("結果ﾌｧｲﾙ(*.RLT)|*.RLT|旧結果ﾌｧｲﾙ(*.DAT)|*.DAT|すべてのﾌｧｲﾙ(*.*)|*.*"));
    QCOMPARE(dialogs[0].owner.data(), r);

    QCOMPARE(env.readFile(fileName), chartBytes());
    // A new log is created as "ならびん.INI"; an existing one keeps its name.
    QCOMPARE(logFile(env, logBefore == "<none>" ? QStringLiteral("ならびん.INI") : QStringLiteral("ならびん.ini")), logAfter);
    QCOMPARE(QDir(env.work()).entryList(QDir::Files).filter(QStringLiteral("ならびん"), Qt::CaseInsensitive).size(), 1);
    QCOMPARE(state().ResultSaveFileName, fileName);
    QCOMPARE(env.platform.messageLog(), QStringList{QString::fromUtf8(SavedText)});
    QVERIFY(!isLoaded<RESULT>());
    QVERIFY(isLoaded<NARABIN>() && loadedForm<NARABIN>()->isVisible());
}

void TestSeatChange::saveDialogCancelledChangesNothing()
{
    TestEnv env;
    env.writeFile(QStringLiteral("ならびん.ini"), logBytes({QStringLiteral("a.rlt")}));
    RESULT *r = shownResult(chart());
    r->Toolbar1->button(2)->click(); // no file queued: the dialog is cancelled
    QCOMPARE(env.platform.callsOf(QStringLiteral("save")).size(), 1);
    QVERIFY(env.platform.messageLog().isEmpty());
    QCOMPARE(env.readFile(QStringLiteral("ならびん.ini")), logBytes({QStringLiteral("a.rlt")}));
    QCOMPARE(QDir(env.work()).entryList(QDir::Files).size(), 1);
    QVERIFY(isLoaded<RESULT>() && r->isVisible());
    QVERIFY(!isLoaded<NARABIN>());
}

void TestSeatChange::saveIntoChosenFolderKeepsOneLog()
{
    TestEnv env;
    QDir(env.work()).mkpath(QStringLiteral("結果"));
    // The log there is spelt in capitals; it is read and written as the one log.
    env.writeFile(QStringLiteral("結果/ならびん.INI"), logBytes({QStringLiteral("old.rlt")}));
    env.writeFile(QStringLiteral("ならびん.ini"), logBytes({QStringLiteral("elsewhere.rlt")}));
    RESULT *r = shownResult(chart());
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("結果/new.RLT")));
    TRIGGER(r, "mnuResultSave");
    QCOMPARE(QDir::currentPath(), env.path(QStringLiteral("結果")));
    QCOMPARE(env.readFile(QStringLiteral("結果/new.RLT")), chartBytes());
    QCOMPARE(env.readFile(QStringLiteral("結果/ならびん.INI")), logBytes({QStringLiteral("old.rlt"), QStringLiteral("new.RLT")}));
    QCOMPARE(QDir(env.path(QStringLiteral("結果"))).entryList(QDir::Files).size(), 2);
    QCOMPARE(env.readFile(QStringLiteral("ならびん.ini")), logBytes({QStringLiteral("elsewhere.rlt")}));
    // The main window made afresh lists the log of the folder now current.
    NARABIN *main = loadedForm<NARABIN>();
    QVERIFY(main);
    QCOMPARE(findAction(main, QStringLiteral("mnuFileArray_2"))->text(), QStringLiteral("new.RLT"));
}

void TestSeatChange::saveRefusesNames_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("message");
    QTest::newRow("the log itself") << "ならびん.INI"
                                   << "保存エラー|「ならびん.INI」は過去ﾛｸﾞのﾌｧｲﾙです。結果は別の名前で保存して下さい。|16";
    QTest::newRow("a name the log cannot hold")
        << "席替え\U0001F600.rlt"
        << "保存エラー|ﾌｧｲﾙ名「席替え\U0001F600.rlt」には過去ﾛｸﾞに記録できない文字が含まれています。別の名前で保存して下さい。|16";
}

void TestSeatChange::saveRefusesNames()
{
    QFETCH(QString, fileName);
    QFETCH(QString, message);
    TestEnv env;
    env.writeFile(QStringLiteral("ならびん.ini"), logBytes({QStringLiteral("a.rlt")}));
    RESULT *r = shownResult(chart());
    env.platform.saveFiles.enqueue(env.path(fileName));
    TRIGGER(r, "mnuResultSave");
    QCOMPARE(env.platform.messageLog(), QStringList{message});
    QCOMPARE(env.readFile(QStringLiteral("ならびん.ini")), logBytes({QStringLiteral("a.rlt")}));
    QCOMPARE(QDir(env.work()).entryList(QDir::Files), QStringList{QStringLiteral("ならびん.ini")});
    QVERIFY(isLoaded<RESULT>() && r->isVisible());
}

void TestSeatChange::failedResultWriteIsReported()
{
    TestEnv env;
    env.writeFile(QStringLiteral("ならびん.ini"), logBytes({QStringLiteral("a.rlt")}));
    env.writeFile(QStringLiteral("1組.rlt"), QByteArray("old chart\r\n"));
    setWriteFaultForTests(QStringLiteral("1組.rlt"), 10);
    RESULT *r = shownResult(chart());
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("1組.rlt")));
    TRIGGER(r, "mnuResultSave");
    QCOMPARE(env.platform.messageLog(),
             QStringList{QStringLiteral("保存エラー|結果ﾌｧｲﾙ「%1」を保存できませんでした。\n"
                                        "ディスクの空き容量が足りないか、書き込めない状態です。（No space left on device）|16")
                             .arg(env.path(QStringLiteral("1組.rlt")))});
    QCOMPARE(env.readFile(QStringLiteral("1組.rlt")), QByteArray("old chart\r\n"));
    QCOMPARE(env.readFile(QStringLiteral("ならびん.ini")), logBytes({QStringLiteral("a.rlt")}));
    QVERIFY(isLoaded<RESULT>() && r->isVisible());
    QVERIFY(!isLoaded<NARABIN>());
}

void TestSeatChange::failedLogWriteIsReported()
{
    TestEnv env;
    env.writeFile(QStringLiteral("ならびん.ini"), logBytes({QStringLiteral("a.rlt")}));
    setWriteFaultForTests(QStringLiteral("ならびん.ini"), 3);
    RESULT *r = shownResult(chart());
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("1組.rlt")));
    TRIGGER(r, "mnuResultSave");
    QCOMPARE(env.platform.messageLog(),
             QStringList{QStringLiteral("保存エラー|結果ﾌｧｲﾙ「%1」は保存しましたが、過去ﾛｸﾞ「%2」に記録できませんでした。\n"
                                        "ディスクの空き容量が足りないか、書き込めない状態です。（No space left on device）|16")
                             .arg(env.path(QStringLiteral("1組.rlt")), env.path(QStringLiteral("ならびん.ini")))});
    QCOMPARE(env.readFile(QStringLiteral("1組.rlt")), chartBytes());
    QCOMPARE(env.readFile(QStringLiteral("ならびん.ini")), logBytes({QStringLiteral("a.rlt")}));
    QVERIFY(isLoaded<RESULT>() && r->isVisible());
}

void TestSeatChange::unreadableLogIsNotOverwritten()
{
    TestEnv env;
    const QByteArray broken("\x82\xff\x81\x00garbage", 11);
    env.writeFile(QStringLiteral("ならびん.ini"), broken);
    RESULT *r = shownResult(chart());
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("1組.rlt")));
    TRIGGER(r, "mnuResultSave");
    QCOMPARE(env.platform.messageLog(),
             QStringList{QStringLiteral("保存エラー|結果ﾌｧｲﾙ「%1」は保存しましたが、過去ﾛｸﾞ「%2」に記録できませんでした。\n"
                                        "文字コードが正しくありません（Shift_JIS でも UTF-8 でもありません）。|16")
                             .arg(env.path(QStringLiteral("1組.rlt")), env.path(QStringLiteral("ならびん.ini")))});
    QCOMPARE(env.readFile(QStringLiteral("ならびん.ini")), broken);
    QVERIFY(isLoaded<RESULT>());
}

void TestSeatChange::helpAndVersionItems()
{
    TestEnv env;
    loadStartupSettings(QDir::currentPath());
    RESULT *r = shownResult(chart());
    TRIGGER(r, "mnuHelpContext_KeyWord_0");
    TRIGGER(r, "mnuHelpContext_KeyWord_1");
    r->Toolbar1->button(8)->click();
    const QList<PlatformCall> calls = env.platform.callsOf(QStringLiteral("help"));
    QCOMPARE(calls.size(), 3);
    QCOMPARE((QList<int>{calls[0].style, calls[0].data}), (QList<int>{HELP_PARTIALKEY, 0}));
    QCOMPARE((QList<int>{calls[1].style, calls[1].data}), (QList<int>{HELP_CONTEXT, 46}));
    QCOMPARE((QList<int>{calls[2].style, calls[2].data}), (QList<int>{HELP_CONTEXT, 46}));
    for (const PlatformCall &c : calls) {
        QCOMPARE(c.owner.data(), r);
        QCOMPARE(c.text, state().HelpFilePath);
    }
    QVERIFY(!state().HelpFilePath.isEmpty());

    int versionShown = 0;
    for (int i = 0; i < 2; ++i) {
        whenModal([&versionShown] {
            if (INFO_VER *v = loadedForm<INFO_VER>(); v && v->isVisible() && v->isModal())
                ++versionShown;
            unload<INFO_VER>();
        });
        if (i == 0)
            TRIGGER(r, "mnuVersion");
        else
            r->Toolbar1->button(7)->click();
    }
    QCOMPARE(versionShown, 2);
    QVERIFY(isLoaded<RESULT>());
}

void TestSeatChange::printStatusBarToggle()
{
    TestEnv env;
    loadStartupSettings(QDir::currentPath());
    RESULT *r = form<RESULT>();
    QVERIFY(r->mnuPrintStatusBar->isChecked());
    TRIGGER(r, "mnuPrintStatusBar");
    QVERIFY(!r->mnuPrintStatusBar->isChecked());
    QCOMPARE(state().OptPsbar, QStringLiteral("0"));
    QCOMPARE(readSetting(QStringLiteral("OptPsbar")), QStringLiteral("0"));
    r->mnuPrintStatusBar_Click();
    QVERIFY(r->mnuPrintStatusBar->isChecked());
    QCOMPARE(state().OptPsbar, QStringLiteral("1"));
    QCOMPARE(readSetting(QStringLiteral("OptPsbar")), QStringLiteral("1"));
    QVERIFY(env.platform.messageLog().isEmpty());

    // A store that cannot be written: the user is told and nothing changes.
    QFile::remove(env.settingsFile());
    QVERIFY(QDir().mkpath(env.settingsFile()));
    TRIGGER(r, "mnuPrintStatusBar");
    QVERIFY(r->mnuPrintStatusBar->isChecked());
    QCOMPARE(state().OptPsbar, QStringLiteral("1"));
    QCOMPARE(env.platform.messageLog(),
             QStringList{QStringLiteral("設定の保存エラー|設定を保存できませんでした。\r保存先: %1\r設定は変更されていません。|16")
                             .arg(env.settingsFile())});
}

void TestSeatChange::printItemsAreWired()
{
    // The menu item and toolbar position 5 ask for a printer; the option item opens its dialog.
    TestEnv env;
    RESULT *r = shownResult(chart());
    TRIGGER(r, "mnuPrint");
    r->Toolbar1->button(5)->click();
    QCOMPARE(env.platform.callsOf(QStringLiteral("print")).size(), 2);
    TRIGGER(r, "mnuNoPrintLine");
    QVERIFY(isLoaded<NOPLINE>());
    QCOMPARE(env.platform.messageLog(), QStringList());
    QVERIFY(isLoaded<RESULT>());
}

QTEST_MAIN(TestSeatChange)
#include "tst_seatchange.moc"
