#pragma once

#include <QString>

class QWidget;

// Options > initial settings of the main window.
void logoMarkCommand();
void mainColorCommand();
void countdownBackColorCommand();
void countdownForeColorCommand();
