// Keeping pupils off last time's seats and neighbours, and where last time comes from.
#include "core/ledger.h"
#include "core/repeatavoidance.h"
#include "core/rulerun.h"
#include "seating/seatingfixture.h"

#include <QtTest>

Q_DECLARE_METATYPE(RepeatRules)

namespace
{

// A roster and its conditions in the shared state, nothing placed yet; the room from
// roomFromEdits, the standard one when there are none.
SharedState &rosterState(const QStringList &roster, const SeatMap &conditions, const QString &room = {})
{
    resetState();
    state().openClass.setRoom(roomFromEdits(room));
    putRoster(state(), roster, conditions);
    return state();
}

// A chart the plain shuffle makes.
QStringList plainChart(const QStringList &roster, const SeatMap &conditions, quint32 seed, const QString &room)
{
    SharedState &s = rosterState(roster, conditions, room);
    shuffleAndPlace(s.openClass, seededUniformSource(seed));
    return chartTexts(s.openClass.chart);
}

// Pinned pupils on their seats, everybody placed once.
void checkPlacedOnce(const SharedState &s, const QStringList &roster)
{
    QStringList placed;
    const ClassModel &c = s.openClass;
    for (int k = 0; k < c.deskCount(); ++k) {
        if (c.conditions[k].kind != DeskCondition::Kind::Free)
            QCOMPARE(c.chart[k].text(),
                     c.conditions[k].kind == DeskCondition::Kind::Empty ? " " : c.conditions[k].pupil);
        if (c.chart[k].kind == ChartDesk::Kind::Pupil)
            placed.append(c.chart[k].pupil);
    }
    QCOMPARE(sorted(placed), sorted(roster));
}

} // namespace

class TestRepeatAvoidance : public QObject
{
    Q_OBJECT

private slots:
    void noAvoidableRepeatLeft_data();
    void noAvoidableRepeatLeft();
    void plainShuffleWhenNothingToAvoid_data();
    void plainShuffleWhenNothingToAvoid();
    void bestDrawWhenUnavoidable_data();
    void bestDrawWhenUnavoidable();
    void previousChart_data();
    void previousChart();
};

void TestRepeatAvoidance::noAvoidableRepeatLeft_data()
{
    QTest::addColumn<QStringList>("roster");
    QTest::addColumn<SeatMap>("conditions");
    QTest::addColumn<RepeatRules>("rules");
    QTest::addColumn<QString>("room"); // edits; none: the standard room
    // Two pinned side by side with free seats around them, empty seats at the back.
    SeatMap mixed = emptySeats(23, 28);
    mixed[2] = QStringLiteral("生徒1");
    mixed[3] = QStringLiteral("生徒2");
    QTest::newRow("pinned and empty seats, both") << pupils(20) << mixed << RepeatRules{true, true} << "";
    // Four pupils in one row: few orders keep every pair apart.
    QTest::newRow("one row of four, both") << pupils(4) << emptySeats(5, 28) << RepeatRules{true, true} << "";
    // Three in a row of 7 × 5 with the aisle between desks 2 and 3: only 1 and 2 are neighbours,
    // so last time's pair can always be parted; were 2 and 3 neighbours, one pair would stay.
    QTest::newRow("7 × 5, across the aisle")
        << pupils(3) << emptySeats(4, 35) << RepeatRules{false, true} << "grid 7 5; aisle 2";
    QTest::newRow("35 pupils in 7 × 5, both") << pupils(35) << SeatMap{} << RepeatRules{true, true} << "preset 2";
}

void TestRepeatAvoidance::noAvoidableRepeatLeft()
{
    QFETCH(QStringList, roster);
    QFETCH(SeatMap, conditions);
    QFETCH(RepeatRules, rules);
    QFETCH(QString, room);
    for (quint32 run = 0; run < 200; ++run) {
        const QStringList previous = plainChart(roster, conditions, 5000 + run, room);
        SharedState &s = rosterState(roster, conditions, room);
        const RepeatAvoidingRun r = shuffleAvoidingRepeats(s, seededUniformSource(run), previous, rules);
        const Repeats left =
            findRepeats(chartTexts(s.openClass.chart), previous, s.openClass.room, s.openClass.conditions, rules);
        QVERIFY2(left.count() == 0 && r.repeats.count() == 0, qPrintable(QStringLiteral("run %1").arg(run)));
        checkPlacedOnce(s, roster);
    }
}

