#include "widgets/mainwindowstate.h"

void MainWindowState::startRosterState(bool previousResultOn)
{
    conditionsMode_ = false;
    previousResultOn_ = previousResultOn;
    emit changed();
}

void MainWindowState::enterConditionsState()
{
    conditionsMode_ = true;
    emit changed();
}

void MainWindowState::enablePreviousResult()
{
    previousResultOn_ = true;
    emit changed();
}

MainWindowState &mainWindowState()
{
    static MainWindowState state;
    return state;
}
