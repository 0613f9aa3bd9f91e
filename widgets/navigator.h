#pragma once

#include "core/room.h"

#include <QStringList>

class ChartPrintJob;
class CommonDialog;
class QWidget;
struct PrintOptions;

// The windows reach one another only through here: a window of one folder never uses
// another folder's windows. The shell, which knows them all, puts the implementation
// in place at start (tests too, through the same shell).
class Navigator
{
public:
    virtual ~Navigator() = default;
    // File > New roster: an empty roster editor, modal.
    virtual void newRoster() = 0;
    // File > Open with the opening window's file dialog.
    virtual void openRoster(CommonDialog &dialog, QWidget *owner) = 0;
    // 教室の設定 of the open class, modal; explained when no class is open or its conditions are
    // being edited.
    virtual void editRoom(QWidget *owner) = 0;
    // The condition editor, without blocking; brought to the front when open.
    virtual void showConditionEditor() = 0;
    // The run: checks, countdown, shuffle, the chart shown and the main window closed.
    virtual void runSeatChange(QWidget *owner) = 0;
    // The result window showing the chart of `room`: `seats` are its desks' texts, desk 1 first.
    virtual void showChart(const Room &room, const QStringList &seats) = 0;
    // The main window, created when there is none, shown and activated.
    virtual void showMainWindow() = 0;
    // The main window brought forward, only when it is shown.
    virtual void raiseMainWindow() = 0;
    virtual void closeMainWindow() = 0;
    // The version information, modal.
    virtual void showVersionInfo() = 0;
    // Prints the job's page through the printing library, loaded on the first print; a library
    // that cannot be loaded is reported through the job.
    virtual void printPage(ChartPrintJob &job, const PrintOptions &proposed) = 0;
};

Navigator &navigator();
// Installs the implementation; its owner keeps it alive.
void setNavigator(Navigator *implementation);
