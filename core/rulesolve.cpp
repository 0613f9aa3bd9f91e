#include "core/rulesolve.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include <algorithm>
#include <functional>
#include <memory>
#include <numeric>

namespace
{

// A must rule or a desk condition: what the solver gets, and how the teacher reads it.
struct Item {
    QString text;
    std::function<void(RuleProblem &, int)> post;
    bool wish = false; // できれば: may be broken, at a cost of one
};

QList<std::pair<int, int>> allowedPairs(const Room &room, const std::function<bool(int, int)> &holds)
{
    QList<std::pair<int, int>> out;
    for (int a = 1; a <= room.deskCount(); ++a) {
        for (int b = 1; b <= room.deskCount(); ++b) {
            if (a != b && holds(a, b))
                out.append({a - 1, b - 1});
        }
    }
    return out;
}

QList<int> groupTable(const Room &room, int *groups)
{
    const QList<int> numbers = room.groupNumbers();
    *groups = int(numbers.size());
    QList<int> table;
    for (int desk = 1; desk <= room.deskCount(); ++desk)
        table.append(int(numbers.indexOf(room.groupOf(desk))));
    return table;
}

QList<int> pupilsWhere(const SeatingContext &c, const std::function<bool(const PupilInfo &)> &test)
{
    QList<int> out;
    for (qsizetype p = 0; p < c.roster.size(); ++p) {
        if (test(c.info.value(c.roster[p])))
            out.append(int(p));
    }
    return out;
}

void postRule(const Rule &rule, const SeatingContext &c, RuleProblem &problem, int index)
{
    using Kind = Rule::Kind;
    const Room &room = c.room;
    // One representative pupil in the whole rule is a stand-in for an empty set.
    QList<int> pupils;
    for (const QString &name : rule.pupils) {
        if (const qsizetype p = c.roster.indexOf(name); p >= 0)
            pupils.append(int(p));
    }
    const auto pairRule = [&](const std::function<bool(int, int)> &holds) {
        const QList<std::pair<int, int>> allowed = allowedPairs(room, holds);
        for (qsizetype i = 0; i < pupils.size(); ++i) {
            for (qsizetype j = i + 1; j < pupils.size(); ++j)
                problem.pairs.append({index, pupils[i], pupils[j], allowed});
        }
    };
    const auto one = [&room](int a, int b, const Rule &r) {
        Chart chart(room.deskCount());
        chart[a - 1] = {ChartDesk::Kind::Pupil, QStringLiteral("a")};
        chart[b - 1] = {ChartDesk::Kind::Pupil, QStringLiteral("b")};
        Rule two = r;
        two.pupils = {QStringLiteral("a"), QStringLiteral("b")};
        return keepsRule(two, SeatingContext{room, {}, {}}, chart);
    };
    const auto kindOf = [&](int p) {
        const Gender g = c.info.value(c.roster[p]).gender;
        return g == Gender::Boy ? 0 : g == Gender::Girl ? 1 : 2;
    };
    switch (rule.kind) {
    case Kind::Zone: {
        QList<int> allowed;
        for (int desk : rule.zone.desksIn(room))
            allowed.append(desk - 1);
        for (int p : pupils)
            problem.within.append({index, p, allowed});
        break;
    }
    case Kind::Apart:
    case Kind::ApartGroups:
    case Kind::Near:
    case Kind::SideBySide:
    case Kind::SamePair: pairRule([&](int a, int b) { return one(a, b, rule); }); break;
    case Kind::LeaderPerGroup: {
        RuleProblem::PerGroup g{
            index, pupilsWhere(c, [&](const PupilInfo &i) { return i.tags.contains(rule.tag); }), {}, 0, 1};
        g.groupOfDesk = groupTable(room, &g.groups);
        problem.perGroup.append(g);
        break;
    }
    case Kind::GenderBalance: {
        RuleProblem::Balance b{index,
                               pupilsWhere(c, [](const PupilInfo &i) { return i.gender == Gender::Boy; }),
                               pupilsWhere(c, [](const PupilInfo &i) { return i.gender == Gender::Girl; }),
                               {},
                               0};
        b.groupOfDesk = groupTable(room, &b.groups);
        problem.balance.append(b);
        break;
    }
    case Kind::Alternate:
    case Kind::MixedPairs: {
        RuleProblem::Differ d{index, {}, {}};
        for (int p = 0; p < int(c.roster.size()); ++p)
            d.kindOfPupil.append(kindOf(p));
        const bool alternate = rule.kind == Kind::Alternate;
        for (int a = 1; a <= room.deskCount(); ++a) {
            for (int b = a + 1; b <= room.deskCount(); ++b) {
                Rule probe = rule;
                probe.kind = Kind::SideBySide;
                if (alternate ? one(a, b, probe) : room.partnerOf(a) == b)
                    d.deskPairs.append({a - 1, b - 1});
            }
        }
        problem.differ.append(d);
        break;
    }
    }
}

QList<Item> itemsOf(const SeatingContext &c, const DeskConditions &conditions, const Rules &rules)
{
    QList<Item> items;
    for (qsizetype k = 0; k < conditions.size(); ++k) {
        const int desk = int(k);
        if (conditions[k].kind == DeskCondition::Kind::Pinned) {
            const int pupil = int(c.roster.indexOf(conditions[k].pupil));
            items.append({QStringLiteral("%1をNo.%2に").arg(conditions[k].pupil).arg(desk + 1),
                          [pupil, desk](RuleProblem &p, int i) {
                              p.within.append({i, pupil, {desk}});
                          }});
        } else if (conditions[k].kind == DeskCondition::Kind::Empty) {
            items.append({QStringLiteral("No.%1を空席に").arg(desk + 1), [desk](RuleProblem &p, int i) {
                              QList<int> others;
                              for (int d = 0; d < p.desks; ++d) {
                                  if (d != desk)
                                      others.append(d);
                              }
                              for (int pupil = 0; pupil < p.pupils; ++pupil)
                                  p.within.append({i, pupil, others});
                          }});
        }
    }
    for (const Rule &rule : rules)
        items.append({rule.text(), [rule, c](RuleProblem &p, int i) { postRule(rule, c, p, i); }, !rule.must});
    return items;
}

RuleProblem problemOf(const SeatingContext &c, const QList<Item> &items, const QList<int> &chosen)
{
    RuleProblem p;
    p.desks = c.room.deskCount();
    p.pupils = int(c.roster.size());
    for (int i : chosen) {
        items[i].post(p, i);
        if (items[i].wish)
            p.wishes.insert(i, 1);
    }
    return p;
}

// The smallest set of items that cannot hold together, found by splitting (QuickXplain):
// a set none of whose items can be left out.
class ClashFinder
{
public:
    ClashFinder(const SeatingContext &c, const QList<Item> &items, RuleSolveFunction solve)
        : c_(c), items_(items), solve_(solve)
    {
    }
    bool possible(const QList<int> &chosen) const
    {
        return solve_(problemOf(c_, items_, chosen), 1, SolverTimeLimitMs).status != RuleSolution::Status::Impossible;
    }
    QList<int> find(const QList<int> &background, bool added, const QList<int> &candidates) const
    {
        if (added && !possible(background))
            return {};
        if (candidates.size() == 1)
            return candidates;
        const QList<int> first = candidates.mid(0, candidates.size() / 2),
                         second = candidates.mid(candidates.size() / 2);
        const QList<int> inSecond = find(background + first, !first.isEmpty(), second);
        const QList<int> inFirst = find(background + inSecond, !inSecond.isEmpty(), first);
        return inFirst + inSecond;
    }

private:
    const SeatingContext &c_;
    const QList<Item> &items_;
    RuleSolveFunction solve_;
};

// Moves the pupils by random swaps of two desks that keep every must rule. Each swap is as
// likely as its reverse, so every chart the swaps can reach ends up equally likely.
// Wishes count as kept as long as no more of them are broken than in the chart the
// solver found, which breaks the fewest.
void shuffleKeepingRules(Chart &chart, const SeatingContext &c, const DeskConditions &conditions, const Rules &rules,
                         const UniformSource &uniform)
{
    Rules must, wishes;
    for (const Rule &r : rules)
        (r.must ? must : wishes).append(r);
    const qsizetype broken = brokenRules(wishes, c, chart).size();
    QList<int> movable;
    for (qsizetype k = 0; k < chart.size(); ++k) {
        if (conditions.value(k).kind == DeskCondition::Kind::Free)
            movable.append(int(k));
    }
    if (movable.size() < 2)
        return;
    const auto pick = [&](qsizetype n) { return std::min(n - 1, qsizetype(uniform() * double(n))); };
    const qsizetype steps = ShuffleSwapsPerDesk * movable.size();
    for (qsizetype step = 0; step < steps; ++step) {
        const int a = movable[pick(movable.size())];
        const int b = movable[pick(movable.size())];
        if (a == b || chart[a] == chart[b])
            continue;
        std::swap(chart[a], chart[b]);
        const bool keeps =
            std::all_of(must.cbegin(), must.cend(), [&](const Rule &r) { return keepsRule(r, c, chart); }) &&
            (wishes.isEmpty() || brokenRules(wishes, c, chart).size() <= broken);
        if (!keeps)
            std::swap(chart[a], chart[b]);
    }
}

} // namespace

