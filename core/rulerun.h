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

// What the open class's rules are judged against.
SeatingContext seatingContextOf(const ClassModel &c);

struct RuleDraw {
    RuleRun run;     // the chart taken and the wishes of the class's rules it breaks, or why there is none
    Repeats repeats; // those of the chart taken, as the repeat options count them
    Ledger year;     // the charts it was drawn against
};

// The open class drawn with its rules and desk conditions against its year, read afresh from
// its class file (or its log) of `folder`; for a roster without a file, this process's last
// run of it is the year. The repeat options join as the wishes 前回と同じ席にしない and
// 前回と同じ隣にしない. The shared state is not changed.
RuleDraw drawForRun(const SharedState &s, const UniformSource &uniform, const QString &folder);

// Why a draw gives no chart, as the run tells it (titled "実行確認"); none when it drew one.
// The message of a clash asks whether to open the rules: OK opens them.
std::optional<MessageText> ruleRunRefusal(const RuleRun &run);

// The drawn chart made the open class's (the pupils in the order they sit, desk 1 first) and
// remembered for the next run of the roster. Returns what to tell over the chart: the
// wishes it breaks and its repeats.
std::optional<MessageText> placeDrawn(SharedState &s, const RuleDraw &drawn);
