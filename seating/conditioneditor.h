#pragma once

#include "widgets/formwindow.h"
#include "widgets/windowbars.h"
#include "core/conditions.h"

#include <QAction>
#include <QMenu>
#include <QPixmap>
#include <QTimer>

#include <array>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;

// The condition editor: the registrants on the left, the classroom on the right. A name
// dragged from the list (or typed) onto a seat pins that pupil there; a ticked seat
// stays empty.
class COND : public FormWindow {
    Q_OBJECT
public:
    COND();

    void Form_Load() override;
    void Timer1_Timer();
    void Toolbar1_ButtonClick(int position);
    // Apply: checks the entries and stores them, or reports the first problem.
    void mnuCond_Click();
    // Cancel: asks before discarding what is entered. False when the user kept editing.
    bool mnuNO_Click();
    void mnuHelpContext_KeyWord_Click(int index);
    void mnuVersion_Click();
    // A mouse button went down on registrant label `index`: a registrant's name is dragged.
    void Label4_MouseDown(int index);
    // A dragged name was dropped on seat box `index`.
    void Text1_DragDrop(int index, const QString &tag);

    // Shows the window without blocking, in front of the others.
    void bringToFront();
    // Names and ticks as they stand, seat 1 first.
    SeatEntries entries() const;
    // The registrant list from the roster: captions and tags of Label4.
    void showRegistrants();

    QFrame *Frame1 = nullptr;
    QLabel *Label3 = nullptr;
    std::array<QLabel *, SeatCount> Label4{}; // registrant r is element r - 1; its tag is the property "Tag"
    QFrame *Frame2 = nullptr;
    std::array<QLineEdit *, SeatCount> Text1{};
    std::array<QCheckBox *, SeatCount> Check1{};
    std::array<QLabel *, SeatCount> Label1{};
    QLabel *Label5 = nullptr;
    PositionToolbar *Toolbar1 = nullptr;
    StatusPanels *StatusBar1 = nullptr;
    QTimer *Timer1 = nullptr;

    QMenu *mnuFile = nullptr;
    QAction *mnuCond = nullptr, *mnuNO = nullptr;
    QMenu *mnuHelp = nullptr;
    std::array<QAction *, 2> mnuHelpContext_KeyWord{};
    QAction *mnuDummy3 = nullptr, *mnuVersion = nullptr;

protected:
    // The title bar's close box cancels, as "取消" does.
    void Form_QueryUnload(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildRegistrantList();
    void buildClassroom();
    void buildMenus();
    void buildBars();
    void showMessage(ConditionMessage message, const QString &name = {});
    // Leaves the window for the main window.
    void closeToMainWindow();
    bool seatBoxDragEvent(int index, QEvent *event);
    bool registrantDragEvent(int index, QEvent *event);
};

// The fixed text of the first status panel (also its tooltip).
QString conditionStatusText();

// The image a drag shows: "DRAG.ICO" (may drop here) or "DRAG2.ICO" (may not), from the
// current folder, else the installed copy, else the copy built into the program.
QPixmap dragIcon(const QString &name);

// Shows the condition editor without blocking; brings it to the front when open.
void showConditionEditor();