RuleSolveFunction ruleSolver(QString *error)
{
    static RuleSolveFunction solve = nullptr;
    static QString reason;
    if (!solve && reason.isEmpty()) {
        QStringList places;
        if (!coreServices().solverLibrary.isEmpty())
            places << coreServices().solverLibrary;
        places << QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("narabin_solver"));
#ifdef NARABIN_SOLVER_DIR
        places << QDir(QStringLiteral(NARABIN_SOLVER_DIR)).filePath(QStringLiteral("narabin_solver"));
#endif
        for (const QString &place : places) {
            QLibrary library(place);
            solve = reinterpret_cast<RuleSolveFunction>(library.resolve(RuleSolveSymbol));
            if (solve)
                break;
            reason = library.errorString();
        }
        if (solve)
            reason.clear();
    }
    if (error)
        *error = reason;
    return solve;
}

RuleRun drawWithRules(const SeatingContext &context, const DeskConditions &conditions, const Rules &rules,
                      const UniformSource &uniform)
{
    RuleRun run;
    const RuleSolveFunction solve = ruleSolver(&run.error);
    if (!solve)
        return run;
    const QList<Item> items = itemsOf(context, conditions, rules);
    QList<int> all(items.size());
    std::iota(all.begin(), all.end(), 0);
    const RuleSolution solution =
        solve(problemOf(context, items, all), unsigned(uniform() * 4294967295.0), SolverTimeLimitMs);
    if (solution.status == RuleSolution::Status::GaveUp) {
        run.status = RuleRun::Status::GaveUp;
        return run;
    }
    if (solution.status == RuleSolution::Status::Impossible) {
        run.status = RuleRun::Status::Impossible;
        // Wishes never make a run impossible: the clash lies among the rules that must hold.
        QList<int> must;
        std::copy_if(all.cbegin(), all.cend(), std::back_inserter(must), [&](int i) { return !items[i].wish; });
        const ClashFinder finder(context, items, solve);
        QList<int> clash = must.isEmpty() || !finder.possible({}) ? QList<int>{} : finder.find({}, false, must);
        std::sort(clash.begin(), clash.end());
        for (int i : clash)
            run.clash.append(items[i].text);
        return run;
    }
    run.status = RuleRun::Status::Drawn;
    run.chart = Chart(context.room.deskCount());
    for (qsizetype k = 0; k < conditions.size() && k < run.chart.size(); ++k) {
        if (conditions[k].kind == DeskCondition::Kind::Empty)
            run.chart[k] = {ChartDesk::Kind::Empty, {}};
    }
    for (qsizetype p = 0; p < solution.deskOf.size(); ++p)
        run.chart[solution.deskOf[p]] = {ChartDesk::Kind::Pupil, context.roster[p]};
    shuffleKeepingRules(run.chart, context, conditions, rules, uniform);
    for (int i : brokenRules(rules, context, run.chart))
        run.brokenWishes.append(rules[i].text());
    return run;
}

QString clashMessage(const QStringList &clash)
{
    if (clash.isEmpty())
        return QStringLiteral("生徒の数に対して、使える席が足りません。");
    if (clash.size() == 1)
        return QStringLiteral("「%1」は、この教室と名簿では守れません。").arg(clash.constFirst());
    QStringList quoted;
    for (const QString &text : clash)
        quoted.append(QStringLiteral("「%1」").arg(text));
    return QStringLiteral("%1 が両立しません。").arg(quoted.join(QStringLiteral("と")));
}
