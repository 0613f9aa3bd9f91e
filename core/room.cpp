#include "core/room.h"

#include <QJsonArray>

#include <algorithm>

namespace
{

QJsonArray cellJson(RoomCell cell)
{
    return QJsonArray{cell.row, cell.column};
}

std::optional<RoomCell> cellFromJson(const QJsonValue &value)
{
    const QJsonArray pair = value.toArray();
    if (pair.size() != 2 || !pair[0].isDouble() || !pair[1].isDouble())
        return std::nullopt;
    return RoomCell{pair[0].toInt(-1), pair[1].toInt(-1)};
}

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

Room Room::standard()
{
    return grid(7, 4);
}

Room Room::grid(int rows, int columns)
{
    Room room;
    room.m_rows = std::clamp(rows, 1, MaxRows);
    room.m_columns = std::clamp(columns, 1, MaxColumns);
    room.renumber();
    return room;
}

bool Room::isStandard() const
{
    return *this == standard();
}

bool Room::inside(RoomCell cell) const
{
    return cell.row >= 0 && cell.row < m_rows && cell.column >= 0 && cell.column < m_columns;
}

bool Room::hasDesk(RoomCell cell) const
{
    return inside(cell) && !m_noDesk[index(cell)];
}

void Room::setDesk(RoomCell cell, bool desk)
{
    if (!inside(cell) || hasDesk(cell) == desk)
        return;
    m_noDesk[index(cell)] = !desk;
    if (!desk) {
        m_group[index(cell)] = 0;
        splitPair(cell);
    }
    renumber();
}

int Room::deskCount() const
{
    return int(m_cellOfNumber.size());
}

int Room::deskNumber(RoomCell cell) const
{
    return inside(cell) ? m_number[index(cell)] : 0;
}

std::optional<RoomCell> Room::cellOfDesk(int desk) const
{
    if (desk < 1 || desk > deskCount())
        return std::nullopt;
    return m_cellOfNumber[desk - 1];
}

bool Room::aisleAfter(int column) const
{
    return column >= 0 && column + 1 < m_columns && m_aisleAfter[column];
}

void Room::setAisleAfter(int column, bool aisle)
{
    if (column < 0 || column + 1 >= m_columns)
        return;
    m_aisleAfter[column] = aisle;
    // A pair never spans an aisle.
    if (aisle)
        m_pairs.removeIf([column](RoomCell left) { return left.column == column; });
}

int Room::partnerOf(int desk) const
{
    const std::optional<RoomCell> cell = cellOfDesk(desk);
    if (!cell)
        return 0;
    for (RoomCell left : m_pairs) {
        const RoomCell right{left.row, left.column + 1};
        if (left == *cell)
            return deskNumber(right);
        if (right == *cell)
            return deskNumber(left);
    }
    return 0;
}

bool Room::joinPair(RoomCell left)
{
    const RoomCell right{left.row, left.column + 1};
    if (!hasDesk(left) || !hasDesk(right) || aisleAfter(left.column))
        return false;
    if (partnerOf(deskNumber(left)) != 0 || partnerOf(deskNumber(right)) != 0)
        return false;
    m_pairs.append(left);
    return true;
}

void Room::splitPair(RoomCell cell)
{
    m_pairs.removeIf(
        [cell](RoomCell left) { return left == cell || (left.row == cell.row && left.column + 1 == cell.column); });
}

int Room::groupOf(int desk) const
{
    const std::optional<RoomCell> cell = cellOfDesk(desk);
    return cell ? m_group[index(*cell)] : 0;
}

void Room::setGroup(RoomCell cell, int group)
{
    if (hasDesk(cell))
        m_group[index(cell)] = std::max(0, group);
}

QList<int> Room::groupNumbers() const
{
    QList<int> numbers;
    for (int desk = 1; desk <= deskCount(); ++desk) {
        const int group = groupOf(desk);
        if (group > 0 && !numbers.contains(group))
            numbers.append(group);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

QString Room::problem() const
{
    if (deskCount() == 0)
        return QStringLiteral("机が一つもありません。");
    for (int group : groupNumbers()) {
        int size = 0;
        for (int desk = 1; desk <= deskCount(); ++desk)
            size += groupOf(desk) == group ? 1 : 0;
        if (size < MinGroupSize || size > MaxGroupSize)
            return QStringLiteral("%1班の机は%2つです。班は%3～%4の机でつくって下さい。")
                .arg(group)
                .arg(size)
                .arg(MinGroupSize)
                .arg(MaxGroupSize);
    }
    return {};
}

void Room::renumber()
{
    std::fill(m_number.begin(), m_number.end(), 0);
    m_cellOfNumber.clear();
    for (int row = 0; row < m_rows; ++row) {
        for (int column = m_columns - 1; column >= 0; --column) {
            const RoomCell cell{row, column};
            if (m_noDesk[index(cell)])
                continue;
            m_cellOfNumber.append(cell);
            m_number[index(cell)] = int(m_cellOfNumber.size());
        }
    }
}

QJsonObject Room::toJson() const
{
    QJsonArray noDesk, aisles, pairs, groups;
    for (int row = 0; row < m_rows; ++row) {
        for (int column = 0; column < m_columns; ++column) {
            if (!hasDesk({row, column}))
                noDesk.append(cellJson({row, column}));
        }
    }
    for (int column = 0; column + 1 < m_columns; ++column) {
        if (aisleAfter(column))
            aisles.append(column);
    }
    for (RoomCell left : m_pairs)
        pairs.append(cellJson(left));
    for (int group : groupNumbers()) {
        QJsonArray desks;
        for (int desk = 1; desk <= deskCount(); ++desk) {
            if (groupOf(desk) == group)
                desks.append(cellJson(*cellOfDesk(desk)));
        }
        groups.append(QJsonObject{{QStringLiteral("number"), group}, {QStringLiteral("desks"), desks}});
    }
    return QJsonObject{{QStringLiteral("rows"), m_rows},   {QStringLiteral("columns"), m_columns},
                       {QStringLiteral("noDesk"), noDesk}, {QStringLiteral("aislesAfter"), aisles},
                       {QStringLiteral("pairs"), pairs},   {QStringLiteral("groups"), groups}};
}

std::optional<Room> Room::fromJson(const QJsonObject &json, QString *error)
{
    const QString bad = QStringLiteral("教室の設定が読み取れません（%1）。");
    const int rows = json.value(QStringLiteral("rows")).toInt(0);
    const int columns = json.value(QStringLiteral("columns")).toInt(0);
    if (rows < 1 || rows > MaxRows || columns < 1 || columns > MaxColumns) {
        fail(error, bad.arg(QStringLiteral("行と列の数")));
        return std::nullopt;
    }
    Room room = grid(rows, columns);
    const auto cells = [&](const QJsonValue &list, auto &&take) {
        for (const QJsonValue &value : list.toArray()) {
            const std::optional<RoomCell> cell = cellFromJson(value);
            if (!cell || !room.inside(*cell) || !take(*cell))
                return false;
        }
        return true;
    };
    bool ok = cells(json.value(QStringLiteral("noDesk")), [&](RoomCell cell) {
        room.setDesk(cell, false);
        return true;
    });
    for (const QJsonValue &value : json.value(QStringLiteral("aislesAfter")).toArray()) {
        const int column = value.toInt(-1);
        ok = ok && column >= 0 && column + 1 < columns;
        room.setAisleAfter(column, true);
    }
    ok = ok && cells(json.value(QStringLiteral("pairs")), [&](RoomCell left) { return room.joinPair(left); });
    for (const QJsonValue &value : json.value(QStringLiteral("groups")).toArray()) {
        const int group = value.toObject().value(QStringLiteral("number")).toInt(0);
        ok = ok && group > 0 && cells(value.toObject().value(QStringLiteral("desks")), [&](RoomCell cell) {
                 if (!room.hasDesk(cell) || room.groupOf(room.deskNumber(cell)) != 0)
                     return false;
                 room.setGroup(cell, group);
                 return true;
             });
    }
    if (!ok) {
        fail(error, bad.arg(QStringLiteral("机の並び")));
        return std::nullopt;
    }
    return room;
}
