#pragma once

#include "core/room.h"
#include "widgets/commondialog.h"
#include "widgets/formwindow.h"

#include <QAction>
#include <QHash>
#include <QList>
#include <QMenu>

class QLabel;
class QLineEdit;

// The roster editor: one name box per desk of the class's room, placed as the room is.
class RosterEditor : public FormWindow
{
    Q_OBJECT
public:
    RosterEditor();

    void onLoad() override;
    // Checks the names, saves them as a roster file and moves on to the conditions.
    void registerRoster();
    // Leaves the editor, asking first when something would be lost. False when it did
    // nothing (there was nothing to ask about).
    bool closeEditor();

    // Fills the boxes from seat 1 with the names of a table on the clipboard (a
    // spreadsheet selection or CSV text); nothing is registered yet.
    void pasteTable();

    // The box texts, seat 1 first.
    QStringList boxTexts() const;
    // Boxes for the desks of `room`, keeping the names typed: each in its desk while the room
    // has that desk, else all of them closed up from desk 1.
    void showRoom(const Room &room);
    // 教室の設定 of the roster being edited; it must have been saved once.
    void editRoom();
    // 生徒の情報 of the names in the boxes.
    void editPupilInfo();

    QList<QLineEdit *> seatBoxes; // desk 1 first
    QList<QLabel *> seatCaptions; // "No.1" …
    QLabel *desk = nullptr;
    CommonDialog fileDialog;
    // How the opened roster file spells its names, kept when they are saved again.
    QHash<QString, QByteArray> rosterSpellings;
    // The names of the roster as opened, so that details follow a name changed in its box.
    QStringList namesOpened;

    // The file menu's.
    QAction *registerAction = nullptr, *closeAction = nullptr, *pasteTableAction = nullptr, *roomAction = nullptr,
            *pupilInfoAction = nullptr;

protected:
    // The window's close button runs the close command.
    void onCloseRequest(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildSeats();
    Room room_;
    QWidget *roomDrawing_ = nullptr; // 班 frames and aisles, under the boxes
    // The chosen file written; false when nothing was written.
    bool saveRoster(const QStringList &names);
    // Closes the editor and moves on to the seat conditions.
    void closeAndShowConditions();
    void highlightSeat(int index, bool focused);
};

// Colours of the name boxes.
inline constexpr QRgb NameBoxColor = 0xFF00C000;      // RGB(0, 192, 0)
inline constexpr QRgb NameBoxFocusColor = 0xFFC0FFC0; // RGB(192, 255, 192)
