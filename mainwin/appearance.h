#pragma once

#include <QString>

class QWidget;

// Options > initial settings of the main window.
void logoMarkCommand();
void mainColorCommand();
void countdownBackColorCommand();
void countdownForeColorCommand();
// The run's options: off the previous chart's seats, apart from its neighbours.
void noSameSeatCommand();
void noSameNeighbourCommand();
