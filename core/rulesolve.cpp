#include "core/rulesolve.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLibrary>
#include <QSet>

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>
#include <numeric>

namespace
{

// A must rule or a desk condition: what the solver gets, and how the teacher reads it.
struct Item {
    QString text;
    int rule = -1;      // the rule's index, or -1 for a desk condition
    int desk = 0;       // a desk condition's desk
    int pupil = -1;     // the pupil pinned there
    bool wish = false;  // できれば: may be broken, at a cost of one
    bool empty = false; // the desk stays empty
};

QList<Item> itemsOf(const SeatingContext &c, const DeskConditions &conditions, const Rules &rules)
{
    QList<Item> items;
    for (qsizetype k = 0; k < conditions.size(); ++k) {
        const int desk = int(k);
        if (conditions[k].kind == DeskCondition::Kind::Pinned)
            items.append({QStringLiteral("%1をNo.%2に").arg(conditions[k].pupil).arg(desk + 1), -1, desk,
                          int(c.roster.indexOf(conditions[k].pupil))});
        else if (conditions[k].kind == DeskCondition::Kind::Empty)
            items.append({QStringLiteral("No.%1を空席に").arg(desk + 1), -1, desk, -1, false, true});
    }
    for (qsizetype r = 0; r < rules.size(); ++r)
        items.append({rules[r].text(), int(r), 0, -1, !rules[r].must});
    return items;
}

// The desks a pupil of `gender` may take when the boys and girls sit as last time: those
// that held nobody of the other.
QList<int> desksAsLastTime(const RuleBook &book, Gender gender, int desks)
{
    QList<int> out;
    for (int d = 0; d < desks; ++d) {
        if (book.lastGenderAt(d) == Gender::Unset || book.lastGenderAt(d) == gender)
            out.append(d);
    }
    return out;
}

// Turns chosen items into the solver's problem; the desk tables of each rule are made once.
class ProblemMaker
{
public:
    ProblemMaker(const SeatingContext &c, const Rules &rules, const QList<Item> &items)
        : book_(rules, c), rules_(rules), items_(items), desks_(c.room.deskCount()), pupils_(int(c.roster.size()))
    {
        for (int r = 0; r < book_.rules(); ++r) {
            QList<std::pair<int, int>> allowed;
            if (rules[r].kind == Rule::Kind::SideBySide || rules[r].kind == Rule::Kind::SamePair) {
                for (int a = 0; a < desks_; ++a) {
                    for (int b = 0; b < desks_; ++b) {
                        if (a != b && book_.pairHolds(r, a, b))
                            allowed.append({a, b});
                    }
                }
            }
            pairTables_.append(allowed);
        }
        groupOfDesk_.resize(desks_);
        for (int d = 0; d < desks_; ++d) {
            groupOfDesk_[d] = book_.groupOf(d);
            // A desk in no 班 is apart from every other.
            labelOfDesk_.append(groupOfDesk_[d] >= 0 ? groupOfDesk_[d] : book_.groups() + d);
            rowOfDesk_.append(book_.rowOf(d));
            columnOfDesk_.append(book_.columnOf(d));
        }
        for (int p = 0; p < pupils_; ++p)
            kindOfPupil_.append(c.info.value(c.roster[p]).gender == Gender::Boy    ? 0
                                : c.info.value(c.roster[p]).gender == Gender::Girl ? 1
                                                                                   : 2);
        for (const QString &name : c.roster)
            info_.append(c.info.value(name));
    }
    const RuleBook &book() const { return book_; }

