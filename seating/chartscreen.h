#pragma once

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
// smaller than the seat numbers. Escape or F11 leaves it.
class ChartScreen : public QWidget
{
    Q_OBJECT
public:
    explicit ChartScreen(QWidget *owner);

    // The texts of seats 1..28 and the side the chart is seen from.
    void setChart(const QStringList &texts, bool teacherView);
    QStringList texts() const { return texts_; }
    bool teacherView() const { return teacherView_; }

    // Where seat 1..28's box and the desk are drawn at the present size, in pixels.
    QRect seatBoxRect(int seat) const;
    QRect deskRect() const;
    // The pixel size of the seat numbers; the inside of seat 1..28's box that its name may
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
    QRect onScreen(const QRect &twips) const;

    QStringList texts_;
    bool teacherView_ = false;
};
