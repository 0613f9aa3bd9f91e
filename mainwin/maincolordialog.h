#pragma once

#include "widgets/formwindow.h"

#include <array>

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;

// The chooser of the main window's colour preset; shown without blocking.
class SEL_MCL : public FormDialog {
    Q_OBJECT
public:
    SEL_MCL();

    // Selects the option of the preset in force.
    void Form_Load() override;
    // 0 = OK, 1 = キャンセル, 2 = ヘルプ.
    void Command1_Click(int index);

    QLabel *Label1;
    std::array<QRadioButton *, 3> Option1{};
    QButtonGroup *Option1Group;
    std::array<QPushButton *, 3> Command1{};

private:
    void applySelectedPreset();
};
