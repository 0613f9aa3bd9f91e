#pragma once

#include "core/services.h"
#include "core/sharedstate.h"

#include <QDateTime>

#include <array>
#include <functional>

// The seat-change shuffle: one random key per pupil, the pupils sorted by key, then
// placed seat by seat around the designated ("name") and empty ("-") seats.

// A source with 24-bit resolution (multiples of 2^-24), seeded once.
UniformSource seededUniformSource(quint32 seed);
// The source of one run: seeded from the time of day of `now`, to the millisecond.
UniformSource clockSeededSource(const QDateTime &now);
// The source a run uses (the services' one, else seeded from the clock), made afresh
// (reseeded) on every call.
UniformSource runSource();

// A pupil's key: floor(r * 999 + 1), a whole number 1..999 (keys may repeat).
int keyFromUniform(double r);

// Keys of pupils 1..pupilCount in slots 1..pupilCount; slot 0 is unused.
using SortKeys = std::array<int, SeatCount + 1>;
SortKeys drawKeys(int pupilCount, const UniformSource &uniform);

// Exchange sort of slots 1..count by ascending key, moving the names with their keys.
// Equal keys are never exchanged.
void sortByKeys(SortKeys &keys, Slots &names, int count);

// Seats 1..28 whose condition is a name (neither free nor "-").
int designatedSeatCount(const Slots &conditions);

// Where the cursors ended, for checking the loop.
struct PlacementTrace {
    int iterations = 0;
    int seat = 0;  // p
    int pupil = 0; // j
};

// Places the pupils (already in shuffled order) into `result` slots 1..28: " " for an
// empty seat, the designated name for a designated seat, the next pupil not designated
// elsewhere for a free seat, the empty string once the pupils have run out. Runs exactly
// 28 + designatedSeatCount(conditions) iterations. Names beyond `pupilCount` count as
// empty; cursors that pass slot 29 read empty slots and write nothing, so no index
// leaves 0..29 whatever the conditions.
PlacementTrace placePupils(const Slots &names, int pupilCount, const Slots &conditions, Slots &result);

// Whether the conditions let the run place every pupil exactly once: each designated
// name stands once in the roster and on one seat only, and the pupils fit the seats
// not marked "-".
bool runPreconditionsHold(const Slots &names, int pupilCount, const Slots &conditions);

// Steps after the countdown: keys from `uniform`, the sort (PupilNames reordered in
// place) and the placement into SeatResult.
PlacementTrace shuffleAndPlace(SharedState &s, const UniformSource &uniform);
