#pragma once

#include "core/message.h"
#include "core/sharedstate.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// Where each pupil of a roster sat over the saved charts: to see that nobody always gets
// the front or the back.

// Rows 1 and 2 (seats 1..8) are the front, next to the desk; rows 6 and 7 (seats 21..28) the back.
bool isFrontSeat(int seat);
bool isBackSeat(int seat);

struct PupilSeatCount {
    QString name;
    int charts = 0; // charts the pupil sits in
    int front = 0;
    int back = 0;
    std::array<int, SeatCount + 1> seats{}; // times on seat k; slot 0 unused

    // Shares of the pupil's seats, 0 without charts.
    double frontShare() const;
    double backShare() const;
};

// The counts of the roster's pupils (each name once, in roster order) over the charts
// (seats 1..28, seat 1 first).
QList<PupilSeatCount> countSeats(const QStringList &roster, const QList<QStringList> &charts);

// The seats a pupil used, by seat, with the times where more than once: "No.5×3、No.12";
// "―" for none.
QString seatsUsedText(const PupilSeatCount &count);

// The charts of the log's files (named relative to `folder`) that exist and read as
// charts, oldest first; a file the log names twice counts once.
QList<QStringList> loggedCharts(const QStringList &log, const QString &folder);

// What the seat record shows for a roster over the log of `folder`: the counts, or the
// message that says why there is nothing to show.
struct SeatRecord {
    std::optional<MessageText> message;
    int charts = 0;
    QList<PupilSeatCount> pupils;
};
SeatRecord seatRecordFor(const QStringList &roster, const QString &folder);

// The window's and its messages' title.
QString seatRecordTitle();
