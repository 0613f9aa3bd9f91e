#pragma once

#include "core/chart.h"
#include "core/room.h"
#include "core/rules.h"

#include <QStringList>

// The open class as every window works on it: its room, its pupils, the conditions of
// its desks, the chart of its last run, the pupils' details and the rules. Conditions and chart hold one entry per desk
// of the room, desk 1 first.
struct ClassModel {
    Room room = Room::standard();
    // In roster order; a run leaves them in the order it drew them.
    QStringList pupils;
    DeskConditions conditions = DeskConditions(Room::standard().deskCount());
    Chart chart = Chart(Room::standard().deskCount());
    // What the class file holds beyond the room: the pupils' details by name, and the rules.
    PupilInfos info;
    Rules rules;
    // The class's kept charts as this copy last read them (when the roster opened, at each
    // run) and kept or removed them since; a run reads them afresh, as another copy of the
    // program may have kept one meanwhile.
    Ledger year;

    int deskCount() const { return int(conditions.size()); }
    // Another room: every desk free again and no chart.
    void setRoom(const Room &newRoom);
    bool operator==(const ClassModel &) const = default;
};
