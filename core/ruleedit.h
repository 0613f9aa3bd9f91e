#pragma once

#include "core/conditions.h"
#include "core/rules.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the rule list and the rule dialog decide: a rule made whole from the dialog's choices,
// how a rule reads in the list, and whether the rules that must hold can hold together.

// The rule the dialog's choices make: the fields its kind does not use set back to their
// defaults (so that a rule reads back from the class file equal to itself), the painted desks
// sorted and kept to the room. Nothing, with the reason in Japanese, when something is missing
// or does not fit the room.
std::optional<Rule> finishedRule(Rule chosen, const Room &room, QString *problem);

// One line of the rule list: "必ず：" or "できれば：", the rule's text, the painted desks of a
// zone, and the pupils the roster no longer has.
QString ruleLine(const Rule &rule, const QStringList &roster);

// The desk conditions as the condition editor shows them now: a ticked desk empty, a desk
// holding a name of the roster pinned; anything else free.
DeskConditions deskConditionsOf(const SeatEntries &entries, const QStringList &roster);

// Whether a chart can keep every must rule of `rules` together with the desk conditions, in
// the words the rule list shows: that it can, what clashes, or why it could not be checked.
QString rulesCheckText(const SeatingContext &context, const DeskConditions &conditions, const Rules &rules);
