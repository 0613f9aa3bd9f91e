#include "core/deskswap.h"

#include "core/rulerun.h"

namespace
{

MessageText refusalOf(const QString &rule)
{
    return {QStringLiteral("この入れ替えは「必ず」の条件「%1」を守れません。").arg(rule),
            QStringLiteral("席の入れ替え"), MsgStyle::Exclamation};
}

} // namespace

DeskSwap swapDesks(const ClassModel &c, int a, int b, const QString &shownRun)
{
    DeskSwap out;
    const auto holdsPupil = [&c](int desk) { return c.chart.value(desk - 1).kind == ChartDesk::Kind::Pupil; };
    if (a == b || a < 1 || b < 1 || a > c.chart.size() || b > c.chart.size() || (!holdsPupil(a) && !holdsPupil(b)))
        return out;
    // Named as the run names the desk conditions when they clash.
    for (const int desk : {a, b}) {
        const DeskCondition &condition = c.conditions.value(desk - 1);
        if (condition.kind == DeskCondition::Kind::Pinned) {
            out.refusal = refusalOf(QStringLiteral("%1をNo.%2に").arg(condition.pupil).arg(desk));
            return out;
        }
        if (condition.kind == DeskCondition::Kind::Empty) {
            out.refusal = refusalOf(QStringLiteral("No.%1を空席に").arg(desk));
            return out;
        }
    }
    Chart swapped = c.chart;
    swapped.swapItemsAt(a - 1, b - 1);
    SeatingContext context = seatingContextOf(c);
    context.year.removeIf([&](const KeptChart &k) { return !shownRun.isEmpty() && k.run == shownRun; });
    for (const Rule &rule : c.rules) {
        if (rule.must && !keepsRule(rule, context, swapped) && keepsRule(rule, context, c.chart)) {
            out.refusal = refusalOf(rule.text());
            return out;
        }
    }
    out.chart = std::move(swapped);
    return out;
}
