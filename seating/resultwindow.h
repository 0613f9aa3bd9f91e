#pragma once

#include "core/chartlayout.h"
#include "core/room.h"
#include "widgets/commondialog.h"
#include "widgets/formwindow.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

class ChartScreen;
class QKeyEvent;
class QLabel;
class QMouseEvent;

// The 班 frames and aisles drawn under the result window's labels, in its text colour.
class ChartMarks : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
    void setChart(const ChartLayout &layout);
    // 班 left off the paper, with all their desks.
    void setLeftOut(const QList<int> &groups);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ChartLayout layout_{Room::standard(), false};
    QList<int> leftOut_;
};

// The seating chart of one seat change: a name box per desk, placed as the room is. Openers
// write the room and the desk texts into it and show it without blocking.
class ResultWindow : public FormWindow
{
    Q_OBJECT
public:
    ResultWindow();

    void onLoad() override;
    // Saves the chart as a result file and logs it; closes the window when all went well.
    void saveChart();
    // Closes the window and brings the main window back.
    void acknowledge();
    // Switches whether the status bar is printed, when the setting could be stored.
    void togglePrintStatusBar();
    // Writes the chart as a CSV file for a spreadsheet; the window stays open.
    void exportCsv();
    // Puts the chart on the clipboard as a picture and as rows of names.
    void copyChart();

    // Whether the chart is seen from the teacher's desk (the stored option).
    bool teacherView() const;
    // Puts the seats, the desk, the 班 and the aisles where the chart seen from that side has them.
    void arrangeSeats(bool teacherView);
    // Switches the side the chart is seen from, when the setting could be stored.
    void toggleTeacherView();
    // The chart over the whole screen; leaving it brings this window back to the front.
    void showChartFullScreen();
    void leaveFullScreen();
    // The full-screen chart while it is shown, else null.
    ChartScreen *fullScreenChart() const;

    // The chart of `room`: the texts of its desks 1, 2, …; desks beyond the list are emptied.
    void setChart(const Room &room, const QStringList &texts);
    // The run that drew the chart shown: saving it or accepting it keeps it in the class's
    // year. A chart reopened from the past has none.
    void setRun(const QString &run) { run_ = run; }
    // The open class's chart, in which the teacher may swap pupils (a mouse drag from one desk
    // onto another, or Space / Enter on one desk and then on the other; Esc lets go).
    void showClassChart();
    bool swapsAllowed() const { return swappable_; }
    // Desks a and b (1..N) swapped in the open class's chart and shown, unless that is refused
    // (then told why); true when done.
    bool swapSeats(int a, int b);
    // The desk picked up from the keyboard (1..N); 0 when none is.
    int heldSeat() const { return held_; }
    const Room &room() const { return room_; }
    // The texts of desks 1..N of the room shown, in order.
    QStringList seatTexts() const;
    // Puts texts into desks 1, 2, … of the room shown; desks beyond the list are emptied.
    void setSeatTexts(const QStringList &texts);

    QList<QLabel *> seatCaptions; // "No.1" …
    QList<QLabel *> seatBoxes;    // element k - 1 for desk k
    QList<QLabel *> groupLabels;  // "1班" …, in the order of the 班's numbers
    QLabel *desk = nullptr;
    ChartMarks *chartMarks = nullptr;
    CommonDialog fileDialog;
    CommonDialog csvDialog; // its own, so that the result save keeps proposing its own name

    QAction *saveAction = nullptr, *printAction = nullptr, *okAction = nullptr; // the file menu's
    QAction *exportCsvAction = nullptr, *copyChartAction = nullptr;
    QAction *nonPrintedRowsAction = nullptr, *printStatusBarAction = nullptr; // the option menu's
    QAction *fitToPageAction = nullptr;
    QAction *teacherViewAction = nullptr, *fullScreenAction = nullptr;

protected:
    // The title bar's close box does what "了解" does.
    void onCloseRequest(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The boxes, captions and 班 numbers of the room; a client area as large as its chart needs.
    void buildSeats();
    void buildMenus();
    // Steps of the close command after this window is gone.
    void bringBackMainWindow();
    // Keeps the chart of this run in the class's year, with the result file it was saved as.
    void keepShownChart(const QString &file);

    void allowSwaps(bool allowed);
    bool seatMouseEvent(int desk, const QMouseEvent *event);
    bool seatKeyEvent(int desk, const QKeyEvent *event);
    // The desk under a point of the client area; 0 for none.
    int deskAt(QPoint inClient) const;
    // The nearest desk on the screen from `desk` in the direction of an arrow key; 0 for none.
    int deskTowards(int desk, int key) const;
    void pickUp(int desk);
    void letGo();
    // The held desk filled, the focused one (or the one a drag is over) framed thicker; none when `shown` is false.
    void markSeats(bool shown = true);

    QPointer<ChartScreen> fullScreen_;
    bool swappable_ = false;
    int held_ = 0;    // picked up from the keyboard
    int pressed_ = 0; // where the mouse went down
    int draggedOver_ = 0;
    bool dragging_ = false;
    QPoint pressedAt_;
    Room room_ = Room::standard();
    QString run_;
    qreal namePoints_ = 12; // the lettering of the names, shrunk with a room's boxes
};

// The fixed text of the result window's first status panel.
QString resultStatusText();
