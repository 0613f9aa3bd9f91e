#pragma once

#include "widgets/formwindow.h"

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;

// The rows left off the printed chart; shown without blocking. Check box i stands
// for classroom row i + 2 and sits where that row sits (back rows at the top).
class NOPLINE : public FormDialog {
    Q_OBJECT
public:
    NOPLINE();

    // Ticks the rows that are left off now.
    void Form_Load() override;
    // 0 = OK, 1 = キャンセル, 2 = ヘルプ.
    void Command1_Click(int index);

    QLabel *Label1;
    std::array<QCheckBox *, 6> Check1{};
    std::array<QPushButton *, 3> Command1{};

private:
    void storeTickedRows();
};
