#pragma once

#include "platform/platform.h"

class QPrinter;
class QWidget;

// The printing library: everything that needs Qt's print support, in a library of its own that
// the program loads on the first print, so that start-up neither loads Qt's print support nor
// binds its symbols. Only Qt's types and calls through virtual functions cross between them:
// the library links Qt alone and none of the program's code.

// The program's side of printing one chart.
class ChartPrintJob
{
public:
    // Owns the dialogs and the messages.
    virtual QWidget *window() = 0;
    // The client area that goes on paper.
    virtual QWidget *chart() = 0;
    // The print dialog; false when the user cancelled. The options' choices are kept as the
    // program keeps its settings.
    virtual bool choose(QPrinter &printer, PrintOptions &options) = 0;
    // The window in its print look, or back in its screen look.
    virtual void setPrintLook(bool onPaper, bool teacherView) = 0;
    // Tells the user why the chart was not printed.
    virtual void report(const QString &text) = 0;

protected:
    ~ChartPrintJob() = default;
};

struct PrintLibrary {
    // Prints the chart: the print dialog, then one page per copy; a printer that fails is reported.
    void (*printChart)(ChartPrintJob &job, PrintOptions proposed);
    // Qt's print dialog with the chart's options (Platform::printDialog).
    bool (*printDialog)(QWidget *owner, QPrinter &printer, PrintOptions &options);
};

// The library's one exported function, which returns its entry points.
using PrintLibraryFunction = const PrintLibrary *(*)();
inline constexpr char PrintLibrarySymbol[] = "narabinPrintLibrary";
