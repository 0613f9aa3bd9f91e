#pragma once

#include "core/ledger.h"
#include "core/message.h"
#include "core/room.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

// Where each pupil of a roster sat over the class's year, and beside whom: to see that
// nobody always gets the front or the back, or always the same neighbour.

// The two rows next to the teacher's desk are the front, the last two the back (in the
// standard room seats 1..8 and 21..28).
bool isFrontDesk(const Room &room, int desk);
bool isBackDesk(const Room &room, int desk);
// Those desks as the record names them, "No.1～No.8" (front rows are numbered first, so
// either part is one run of numbers).
QString frontDesksText(const Room &room);
QString backDesksText(const Room &room);

struct PupilSeatCount {
    QString name;
    int charts = 0; // charts the pupil sits in
    int front = 0;
    int middle = 0; // neither in the front rows nor in the back ones
    int back = 0;
    QMap<int, int> seats; // times on desk k
    // The pupils of the roster who sat beside this one, with the times: most often first,
    // then in roster order.
    QList<std::pair<QString, int>> deskmates;

    // Shares of the pupil's seats, 0 without charts.
    double frontShare() const;
    double backShare() const;
};

// The desks whose pupils sit side by side: next to each other in a row with no aisle
// between, or joined as a pair. Each pair once, the lower desk first.
QList<std::pair<int, int>> besideDesks(const Room &room);

// Where the roster's pupils sat over a year's charts.
struct SeatRecord {
    std::optional<MessageText> message; // why there is nothing to show
    Ledger charts;                      // the charts counted, oldest first
    QList<PupilSeatCount> pupils;       // each name of the roster once, in roster order
    // Times pupils i and j (in the order of `pupils`) sat side by side.
    QList<QList<int>> together;
    // The room of every chart counted, when they all share one: only then do desk numbers
    // say the same place in each.
    std::optional<Room> room;
};

// The record of the roster's pupils over `charts` (no message: an empty record is one).
SeatRecord seatRecordOf(const QStringList &roster, const Ledger &charts);

// The record of the class of the roster at `rosterPath`: the charts its class file keeps,
// or, until it keeps any (or without a roster file), the class's charts in the log of
// `folder`. The message says why there is nothing to show.
SeatRecord seatRecordFor(const QStringList &roster, const QString &rosterPath, const QString &folder);

// The seats a pupil used, by seat, with the times where more than once: "No.5×3、No.12";
// "―" for none.
QString seatsUsedText(const PupilSeatCount &count);
// The pupils who sat beside one: "佐藤×2、鈴木×1"; "―" for none.
QString deskmatesText(const PupilSeatCount &count);
// One cell of the pairs' table: "伊藤と佐藤: 2回".
QString togetherText(const QString &one, const QString &other, int times);
// A kept chart as its list shows it: when it was kept and the files it was saved as.
QString keptChartText(const KeptChart &chart);

// The record's table as a CSV file, its pupils in the order of `rows` (indexes into
// `pupils`): UTF-8 with a byte order mark and CR LF, as the chart's CSV file.
QByteArray seatRecordCsv(const SeatRecord &record, const QList<int> &rows);

// The question before a chart is removed from the class's year, and the message when it
// could not be.
MessageText forgetChartQuestion(const KeptChart &chart);
MessageText chartNotForgottenMessage(const QString &reason);

// The window's and its messages' title.
QString seatRecordTitle();
