// The shuffle and placement of a seat change.
#include "core/placement.h"
#include "seating/seatingfixture.h"

#include <QRandomGenerator>
#include <QtTest>

namespace
{

// Slots 1.. filled from a list; the rest empty.
Slots slotsOf(const QStringList &texts)
{
    Slots s;
    for (int i = 0; i < texts.size() && i + 1 < SlotCount; ++i)
        s[size_t(i + 1)] = texts.at(i);
    return s;
}

Slots conditionsOf(const SeatMap &bySeat)
{
    Slots s;
    for (auto it = bySeat.cbegin(); it != bySeat.cend(); ++it)
        s[size_t(it.key())] = it.value();
    return s;
}

QStringList seats1to28(const Slots &result)
{
    QStringList out;
    for (int k = 1; k <= SeatCount; ++k)
        out.append(result[size_t(k)]);
    return out;
}

} // namespace

class TestPlacement : public QObject
{
    Q_OBJECT

private slots:
    void placement_data();
    void placement();
    void sortNeverExchangesEqualKeys();
    void randomConditions();
};

void TestPlacement::placement_data()
{
    QTest::addColumn<QStringList>("roster");
    QTest::addColumn<SeatMap>("conditions");
    QTest::addColumn<QStringList>("expected"); // seats 1..28
    QTest::addColumn<QList<int>>("trace");     // iterations, final seat, final pupil

    QTest::newRow("worked example") << QStringList{"佐藤", "伊藤", "加藤"} << SeatMap{{1, "-"}, {2, "佐藤"}}
                                    << padded({" ", "佐藤", "伊藤", "加藤"}) << QList<int>{29, 28, 27};
    QTest::newRow("no conditions, 28 pupils") << pupils(28) << SeatMap{} << pupils(28) << QList<int>{28, 28, 28};
    QTest::newRow("no conditions, 25 pupils")
        << pupils(25) << SeatMap{} << padded(pupils(25)) << QList<int>{28, 28, 28};
    QTest::newRow("seat 5 empty") << pupils(27) << emptySeats(5, 5) << (pupils(4) << " " << pupils(27).mid(4))
                                  << QList<int>{28, 28, 27};
    // Pupil 1 is designated to seat 10: seat 1 goes to pupil 2, and pupil 1 sits on seat 10 only.
    QTest::newRow("designated pupil shuffled first")
        << pupils(28) << SeatMap{{10, "生徒1"}} << (pupils(28).mid(1, 9) << "生徒1" << pupils(28).mid(10))
        << QList<int>{29, 28, 28};
    // Pupils 27 and 28 come last: the last two iterations pass them over on spare slot 29.
    QTest::newRow("designated pupils shuffled last (p = 29)")
        << pupils(28) << SeatMap{{1, "生徒27"}, {2, "生徒28"}} << (QStringList{"生徒27", "生徒28"} << pupils(26))
        << QList<int>{30, 28, 28};
    QTest::newRow("no pupils") << QStringList{} << SeatMap{} << padded({}) << QList<int>{28, 28, 28};
}

void TestPlacement::placement()
{
    QFETCH(QStringList, roster);
    QFETCH(SeatMap, conditions);
    QFETCH(QStringList, expected);
    QFETCH(QList<int>, trace);
    Slots result;
    result[29] = QStringLiteral("spare");
    const PlacementTrace t = placePupils(slotsOf(roster), int(roster.size()), conditionsOf(conditions), result);
    QCOMPARE(seats1to28(result), expected);
    QCOMPARE((QList<int>{t.iterations, t.seat, t.pupil}), trace);
    QVERIFY(result[0].isEmpty());
    QCOMPARE(result[29], QStringLiteral("spare"));
}

void TestPlacement::sortNeverExchangesEqualKeys()
{
    // An exchange sort, not a stable one: C's exchange with A carries A behind B, and the
    // equal keys of B and A then stay as they are.
    SortKeys k{0, 5, 5, 3};
    Slots names = slotsOf({"A", "B", "C"});
    sortByKeys(k, names, 3);
    QCOMPARE(seats1to28(names).mid(0, 3), (QStringList{"C", "B", "A"}));
    // Two equal keys side by side are left in their order.
    SortKeys pair{0, 4, 4};
    Slots two = slotsOf({"A", "B"});
    sortByKeys(pair, two, 2);
    QCOMPARE(seats1to28(two).mid(0, 2), (QStringList{"A", "B"}));
}

void TestPlacement::randomConditions()
{
    // Valid conditions, and broken ones (unknown names, names twice, too many empty seats).
    // Arrays are bounds-checked in test builds, so a stray index stops the test.
    QRandomGenerator random(2026);
    const QStringList broken{QStringLiteral("生徒1"), "-", QStringLiteral("誰か"), QString()};
    for (int round = 0; round < 4000; ++round) {
        const int count = random.bounded(29);
        QList<int> seats;
        for (int k = 1; k <= 28; ++k)
            seats.append(k);
        std::shuffle(seats.begin(), seats.end(), random);
        Slots cond;
        for (int i = random.bounded(29 - count); i > 0; --i)
            cond[size_t(seats.takeFirst())] = QStringLiteral("-");
        for (int i = count == 0 ? 0 : random.bounded(count + 1); i > 0; --i)
            cond[size_t(seats.takeFirst())] = QStringLiteral("生徒%1").arg(i);
        if (round % 2)
            cond[size_t(1 + random.bounded(28))] = broken.at(random.bounded(broken.size()));
        QStringList names = pupils(count);
        std::shuffle(names.begin(), names.end(), random);
        Slots result;
        QCOMPARE(placePupils(slotsOf(names), count, cond, result).iterations, 28 + designatedSeatCount(cond));
        QVERIFY(result[0].isEmpty());
        if (!runPreconditionsHold(slotsOf(names), count, cond)) {
            QVERIFY(round % 2);
            continue;
        }
        QVERIFY(result[29].isEmpty());
        QStringList placed;
        for (int k = 1; k <= 28; ++k) {
            const QString &c = cond[size_t(k)];
            if (!c.isEmpty())
                QCOMPARE(result[size_t(k)], c == QLatin1String("-") ? QStringLiteral(" ") : c);
            if (!result[size_t(k)].trimmed().isEmpty())
                placed.append(result[size_t(k)]);
        }
        QCOMPARE(sorted(placed), sorted(pupils(count)));
    }
    // Two pupils designated and every other seat empty: the last iteration takes the seat
    // cursor to slot 30, and slot 29 is written, not beyond.
    SeatMap conditions = emptySeats(3, 28);
    conditions[1] = QStringLiteral("生徒27");
    conditions[2] = QStringLiteral("生徒28");
    Slots result;
    const PlacementTrace t = placePupils(slotsOf(pupils(28)), 28, conditionsOf(conditions), result);
    QCOMPARE((QList<int>{t.iterations, t.seat}), (QList<int>{30, 30}));
    QCOMPARE(result[29], QStringLiteral("生徒1"));
}

QTEST_MAIN(TestPlacement)
#include "tst_placement.moc"
