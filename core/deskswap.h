#pragma once

#include "core/classmodel.h"
#include "core/message.h"

#include <optional>

// A swap by hand in a drawn chart: two desks trade what they hold, so that a pupil moved onto
// a desk nobody sits at simply moves there.
struct DeskSwap {
    std::optional<Chart> chart;         // the chart after the swap; none when refused or nothing moves
    std::optional<MessageText> refusal; // why the swap is refused
};

// Desks `a` and `b` (1..N) of the class's chart swapped. Refused, naming what it breaks, when
// a pinned pupil would move, a pupil would sit at a desk kept empty, or the chart would break a
// must rule it keeps now; a wish may be broken. The chart of `shownRun`, once kept, is not
// one of its own earlier charts.
DeskSwap swapDesks(const ClassModel &c, int a, int b, const QString &shownRun = {});
