#pragma once

#include "core/conditions.h"
#include "widgets/formwindow.h"

#include <QAction>
#include <QMenu>
#include <QPixmap>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;

// The condition editor: the registrants on the left, the classroom on the right. A name
// dragged from the list (or typed) onto a seat pins that pupil there; a ticked seat
// stays empty. The window is built for the open class's room: a box, a tick and a caption
// per desk, placed as the room is, and a registrant label per desk.
class ConditionEditor : public FormWindow
{
    Q_OBJECT
public:
    ConditionEditor();

    void onLoad() override;
    // Checks the entries and stores them, or reports the first problem.
    void apply();
    // Asks before discarding what is entered. False when the user kept editing.
    bool cancel();
    // A mouse button went down on registrant label `index`: a registrant's name is dragged.
    void dragRegistrant(int index);
    // A dragged name was dropped on seat box `index`.
    void dropName(int index, const QString &name);
    // The keyboard's way to the same drops: the registrants to choose from for seat box
    // `seat` (a submenu of its context menu, or a menu of its own), and the seats to choose
    // from for registrant label `index` (a menu under the label). Only registrants of
    // the roster are offered.
    QMenu *registrantMenu(int seat, QWidget *parent);
    void showSeatMenu(int index);

    // Names and ticks as they stand, seat 1 first.
    SeatEntries entries() const;
    // The registrant list from the roster: the labels' captions and the names they carry.
    void showRegistrants();

    QFrame *registrantFrame = nullptr;
    QLabel *registrantTitle = nullptr;
    // Registrant r is element r - 1; the name a drag carries is its property "Tag".
    QList<QLabel *> registrantLabels;
    QFrame *classroomFrame = nullptr;
    // Desk k is element k - 1.
    QList<QLineEdit *> seatBoxes;
    QList<QCheckBox *> emptySeatChecks;
    QList<QLabel *> seatCaptions;
    QLabel *desk = nullptr;
    // The room the window was built for.
    const Room &room() const { return room_; }

    QAction *applyAction = nullptr, *cancelAction = nullptr; // the file menu's

protected:
    // The title bar's close box leaves the conditions as they were when the editor opened.
    void onCloseRequest(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildRegistrantList(const ConditionLayout &layout);
    void buildClassroom(const ConditionLayout &layout);
    void showConditionMessage(ConditionMessage message, const QString &name = {});
    // Leaves the window for the main window.
    void closeToMainWindow();
    bool seatBoxDragEvent(int index, QEvent *event);
    bool registrantDragEvent(int index, QEvent *event);
    bool seatBoxKeyEvent(int index, QEvent *event);
    bool registrantKeyEvent(int index, QEvent *event);
    void showRegistrantMenu(int seat);
    bool isRegistrant(int index) const;

    Room room_;
    DeskConditions conditionsAtOpen_;
};

// The fixed text of the first status panel (also its tooltip).
QString conditionStatusText();

// The image a drag shows: "DRAG.ICO" (may drop here) or "DRAG2.ICO" (may not), from the
// current folder, else the installed copy, else the copy built into the program.
QPixmap dragIcon(const QString &name);

// Shows the condition editor without blocking; brings it to the front when open.
void showConditionEditor();
