// The shuffle and placement of a seat change.
#include "seating/placement.h"
#include "support/testenv.h"

#include <QRandomGenerator>
#include <QtTest>

#include <set>

using SeatMap = QMap<int, QString>;

namespace {

// Slots 1.. filled from a list; the rest empty.
Slots slotsOf(const QStringList &texts)
{
    Slots s;
    for (int i = 0; i < texts.size() && i + 1 < SlotCount; ++i)
        s[size_t(i + 1)] = texts.at(i);
    return s;
}

// Seat conditions from a map seat -> condition.
Slots conditionsOf(const QMap<int, QString> &bySeat)
{
    Slots s;
    for (auto it = bySeat.cbegin(); it != bySeat.cend(); ++it)
        s[size_t(it.key())] = it.value();
    return s;
}

QStringList pupils(int count)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names.append(QStringLiteral("生徒%1").arg(i));
    return names;
}

QStringList seats1to28(const Slots &result)
{
    QStringList out;
    for (int k = 1; k <= SeatCount; ++k)
        out.append(result[size_t(k)]);
    return out;
}

} // namespace

class TestPlacement : public QObject {
    Q_OBJECT

private slots:
    void keyFromUniform_data();
    void keyFromUniform();
    void sourceHas24BitResolution();
    void runSourceIsReseededFromTheClock();
    void workedExample();
    void placement_data();
    void placement();
    void sortNeverExchangesEqualKeys_data();
    void sortNeverExchangesEqualKeys();
    void validConditionsSeatEveryPupilOnce();
    void anyConditionsStayWithinTheArrays();
    void preconditions_data();
    void preconditions();
};

void TestPlacement::keyFromUniform_data()
{
    QTest::addColumn<double>("r");
    QTest::addColumn<int>("key");
    QTest::newRow("0") << 0.0 << 1;
    QTest::newRow("just below 1/999") << (1.0 / 999 - 1.0 / (1 << 24)) << 1;
    QTest::newRow("1/999") << 1.0 / 999 << 2;
    QTest::newRow("half") << 0.5 << 500;
    QTest::newRow("largest 24-bit value") << double((1 << 24) - 1) / (1 << 24) << 999;
}

void TestPlacement::keyFromUniform()
{
    QFETCH(double, r);
    QFETCH(int, key);
    QCOMPARE(::keyFromUniform(r), key);
}

void TestPlacement::sourceHas24BitResolution()
{
    UniformSource source = seededUniformSource(12345);
    std::set<int> keys;
    bool sawOddStep = false;
    for (int i = 0; i < 20000; ++i) {
        const double r = source();
        QVERIFY(r >= 0.0 && r < 1.0);
        const double scaled = r * (1 << 24);
        QCOMPARE(scaled, std::floor(scaled));
        // Finer than 16 bits: some draws use the low bits too.
        sawOddStep = sawOddStep || (qint64(scaled) & 0xFF) != 0;
        keys.insert(::keyFromUniform(r));
    }
    QVERIFY(sawOddStep);
    QCOMPARE(*keys.begin(), 1);
    QCOMPARE(*keys.rbegin(), 999);
    QVERIFY(keys.size() > 990);
}

void TestPlacement::runSourceIsReseededFromTheClock()
{
    TestEnv env;
    const auto draw = [] {
        UniformSource s = runSource();
        return QList<double>{s(), s(), s()};
    };
    const QList<double> first = draw();
    QCOMPARE(draw(), first); // same time of day, same numbers
    env.setNow(QDateTime(QDate(2026, 12, 5), QTime(15, 7, 0, 1)));
    QVERIFY(draw() != first);
}

void TestPlacement::workedExample()
{
    const Slots names = slotsOf({QStringLiteral("佐藤"), QStringLiteral("伊藤"), QStringLiteral("加藤")});
    const Slots conditions = conditionsOf({{1, QStringLiteral("-")}, {2, QStringLiteral("佐藤")}});
    Slots result;
    const PlacementTrace t = placePupils(names, 3, conditions, result);
    QStringList expected{QStringLiteral(" "), QStringLiteral("佐藤"), QStringLiteral("伊藤"), QStringLiteral("加藤")};
    while (expected.size() < SeatCount)
        expected.append(QString());
    QCOMPARE(seats1to28(result), expected);
    QCOMPARE(t.iterations, 29);
    QCOMPARE(t.seat, 28);
    QCOMPARE(t.pupil, 27);
}

