#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

// A classroom: a grid of cells seen from the pupils' side, the teacher's desk at the front
// (below row 0 as drawn). A cell holds a desk or nothing (an aisle, a pillar). Desks are
// numbered the front row first, right to left within a row, skipping cells without a desk:
// in the standard room of 7 rows of 4 that is desk k in row (k + 3) / 4.

struct RoomCell {
    int row = 0;    // 0 = the front row, next to the teacher's desk
    int column = 0; // 0 = the leftmost column as seen from the pupils' side
    bool operator==(const RoomCell &) const = default;
};

class Room
{
public:
    static constexpr int MaxRows = 10;
    static constexpr int MaxColumns = 10;
    static constexpr int MinGroupSize = 2;
    static constexpr int MaxGroupSize = 8;

    // The room every class has until its teacher sets another: 7 rows of 4, no gaps.
    static Room standard();
    // A full grid of desks (rows and columns clamped to 1..10).
    static Room grid(int rows, int columns);

    int rows() const { return m_rows; }
    int columns() const { return m_columns; }
    bool isStandard() const;

    bool hasDesk(RoomCell cell) const;
    void setDesk(RoomCell cell, bool desk);
    int deskCount() const;
    // 1..deskCount(), 0 for a cell without a desk or outside the room.
    int deskNumber(RoomCell cell) const;
    std::optional<RoomCell> cellOfDesk(int desk) const;

    // An aisle between column c and c + 1 (as drawn from the pupils' side).
    bool aisleAfter(int column) const;
    void setAisleAfter(int column, bool aisle);

    // Desks joined in pairs: a desk and its right-hand neighbour in the same row.
    // Returns the other desk of the pair of `desk`, 0 when it has none.
    int partnerOf(int desk) const;
    // Joins the desk at `left` with the one at its right; false when that is no pair.
    bool joinPair(RoomCell left);
    void clearPairs() { m_pairs.clear(); }
    // Parts the pair that the desk at `cell` belongs to, if any.
    void splitPair(RoomCell cell);

    // 班: numbered blocks of desks. 0 for a desk in none.
    int groupOf(int desk) const;
    void setGroup(RoomCell cell, int group);
    QList<int> groupNumbers() const;

    // Why the room cannot be used, in Japanese; empty when it can.
    QString problem() const;

    // The room as the class file keeps it, and back. A room that cannot be read gives
    // std::nullopt with the reason in `error`.
    QJsonObject toJson() const;
    static std::optional<Room> fromJson(const QJsonObject &json, QString *error = nullptr);

    bool operator==(const Room &) const = default;

private:
    int index(RoomCell cell) const { return cell.row * MaxColumns + cell.column; }
    bool inside(RoomCell cell) const;
    void renumber();

    int m_rows = 0;
    int m_columns = 0;
    QList<bool> m_noDesk = QList<bool>(MaxRows * MaxColumns, false);
    QList<bool> m_aisleAfter = QList<bool>(MaxColumns, false);
    QList<RoomCell> m_pairs; // the left desk of each pair
    QList<int> m_group = QList<int>(MaxRows * MaxColumns, 0);
    QList<int> m_number = QList<int>(MaxRows * MaxColumns, 0); // derived
    QList<RoomCell> m_cellOfNumber;                            // derived, index desk - 1
};
