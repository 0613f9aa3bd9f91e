#include "core/rulerun.h"

#include "core/product.h"

#include <QElapsedTimer>

namespace
{

const QString RunTitle = QStringLiteral("実行確認");

} // namespace

SeatingContext seatingContextOf(const ClassModel &c)
{
    return {c.room, c.pupils, c.info, {}};
}

RuleDraw drawForRun(const SharedState &s, const UniformSource &uniform, const QString &folder)
{
    const ClassModel &c = s.openClass;
    const SeatingContext context = seatingContextOf(c);
    RuleDraw best;
    best.run = drawWithRules(context, c.conditions, c.rules, uniform);
    best.draws = 1;
    const RepeatRules repeat = repeatRules(s);
    if (best.run.status != RuleRun::Status::Drawn || !repeat.any())
        return best;
    const QStringList previous = previousChart(s, folder);
    if (previous.isEmpty())
        return best;
    best.repeats = findRepeats(chartTexts(best.run.chart), previous, c.room, c.conditions, repeat);
    QElapsedTimer clock;
    clock.start();
    while (best.repeats.count() > 0 && best.draws < MaxRuleRepeatDraws && clock.elapsed() < RuleRepeatTimeMs) {
        ++best.draws;
        RuleRun next = drawWithRules(context, c.conditions, c.rules, uniform);
        // A draw that ran out of time says nothing against the chart already found.
        if (next.status != RuleRun::Status::Drawn)
            continue;
        const Repeats repeats = findRepeats(chartTexts(next.chart), previous, c.room, c.conditions, repeat);
        if (repeats.count() < best.repeats.count()) {
            best.run = std::move(next);
            best.repeats = repeats;
        }
    }
    return best;
}

std::optional<MessageText> ruleRunRefusal(const RuleRun &run)
{
    switch (run.status) {
    case RuleRun::Status::Drawn: return std::nullopt;
    case RuleRun::Status::Impossible:
        return MessageText{clashMessage(run) + QStringLiteral("\r条件を見直しますか？"), RunTitle,
                           MsgStyle::Critical | MsgStyle::OkCancel};
    case RuleRun::Status::GaveUp:
        return MessageText{QStringLiteral("条件に合う座席を探すのに時間がかかりすぎたため、中止しました。"
                                          "座席は変わっていません。\r条件を減らすか、「必ず」の条件を「できれば」に"
                                          "変えてから、もう一度実行して下さい。"),
                           RunTitle, MsgStyle::Exclamation};
    case RuleRun::Status::NoSolver: break;
    }
    QString text = QStringLiteral("条件を解く部品（narabin_solver）を読み込めないため、実行できません。");
    if (!run.error.isEmpty())
        text += QLatin1Char('\r') + run.error;
    return MessageText{text, RunTitle, MsgStyle::Critical};
}

std::optional<MessageText> placeDrawn(SharedState &s, const RuleDraw &drawn)
{
    ClassModel &c = s.openClass;
    c.chart = drawn.run.chart;
    // As after the plain run without conditions: seat k holds the k-th pupil of the order.
    QStringList order;
    for (const ChartDesk &desk : c.chart) {
        if (desk.kind == ChartDesk::Kind::Pupil)
            order.append(desk.pupil);
    }
    c.pupils = order;
    s.LastCharts.insert(rosterKey(c.pupils, c.room), chartTexts(c.chart));

    QStringList lines;
    if (!drawn.run.brokenWishes.isEmpty()) {
        lines << QStringLiteral("できればの条件のうち、次の条件は守れませんでした。");
        for (const QString &wish : drawn.run.brokenWishes)
            lines << QStringLiteral("「%1」").arg(wish);
    }
    if (const std::optional<MessageText> repeats = repeatMessage(drawn.repeats))
        lines << repeats->text;
    if (lines.isEmpty())
        return std::nullopt;
    return MessageText{lines.join(QLatin1Char('\r')), QString::fromUtf8(product::Title), MsgStyle::Information};
}
