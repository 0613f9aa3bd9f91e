#pragma once

#include <QFont>
#include <QStringList>
#include <QWidget>

// The largest pixel size of `font` at which every name fits into `room` (a box's inside) on one
// line, at least 1; blank names take no width.
int nameFontPixels(QFont font, const QStringList &names, QSize room);

// The seating chart over a whole screen, for the classroom's projector: the seats where the
// result window has them, scaled to the screen, every name in the one size at which all of them
// fit their boxes. Escape or F11 leaves it.
class ChartScreen : public QWidget
{
    Q_OBJECT
public:
    explicit ChartScreen(QWidget *owner);

    // The texts of seats 1..28 and the side the chart is seen from.
    void setChart(const QStringList &texts, bool teacherView);
    QStringList texts() const { return texts_; }
    bool teacherView() const { return teacherView_; }

    // Where seat 1..28's box and the desk are drawn at the present size, in pixels, and the
    // names' pixel size there.
    QRect seatBoxRect(int seat) const;
    QRect deskRect() const;
    int namePixels() const;

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
