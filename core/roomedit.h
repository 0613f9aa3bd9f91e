#pragma once

#include "core/room.h"

#include <QList>
#include <QString>

// What the room editor offers and checks: ready-made rooms, changes over a rectangle of
// cells, and whether a class can move into a room.

struct RoomPreset {
    QString caption; // as the editor lists it; 横 = desks across, 縦 = rows from front to back
    Room room;
};
// 標準 first (the room of every class until its teacher sets another).
const QList<RoomPreset> &roomPresets();

// The room with `rows` rows and `columns` columns (1..10 each), keeping of the old one what
// still lies inside: cells without desks, aisles, pairs and 班.
Room resizedRoom(const Room &room, int rows, int columns);

// Puts a desk in an empty cell or takes it away; a 班 left with one desk is dissolved.
void switchDesk(Room &room, RoomCell cell);

// The desks in the rectangle spanned by two cells become one new 班 (the smallest number
// not in use); they leave the 班 they were in, and a 班 left with one desk is dissolved.
// False, the room unchanged, when the rectangle holds fewer than 2 or more than 8 desks.
bool makeGroup(Room &room, RoomCell from, RoomCell to);
// In each row of the rectangle the desks are paired from the left, neighbours with no
// aisle between them; the pairs they were in are parted first. False, the room unchanged,
// when no pair can be made there.
bool makePairs(Room &room, RoomCell from, RoomCell to);
// The desks of the rectangle leave their 班 and pairs. False when none was in one.
bool releaseDesks(Room &room, RoomCell from, RoomCell to);

// The number the desk `desk` of `before` has in `after`: the desk in the same cell; 0 when
// that cell holds no desk any more.
int deskInChangedRoom(const Room &before, const Room &after, int desk);

// A pupil pinned to a desk of the current room.
struct PinnedDesk {
    int desk = 0;
    QString pupil;
};
// Why a class of `pupils` names with these pins cannot move from `before` into `after`,
// in Japanese and naming what stands in the way; empty when it can.
QString roomChangeRefusal(const Room &before, const Room &after, int pupils, const QList<PinnedDesk> &pins);
