#pragma once

#include "core/ruleproblem.h"
#include "core/rules.h"
#include "core/services.h"

// A run with rules: the must rules and the desk conditions solved together by the solver
// library, the wishes (できれば) weighed as below and the chart of the least cost searched
// for, then the chart shuffled by swaps that keep every must rule and cost no more, so that
// each chart among the best is as likely as any other; or, when the must rules cannot all
// hold, the smallest set of them that clashes.
//
// What a chart costs:
//  - each broken wish about named pupils, 班, boys and girls: WishWeight, more than the
//    fairness costs of most charts, so that those wishes come first;
//  - 前回と同じ席にしない (new desk) as a wish: DeskRepeatWeight for each pupil on a desk
//    they had, times how often they had it in the charts counted;
//  - 今年隣になった人と隣にしない (new deskmates) and new 班-mates as wishes: for each two
//    deskmates (or 班-mates) now, TogetherRepeatWeight × (times together so far)², so that
//    a pair together often costs far more than two pairs together once;
//  - 前と後ろを公平に (even front and back) as a wish: for each pupil in the front two rows,
//    FrontBackWeight × (their front count − the fewest front count of the class), the same
//    for the back two rows: the rows go to those who had them least, and the counts stay as
//    even as the room allows.
// A pupil in none of the year's charts (a transfer) costs nothing and binds nobody else.
// As must rules: nobody on a desk they had; no two together again. Even front and back as a
// must costs as above times MustEvenWeight, more than all the wishes of a class together:
// the rows are shared as evenly as the desks and the other must rules allow, before any
// wish counts. Strictly "only those who had them least", it would clash with itself as soon
// as the same pupils had both rows least, and with any pin.

struct RuleRun {
    enum class Status { Drawn, Impossible, GaveUp, NoSolver };
    Status status = Status::NoSolver;
    Chart chart;              // when Drawn
    QStringList brokenWishes; // when Drawn: the できれば rules the chart breaks, the fewest possible
    QStringList clash;        // when Impossible: the texts of the smallest clashing set
    QString overfull;         // when that set asks more pupils into one place than it has desks: said in numbers
    QString error;            // when NoSolver: why the solver could not be loaded
};

inline constexpr int WishWeight = 1000;
inline constexpr int DeskRepeatWeight = 1;
inline constexpr int TogetherRepeatWeight = 1;
inline constexpr int FrontBackWeight = 1;
inline constexpr int MustEvenWeight = 1'000'000;
// The rules whose wishes cost by the class's year rather than one weight when broken.
inline bool weighedByHistory(Rule::Kind kind)
{
    return kind == Rule::Kind::NewDesk || kind == Rule::Kind::NewDeskmates || kind == Rule::Kind::NewGroupmates ||
           kind == Rule::Kind::EvenFrontBack;
}
// What one unit of a rule's year cost weighs; 0 for a rule that holds or breaks.
inline int yearWeight(const Rule &rule)
{
    if (rule.kind == Rule::Kind::EvenFrontBack)
        return rule.must ? MustEvenWeight : FrontBackWeight;
    if (rule.must || !weighedByHistory(rule.kind))
        return 0;
    return rule.kind == Rule::Kind::NewDesk ? DeskRepeatWeight : TogetherRepeatWeight;
}
// How long the solver looks for cheaper charts once it has one, when the year's costs count:
// proving the cheapest takes far longer, and the shuffle after it lowers the cost further.
inline constexpr int FairnessSearchMs = 5;

// Swaps the chart takes after the solver's first chart, per desk that may move.
inline constexpr int ShuffleSwapsPerDesk = 60;
// With wishes weighed by the year, whose cheaper charts the swaps find faster than the solver.
inline constexpr int FairnessSwapsPerDesk = 600;
// How long one solver call may take before the run gives up.
inline constexpr int SolverTimeLimitMs = 3000;
// How long the search for the smallest clashing set may take, and each of its checks.
inline constexpr int ClashSearchLimitMs = 3000;
inline constexpr int ClashCheckLimitMs = 300;

RuleRun drawWithRules(const SeatingContext &context, const DeskConditions &conditions, const Rules &rules,
                      const UniformSource &uniform);

// The message of a run that cannot be made: what clashes, in Japanese.
QString clashMessage(const RuleRun &run);

// The solver library's entry point, loaded on first use, and the file it came from; null
// with the reason when it cannot be loaded.
RuleSolveFunction ruleSolver(QString *error = nullptr, QString *file = nullptr);
