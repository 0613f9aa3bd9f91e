#pragma once

#include "core/seatrecord.h"
#include "widgets/commondialog.h"
#include "widgets/formwindow.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTableWidget;

// Where the pupils of the class sat over the year and beside whom: a sortable table with a
// bar of each pupil's front, middle and back seats, the pairs as a shaded grid, and the
// kept charts, of which a trial run can be removed. Printed on one page, saved as CSV.
// Shown without blocking.
class SeatRecordWindow : public FormDialog
{
    Q_OBJECT
public:
    SeatRecordWindow();

    // The class the record is of: its roster, the roster's file (empty when unsaved) and
    // the folder of its log.
    void setClass(const QStringList &roster, const QString &rosterPath, const QString &folder);
    // Fills the table, the pairs and the chart list from the record; one with a message
    // shows that instead.
    void showRecord(const SeatRecord &record);

    // Asks, removes the chosen kept chart and counts again.
    void removeChart();
    // Writes the table as it is sorted to a CSV file the user picks.
    void saveCsv();
    // The rows of the table from top to bottom, as indexes into the record's pupils.
    QList<int> shownRows() const;

    // The table's columns.
    enum Column { NameColumn, ChartsColumn, PartsColumn, SeatsColumn, DeskmatesColumn, ColumnCount };

    QLabel *summary = nullptr;
    QTabWidget *tabs = nullptr;
    QComboBox *sortBox = nullptr;
    QTableWidget *table = nullptr;
    QTableWidget *pairs = nullptr;
    QListWidget *chartList = nullptr;
    QPushButton *removeButton = nullptr;
    QPushButton *printButton = nullptr;
    QPushButton *csvButton = nullptr;
    QPushButton *closeButton = nullptr;
    CommonDialog csvDialog;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void onCloseRequest(QCloseEvent *event) override;

private:
    void fillTable();
    void sortAsChosen(int choice);

    SeatRecord record_;
    QStringList roster_;
    QString rosterPath_;
    QString folder_;
};

// The past-results menu's record: the window over the current roster's class, or the
// message why there is nothing to show.
void seatRecordCommand();
