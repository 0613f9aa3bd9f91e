#include "core/roomedit.h"

#include <QStringList>

#include <algorithm>

namespace
{

// The desks of the rectangle spanned by two cells, row by row from the front, left to right.
QList<RoomCell> desksWithin(const Room &room, RoomCell from, RoomCell to)
{
    QList<RoomCell> cells;
    for (int row = std::min(from.row, to.row); row <= std::max(from.row, to.row); ++row) {
        for (int column = std::min(from.column, to.column); column <= std::max(from.column, to.column); ++column) {
            if (room.hasDesk({row, column}))
                cells.append({row, column});
        }
    }
    return cells;
}

// A 班 of one desk is no 班.
void dissolveSingleGroups(Room &room)
{
    for (int group : room.groupNumbers()) {
        QList<RoomCell> members;
        for (int desk = 1; desk <= room.deskCount(); ++desk) {
            if (room.groupOf(desk) == group)
                members.append(*room.cellOfDesk(desk));
        }
        if (members.size() == 1)
            room.setGroup(members.first(), 0);
    }
}

// 8 across and 5 deep in 8 班 of 5: each two columns between aisles hold two 班, the front
// one the first two rows and the right-hand desk of the middle row, the back one the rest.
Room groupsOfFive()
{
    Room room = Room::grid(5, 8);
    for (int column : {1, 3, 5})
        room.setAisleAfter(column, true);
    for (int block = 0; block < 4; ++block) {
        const int right = 7 - 2 * block;
        for (int row = 0; row < 5; ++row) {
            for (int column : {right - 1, right}) {
                const bool front = row < 2 || (row == 2 && column == right);
                room.setGroup({row, column}, front ? block + 1 : block + 5);
            }
        }
    }
    return room;
}

// 6 across and 7 deep, desks in pairs with an aisle between the pairs.
Room pairs()
{
    Room room = Room::grid(7, 6);
    room.setAisleAfter(1, true);
    room.setAisleAfter(3, true);
    makePairs(room, {0, 0}, {6, 5});
    return room;
}

} // namespace

const QList<RoomPreset> &roomPresets()
{
    static const QList<RoomPreset> presets{
        {QStringLiteral("標準：横4×縦7（28台）"), Room::standard()},
        {QStringLiteral("横6×縦6（36台）"), Room::grid(6, 6)},
        {QStringLiteral("横5×縦7（35台）"), Room::grid(7, 5)},
        {QStringLiteral("横6×縦7（42台）"), Room::grid(7, 6)},
        {QStringLiteral("横8×縦5、5人の班（40台）"), groupsOfFive()},
        {QStringLiteral("2人組：横6×縦7（42台）"), pairs()},
    };
    return presets;
}

Room resizedRoom(const Room &room, int rows, int columns)
{
    Room resized = Room::grid(rows, columns);
    for (int row = 0; row < resized.rows(); ++row) {
        for (int column = 0; column < resized.columns(); ++column) {
            // New rows and columns come with desks.
            const bool added = row >= room.rows() || column >= room.columns();
            resized.setDesk({row, column}, added || room.hasDesk({row, column}));
        }
    }
    for (int column = 0; column + 1 < resized.columns(); ++column)
        resized.setAisleAfter(column, room.aisleAfter(column));
    for (int row = 0; row < resized.rows(); ++row) {
        for (int column = 0; column < resized.columns(); ++column) {
            const int desk = room.deskNumber({row, column});
            if (desk == 0)
                continue;
            resized.setGroup({row, column}, room.groupOf(desk));
            const int partner = room.partnerOf(desk);
            if (partner != 0 && room.cellOfDesk(partner)->column == column + 1)
                resized.joinPair({row, column});
        }
    }
    dissolveSingleGroups(resized);
    return resized;
}

void switchDesk(Room &room, RoomCell cell)
{
    room.setDesk(cell, !room.hasDesk(cell));
    dissolveSingleGroups(room);
}

bool makeGroup(Room &room, RoomCell from, RoomCell to)
{
    const QList<RoomCell> cells = desksWithin(room, from, to);
    if (cells.size() < Room::MinGroupSize || cells.size() > Room::MaxGroupSize)
        return false;
    for (RoomCell cell : cells)
        room.setGroup(cell, 0);
    dissolveSingleGroups(room);
    const QList<int> used = room.groupNumbers();
    int number = 1;
    while (used.contains(number))
        ++number;
    for (RoomCell cell : cells)
        room.setGroup(cell, number);
    return true;
}

bool makePairs(Room &room, RoomCell from, RoomCell to)
{
    Room paired = room;
    for (RoomCell cell : desksWithin(room, from, to))
        paired.splitPair(cell);
    bool made = false;
    const int last = std::max(from.column, to.column);
    for (int row = std::min(from.row, to.row); row <= std::max(from.row, to.row); ++row) {
        for (int column = std::min(from.column, to.column); column < last; ++column) {
            if (paired.joinPair({row, column})) {
                made = true;
                ++column;
            }
        }
    }
    if (made)
        room = paired;
    return made;
}

bool releaseDesks(Room &room, RoomCell from, RoomCell to)
{
    bool released = false;
    for (RoomCell cell : desksWithin(room, from, to)) {
        const int desk = room.deskNumber(cell);
        released = released || room.groupOf(desk) != 0 || room.partnerOf(desk) != 0;
        room.setGroup(cell, 0);
        room.splitPair(cell);
    }
    dissolveSingleGroups(room);
    return released;
}

int deskInChangedRoom(const Room &before, const Room &after, int desk)
{
    const std::optional<RoomCell> cell = before.cellOfDesk(desk);
    return cell ? after.deskNumber(*cell) : 0;
}

QString roomChangeRefusal(const Room &before, const Room &after, int pupils, const QList<PinnedDesk> &pins)
{
    const QString problem = after.problem();
    if (!problem.isEmpty())
        return problem;
    if (after.deskCount() < pupils)
        return QStringLiteral("名簿の%1人に対して、机が%2台しかありません。").arg(pupils).arg(after.deskCount());
    QStringList lost;
    for (const PinnedDesk &pin : pins) {
        if (deskInChangedRoom(before, after, pin.desk) == 0)
            lost.append(QStringLiteral("No.%1（%2）").arg(QString::number(pin.desk), pin.pupil));
    }
    if (!lost.isEmpty())
        return lost.join(QStringLiteral("、")) +
               QStringLiteral("の机がなくなります。\r座席の条件から外してから、教室を変えて下さい。");
    return {};
}
