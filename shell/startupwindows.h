#pragma once

#include <QString>

// Start-up in its order: the working folder, the settings, the splash when wanted,
// the main window created, the date and clock, the main window shown.
void runStartup(const QString &programFolder);
