#pragma once

#include "core/message.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

// A chart (the texts of seats 1..28, seat 1 first) as other programs take it: a CSV
// file for a spreadsheet, and tab-separated rows for the clipboard.

// Row 1 is the front row next to the desk; within a row, place 1 is the seat with the
// lowest number (drawn rightmost).
int rowOfSeat(int seat);
int placeInRow(int seat);

// A seat's name as the chart shows it: a text of blanks only (an empty seat) is none.
QString shownName(const QString &seatText);

// One CSV field: in double quotes, inner ones doubled, when it holds a comma, a double
// quote or a line break; after a leading ' when it starts with = + - @ TAB or CR, so
// that a spreadsheet shows it as text instead of evaluating it.
QString csvField(const QString &text);

// The CSV file: UTF-8 with a byte order mark (so that Excel reads it as Japanese), the
// header line and one line per seat 1..28 (seat, row, place, name), CR LF after each.
QByteArray chartCsv(const QStringList &seats);

// The name proposed for the CSV file on `date`.
QString chartCsvFileName(const QDate &date);

// The chart as a spreadsheet takes it from the clipboard: one line per row as the
// screen shows them (the back row first; from the teacher's desk the front row, seat 1
// leftmost), the four names left to right, TAB between them, LF after each line. A name
// holding a TAB, a line break or a double quote is quoted as a spreadsheet quotes such a
// cell; one that starts like a formula gets a leading ' as in the CSV file.
QString chartClipboardText(const QStringList &seats, bool teacherView = false);

// What the user is told once the CSV file is written, or why it could not be.
MessageText csvSavedMessage();
MessageText csvNotWrittenMessage(const QString &path, const QString &reason);
// The question before an existing file is replaced.
MessageText replaceFileQuestion(const QString &path);
