// The shuffle and placement of a seat change.
#include "core/placement.h"
#include "seating/seatingfixture.h"

#include <QtTest>

namespace
{

// A source that gives the keys listed, in turn.
UniformSource keys(QList<int> list)
{
    auto next = std::make_shared<qsizetype>(0);
    return [list, next] { return (list.value((*next)++, 1) - 1 + 0.5) / 999.0; };
}

QStringList numbered(const QString &list)
{
    QStringList out;
    for (const QString &n : list.split(u','))
        out.append(n.isEmpty() || n == QLatin1String(" ") ? n : QStringLiteral("生徒") + n);
    return out;
}

} // namespace

class TestPlacement : public QObject
{
    Q_OBJECT

private slots:
    void placement_data();
    void placement();
};

void TestPlacement::placement_data()
{
    QTest::addColumn<QStringList>("roster");
    QTest::addColumn<QList<int>>("keys"); // drawn in turn; {-n}: the program's own source seeded with n
    QTest::addColumn<SeatMap>("conditions");
    QTest::addColumn<QStringList>("expected"); // desks 1..28, or one a pupil
    QTest::addColumn<QStringList>("order");    // the pupils as drawn

    QList<int> rising;
    for (int key = 1; key <= 30; ++key)
        rising.append(key);
    QTest::newRow("worked example") << QStringList{"佐藤", "伊藤", "加藤"} << rising << SeatMap{{1, "-"}, {2, "佐藤"}}
                                    << padded({" ", "佐藤", "伊藤", "加藤"}) << QStringList{"佐藤", "伊藤", "加藤"};
    // Pupil 1 is designated to seat 10: seat 1 goes to pupil 2, and pupil 1 sits on seat 10 only.
    QTest::newRow("designated pupil drawn first")
        << pupils(28) << rising << SeatMap{{10, "生徒1"}} << (pupils(28).mid(1, 9) << "生徒1" << pupils(28).mid(10))
        << pupils(28);
    QTest::newRow("designated pupils drawn last") << pupils(28) << rising << SeatMap{{1, "生徒27"}, {2, "生徒28"}}
                                                  << (QStringList{"生徒27", "生徒28"} << pupils(26)) << pupils(28);
    // An exchange sort, not a stable one: C's exchange with A carries A behind B, and the
    // equal keys of B and A then stay as they are.
    QTest::newRow("equal keys never exchanged") << QStringList{"A", "B", "C"} << QList<int>{5, 5, 3} << SeatMap{}
                                                << padded({"C", "B", "A"}) << QStringList{"C", "B", "A"};
    // More pupils than the standard room has desks: a room as large as the class.
    QTest::newRow("30 pupils, 30 desks") << pupils(30) << rising << SeatMap{} << pupils(30) << pupils(30);
    QTest::newRow("no pupils") << QStringList{} << rising << SeatMap{} << padded({}) << QStringList{};
    // Charts drawn from fixed seeds by the program before rooms could change: the same keys
    // must keep giving the same chart, and leave the pupils in the same order.
    const SeatMap some{{1, "-"}, {9, "生徒3"}, {28, "-"}};
    const QString ever2026 = "21,6,3,19,9,1,11,18,25,28,20,24,5,10,4,7,26,15,22,13,2,23,27,8,16,17,12,14";
    QTest::newRow("seed 1, conditions")
        << pupils(25) << QList<int>{-1} << some
        << numbered(" ,8,6,14,19,24,12,1,3,22,17,13,21,18,25,16,2,20,5,9,4,15,11,23,7,10,, ")
        << numbered("8,6,14,19,24,12,1,22,17,13,21,18,25,16,2,20,5,9,4,3,15,11,23,7,10");
    QTest::newRow("seed 2026") << pupils(28) << QList<int>{-2026} << SeatMap{} << numbered(ever2026)
                               << numbered(ever2026);
}

void TestPlacement::placement()
{
    QFETCH(QStringList, roster);
    QFETCH(QList<int>, keys);
    QFETCH(SeatMap, conditions);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, order);
    SharedState s;
    s.openClass.setRoom(roster.size() > SeatCount ? Room::grid(5, 6) : Room::standard());
    putRoster(s, roster, conditions);
    ClassModel &c = s.openClass;
    QVERIFY(drawPossible(c.pupils, c.conditions));
    shuffleAndPlace(c, keys.value(0) < 0 ? seededUniformSource(quint32(-keys.first())) : ::keys(keys));
    QCOMPARE(chartTexts(c.chart), expected);
    QCOMPARE(c.pupils, order);
}

QTEST_MAIN(TestPlacement)
#include "tst_placement.moc"
