#pragma once

#include "core/room.h"

#include <QRect>

// Where the seating chart puts each seat and the teacher's desk. Seen from the pupils'
// side (as the classroom's own plan) row 1 is lowest, just above the desk, and seat numbers
// grow from right to left. Seen from the desk the chart is turned half round: the desk at
// the top, row 1 under it and seat 1 on the left; the lettering stays upright.

struct ChartCell {
    int column = 0; // from the left
    int line = 0;   // from the top
    bool operator==(const ChartCell &) const = default;
};

// The cell of a room's desk 1..deskCount(), seen from either side.
ChartCell chartCell(const Room &room, int desk, bool teacherView);

// The result window's places for the standard room, in twips of its client area: the name box
// of seat 1..28, the seat's caption above it, and the desk. Any room: ChartLayout.
QRect seatBoxTwips(int seat, bool teacherView);
QRect seatCaptionTwips(int seat, bool teacherView);
QRect deskTwips(bool teacherView);
