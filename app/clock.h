#pragma once

#include <QDateTime>
#include <QLocale>

#include <functional>

// Where the program takes the time of day from; tests put a fixed clock here.
QDateTime currentDateTime();
void setClock(std::function<QDateTime()> clock); // an empty function restores the system clock

// The date text: full year, "/", two-digit month, "/", two-digit day.
QString todayText(const QDate &date);
// The clock text "AMPM hh:mm": the locale's morning or afternoon marker, a blank and
// the 12-hour clock time, midnight and noon shown as 12.
QString clockText(const QTime &time, const QLocale &locale);

// Recomputes TodayText and ClockText of the shared state from the clock and the
// default locale (the system's unless a test pinned another).
void RefreshDateTime();
