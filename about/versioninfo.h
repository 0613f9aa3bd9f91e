#pragma once

#include "app/formwindow.h"

// The version-information window.
class INFO_VER : public FormDialog {
    Q_OBJECT
public:
    INFO_VER();
};

// Opens the version-information window modally and returns when it closes.
void ShowVersionInfo();
