#pragma once

#include "core/message.h"

#include <QList>
#include <QString>
#include <QStringList>

// A table pasted from elsewhere: a spreadsheet selection (a TAB between cells) or CSV
// text (a comma between them). Either way a cell that starts with a double quote runs
// to the closing one, may hold separators and line breaks, and "" in it is one quote.
// The largest table taken: wider or longer ones are refused before they fill the memory
// (a whole sheet copied by mistake); a class list is far smaller.
inline constexpr int MaxPastedColumns = 1000;
inline constexpr int MaxPastedRows = 10000;

struct PastedTable {
    QList<QStringList> rows; // the rows that hold something, cells as pasted (rows may differ in length)
    int columnCount = 0;     // of the longest row
    bool tooLarge = false;   // more rows or columns than taken: rows is then empty
    bool hasHeader = false;  // the first row names the columns, one of them the name column
    int nameColumn = 0;      // the column proposed for the names

    // Each column for the user to choose by: its number and its header, or its first value.
    QStringList columnLabels() const;
    // The names of a column: trimmed, blank cells skipped, the header not among them.
    QStringList names(int column) const;
};

// The cells of each line of `text`, cut at `separator`; an empty line, and the line end
// after the last line, start no row.
QList<QStringList> splitTable(const QString &text, QChar separator);

// Reads pasted text: TAB-separated when it holds a TAB, else comma-separated. A first
// row with a cell 氏名 or 名前 (or one starting so, as 名前（ふりがな）) is the header and
// proposes that column; otherwise the first column holding more than numbers is proposed.
// More than MaxPastedRows rows that hold something, or a line of more than
// MaxPastedColumns cells, is tooLarge.
PastedTable readPastedTable(const QString &text);

// What the user is told when nothing can be pasted.
MessageText noTableMessage();
MessageText noNamesMessage(bool columnChosen);
MessageText tooManyNamesMessage(qsizetype count, int desks);
MessageText tableTooLargeMessage();
