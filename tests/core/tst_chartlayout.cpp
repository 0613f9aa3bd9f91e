// Where the chart of any room puts its desks, from either side, in areas of several sizes.
#include "core/chartgrid.h"
#include "core/chartlayout.h"
#include "support/fixtures.h"

#include <QRandomGenerator>
#include <QRegion>
#include <QtTest>

#include <algorithm>
#include <array>

namespace
{

// The first rule the layout breaks, or an empty text.
QString fault(const Room &room, const ChartLayout &layout, bool teacherView, QSize area, bool mustFit)
{
    const QSize size = layout.size();
    if (mustFit ? size != area : size.width() < area.width() || size.height() < area.height())
        return QStringLiteral("size %1 × %2").arg(size.width()).arg(size.height());
    if (layout.deskCount() != room.deskCount() || layout.box(1).width() < ChartLayout::MinBoxWidth ||
        layout.box(1).height() < ChartLayout::MinBoxHeight ||
        (size.width() > area.width() && layout.box(1).width() != ChartLayout::MinBoxWidth) ||
        (size.height() > area.height() && layout.box(1).height() != ChartLayout::MinBoxHeight))
        return QStringLiteral("box %1 × %2").arg(layout.box(1).width()).arg(layout.box(1).height());

    QList<QRect> box{{}}, caption{{}}, unit{{}}; // by desk number
    QList<ChartCell> cells{{}};
    for (int desk = 1; desk <= layout.deskCount(); ++desk) {
        box.append(layout.box(desk));
        caption.append(layout.caption(desk));
        unit.append(box.last() | caption.last());
        cells.append(chartCell(room, desk, teacherView));
    }

    // Nothing may overlap anything of another owner: a desk's box and caption, the teacher's
    // desk, the aisles, the 班 numbers.
    struct Item {
        QRect rect;
        int owner;
    };
    QList<Item> items{{layout.teachersDesk(), 0}};
    for (int desk = 1; desk <= layout.deskCount(); ++desk)
        items << Item{box[desk], desk} << Item{caption[desk], desk};
    for (const QRect &aisle : layout.aisles())
        items << Item{aisle, -1000 - int(items.size())};
    for (const ChartGroup &group : layout.groups())
        items << Item{group.label, -group.number};
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (!QRect(QPoint(), size).contains(items.at(i).rect) || items.at(i).rect.isEmpty())
            return QStringLiteral("item of %1 outside").arg(items.at(i).owner);
        for (qsizetype j = i + 1; j < items.size(); ++j) {
            if (items.at(i).owner != items.at(j).owner && items.at(i).rect.intersects(items.at(j).rect))
                return QStringLiteral("items of %1 and %2 overlap").arg(items.at(i).owner).arg(items.at(j).owner);
        }
    }

    // The cells say where each desk lies against the others; the teacher's desk lies beyond
    // the front row.
    for (int a = 1; a <= layout.deskCount(); ++a) {
        if (teacherView ? layout.teachersDesk().bottom() >= unit[a].top()
                        : layout.teachersDesk().top() <= unit[a].bottom())
            return QStringLiteral("desk %1 behind the teacher's desk").arg(a);
        for (int b = 1; b <= layout.deskCount(); ++b) {
            const ChartCell ca = cells.at(a), cb = cells.at(b);
            if ((ca.line < cb.line && unit.at(a).bottom() >= caption.at(b).top()) ||
                (ca.line == cb.line && box.at(a).top() != box.at(b).top()) ||
                (ca.line == cb.line && ca.column < cb.column && box.at(a).right() >= box.at(b).left()))
                return QStringLiteral("desks %1 and %2 out of place").arg(a).arg(b);
        }
    }

