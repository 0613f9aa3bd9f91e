#pragma once

#include "core/chartlayout.h"
#include "core/room.h"

#include <QFont>
#include <QStringList>
#include <QWidget>

// The largest pixel size of `font` at which `text` fits into `room` (a box's inside) on one
// line, at least 1; blanks around it take no width.
int fittingPixels(QFont font, const QString &text, QSize room);

// A name as a box shows it: in the largest size at which it fits the box's inside on one line,
// yet never below `smallest`; at that size a name still too long shows its beginning and "…".
struct NameLettering {
    int pixels = 1;
    QString text;
};
NameLettering letterName(QFont font, const QString &name, QSize room, int smallest);

// The seating chart over a whole screen, for the classroom's projector: the seats where the
// result window has them, scaled to the screen, each name as large as its box allows and never
// smaller than the seat numbers (two thirds of them in a room of narrower boxes). Escape or F11
// leaves it.
class ChartScreen : public QWidget
{
    Q_OBJECT
public:
    explicit ChartScreen(QWidget *owner);

    // The room, the texts of its desks 1..N and the side the chart is seen from.
    void setChart(const Room &room, const QStringList &texts, bool teacherView);
    QStringList texts() const { return texts_; }
    bool teacherView() const { return teacherView_; }

    // Where desk 1..N's box, a 班's number (in the order of the numbers) and the teacher's
    // desk are drawn at the present size, in pixels.
    QRect seatBoxRect(int seat) const;
    QRect groupLabelRect(int index) const;
    QRect deskRect() const;
    // The pixel size of the seat numbers; the inside of desk 1..N's box that its name may
    // use, and the name as drawn there.
    int numberPixels() const;
    QRect nameRoom(int seat) const;
    NameLettering seatName(int seat) const;

signals:
    // The view was left (Escape, F11, or the window system closed it).
    void left();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    struct Scaling {
        qreal scale;
        QPointF origin;
    };
    Scaling scaling() const;
    QRect onScreen(const QRect &twips) const;
    // From the chart's twips to this widget's pixels.
    QTransform toScreen() const;

    Room room_ = Room::standard();
    ChartLayout layout_{Room::standard(), false};
    QRect chart_; // every place the chart draws on, in twips
    QStringList texts_;
    bool teacherView_ = false;
};
