#pragma once

#include <QString>

// The drag icon file ("DRAG.ICO", "DRAG2.ICO") a drag shows: the one in the current
// folder (any letter case) when it is there, else the one installed with the program
// (beside it or in its data folder). Empty when neither exists: the drag then uses
// the copy built into the program.
QString findDragIconFile(const QString &programFolder, const QString &name);

struct PathReport {
    QString text;          // "name: path" lines
    bool complete = false; // the help file and both drag icons were found
};

// Start-up up to its settings step (working folder, settings), writing nothing, then
// where the program works and what it found. `narabin --paths` prints this, so that an
// installation can be checked without a display.
PathReport startupPathReport(const QString &programFolder);
