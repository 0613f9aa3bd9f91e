#pragma once

#include "widgets/commondialog.h"
#include "widgets/formwindow.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

#include <array>

class ChartScreen;
class QLabel;

// The seating chart of one seat change: 28 name boxes in the classroom grid. Openers
// write the seat texts into it and show it without blocking.
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
    // Puts the seats and the desk where the chart seen from that side has them.
    void arrangeSeats(bool teacherView);
    // Switches the side the chart is seen from, when the setting could be stored.
    void toggleTeacherView();
    // The chart over the whole screen; leaving it brings this window back to the front.
    void showChartFullScreen();
    void leaveFullScreen();
    // The full-screen chart while it is shown, else null.
    ChartScreen *fullScreenChart() const;

    // The texts of seats 1..28, in order.
    QStringList seatTexts() const;
    // Puts texts into seats 1, 2, …; seats beyond the list are emptied.
    void setSeatTexts(const QStringList &texts);

    std::array<QLabel *, SeatCount> seatCaptions{}; // "No.1" …
    std::array<QLabel *, SeatCount> seatBoxes{};    // element k - 1 for seat k
    QLabel *desk = nullptr;
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

private:
    void buildSeats();
    void buildMenus();
    // Steps of the close command after this window is gone.
    void bringBackMainWindow();

    QPointer<ChartScreen> fullScreen_;
};

// The fixed text of the result window's first status panel.
QString resultStatusText();