void TestRepeatAvoidance::plainShuffleWhenNothingToAvoid_data()
{
    QTest::addColumn<RepeatRules>("rules");
    QTest::addColumn<QString>("previous"); // "name:seat" pairs split by commas; "none": no previous chart
    QTest::newRow("options off, a previous chart") << RepeatRules{false, false} << "生徒1:1,生徒2:2,生徒3:3";
    QTest::newRow("options on, no previous chart") << RepeatRules{true, true} << "none";
    QTest::newRow("options on, nobody from last time") << RepeatRules{true, true} << "誰か:1,別の人:2";
}

void TestRepeatAvoidance::plainShuffleWhenNothingToAvoid()
{
    QFETCH(RepeatRules, rules);
    QFETCH(QString, previous);
    const SeatMap conditions{{4, "生徒9"}, {6, "-"}};
    const QTemporaryDir noLog;
    for (quint32 seed = 1; seed <= 20; ++seed) {
        SharedState &s = rosterState(pupils(12), conditions);
        s.openClass.chart[27] = ChartDesk::fromText(QStringLiteral("前の結果"));
        SharedState today = s;
        shuffleAndPlace(today.openClass, seededUniformSource(seed));
        s.OptNoSameSeat = rules.seat;
        s.OptNoSameNeighbour = rules.neighbour;
        if (previous != QLatin1String("none"))
            s.LastCharts.insert(rosterKey(pupils(12), Room::standard()), chartOf(previous));
        QVERIFY(!placeForRun(s, seededUniformSource(seed), noLog.path()));
        QVERIFY(s.openClass == today.openClass);
    }
}

void TestRepeatAvoidance::bestDrawWhenUnavoidable_data()
{
    QTest::addColumn<QStringList>("roster");
    QTest::addColumn<SeatMap>("conditions");
    QTest::addColumn<QString>("previous");
    QTest::addColumn<RepeatRules>("rules");
    QTest::addColumn<int>("fewest");
    QTest::addColumn<QString>("message"); // empty: several draws are best
    const QString ito = QStringLiteral("伊藤 翔太"), sato = QStringLiteral("佐藤 花子"),
                  suzuki = QStringLiteral("鈴木 一郎");
    // Seat 2 is the only seat left: 佐藤 sits there again, between the two pinned.
    SeatMap between = emptySeats(4, 28);
    between[1] = ito;
    between[3] = suzuki;
    const QString lastTime = QStringLiteral("伊藤 翔太:1,佐藤 花子:2,鈴木 一郎:3");
    QTest::newRow("seat: the one free seat")
        << QStringList{ito, sato, suzuki} << between << lastTime << RepeatRules{true, false} << 1
        << "前回と同じ席になった人がいます。\r佐藤 花子";
    QTest::newRow("neighbours: both pairs")
        << QStringList{ito, sato, suzuki} << between << lastTime << RepeatRules{false, true} << 2
        << "前回と同じ隣になった人がいます。\r伊藤 翔太と佐藤 花子、佐藤 花子と鈴木 一郎";
    // Two pinned side by side again are no repeat; the free pupil between seats 5 and 7 is.
    SeatMap pinnedPair = emptySeats(8, 28);
    pinnedPair[1] = ito;
    pinnedPair[2] = sato;
    pinnedPair[5] = suzuki;
    pinnedPair[7] = QStringLiteral("山田");
    for (int k : {3, 4})
        pinnedPair[k] = QStringLiteral("-");
    QTest::newRow("a pinned pair is no repeat")
        << QStringList{ito, sato, suzuki, "山田", "田中"} << pinnedPair
        << "伊藤 翔太:1,佐藤 花子:2,鈴木 一郎:5,田中:6,山田:7" << RepeatRules{true, true} << 3
        << "前回と同じ席になった人がいます。\r田中\r前回と同じ隣になった人がいます。\r鈴木 一郎と田中、田中と山田";
    // Three in a row of three: the best orders keep one pair together, which one is drawn.
    QTest::newRow("a row of three, the fewest")
        << QStringList{"A", "B", "C"} << emptySeats(4, 28) << "A:1,B:2,C:3" << RepeatRules{true, true} << 1 << "";
}