    RuleProblem make(const QList<int> &chosen) const
    {
        RuleProblem p;
        p.desks = desks_;
        p.pupils = pupils_;
        p.rowOfDesk = rowOfDesk_;
        p.columnOfDesk = columnOfDesk_;
        for (int i : chosen) {
            post(p, i);
            if (items_[i].wish && !weighedByHistory(rules_[items_[i].rule].kind))
                p.wishes.insert(i, WishWeight);
        }
        if (!p.deskCost.isEmpty() || !p.pairCosts.isEmpty())
            p.improveMs = FairnessSearchMs;
        return p;
    }

private:
    QList<int> pupilsWhere(const std::function<bool(const PupilInfo &)> &test) const
    {
        QList<int> out;
        for (int p = 0; p < pupils_; ++p) {
            if (test(info_[p]))
                out.append(p);
        }
        return out;
    }
    void post(RuleProblem &problem, int index) const
    {
        using Kind = Rule::Kind;
        const Item &item = items_[index];
        if (item.rule < 0 && !item.empty) {
            if (item.pupil >= 0)
                problem.within.append({index, item.pupil, {item.desk}});
            return;
        }
        if (item.empty) {
            QList<int> others;
            for (int d = 0; d < desks_; ++d) {
                if (d != item.desk)
                    others.append(d);
            }
            for (int pupil = 0; pupil < pupils_; ++pupil)
                problem.within.append({index, pupil, others});
            return;
        }
        const int r = item.rule;
        const Rule &rule = rules_[r];
        const QList<int> &pupils = book_.pupilsOf(r);
        switch (rule.kind) {
        case Kind::Zone: {
            QList<int> allowed;
            for (int d = 0; d < desks_; ++d) {
                if (book_.zoneOf(r)[d])
                    allowed.append(d);
            }
            for (int p : pupils)
                problem.within.append({index, p, allowed});
            break;
        }
        case Kind::Apart:
        case Kind::ApartGroups:
        case Kind::Near:
        case Kind::SideBySide:
        case Kind::SamePair:
            for (qsizetype i = 0; i < pupils.size(); ++i) {
                for (qsizetype j = i + 1; j < pupils.size(); ++j) {
                    const int a = pupils[i], b = pupils[j];
                    if (rule.kind == Kind::Apart || rule.kind == Kind::Near)
                        problem.distances.append({index, a, b, rule.distance, rule.kind == Kind::Apart});
                    else if (rule.kind == Kind::ApartGroups)
                        problem.unequal.append({index, a, b, labelOfDesk_});
                    else
                        problem.pairs.append({index, a, b, pairTables_[r]});
                }
            }
            break;
        case Kind::LeaderPerGroup:
            problem.perGroup.append({index, pupilsWhere([&](const PupilInfo &i) { return i.tags.contains(rule.tag); }),
                                     groupOfDesk_, book_.groups(), 1});
            break;
        case Kind::GenderBalance:
            problem.balance.append({index, pupilsWhere([](const PupilInfo &i) { return i.gender == Gender::Boy; }),
                                    pupilsWhere([](const PupilInfo &i) { return i.gender == Gender::Girl; }),
                                    groupOfDesk_, book_.groups()});
            break;
        case Kind::Alternate:
        case Kind::MixedPairs:
            problem.differ.append(
                {index, kindOfPupil_, rule.kind == Kind::Alternate ? book_.neighbours() : book_.pairs()});
            break;
        case Kind::LastPattern: {
            const QList<int> boys = desksAsLastTime(book_, Gender::Boy, desks_),
                             girls = desksAsLastTime(book_, Gender::Girl, desks_);
            for (int p = 0; p < pupils_; ++p) {
                if (kindOfPupil_[p] < 2)
                    problem.within.append({index, p, kindOfPupil_[p] == 0 ? boys : girls});
            }
            break;
        }
        case Kind::NewDesk: postNewDesk(problem, index, r, item.wish); break;
        case Kind::NewDeskmates:
        case Kind::NewGroupmates:
            postTogether(problem, index, r, item.wish,
                         rule.kind == Kind::NewDeskmates ? book_.deskmates() : book_.groupmates());
            break;
        case Kind::EvenFrontBack:
            postEven(problem, r, yearWeight(rule), true);
            postEven(problem, r, yearWeight(rule), false);
            break;
        }
    }
    void addDeskCost(RuleProblem &problem, int pupil, int desk, int cost) const
    {
        if (problem.deskCost.isEmpty())
            problem.deskCost.fill(0, pupils_ * desks_);
        problem.deskCost[pupil * desks_ + desk] += cost;
    }
    // A must keeps each pupil off the desks they had; a wish costs each time they had it.
    void postNewDesk(RuleProblem &problem, int index, int r, bool wish) const
    {
        const QList<int> &had = book_.history(r);
        for (int p = 0; p < pupils_; ++p) {
            QList<int> allowed;
            for (int d = 0; d < desks_; ++d) {
                if (had[p * desks_ + d] == 0)
                    allowed.append(d);
                else if (wish)
                    addDeskCost(problem, p, d, had[p * desks_ + d] * DeskRepeatWeight);
            }
            if (!wish && allowed.size() < desks_)
                problem.within.append({index, p, allowed});
        }
    }
    // A must keeps every two who were together apart; a wish costs (times together)² each.
    void postTogether(RuleProblem &problem, int index, int r, bool wish, const QList<std::pair<int, int>> &desks) const
    {
        const QList<int> &times = book_.history(r);
        if (wish) {
            QList<int> cost(times.size());
            for (qsizetype i = 0; i < times.size(); ++i)
                cost[i] = times[i] * times[i] * TogetherRepeatWeight;
            problem.pairCosts.append({desks, cost});
            return;
        }
        RuleProblem::Forbidden f{index, desks, {}};
        for (int a = 0; a < pupils_; ++a) {
            for (int b = a + 1; b < pupils_; ++b) {
                if (times[a * pupils_ + b] > 0)
                    f.pupilPairs.append({a, b});
            }
        }
        problem.forbidden.append(f);
    }
    // The front (back) two rows go to the pupils who sat there least: each pupil there costs
    // what they have had more than the fewest.
    void postEven(RuleProblem &problem, int r, int weight, bool front) const
    {
        const QList<int> &history = book_.history(r);
        const auto count = [&](int p) { return history[2 * p + (front ? 0 : 1)]; };
        int fewest = std::numeric_limits<int>::max();
        for (int p = 0; p < pupils_; ++p) {
            if (count(p) >= 0)
                fewest = std::min(fewest, count(p));
        }
        for (int d = 0; d < desks_; ++d) {
            if (!(front ? book_.inFront(d) : book_.inBack(d)))
                continue;
            for (int p = 0; p < pupils_; ++p) {
                if (count(p) > fewest)
                    addDeskCost(problem, p, d, (count(p) - fewest) * weight);
            }
        }
    }

