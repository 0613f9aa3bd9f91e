#pragma once

#include "core/sharedstate.h"

#include <QPalette>

#include <utility>
#include <vector>

class QLabel;
class QPainter;
class QPrinter;
class QWidget;
class ResultWindow;

// The result window's print command: the chart printed in its print look, one page
// per copy, and a printer that fails is reported.
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

// The number of copies chosen in the print dialog; the printer is left making one of
// each page, one-sided, since every copy is printed as a page of its own.
int takeCopies(QPrinter &printer);

// Draws the client area as it looks now onto the painter's page, text as text: at the
// physical size it has on screen, top-left (shrunk only where the page is too small),
// or, with `fitToPage`, scaled to fill the page and centred.
void paintChart(QPainter &painter, QWidget *client, bool fitToPage);
