#pragma once

#include <QLabel>
#include <QString>

class QLineEdit;
class QWidget;

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

// What a screen reader says of the seat grids: seat 5 is "No.5", as its caption reads, in
// "前から2列目"; row 1 is the front row, next to the teacher's desk.
QString seatName(int seat);
QString rowText(int row);
QString seatRowText(int seat);
// Gives a seat's box (or its tick, its label) that name, with `more` after it, and its
// row as the description.
void nameSeat(QWidget *widget, int seat, const QString &more = {});

// A label that holds a pupil's name: a name too long for it shows its beginning and "…",
// never its middle as a centred label would. text() keeps the whole name.
class NameLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;
    // What the label shows of its text.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect textRect() const;
};