    // A 班's frame holds its own desks and the gaps between two side by side or one behind the
    // other, and no part of any other desk or frame.
    if (layout.groups().size() != room.groupNumbers().size())
        return QStringLiteral("班 count");
    QHash<int, QRegion> frames;
    for (const ChartGroup &group : layout.groups()) {
        QRegion frame;
        for (const QRect &part : group.frame)
            frame += part;
        if (group.number != room.groupNumbers()[frames.size()] || !(QRegion(group.label) - frame).isEmpty())
            return QStringLiteral("班 %1 number").arg(group.number);
        for (auto other = frames.cbegin(); other != frames.cend(); ++other) {
            if (other.value().intersects(frame))
                return QStringLiteral("班 %1 and %2 meet").arg(group.number).arg(other.key());
        }
        frames.insert(group.number, frame);
        for (int desk = 1; desk <= layout.deskCount(); ++desk) {
            if (room.groupOf(desk) == group.number ? !(QRegion(unit[desk]) - frame).isEmpty()
                                                   : frame.intersects(unit[desk]))
                return QStringLiteral("班 %1 and desk %2").arg(group.number).arg(desk);
        }
    }
    for (int a = 1; a <= layout.deskCount(); ++a) {
        for (int b = a + 1; b <= layout.deskCount(); ++b) {
            const int group = room.groupOf(a), lines = std::abs(cells[a].line - cells[b].line);
            if (group == 0 || room.groupOf(b) != group || lines + std::abs(cells[a].column - cells[b].column) != 1)
                continue;
            // Between two behind each other: from the inner edges of the two, as drawn.
            QRect gap = unit[a] | unit[b];
            if (lines == 1)
                gap.setCoords(std::max(unit[a].left(), unit[b].left()), gap.top(),
                              std::min(unit[a].right(), unit[b].right()), gap.bottom());
            if (!(QRegion(gap) - frames[group]).isEmpty())
                return QStringLiteral("班 %1 open between desks %2 and %3").arg(group).arg(a).arg(b);
        }
    }
    return {};
}

} // namespace

class TestChartLayout : public QObject
{
    Q_OBJECT

private slots:
    void standardRoomAsAlwaysDrawn();
    void generatedRooms_data();
    void generatedRooms();
};

// The standard room in the result window: every place exactly where the chart has always had it.
void TestChartLayout::standardRoomAsAlwaysDrawn()
{
    constexpr std::array<int, 4> left{735, 2895, 5055, 7215};
    constexpr std::array<int, 7> top{810, 1530, 2250, 3000, 3690, 4410, 5130}; // from the back row
    for (const bool teacherView : {false, true}) {
        const ChartLayout layout(Room::standard(), teacherView);
        QCOMPARE(layout.size(), QSize(9525, 6555));
        QCOMPARE(layout.aisles().size() + layout.groups().size(), 0);
        for (int seat = 1; seat <= 28; ++seat) {
            const int row = (seat - 1) / 4, place = (seat - 1) % 4;
            const QRect box = teacherView
                                  ? QRect(left[size_t(place)], 6555 - top[size_t(6 - row)] - 345 + 240, 1575, 345)
                                  : QRect(left[size_t(3 - place)], top[size_t(6 - row)], 1575, 345);
            const QRect caption(box.left() + 420, box.top() - 240, 735, 255);
            QCOMPARE(layout.box(seat), box);
            QCOMPARE(layout.caption(seat), caption);
        }
        QCOMPARE(layout.teachersDesk(), teacherView ? QRect(4215, 570, 1095, 315) : QRect(4215, 5670, 1095, 315));
    }
}

void TestChartLayout::generatedRooms_data()
{
    QTest::addColumn<QSize>("area");
    QTest::addColumn<bool>("mustFit");
    QTest::newRow("result window") << ChartLayout::StandardArea << false;
    // The client area of a maximised window on such a screen, in twips.
    QTest::newRow("1920 × 1080") << QSize(1904 * 15, 980 * 15) << true;
    QTest::newRow("too small") << QSize(3000, 2000) << false;
}

void TestChartLayout::generatedRooms()
{
    QFETCH(QSize, area);
    QFETCH(bool, mustFit);
    QRandomGenerator random(quint32(area.width()));
    for (int round = 0; round < 500; ++round) {
        const Room room = randomRoom(random, round);
        for (const bool teacherView : {false, true}) {
            const QString broken = fault(room, ChartLayout(room, teacherView, area), teacherView, area, mustFit);
            QVERIFY2(broken.isEmpty(),
                     qPrintable(QStringLiteral("room %1 seen from the %2: %3")
                                    .arg(QString::number(round), teacherView ? "desk" : "pupils", broken)));
        }
    }
}

QTEST_GUILESS_MAIN(TestChartLayout)
#include "tst_chartlayout.moc"