    RuleBook book_;
    const Rules &rules_;
    const QList<Item> &items_;
    int desks_ = 0, pupils_ = 0;
    QList<QList<std::pair<int, int>>> pairTables_; // by rule
    QList<int> groupOfDesk_, labelOfDesk_, rowOfDesk_, columnOfDesk_, kindOfPupil_;
    QList<PupilInfo> info_;
};

// The smallest set of items that cannot hold together, found by splitting (QuickXplain):
// a set none of whose items can be left out. A check the solver cannot settle in its time
// counts as possible: that can make the set larger than the smallest, never one that could
// hold. Once the search's time is spent, only what fails before any search is impossible.
class ClashFinder
{
public:
    ClashFinder(const ProblemMaker &maker, RuleSolveFunction solve)
        : maker_(maker), solve_(solve), deadline_(ClashSearchLimitMs)
    {
    }
    bool possible(const QList<int> &chosen) const
    {
        const int limit = int(std::min<qint64>(ClashCheckLimitMs, deadline_.remainingTime()));
        return solve_(maker_.make(chosen), 1, limit).status != RuleSolution::Status::Impossible;
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
    const ProblemMaker &maker_;
    RuleSolveFunction solve_;
    QDeadlineTimer deadline_;
};

// Moves the pupils by random swaps of two desks that keep every must rule. Each swap is as
// likely as its reverse, so every chart the swaps can reach ends up equally likely.
// Wishes count as kept as long as the chart costs no more (weights in rulesolve.h) than the
// one the solver found, which costs the least it could find; a swap that costs less is
// taken too. Only the rules a swap can change are looked at.
void shuffleKeepingRules(Chart &chart, const RuleBook &book, const DeskConditions &conditions, const Rules &rules,
                         const UniformSource &uniform)
{
    QList<int> movable;
    for (qsizetype k = 0; k < chart.size(); ++k) {
        if (conditions.value(k).kind == DeskCondition::Kind::Free)
            movable.append(int(k));
    }
    if (movable.size() < 2)
        return;
    RuleBook::Seating seating = book.seatingOf(chart);
    QList<bool> kept(book.rules()), after(book.rules());
    QList<int> cost(book.rules()), costAfter(book.rules());
    QList<int> weight(book.rules());
    for (int r = 0; r < book.rules(); ++r)
        weight[r] = yearWeight(rules[r]);
    const auto costOf = [&](int r, bool keeps) {
        if (weight[r] > 0)
            return book.cost(r, seating) * weight[r];
        return rules[r].must || keeps ? 0 : WishWeight;
    };
    int total = 0;
    for (int r = 0; r < book.rules(); ++r) {
        kept[r] = book.keeps(r, seating);
        cost[r] = costOf(r, kept[r]);
        total += cost[r];
    }
    const auto pick = [&](qsizetype n) { return std::min(n - 1, qsizetype(uniform() * double(n))); };
    const qsizetype steps =
        (std::any_of(weight.cbegin(), weight.cend(), [](int w) { return w > 0; }) ? FairnessSwapsPerDesk
                                                                                  : ShuffleSwapsPerDesk) *
        movable.size();
    for (qsizetype step = 0; step < steps; ++step) {
        const int a = movable[pick(movable.size())];
        const int b = movable[pick(movable.size())];
        if (a == b || chart[a] == chart[b])
            continue;
        const QList<int> touched = book.touchedBySwap(seating, a, b);
        // Wishes weighed by the year change only around the two desks.
        for (int r : touched)
            costAfter[r] = weight[r] > 0 ? cost[r] - book.costAround(r, seating, a, b) * weight[r] : 0;
        seating.swapDesks(a, b);
        int nowTotal = total;
        bool keeps = true;
        for (qsizetype i = 0; i < touched.size() && keeps; ++i) {
            const int r = touched[i];
            if (weight[r] > 0) {
                costAfter[r] += book.costAround(r, seating, a, b) * weight[r];
                after[r] = kept[r];
            } else {
                after[r] = book.keepsAfterSwap(r, seating, a, b, kept[r]);
                costAfter[r] = costOf(r, after[r]);
            }
            nowTotal += costAfter[r] - cost[r];
            keeps = after[r] || !rules[r].must || weight[r] > 0;
        }
        if (keeps && nowTotal <= total) {
            std::swap(chart[a], chart[b]);
            for (int r : touched) {
                kept[r] = after[r];
                cost[r] = costAfter[r];
            }
            total = nowTotal;
        } else {
            seating.swapDesks(a, b);
        }
    }
}

} // namespace

RuleSolveFunction ruleSolver(QString *error, QString *file)
{
    static RuleSolveFunction solve = nullptr;
    static QString reason, found;
    if (!solve && reason.isEmpty()) {
        QStringList places;
        if (!coreServices().solverLibrary.isEmpty())
            places << coreServices().solverLibrary;
        const QDir program(QCoreApplication::applicationDirPath());
        places << program.filePath(QStringLiteral("narabin_solver"));
#ifdef NARABIN_SOLVER_DIR
        places << QDir::cleanPath(program.filePath(QStringLiteral(NARABIN_SOLVER_DIR "/narabin_solver")));
#endif
        for (const QString &place : places) {
            QLibrary library(place);
            solve = reinterpret_cast<RuleSolveFunction>(library.resolve(RuleSolveSymbol));
            if (solve) {
                found = library.fileName();
                break;
            }
            reason = library.errorString();
        }
        if (solve)
            reason.clear();
    }
    if (error)
        *error = reason;
    if (file)
        *file = found;
    return solve;
}

namespace
{
// "前2列に9人を指定しましたが、前2列の席は8席です。" when the clash is zone rules of one place
// that name more pupils than its desks left free; empty otherwise.
QString overfullText(const SeatingContext &context, const DeskConditions &conditions, const Rules &rules,
                     const QList<const Item *> &clash)
{
    const Zone *zone = nullptr;
    QSet<QString> pupils;
    for (const Item *item : clash) {
        // The desks marked empty or pinned are counted below.
        if (item->rule < 0)
            continue;
        if (rules[item->rule].kind != Rule::Kind::Zone)
            return {};
        const Zone &z = rules[item->rule].zone;
        if (zone && z.desksIn(context.room) != zone->desksIn(context.room))
            return {};
        zone = &z;
        for (const QString &pupil : rules[item->rule].pupils) {
            if (context.roster.contains(pupil))
                pupils.insert(pupil);
        }
    }
    if (!zone)
        return {};
    const QList<int> desks = zone->desksIn(context.room);
    const auto open = std::count_if(desks.cbegin(), desks.cend(), [&](int desk) {
        const DeskCondition &at = conditions.value(desk - 1);
        return at.kind == DeskCondition::Kind::Free ||
               (at.kind == DeskCondition::Kind::Pinned && pupils.contains(at.pupil));
    });
    if (pupils.size() <= open)
        return {};
    const QString place = zone->label();
    return open == desks.size()
               ? QStringLiteral("%1に%2人を指定しましたが、%1の席は%3席です。").arg(place).arg(pupils.size()).arg(open)
               : QStringLiteral("%1に%2人を指定しましたが、%1で空いている席は%3席です。")
                     .arg(place)
                     .arg(pupils.size())
                     .arg(open);
}
} // namespace

RuleRun drawWithRules(const SeatingContext &context, const DeskConditions &conditions, const Rules &rules,
                      const UniformSource &uniform)
{
    RuleRun run;
    const RuleSolveFunction solve = ruleSolver(&run.error);
    if (!solve)
        return run;
    const QList<Item> items = itemsOf(context, conditions, rules);
    const ProblemMaker maker(context, rules, items);
    QList<int> all(items.size());
    std::iota(all.begin(), all.end(), 0);
    const RuleSolution solution = solve(maker.make(all), unsigned(uniform() * 4294967295.0), SolverTimeLimitMs);
    if (solution.status == RuleSolution::Status::GaveUp) {
        run.status = RuleRun::Status::GaveUp;
        return run;
    }
    if (solution.status == RuleSolution::Status::Impossible) {
        run.status = RuleRun::Status::Impossible;
        // Wishes never make a run impossible: the clash lies among the rules that must hold.
        QList<int> must;
        std::copy_if(all.cbegin(), all.cend(), std::back_inserter(must), [&](int i) { return !items[i].wish; });
        const ClashFinder finder(maker, solve);
        QList<int> clash = must.isEmpty() || !finder.possible({}) ? QList<int>{} : finder.find({}, false, must);
        std::sort(clash.begin(), clash.end());
        QList<const Item *> clashing;
        for (int i : clash) {
            run.clash.append(items[i].text);
            clashing.append(&items[i]);
        }
        run.overfull = overfullText(context, conditions, rules, clashing);
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
    shuffleKeepingRules(run.chart, maker.book(), conditions, rules, uniform);
    const RuleBook::Seating seating = maker.book().seatingOf(run.chart);
    for (int r = 0; r < maker.book().rules(); ++r) {
        if (!rules[r].must && !maker.book().keeps(r, seating))
            run.brokenWishes.append(rules[r].text());
    }
    return run;
}

QString clashMessage(const RuleRun &run)
{
    const QStringList &clash = run.clash;
    if (!run.overfull.isEmpty())
        return run.overfull;
    if (clash.isEmpty())
        return QStringLiteral("生徒の数に対して、使える席が足りません。");
    if (clash.size() == 1)
        return QStringLiteral("「%1」は、この教室と名簿では守れません。").arg(clash.constFirst());
    QStringList quoted;
    for (const QString &text : clash)
        quoted.append(QStringLiteral("「%1」").arg(text));
    return QStringLiteral("%1 が両立しません。").arg(quoted.join(QStringLiteral("と")));
}
