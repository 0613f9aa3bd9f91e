#include "shell/windownavigator.h"

#include "about/versioninfo.h"
#include "mainwin/mainwindow.h"
#include "platform/platform.h"
#include "print/printlibrary.h"
#include "roster/rostercommands.h"
#include "seating/conditioneditor.h"
#include "seating/printing.h"
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

void WindowNavigator::editRoom(QWidget *owner)
{
    // The condition editor shows the desks of the room it opened with and holds entries not yet
    // set: they are settled there first, never dropped by a room changing under them.
    if (ConditionEditor *conditions = loadedForm<ConditionEditor>(); conditions && conditions->isVisible()) {
        showMessage(owner,
                    QStringLiteral("条件設定の画面を閉じてから、教室の設定を行って下さい。\r\n"
                                   "（条件設定の画面で「条件設定」か「取消」を選びます）"),
                    MsgStyle::Information, QStringLiteral("教室の設定"));
        conditions->bringToFront();
        return;
    }
    roomSettingsCommand(owner);
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

void WindowNavigator::printPage(ChartPrintJob &job, const PrintOptions &proposed)
{
    QString error;
    if (const PrintLibrary *library = printLibrary(&error))
        library->printChart(job, proposed);
    else
        job.report(error);
}
