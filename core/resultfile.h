#pragma once

#include <QString>
#include <QStringList>

// A result file: one chart, line n the text of seat n (28 lines, CP932, CR LF, written
// verbatim). Read back as free-format fields, seat 1 first.

// Writes the seat texts of seats 1..28; the empty string on success, else the reason.
QString writeResultFile(const QString &path, const QStringList &seats);

struct ResultFileRead {
    bool ok = false;
    QStringList seats; // one text per field, at most 28
    QString error;     // the reason when !ok
};
// Reads a result file; more than 28 fields, or a field holding a control character, is
// no chart.
ResultFileRead readResultFile(const QString &path);
// The same for the bytes of a result file.
ResultFileRead resultFromBytes(const QByteArray &bytes);
