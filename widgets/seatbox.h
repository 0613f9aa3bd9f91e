#pragma once

#include <QString>

class QLineEdit;

// Name boxes of the seat grids: Enter moves the focus to the next control in tab order
// and is not inserted; after every key the input method is switched on for Japanese.
void installEnterMovesOn(QLineEdit *box);

// Makes a box single-line for what arrives from elsewhere too: a paste (or drop, or
// input method commit) keeps its text up to its first line break, as a spreadsheet
// row pasted into one name keeps one name. TABs stay: they are text in a name.
void keepSingleLine(QLineEdit *box);

// A box's text `after` an insertion that ended at `cursor`, with the inserted text cut at
// its first line break; the cursor goes after what is kept.
struct SingleLineEdit {
    QString text;
    int cursor;
};
SingleLineEdit cutAtLineBreak(const QString &before, const QString &after, int cursor);
