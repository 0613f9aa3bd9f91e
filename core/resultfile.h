#pragma once

#include "core/chart.h"
#include "core/room.h"
#include "core/sharedstate.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// A result file: one chart, line n the text of desk n (CP932, CR LF, written verbatim).
// The standard room's chart is exactly 28 lines. Any other room's chart keeps the first
// lines one desk text a line, padded with empty lines to 28 so that a reader of 28 lines
// stops before the rest, then one last line that carries the room and the empty desks.
// Read back as free-format fields, desk 1 first.

// As many characters as a name box takes.
inline constexpr qint64 MaxSeatTextChars = 32767;
// The last line of a room's chart is far shorter: 100 cells, 50 pairs and 100 empty desks
// at a few bytes each.
inline constexpr qint64 MaxResultRoomLineBytes = 8192;
// The largest file that can be a chart: every desk's text of the largest room at three
// bytes a character (UTF-8; CP932 takes two), in quotes and with CR LF, after a byte order
// mark, and the room's line. Anything larger is not read at all (a log may list huge files).
inline constexpr qint64 MaxResultFileBytes =
    3 + Room::MaxRows * Room::MaxColumns * (MaxSeatTextChars * 3 + 4) + MaxResultRoomLineBytes;
// The version of the room's line that this program writes and the newest it reads.
inline constexpr int ResultRoomLineVersion = 1;

// Writes the seat texts of seats 1..28 of the standard room; the empty string on success,
// else the reason. A chart larger than MaxResultFileBytes is not written, since it could
// not be read back.
QString writeResultFile(const QString &path, const QStringList &seats);
// Writes the chart of any room (one entry per desk). The standard room gives the same
// bytes as the seat texts above.
QString writeResultFile(const QString &path, const Room &room, const Chart &chart);
// The bytes of that file; on failure `error` says why and no bytes are given.
QByteArray resultFileBytes(const Room &room, const Chart &chart, QString *error);

struct ResultFileRead {
    bool ok = false;
    QStringList seats; // one text per field, at most one per desk
    QString error;     // the reason when !ok
    Room room = Room::standard();
    Chart chart; // one entry per desk of `room` when ok
};
// Reads a result file; a file larger than MaxResultFileBytes, more fields than the room
// has desks (28 without a room line), a broken room line, or a field holding a control
// character but TAB, is no chart. An empty desk of the standard room reads as free, since
// its 28 lines cannot tell the two apart.
ResultFileRead readResultFile(const QString &path);
// The same for the bytes of a result file.
ResultFileRead resultFromBytes(const QByteArray &bytes);
