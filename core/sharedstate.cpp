#include "core/sharedstate.h"

#include <stdexcept>

namespace
{
SharedState &instance()
{
    static SharedState s;
    return s;
}
} // namespace

SharedState &state()
{
    return instance();
}

void resetState()
{
    instance() = SharedState{};
}

QString &SharedState::optLine(int row)
{
    switch (row) {
    case 2: return OptLine_2;
    case 3: return OptLine_3;
    case 4: return OptLine_4;
    case 5: return OptLine_5;
    case 6: return OptLine_6;
    case 7: return OptLine_7;
    case 8: return OptLine_8;
    case 9: return OptLine_9;
    case 10: return OptLine_10;
    default: throw std::out_of_range("optLine: rows 2..10 have a setting");
    }
}

const QString &SharedState::optLine(int row) const
{
    return const_cast<SharedState *>(this)->optLine(row);
}
