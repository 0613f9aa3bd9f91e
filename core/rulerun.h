#pragma once

#include "core/message.h"
#include "core/repeatavoidance.h"
#include "core/rulesolve.h"
#include "core/sharedstate.h"

#include <QList>
#include <QString>

#include <optional>

// The seat-change run of a class with rules: drawn before the countdown, so that rules that
// cannot hold stop the run before it starts, and placed after it.

// Draws a run with rules takes at most, and the time they may take together, to find a chart
// with fewer repeats of the previous one.
inline constexpr int MaxRuleRepeatDraws = 50;
inline constexpr int RuleRepeatTimeMs = 1000;

// What the open class's rules are judged against.
SeatingContext seatingContextOf(const ClassModel &c);

struct RuleDraw {
    RuleRun run;     // the chart taken and the wishes it breaks, or why there is none
    Repeats repeats; // those of the chart taken
    int draws = 0;
};

// The open class drawn with its rules and desk conditions; drawn again with fresh randomness,
// as the repeat options ask, until no repeat is left or the draws or the time run out, the
// first chart with the fewest repeats kept. The shared state is not changed.
RuleDraw drawForRun(const SharedState &s, const UniformSource &uniform, const QString &folder);

// Why a draw gives no chart, as the run tells it (titled "実行確認"); none when it drew one.
// The message of a clash asks whether to open the rules: OK opens them.
std::optional<MessageText> ruleRunRefusal(const RuleRun &run);

// The drawn chart made the open class's (the pupils in the order they sit, desk 1 first) and
// remembered for the next run of the roster. Returns what to tell over the chart: the
// wishes it breaks and its repeats.
std::optional<MessageText> placeDrawn(SharedState &s, const RuleDraw &drawn);
