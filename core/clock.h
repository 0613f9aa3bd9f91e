#pragma once

#include <QDateTime>
#include <QLocale>

#include <functional>

// The time of day, from the services' clock.
QDateTime currentDateTime();

// The date text: full year, "/", two-digit month, "/", two-digit day.
QString todayText(const QDate &date);
// The clock text "AMPM hh:mm": the locale's morning or afternoon marker, a blank and
// the 12-hour clock time, midnight and noon shown as 12.
QString clockText(const QTime &time, const QLocale &locale);

// Recomputes TodayText and ClockText of the shared state from the clock and the
// default locale (the system's unless a test pinned another).
void refreshDateTime();
