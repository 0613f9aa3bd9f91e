#pragma once

#include "widgets/formwindow.h"

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;

// The rows left off the printed chart; shown without blocking. Check box i stands
// for classroom row i + 2 and sits where that row sits (back rows at the top).
class NonPrintedRowsDialog : public ButtonRowDialog
{
    Q_OBJECT
public:
    NonPrintedRowsDialog();

    // Ticks the rows that are left off now.
    void onLoad() override;

    std::array<QCheckBox *, 6> rowChecks{};

protected:
    // Stores the ticked rows.
    void okClicked() override;
};
