#pragma once

#include "core/message.h"
#include "core/room.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

// A chart of a room (the texts of its desks, desk 1 first) as other programs take it: a
// CSV file for a spreadsheet, and tab-separated rows for the clipboard.

// A seat's name as the chart shows it: a text of blanks only (an empty seat) is none.
QString shownName(const QString &seatText);

// One CSV field: in double quotes, inner ones doubled, when it holds a comma, a double
// quote or a line break; after a leading ' when it starts with = + - @ TAB or CR, so
// that a spreadsheet shows it as text instead of evaluating it.
QString csvField(const QString &text);

// The CSV file: UTF-8 with a byte order mark (so that Excel reads it as Japanese), the
// header line and one line per desk (desk, row, place, name, and its 班 when the room has
// any), CR LF after each. Row 1 is the front row next to the teacher's desk; place 1 is the
// rightmost cell of the row as the pupils see it, and a cell without a desk keeps its place,
// so that the numbers give the plan of the room.
QByteArray chartCsv(const Room &room, const QStringList &seats);

// The name proposed for the CSV file on `date`.
QString chartCsvFileName(const QDate &date);

// The chart as a spreadsheet takes it from the clipboard: one line per row of the room as
// the screen shows them (the back row first; from the teacher's desk the front row, desk 1
// leftmost), a field per cell left to right, TAB between them, LF after each line. A cell
// without a desk is an empty field, and so is each aisle, so that the pasted cells keep the
// room's gaps. A name holding a TAB, a line break or a double quote is quoted as a
// spreadsheet quotes such a cell; one that starts like a formula gets a leading ' as in the
// CSV file.
QString chartClipboardText(const Room &room, const QStringList &seats, bool teacherView);

// What the user is told once the CSV file is written, or why it could not be.
MessageText csvSavedMessage();
MessageText csvNotWrittenMessage(const QString &path, const QString &reason);
// The question before an existing file is replaced.
MessageText replaceFileQuestion(const QString &path);
