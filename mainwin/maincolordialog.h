#pragma once

#include "widgets/formwindow.h"

#include <array>

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;

// The chooser of the main window's colour preset; shown without blocking.
class MainColorDialog : public ButtonRowDialog
{
    Q_OBJECT
public:
    MainColorDialog();

    // Selects the option of the preset in force.
    void onLoad() override;

    std::array<QRadioButton *, 3> presetOptions{};
    QButtonGroup *presetGroup = nullptr;

protected:
    // Takes the chosen preset.
    void okClicked() override;
};
