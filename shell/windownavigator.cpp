#include "shell/windownavigator.h"

#include "about/versioninfo.h"
#include "mainwin/mainwindow.h"
#include "roster/rostercommands.h"
#include "seating/conditioneditor.h"
#include "seating/resultwindow.h"
#include "seating/seatchangerun.h"

void WindowNavigator::newRoster()
{
    fileCreateCommand();
}

void WindowNavigator::openRoster(CommonDialog &dialog, QWidget *owner)
{
    fileOpenCommand(dialog, owner);
}

void WindowNavigator::showConditionEditor()
{
    ::showConditionEditor();
}

void WindowNavigator::runSeatChange(QWidget *owner)
{
    seatChangeRunCommand(owner);
}

void WindowNavigator::showChart(const Room &room, const QStringList &seats)
{
    ResultWindow *result = form<ResultWindow>();
    result->setChart(room, seats);
    result->bringToFront();
}

void WindowNavigator::showMainWindow()
{
    MainWindow *main = form<MainWindow>();
    main->show();
    main->activateWindow();
}

void WindowNavigator::raiseMainWindow()
{
    MainWindow *main = loadedForm<MainWindow>();
    if (main && main->isVisible()) {
        main->raise();
        main->activateWindow();
    }
}

void WindowNavigator::closeMainWindow()
{
    unload<MainWindow>();
}

void WindowNavigator::showVersionInfo()
{
    ::showVersionInfo();
}
