#pragma once

#include "core/sharedstate.h"

#include <QPalette>

#include <utility>
#include <vector>

class QLabel;
class QWidget;
class ResultWindow;
struct PrintLibrary;

// The result window's print command: the chart printed in its print look, one page
// per copy, and a printer that fails is reported, as is a printing library that is missing.
void printResultCommand();
// The result window's non-printed-rows dialog, shown without blocking.
void showNoPrintLineDialog();

// Puts the result window into its print look (white, black captions, no toolbar, the
// status bar only when it is to be printed, the non-printed rows hidden, the chart seen
// from the side chosen for the paper) for as long as it lives; its end brings the screen
// look back, however the printing ended.
class PrintLook
{
public:
    PrintLook(ResultWindow &window, bool teacherView);
    ~PrintLook();
    PrintLook(const PrintLook &) = delete;
    PrintLook &operator=(const PrintLook &) = delete;

private:
    ResultWindow &window_;
    QPalette clientPalette_;
    std::vector<std::pair<QWidget *, QPalette>> lettering_;  // white on screen, black on paper
    std::vector<std::pair<QLabel *, QString>> framedLabels_; // with their own style sheets
};

// The printing library (print/printlibrary.h), loaded on first use, and the file it came
// from: the one the services name, else the one beside the program, else the installed one.
// Null, with the reason in Japanese, when none can be loaded.
const PrintLibrary *printLibrary(QString *error = nullptr, QString *file = nullptr);