void TestPlacement::placement_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<SeatMap>("conditions");
    QTest::addColumn<QStringList>("expected"); // seats 1..28
    QTest::addColumn<int>("iterations");
    QTest::addColumn<int>("finalSeat");
    QTest::addColumn<int>("finalPupil");

    QTest::newRow("no conditions, 28 pupils") << 28 << QMap<int, QString>{} << pupils(28) << 28 << 28 << 28;

    QStringList twentyFive = pupils(25);
    twentyFive << QString() << QString() << QString();
    QTest::newRow("no conditions, 25 pupils") << 25 << QMap<int, QString>{} << twentyFive << 28 << 28 << 28;

    QStringList seat5Empty = pupils(4);
    seat5Empty << QStringLiteral(" ") << pupils(27).mid(4);
    QTest::newRow("seat 5 empty") << 27 << QMap<int, QString>{{5, QStringLiteral("-")}} << seat5Empty << 28 << 28 << 27;

    // Pupil 1 is designated to seat 10: seat 1 goes to pupil 2, and pupil 1 sits on seat 10 only.
    QStringList firstDesignated = pupils(28).mid(1, 9);
    firstDesignated << QStringLiteral("生徒1") << pupils(28).mid(10);
    QTest::newRow("designated pupil shuffled first")
        << 28 << QMap<int, QString>{{10, QStringLiteral("生徒1")}} << firstDesignated << 29 << 28 << 28;

    // Pupils 27 and 28 are designated to seats 1 and 2 and come last: the last two
    // iterations pass them over on spare slot 29.
    QStringList lastDesignated{QStringLiteral("生徒27"), QStringLiteral("生徒28")};
    lastDesignated << pupils(26);
    QTest::newRow("designated pupils shuffled last (p = 29)")
        << 28 << QMap<int, QString>{{1, QStringLiteral("生徒27")}, {2, QStringLiteral("生徒28")}} << lastDesignated << 30
        << 28 << 28;

    QTest::newRow("no pupils") << 0 << QMap<int, QString>{} << QStringList(28, QString()) << 28 << 28 << 28;

    QStringList onlyEmpty(28, QStringLiteral(" "));
    QMap<int, QString> allEmpty;
    for (int k = 1; k <= 28; ++k)
        allEmpty[k] = QStringLiteral("-");
    QTest::newRow("no pupils, every seat empty") << 0 << allEmpty << onlyEmpty << 28 << 28 << 0;
}

void TestPlacement::placement()
{
    QFETCH(int, count);
    QFETCH(SeatMap, conditions);
    QFETCH(QStringList, expected);
    QFETCH(int, iterations);
    QFETCH(int, finalSeat);
    QFETCH(int, finalPupil);
    Slots result;
    result[29] = QStringLiteral("spare");
    const PlacementTrace t = placePupils(slotsOf(pupils(count)), count, conditionsOf(conditions), result);
    QCOMPARE(seats1to28(result), expected);
    QCOMPARE(t.iterations, iterations);
    QCOMPARE(t.seat, finalSeat);
    QCOMPARE(t.pupil, finalPupil);
    QVERIFY(result[0].isEmpty());
    QCOMPARE(result[29], QStringLiteral("spare"));
}

void TestPlacement::sortNeverExchangesEqualKeys_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("all equal") << QList<int>{7, 7, 7} << QStringList{"A", "B", "C"};
    // An exchange sort, not a stable one: C's exchange with A carries A behind B.
    QTest::newRow("equal pair passed by a smaller key") << QList<int>{5, 5, 3} << QStringList{"C", "B", "A"};
    QTest::newRow("strictly descending") << QList<int>{999, 500, 1} << QStringList{"C", "B", "A"};
    QTest::newRow("ascending stays") << QList<int>{1, 2, 2} << QStringList{"A", "B", "C"};
}

