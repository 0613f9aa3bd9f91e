#pragma once

#include "core/seatrecord.h"

#include <QColor>
#include <QList>

class QPainter;
class QRectF;
class QWidget;

// The shade of a pair of pupils who sat side by side `times` times, `most` being the most
// of any pair: white for never, darker the more often.
QColor pairShade(int times, int most);

// The pairs' grid as a picture into `area`: a square a pair, the pupils numbered in the
// order of `rows` along both sides, their names down the left.
void paintPairGrid(QPainter &painter, const QRectF &area, const SeatRecord &record, const QList<int> &rows);

// The record on one page of A4 proportions, through the print dialog and the printing library:
// a heading, the table as text in the order of `rows`, and the pairs' grid in the space left,
// scaled to the paper chosen. A printer that fails is reported.
void printSeatRecord(QWidget *owner, const SeatRecord &record, const QList<int> &rows);
