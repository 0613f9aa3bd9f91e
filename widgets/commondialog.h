#pragma once

#include "core/sharedstate.h"

#include <QString>

class QWidget;

// A window's common dialog: it keeps the title, filter and file name last set on it.
// Confirming a file dialog makes the chosen file's folder the current directory.
class CommonDialog {
public:
    QString DialogTitle;
    QString Filter;     // "label|pattern|label|pattern..."
    QString FileName;   // full path after a confirmed dialog, empty after a cancelled one
    QString FileTitle;  // the chosen file's name without its folder
    ColorValue Color = 0;

    // Each returns true when the user confirmed.
    bool ShowOpen(QWidget *owner);
    bool ShowSave(QWidget *owner);
    bool ShowColor(QWidget *owner);

private:
    bool accept(const QString &path);
};
