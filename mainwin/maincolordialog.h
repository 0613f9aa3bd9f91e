#pragma once

#include "widgets/formwindow.h"

#include <array>

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;

// The chooser of the main window's colour preset; shown without blocking.
class MainColorDialog : public FormDialog {
    Q_OBJECT
public:
    MainColorDialog();

    // Selects the option of the preset in force.
    void onLoad() override;
    // 0 = OK, 1 = キャンセル, 2 = ヘルプ.
    void buttonClicked(int index);

    QLabel *instruction;
    std::array<QRadioButton *, 3> presetOptions{};
    QButtonGroup *presetGroup;
    std::array<QPushButton *, 3> buttons{};

private:
    void applySelectedPreset();
};
