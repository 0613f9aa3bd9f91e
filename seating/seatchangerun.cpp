#include "seating/seatchangerun.h"

#include "core/ledger.h"
#include "core/placement.h"
#include "core/repeatavoidance.h"
#include "platform/platform.h"
#include "seating/chartscreen.h"
#include "seating/countdown.h"
#include "seating/resultwindow.h"
#include "widgets/mainwindowstate.h"
#include "widgets/navigator.h"

#include <QDir>

namespace
{
// The chart shown full screen, for the class to watch, when there is one.
ChartScreen *chartOnScreen()
{
    const ResultWindow *result = loadedForm<ResultWindow>();
    return result ? result->fullScreenChart() : nullptr;
}

void showCountdown()
{
    CountdownWindow *countdown = form<CountdownWindow>();
    countdown->ticker->start();
    // Where the class watches the chart, the countdown before the new one fills the screen too.
    if (const ChartScreen *chart = chartOnScreen())
        countdown->fillScreen(chart->screen());
    countdown->exec();
}
} // namespace

void seatChangeRunCommand(QWidget *owner)
{
    // A second start while the countdown runs would shuffle twice.
    if (isLoaded<CountdownWindow>())
        return;
    SharedState &s = state();
    if (!drawPossible(s.openClass.pupils, s.openClass.conditions)) {
        // A chart that leaves a pupil out or seats one twice is worse than none.
        showMessage(owner, QStringLiteral("座席の条件に誤りがあります。条件設定の変更で条件を設定し直して下さい。"),
                    MsgStyle::Critical, QStringLiteral("実行確認"));
        return;
    }
    showCountdown();
    const std::optional<MessageText> repeats = placeForRun(s, runSource(), QDir::currentPath());

    ResultWindow *result = form<ResultWindow>();
    result->setChart(s.openClass.room, chartTexts(s.openClass.chart));
    result->setRun(newRunName());
    mainWindowState().enablePreviousResult();
    navigator().closeMainWindow();
    result->bringToFront();
    QWidget *shownOn = result;
    if (ChartScreen *screen = chartOnScreen()) {
        screen->raise();
        screen->activateWindow();
        shownOn = screen;
    }
    // Said over the chart, so the teacher sees whom it names.
    if (repeats)
        showMessage(shownOn, *repeats);
}
