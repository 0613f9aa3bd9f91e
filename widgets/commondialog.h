#pragma once

#include "core/sharedstate.h"

#include <QString>

class QWidget;

// A window's common dialog: it keeps the title, filter and file name last set on it.
// Confirming a file dialog makes the chosen file's folder the current directory.
class CommonDialog
{
public:
    QString title;
    QString filter;    // "label|pattern|label|pattern..."
    QString fileName;  // full path after a confirmed dialog, empty after a cancelled one
    QString fileTitle; // the chosen file's name without its folder
    ColorValue color = 0;

    // Each returns true when the user confirmed.
    bool showOpen(QWidget *owner);
    bool showSave(QWidget *owner);
    bool showColor(QWidget *owner);
    // The save dialog for a CSV file proposed as `proposed`: a name typed without an
    // extension gets ".csv", and an existing file is replaced only when the user agrees.
    // The path to write, empty when the user gave up.
    QString chooseCsvFile(QWidget *owner, const QString &dialogTitle, const QString &proposed);

private:
    bool accept(const QString &path);
};
