#pragma once

#include "core/message.h"
#include "core/placement.h"
#include "core/sharedstate.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

// Keeping pupils from the seat, or the neighbour, they had in the previous chart: the
// keys are drawn again until no avoidable repeat is left, or the best of the draws is
// taken.

// Draws a run tries at most before it settles for the one with the fewest repeats.
inline constexpr int MaxRepeatDraws = 500;

// What a run avoids; both off is the plain shuffle.
struct RepeatRules {
    bool seat = false;      // a pupil on the seat they had
    bool neighbour = false; // two pupils side by side again (either order)
    bool any() const { return seat || neighbour; }
};
// The rules the stored options switch on ("1" on, anything else off).
RepeatRules repeatRules(const SharedState &s);

// Repeats of a chart that a draw could have avoided, in seat order.
struct Repeats {
    QStringList pupils;                            // on the seat they had
    QList<std::pair<QString, QString>> neighbours; // side by side again, the lower seat first
    int count() const { return int(pupils.size() + neighbours.size()); }
};

// The repeats of `chart` against `previous` (both desk texts of `room`, desk 1 first; a
// blank or empty text is no pupil). Neighbours are desks next to each other in a row with
// no aisle between. A pupil designated to a desk is never counted on it, nor a pair of two
// designated pupils: no draw moves them.
Repeats findRepeats(const QStringList &chart, const QStringList &previous, const Room &room,
                    const DeskConditions &conditions, RepeatRules rules);

struct RepeatAvoidingRun {
    int draws = 0;
    Repeats repeats; // those of the chart taken
};
// The run's shuffle and placement (as shuffleAndPlace) repeated from the same roster
// order with fresh keys until the chart has no repeat of `previous`, at most
// MaxRepeatDraws times; the first chart with the fewest repeats is kept. Without rules
// or without a previous chart it is exactly one shuffleAndPlace.
RepeatAvoidingRun shuffleAvoidingRepeats(SharedState &s, const UniformSource &uniform, const QStringList &previous,
                                         RepeatRules rules);

// The set of a roster's names and the room, as the key a chart is remembered under.
QString rosterKey(const QStringList &names, const Room &room);

// The chart a run compares with, pupil by pupil: for a roster with a file, the last chart
// its class kept (saved or accepted; without a year of charts yet, the last of its charts in
// the log of `folder`), the same before and after a restart; for one without, this process's
// last run of it. Only a chart of the class's room counts. Empty when there is none.
QStringList previousChart(const SharedState &s, const QString &folder);

// What the user is told when repeats were left: the pupils, then the pairs.
std::optional<MessageText> repeatMessage(const Repeats &repeats);

// The run's steps after the countdown: the shuffle and placement into the shared state,
// drawn again as the options ask, and the chart remembered for the next run of the
// roster. Returns the message to show, if any.
std::optional<MessageText> placeForRun(SharedState &s, const UniformSource &uniform, const QString &folder);
