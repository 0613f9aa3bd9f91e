#include "core/placement.h"

#include "core/clock.h"
#include "core/services.h"

#include <QRandomGenerator>

#include <cmath>
#include <memory>

namespace
{

const QString EmptySeat = QStringLiteral("-");

// Slots outside 0..29 read as empty; the cursors can pass slot 29 only on broken conditions.
const QString &slotOrEmpty(const Slots &array, int index)
{
    static const QString empty;
    return index >= 0 && index < SlotCount ? array[size_t(index)] : empty;
}

void writeSlot(Slots &array, int index, const QString &text)
{
    if (index >= 0 && index < SlotCount)
        array[size_t(index)] = text;
}

bool isDesignated(const QString &condition)
{
    return !condition.isEmpty() && condition != EmptySeat;
}

} // namespace

UniformSource seededUniformSource(quint32 seed)
{
    auto generator = std::make_shared<QRandomGenerator>(seed);
    return [generator] { return double(generator->generate() >> 8) / double(1 << 24); };
}

UniformSource clockSeededSource(const QDateTime &now)
{
    return seededUniformSource(quint32(now.time().msecsSinceStartOfDay()));
}

UniformSource runSource()
{
    if (const auto &source = coreServices().runSource)
        return source();
    return clockSeededSource(currentDateTime());
}

int keyFromUniform(double r)
{
    return int(std::floor(r * 999 + 1));
}

SortKeys drawKeys(int pupilCount, const UniformSource &uniform)
{
    SortKeys keys{};
    for (int i = 1; i <= qMin(pupilCount, SeatCount); ++i)
        keys[size_t(i)] = keyFromUniform(uniform());
    return keys;
}

void sortByKeys(SortKeys &keys, Slots &names, int count)
{
    count = qMin(count, SeatCount);
    for (size_t i = 1; int(i) < count; ++i) {
        for (size_t j = i + 1; int(j) <= count; ++j) {
            if (keys[i] > keys[j]) {
                std::swap(keys[i], keys[j]);
                std::swap(names[i], names[j]);
            }
        }
    }
}

int designatedSeatCount(const Slots &conditions)
{
    int count = 0;
    for (int k = 1; k <= SeatCount; ++k) {
        if (isDesignated(conditions[size_t(k)]))
            ++count;
    }
    return count;
}

PlacementTrace placePupils(const Slots &names, int pupilCount, const Slots &conditions, Slots &result)
{
    const auto pupil = [&](int j) -> const QString & {
        static const QString none;
        return j >= 1 && j <= pupilCount ? slotOrEmpty(names, j) : none;
    };
    const auto designatedElsewhere = [&](const QString &name) {
        for (int m = 1; m <= SeatCount; ++m) {
            if (!conditions[size_t(m)].isEmpty() && conditions[size_t(m)] == name)
                return true;
        }
        return false;
    };

    PlacementTrace t;
    const int iterations = SeatCount + designatedSeatCount(conditions);
    for (t.iterations = 0; t.iterations < iterations; ++t.iterations) {
        ++t.pupil;
        ++t.seat;
        const QString &condition = slotOrEmpty(conditions, t.seat);
        if (condition == EmptySeat) {
            --t.pupil;
            writeSlot(result, t.seat, QStringLiteral(" "));
        } else if (!condition.isEmpty()) {
            --t.pupil;
            writeSlot(result, t.seat, condition);
        } else if (designatedElsewhere(pupil(t.pupil))) {
            // The same free seat goes to the next pupil.
            --t.seat;
        } else {
            writeSlot(result, t.seat, pupil(t.pupil));
        }
    }
    return t;
}

bool runPreconditionsHold(const Slots &names, int pupilCount, const Slots &conditions)
{
    if (pupilCount < 0 || pupilCount > SeatCount)
        return false;
    int emptySeats = 0;
    for (int k = 1; k <= SeatCount; ++k) {
        const QString &condition = conditions[size_t(k)];
        if (condition == EmptySeat) {
            ++emptySeats;
            continue;
        }
        if (condition.isEmpty())
            continue;
        int inRoster = 0;
        for (int r = 1; r <= pupilCount; ++r)
            inRoster += names[size_t(r)] == condition ? 1 : 0;
        if (inRoster != 1)
            return false;
        for (int other = k + 1; other <= SeatCount; ++other) {
            if (conditions[size_t(other)] == condition)
                return false;
        }
    }
    return pupilCount + emptySeats <= SeatCount;
}

PlacementTrace shuffleAndPlace(SharedState &s, const UniformSource &uniform)
{
    SortKeys keys = drawKeys(s.PupilCount, uniform);
    sortByKeys(keys, s.PupilNames, s.PupilCount);
    return placePupils(s.PupilNames, s.PupilCount, s.SeatConditions, s.SeatResult);
}
