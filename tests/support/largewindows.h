#pragma once

// The four large windows, by the name the data rows give them.
#include "mainwin/mainwindow.h"
#include "roster/rostereditor.h"
#include "seating/conditioneditor.h"
#include "seating/resultwindow.h"
#include "support/testenv.h"

// "main window", "roster editor", "condition editor" or "result window", created and shown.
inline FormWindow *shownLargeWindow(const QString &name)
{
    FormWindow *w = name == QLatin1String("main window")        ? static_cast<FormWindow *>(form<MainWindow>())
                    : name == QLatin1String("roster editor")    ? static_cast<FormWindow *>(form<RosterEditor>())
                    : name == QLatin1String("condition editor") ? static_cast<FormWindow *>(form<ConditionEditor>())
                                                                : static_cast<FormWindow *>(form<ResultWindow>());
    w->show();
    return w;
}
