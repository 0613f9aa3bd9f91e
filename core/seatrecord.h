#pragma once

#include "core/message.h"
#include "core/room.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// Where each pupil of a roster sat over the saved charts: to see that nobody always gets
// the front or the back.

// The two rows next to the teacher's desk are the front, the last two the back (in the
// standard room seats 1..8 and 21..28).
bool isFrontDesk(const Room &room, int desk);
bool isBackDesk(const Room &room, int desk);
// Those desks as the record names them, "No.1～No.8" (front rows are numbered first, so
// either part is one run of numbers).
QString frontDesksText(const Room &room);
QString backDesksText(const Room &room);

// A saved chart with the room it was made for.
struct RoomChart {
    Room room = Room::standard();
    QStringList seats; // desk texts, desk 1 first
};

struct PupilSeatCount {
    QString name;
    int charts = 0; // charts the pupil sits in
    int front = 0;
    int back = 0;
    QMap<int, int> seats; // times on desk k

    // Shares of the pupil's seats, 0 without charts.
    double frontShare() const;
    double backShare() const;
};

// The counts of the roster's pupils (each name once, in roster order) over the charts.
QList<PupilSeatCount> countSeats(const QStringList &roster, const QList<RoomChart> &charts);

// The seats a pupil used, by seat, with the times where more than once: "No.5×3、No.12";
// "―" for none.
QString seatsUsedText(const PupilSeatCount &count);

// The charts of the log's files (named relative to `folder`) that exist and read as
// charts, oldest first; a file the log names twice counts once.
QList<RoomChart> loggedCharts(const QStringList &log, const QString &folder);

// What the seat record shows for a roster over the log of `folder`: the counts, or the
// message that says why there is nothing to show.
struct SeatRecord {
    std::optional<MessageText> message;
    int charts = 0;
    QList<PupilSeatCount> pupils;
    // The room of every chart counted, when they all share one: only then do desk numbers
    // say the same place in each.
    std::optional<Room> room;
};
SeatRecord seatRecordFor(const QStringList &roster, const QString &folder);

// The window's and its messages' title.
QString seatRecordTitle();
