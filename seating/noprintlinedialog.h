#pragma once

#include "core/room.h"
#include "widgets/formwindow.h"

#include <QList>

class QCheckBox;
class QLabel;
class QPushButton;

// The rows left off the printed chart; shown without blocking. Check box i stands
// for classroom row i + 2 of the chart's room and sits where that row sits (back rows at the top).
class NonPrintedRowsDialog : public ButtonRowDialog
{
    Q_OBJECT
public:
    // For the room of the chart in the result window.
    NonPrintedRowsDialog();
    explicit NonPrintedRowsDialog(const Room &room);

    // Ticks the rows that are left off now.
    void onLoad() override;

    QList<QCheckBox *> rowChecks;

protected:
    // Stores the ticked rows.
    void okClicked() override;
};
