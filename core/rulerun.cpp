#include "core/rulerun.h"

#include "core/product.h"

namespace
{

const QString RunTitle = QStringLiteral("実行確認");

} // namespace

SeatingContext seatingContextOf(const ClassModel &c)
{
    return {c.room, c.pupils, c.info, c.year};
}

namespace
{
Ledger yearOfRun(const SharedState &s, const QString &folder)
{
    const ClassModel &c = s.openClass;
    if (s.RosterFileName.isEmpty()) {
        const QStringList last = s.LastCharts.value(rosterKey(c.pupils, c.room));
        return last.isEmpty() ? c.year : Ledger{{QString(), QDateTime(), c.room, last, {}}};
    }
    // A class file that cannot be read now leaves the year as it was read before.
    return classYear(s.RosterFileName, folder, c.pupils).value_or(c.year);
}

Rule repeatWish(Rule::Kind kind)
{
    Rule rule;
    rule.kind = kind;
    rule.must = false;
    return rule;
}
} // namespace

RuleDraw drawForRun(const SharedState &s, const UniformSource &uniform, const QString &folder)
{
    const ClassModel &c = s.openClass;
    RuleDraw drawn;
    drawn.year = yearOfRun(s, folder);
    SeatingContext context = seatingContextOf(c);
    context.year = drawn.year;
    Rules rules = c.rules;
    const RepeatRules repeat = repeatRules(s);
    if (repeat.seat)
        rules.append(repeatWish(Rule::Kind::NewDesk));
    if (repeat.neighbour)
        rules.append(repeatWish(Rule::Kind::NewDeskmates));
    drawn.run = drawWithRules(context, c.conditions, rules, uniform);
    if (drawn.run.status != RuleRun::Status::Drawn || rules.size() == c.rules.size())
        return drawn;
    // The options' wishes are told as repeats, by name.
    drawn.run.brokenWishes.clear();
    for (int r : brokenRules(c.rules, context, drawn.run.chart)) {
        if (!c.rules[r].must)
            drawn.run.brokenWishes.append(c.rules[r].text());
    }
    const KeptChart *last = drawn.year.isEmpty() ? nullptr : &drawn.year.constLast();
    if (last && last->room == c.room)
        drawn.repeats = findRepeats(chartTexts(drawn.run.chart), last->seats, c.room, c.conditions, repeat);
    return drawn;
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
    if (!s.RosterFileName.isEmpty())
        c.year = drawn.year;

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
