#include "seating/seatchangerun.h"

#include "core/ledger.h"
#include "core/placement.h"
#include "core/repeatavoidance.h"
#include "core/rulerun.h"
#include "platform/platform.h"
#include "seating/chartscreen.h"
#include "seating/countdown.h"
#include "seating/resultwindow.h"
#include "seating/rulelist.h"
#include "widgets/mainwindowstate.h"
#include "widgets/navigator.h"

#include <QApplication>
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

// Where the teacher changes the rules a run could not keep.
void openRulesFor(QWidget *owner)
{
    editRules(state().openClass.conditions, owner);
}

// The run with rules up to the chart: drawn before the countdown, so that rules that cannot
// hold start none. False when it was refused (and told).
bool placeWithRules(QWidget *owner, SharedState &s, std::optional<MessageText> *told)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const RuleDraw drawn = drawForRun(s, runSource(), QDir::currentPath());
    QApplication::restoreOverrideCursor();
    if (const std::optional<MessageText> refusal = ruleRunRefusal(drawn.run)) {
        if (showMessage(owner, *refusal) == IDOK && drawn.run.status == RuleRun::Status::Impossible)
            openRulesFor(owner);
        return false;
    }
    showCountdown();
    *told = placeDrawn(s, drawn);
    return true;
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
    std::optional<MessageText> told;
    if (s.openClass.rules.isEmpty()) {
        showCountdown();
        told = placeForRun(s, runSource(), QDir::currentPath());
    } else if (!placeWithRules(owner, s, &told)) {
        return;
    }

    ResultWindow *result = form<ResultWindow>();
    result->showClassChart();
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
    if (told)
        showMessage(shownOn, *told);
}
