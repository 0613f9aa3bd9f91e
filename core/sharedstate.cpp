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

bool &SharedState::optLine(int row)
{
    if (row < 2 || row > Room::MaxRows)
        throw std::out_of_range("optLine: rows 2..10 have a setting");
    return OptLine_[size_t(row)];
}

bool SharedState::optLine(int row) const
{
    return const_cast<SharedState *>(this)->optLine(row);
}
