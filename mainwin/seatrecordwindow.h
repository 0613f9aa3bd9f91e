#pragma once

#include "core/seatrecord.h"
#include "widgets/formwindow.h"

class QLabel;
class QPushButton;
class QTableWidget;

// Where the pupils of the roster sat over the saved charts: a read-only table with a
// bar of each pupil's front and back share. Shown without blocking.
class SeatRecordWindow : public FormDialog
{
    Q_OBJECT
public:
    SeatRecordWindow();

    // Fills the table and its legend from the record.
    void showRecord(const SeatRecord &record);

    // The table's columns.
    enum Column { NameColumn, ChartsColumn, FrontColumn, BackColumn, ShareColumn, SeatsColumn, ColumnCount };

    QLabel *summary = nullptr;
    QTableWidget *table = nullptr;
    QPushButton *closeButton = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void onCloseRequest(QCloseEvent *event) override;
};

// The past-results menu's record: the window over the current roster and the log of the
// current folder, or the message why there is nothing to show.
void seatRecordCommand();