void TestPlacement::sortNeverExchangesEqualKeys()
{
    QFETCH(QList<int>, keys);
    QFETCH(QStringList, order);
    SortKeys k{};
    for (int i = 0; i < keys.size(); ++i)
        k[size_t(i + 1)] = keys.at(i);
    Slots names = slotsOf({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    sortByKeys(k, names, 3);
    QCOMPARE(seats1to28(names).mid(0, 3), order);
    QVERIFY(k[1] <= k[2] && k[2] <= k[3]);
}

void TestPlacement::validConditionsSeatEveryPupilOnce()
{
    QRandomGenerator random(2026);
    for (int round = 0; round < 2000; ++round) {
        const int count = random.bounded(29);
        const int emptySeats = random.bounded(29 - count);
        QList<int> seats;
        for (int k = 1; k <= 28; ++k)
            seats.append(k);
        std::shuffle(seats.begin(), seats.end(), random);
        QMap<int, QString> conditions;
        for (int i = 0; i < emptySeats; ++i)
            conditions[seats.takeFirst()] = QStringLiteral("-");
        const int designated = count == 0 ? 0 : random.bounded(count + 1);
        for (int i = 0; i < designated; ++i)
            conditions[seats.takeFirst()] = QStringLiteral("生徒%1").arg(i + 1);
        QStringList names = pupils(count);
        std::shuffle(names.begin(), names.end(), random);
        const Slots cond = conditionsOf(conditions);
        QVERIFY(runPreconditionsHold(slotsOf(names), count, cond));
        Slots result;
        const PlacementTrace t = placePupils(slotsOf(names), count, cond, result);

        QCOMPARE(t.iterations, 28 + designated);
        QCOMPARE(t.seat, 28);
        QStringList placed;
        for (int k = 1; k <= 28; ++k) {
            const QString &r = result[size_t(k)];
            if (cond[size_t(k)] == QLatin1String("-"))
                QCOMPARE(r, QStringLiteral(" "));
            else if (!cond[size_t(k)].isEmpty())
                QCOMPARE(r, cond[size_t(k)]);
            if (!r.trimmed().isEmpty())
                placed.append(r);
        }
        placed.sort();
        QStringList all = pupils(count);
        all.sort();
        QCOMPARE(placed, all);
        QVERIFY(result[29].isEmpty());
    }
}

void TestPlacement::anyConditionsStayWithinTheArrays()
{
    // Broken conditions too (names twice, unknown names, too many empty seats). Arrays
    // are bounds-checked in test builds, so a stray index stops the test.
    QRandomGenerator random(31);
    const QStringList pool{QStringLiteral("生徒1"), QStringLiteral("生徒2"), QStringLiteral("生徒3"), QStringLiteral("-"),
                           QStringLiteral("-"), QStringLiteral("誰か"), QString()};
    for (int round = 0; round < 5000; ++round) {
        const int count = random.bounded(29);
        Slots names = slotsOf(pupils(count));
        if (count >= 2 && random.bounded(2))
            names[2] = names[1]; // a roster holding one name twice
        Slots conditions;
        for (int k = 1; k <= 28; ++k)
            conditions[size_t(k)] = pool.at(random.bounded(pool.size()));
        Slots result;
        const PlacementTrace t = placePupils(names, count, conditions, result);
        QCOMPARE(t.iterations, 28 + designatedSeatCount(conditions));
        QVERIFY(result[0].isEmpty());
    }
    // Two pupils designated and every other seat empty: the last iteration would take
    // the seat cursor to slot 30.
    Slots conditions;
    conditions[1] = QStringLiteral("生徒27");
    conditions[2] = QStringLiteral("生徒28");
    for (int k = 3; k <= 28; ++k)
        conditions[size_t(k)] = QStringLiteral("-");
    Slots result;
    const PlacementTrace t = placePupils(slotsOf(pupils(28)), 28, conditions, result);
    QCOMPARE(t.iterations, 30);
    QCOMPARE(t.seat, 30);
    QCOMPARE(result[1], QStringLiteral("生徒27"));
    QCOMPARE(result[28], QStringLiteral(" "));
    QCOMPARE(result[29], QStringLiteral("生徒1"));
}

void TestPlacement::preconditions_data()
{
    QTest::addColumn<QStringList>("roster");
    QTest::addColumn<SeatMap>("conditions");
    QTest::addColumn<bool>("hold");
    const QStringList three{QStringLiteral("佐藤"), QStringLiteral("伊藤"), QStringLiteral("加藤")};
    QTest::newRow("no conditions") << three << QMap<int, QString>{} << true;
    QTest::newRow("worked example") << three << QMap<int, QString>{{1, "-"}, {2, QStringLiteral("佐藤")}} << true;
    QTest::newRow("name not in the roster") << three << QMap<int, QString>{{4, QStringLiteral("鈴木")}} << false;
    QTest::newRow("name differs by a blank") << three << QMap<int, QString>{{4, QStringLiteral("佐藤 ")}} << false;
    QTest::newRow("designated name twice in the roster")
        << QStringList{QStringLiteral("佐藤"), QStringLiteral("佐藤"), QStringLiteral("加藤")}
        << QMap<int, QString>{{4, QStringLiteral("佐藤")}} << false;
    QTest::newRow("undesignated name twice in the roster")
        << QStringList{QStringLiteral("佐藤"), QStringLiteral("佐藤"), QStringLiteral("加藤")}
        << QMap<int, QString>{{4, QStringLiteral("加藤")}} << true;
    QTest::newRow("one name on two seats")
        << three << QMap<int, QString>{{3, QStringLiteral("伊藤")}, {10, QStringLiteral("伊藤")}} << false;
    QMap<int, QString> twentyFiveEmpty, twentySixEmpty;
    for (int k = 1; k <= 25; ++k)
        twentyFiveEmpty[k] = QStringLiteral("-");
    twentySixEmpty = twentyFiveEmpty;
    twentySixEmpty[26] = QStringLiteral("-");
    QTest::newRow("empty seats leave just enough room") << three << twentyFiveEmpty << true;
    QTest::newRow("more empty seats than room") << three << twentySixEmpty << false;
    QTest::newRow("28 pupils, one empty seat") << pupils(28) << QMap<int, QString>{{28, "-"}} << false;
    QTest::newRow("no pupils, every seat empty") << QStringList{} << [] {
        QMap<int, QString> all;
        for (int k = 1; k <= 28; ++k)
            all[k] = QStringLiteral("-");
        return all;
    }() << true;
}

void TestPlacement::preconditions()
{
    QFETCH(QStringList, roster);
    QFETCH(SeatMap, conditions);
    QFETCH(bool, hold);
    QCOMPARE(runPreconditionsHold(slotsOf(roster), int(roster.size()), conditionsOf(conditions)), hold);
}

QTEST_MAIN(TestPlacement)
#include "tst_placement.moc"
