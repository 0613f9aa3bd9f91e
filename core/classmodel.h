#pragma once

#include "core/chart.h"
#include "core/room.h"

#include <QStringList>

// The open class as every window works on it: its room, its pupils, the conditions of
// its desks and the chart of its last run. Conditions and chart hold one entry per desk
// of the room, desk 1 first.
struct ClassModel {
    Room room = Room::standard();
    // In roster order; a run leaves them in the order it drew them.
    QStringList pupils;
    DeskConditions conditions = DeskConditions(Room::standard().deskCount());
    Chart chart = Chart(Room::standard().deskCount());

    int deskCount() const { return int(conditions.size()); }
    // Another room: every desk free again and no chart.
    void setRoom(const Room &newRoom);
    // No pupils, every desk free, no chart; the room stays.
    void clear();
    bool operator==(const ClassModel &) const = default;
};
