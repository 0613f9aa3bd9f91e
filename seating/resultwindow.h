#pragma once

#include "widgets/formwindow.h"
#include "widgets/windowbars.h"
#include "widgets/commondialog.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QTimer>

#include <array>

class QLabel;

// The seating chart of one seat change: 28 name boxes in the classroom grid. Openers
// write the seat texts into Label3 and show it without blocking.
class RESULT : public FormWindow {
    Q_OBJECT
public:
    RESULT();

    void Form_Load() override;
    void Timer1_Timer();
    void Toolbar1_ButtonClick(int position);
    void mnuResultSave_Click();
    void mnuOK_Click();
    void mnuPrintStatusBar_Click();
    void mnuHelpContext_KeyWord_Click(int index);

    // Shows the window without blocking, in front of the others.
    void bringToFront();
    // The texts of seats 1..28, in order.
    QStringList seatTexts() const;
    // Puts texts into seats 1, 2, …; seats beyond the list are emptied.
    void setSeatTexts(const QStringList &texts);

    std::array<QLabel *, SeatCount> Label1{}; // seat captions "No.1" …
    std::array<QLabel *, SeatCount> Label3{}; // name boxes, element k - 1 for seat k
    QLabel *Label4;                           // the teacher's desk
    PositionToolbar *Toolbar1;
    StatusPanels *StatusBar1;
    QTimer *Timer1;
    CommonDialog CommonDialog1;

    QMenu *mnuFile;
    QAction *mnuResultSave, *mnuPrint, *mnuDummy, *mnuOK;
    QMenu *mnuOption;
    QAction *mnuNoPrintLine, *mnuPrintStatusBar;
    QMenu *mnuHelp;
    std::array<QAction *, 2> mnuHelpContext_KeyWord{};
    QAction *mnuDummy3, *mnuVersion;

protected:
    // The title bar's close box does what "了解" does.
    void Form_QueryUnload(QCloseEvent *event) override;

private:
    void buildSeats();
    void buildMenus();
    void buildBars();
    // Steps of the close command after this window is gone.
    void bringBackMainWindow();
    void reportSaveFailure(const QString &text);

};

// The fixed text of the result window's first status panel.
QString resultStatusText();
