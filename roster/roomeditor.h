#pragma once

#include "core/classfile.h"
#include "core/roomedit.h"
#include "widgets/formwindow.h"

#include <QWidget>

#include <array>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

// One cell of the room grid: a desk or none. It draws itself and is what a screen reader
// reads ("No.5 前から2列目", "机なし"); the grid handles its keys and the mouse.
class RoomCellBox : public QWidget
{
    Q_OBJECT
public:
    RoomCellBox(QWidget *parent, RoomCell cell) : QWidget(parent), cell(cell) {}
    const RoomCell cell;
    int desk = 0;
    int group = 0;
    bool selected = false;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// The room as the pupils see it: the front row at the bottom above the teacher's desk,
// desk 1 at its right. A click or Space switches a desk on or off; a drag or Shift+arrows
// select a rectangle of cells; the arrows move between cells and Tab leaves the grid.
class RoomGrid : public QWidget
{
    Q_OBJECT
public:
    explicit RoomGrid(QWidget *parent);

    const Room &room() const { return room_; }
    void setRoom(const Room &room);
    RoomCell current() const { return current_; }
    RoomCell anchor() const { return anchor_; }
    // Moves the current cell (and the selection to it alone).
    void setCurrent(RoomCell cell, bool extendSelection = false);
    RoomCellBox *box(RoomCell cell) const { return boxes_[size_t(cell.row * Room::MaxColumns + cell.column)]; }
    // Flips the desk at the current cell.
    void toggleDesk();
    // Makes the selected desks a 班 / pairs / frees them; false when nothing changed.
    bool groupSelection();
    bool pairSelection();
    bool releaseSelection();
    // Switches the aisle at the right-hand side (as drawn) of the current cell's column.
    void toggleAisle();

    QLabel *teacherDesk = nullptr;

signals:
    void roomChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void layoutCells();
    void refreshCells();
    bool keyPressed(QKeyEvent *event);
    RoomCellBox *boxAt(QPoint gridPos) const;
    void change(const Room &room);
    // Applies one of the edits over the selection (core/roomedit.h).
    bool editSelection(bool (*edit)(Room &, RoomCell, RoomCell));

    Room room_;
    RoomCell current_{0, 0};
    RoomCell anchor_{0, 0};
    RoomCell pressed_{-1, -1};
    bool dragged_ = false;
    std::array<RoomCellBox *, Room::MaxRows * Room::MaxColumns> boxes_{};
};

// 教室の設定: the room of one class, from a preset or drawn cell by cell, written to the
// class file beside its roster on OK.
class RoomEditor : public ButtonRowDialog
{
    Q_OBJECT
public:
    RoomEditor();

    // Takes the class of the roster at `rosterPath`, with `pupils` names and `pins`. False,
    // the reason shown and the dialog closed, when its class file cannot be read.
    bool edit(const QString &rosterPath, int pupils, const QList<PinnedDesk> &pins);

    QComboBox *presets = nullptr;
    QSpinBox *rowsBox = nullptr;
    QSpinBox *columnsBox = nullptr;
    RoomGrid *grid = nullptr;
    QPushButton *groupButton = nullptr, *pairButton = nullptr, *releaseButton = nullptr, *aisleButton = nullptr;
    QLabel *summary = nullptr;

signals:
    // OK wrote `room` to the class file.
    void roomSaved(const Room &room);

protected:
    // Checks the room against the class, then writes it; the dialog stays open on a refusal
    // or a failed write.
    void okClicked() override;

private:
    void showRoom();

    QString rosterPath_;
    Room roomRead_; // the class file's room when the editor opened
    int pupils_ = 0;
    QList<PinnedDesk> pins_;
};

// The room editor for the class of `rosterPath`, modal. The room it wrote; nothing when it
// was cancelled, left the room as it was, or could not read the class file (reported).
std::optional<Room> editRoomModally(const QString &rosterPath, int pupils, const QList<PinnedDesk> &pins);
