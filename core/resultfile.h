#pragma once

#include "core/sharedstate.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// A result file: one chart, line n the text of seat n (28 lines, CP932, CR LF, written
// verbatim). Read back as free-format fields, seat 1 first.

// As many characters as a name box takes.
inline constexpr qint64 MaxSeatTextChars = 32767;
// The largest file that can be a chart: every seat's text at three bytes a character
// (UTF-8; CP932 takes two), in quotes and with CR LF, after a byte order mark. Anything
// larger is not read at all (a log may list huge files); more seats raise it.
inline constexpr qint64 MaxResultFileBytes = 3 + SeatCount * (MaxSeatTextChars * 3 + 4);

// Writes the seat texts of seats 1..28; the empty string on success, else the reason.
// A chart larger than MaxResultFileBytes is not written, since it could not be read back.
QString writeResultFile(const QString &path, const QStringList &seats);

struct ResultFileRead {
    bool ok = false;
    QStringList seats; // one text per field, at most 28
    QString error;     // the reason when !ok
};
// Reads a result file; a file larger than MaxResultFileBytes, more than 28 fields, or a
// field holding a control character but TAB, is no chart.
ResultFileRead readResultFile(const QString &path);
// The same for the bytes of a result file.
ResultFileRead resultFromBytes(const QByteArray &bytes);
