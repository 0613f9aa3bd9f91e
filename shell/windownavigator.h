#pragma once

#include "widgets/navigator.h"

// The links between the program's windows, made where every window is known.
class WindowNavigator : public Navigator
{
public:
    void newRoster() override;
    void openRoster(CommonDialog &dialog, QWidget *owner) override;
    void editRoom(QWidget *owner) override;
    void showConditionEditor() override;
    void runSeatChange(QWidget *owner) override;
    void showChart(const Room &room, const QStringList &seats) override;
    void showMainWindow() override;
    void raiseMainWindow() override;
    void closeMainWindow() override;
    void showVersionInfo() override;
    void printPage(ChartPrintJob &job, const PrintOptions &proposed) override;
};