void TestRepeatAvoidance::bestDrawWhenUnavoidable()
{
    QFETCH(QStringList, roster);
    QFETCH(SeatMap, conditions);
    QFETCH(QString, previous);
    QFETCH(RepeatRules, rules);
    QFETCH(int, fewest);
    QFETCH(QString, message);
    for (quint32 seed = 1; seed <= 5; ++seed) {
        SharedState &s = rosterState(roster, conditions);
        const RepeatAvoidingRun r = shuffleAvoidingRepeats(s, seededUniformSource(seed), chartOf(previous), rules);
        QCOMPARE(r.repeats.count(), fewest);
        checkPlacedOnce(s, roster);
        // The message names the repeats of the chart taken, no more and no fewer.
        const Repeats inChart = findRepeats(chartTexts(s.openClass.chart), chartOf(previous), s.openClass.room,
                                            s.openClass.conditions, rules);
        QCOMPARE(inChart.pupils, r.repeats.pupils);
        QVERIFY(inChart.neighbours == r.repeats.neighbours);
        const std::optional<MessageText> said = repeatMessage(r.repeats);
        QVERIFY(said); // its title and style: tst_seatchange
        if (!message.isEmpty())
            QCOMPARE(said->text, message);
    }
}

void TestRepeatAvoidance::previousChart_data()
{
    QTest::addColumn<QStringList>("steps"); // applyChartSteps on the class's charts; first "no file": no roster file
    QTest::addColumn<QString>("expected");  // "name:seat,..."; empty: none
    const QString ours = QStringLiteral("A:1,B:2,C:3"), reordered = QStringLiteral("C:5,A:9,B:28");
    const QStringList logged{"+old.rlt=" + ours, "+new.rlt=" + reordered};
    QTest::newRow("the class's newest logged chart") << logged << reordered;
    // A transfer pupil (X for C) leaves it the class's chart; another class's is skipped.
    QTest::newRow("a transfer pupil, another class")
        << QStringList{"+ours.rlt=" + ours, "+moved.rlt=A:4,B:2,X:3", "+other.rlt=P:1,Q:2,C:3"} << "A:4,B:2,X:3";
    // 28 desks too, but with an aisle: other desks are neighbours there.
    QTest::newRow("last chart in another room")
        << QStringList{"+ours.rlt=" + ours, "+grid 7 4; aisle 1@aisle.rlt=" + reordered} << "";
    QTest::newRow("newest deleted") << logged + QStringList{"+-new.rlt"} << ours;
    QTest::newRow("newest unreadable") << logged + QStringList{"+!new.rlt"} << ours;
    QTest::newRow("the year's last kept, not the log's newest")
        << QStringList{"+old.rlt=" + ours, "r1=B:1,C:2,A:3", "+new.rlt=" + reordered} << "B:1,C:2,A:3";
    QTest::newRow("no roster file: this process's last run") << QStringList{"no file", "+new.rlt=" + reordered} << "";
}

void TestRepeatAvoidance::previousChart()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, expected);
    TestEnv env;
    const QString folder = QDir::currentPath();
    SharedState &s = rosterState({"C", "A", "B"}, {});
    const bool withFile = steps.constFirst() != QLatin1String("no file");
    s.RosterFileName = withFile ? env.path(QStringLiteral("1組.MEM")) : QString();
    QCOMPARE(
        applyChartSteps(env.path(QStringLiteral("1組.MEM")), folder, s.openClass.pupils, steps.mid(withFile ? 0 : 1)),
        QString());
    QCOMPARE(::previousChart(s, folder), expected.isEmpty() ? QStringList() : chartOf(expected));

    // A run with the option on, drawn plainly or with a rule, keeps the pupils off those seats;
    // its chart is the next previous one only once kept, or at once for a roster without a file.
    s.OptNoSameSeat = true;
    const SharedState before = s;
    for (quint32 seed = 0; seed < 40; ++seed) {
        s = before;
        if (seed % 2)
            s.openClass.rules = {ruleOf(Rule::Kind::Apart, {"A", "B"})};
        QVERIFY(!(seed % 2 ? placeDrawn(s, drawForRun(s, seededUniformSource(seed), folder))
                           : placeForRun(s, seededUniformSource(seed), folder)));
        if (!expected.isEmpty())
            QCOMPARE(findRepeats(chartTexts(s.openClass.chart), chartOf(expected), s.openClass.room,
                                 s.openClass.conditions, {true, false})
                         .count(),
                     0);
        QCOMPARE(::previousChart(s, folder),
                 withFile ? (expected.isEmpty() ? QStringList() : chartOf(expected)) : chartTexts(s.openClass.chart));
    }
}

QTEST_MAIN(TestRepeatAvoidance)
#include "tst_repeatavoidance.moc"
