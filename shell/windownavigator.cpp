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

void WindowNavigator::showChart(const QStringList &seats)
{
    RESULT *result = form<RESULT>();
    result->setSeatTexts(seats);
    result->bringToFront();
}

void WindowNavigator::showMainWindow()
{
    NARABIN *main = form<NARABIN>();
    main->show();
    main->activateWindow();
}

void WindowNavigator::raiseMainWindow()
{
    NARABIN *main = loadedForm<NARABIN>();
    if (main && main->isVisible()) {
        main->raise();
        main->activateWindow();
    }
}

void WindowNavigator::closeMainWindow()
{
    unload<NARABIN>();
}

void WindowNavigator::showVersionInfo()
{
    ShowVersionInfo();
}
