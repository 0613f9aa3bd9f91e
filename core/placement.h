#pragma once

#include "core/classmodel.h"
#include "core/services.h"

#include <QDateTime>

// The seat-change shuffle's random source and its steps after the countdown.

// A source with 24-bit resolution (multiples of 2^-24), seeded once.
UniformSource seededUniformSource(quint32 seed);
// The source of one run: seeded from the time of day of `now`, to the millisecond.
UniformSource clockSeededSource(const QDateTime &now);
// The source a run uses (the services' one, else seeded from the clock), made afresh
// (reseeded) on every call.
UniformSource runSource();

// A pupil's key: floor(r * 999 + 1), a whole number 1..999 (keys may repeat).
int keyFromUniform(double r);

// The draw of the class: its pupils left in drawn order, its chart made anew.
void shuffleAndPlace(ClassModel &c, const UniformSource &uniform);
