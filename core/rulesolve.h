#pragma once

#include "core/ruleproblem.h"
#include "core/rules.h"
#include "core/services.h"

// A run with rules: the must rules and the desk conditions solved together by the solver
// library, the wishes (できれば) broken as few as possible (each counts one), then the chart
// shuffled by swaps that keep every must rule and break no more wishes, so that each chart
// among the best is as likely as any other; or, when the must rules cannot all hold, the
// smallest set of them that clashes.

struct RuleRun {
    enum class Status { Drawn, Impossible, GaveUp, NoSolver };
    Status status = Status::NoSolver;
    Chart chart;              // when Drawn
    QStringList brokenWishes; // when Drawn: the できれば rules the chart breaks, the fewest possible
    QStringList clash;        // when Impossible: the texts of the smallest clashing set
    QString overfull;         // when that set asks more pupils into one place than it has desks: said in numbers
    QString error;            // when NoSolver: why the solver could not be loaded
};

// Swaps the chart takes after the solver's first chart, per desk that may move.
inline constexpr int ShuffleSwapsPerDesk = 60;
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
