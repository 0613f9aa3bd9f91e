#include "core/clock.h"

#include "core/services.h"
#include "core/sharedstate.h"

namespace
{
QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}
} // namespace

QDateTime currentDateTime()
{
    const auto &now = coreServices().now;
    return now ? now() : QDateTime::currentDateTime();
}

QString todayText(const QDate &date)
{
    return QString::number(date.year()) + QLatin1Char('/') + twoDigits(date.month()) + QLatin1Char('/') +
           twoDigits(date.day());
}

QString clockText(const QTime &time, const QLocale &locale)
{
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    const QString marker = time.hour() < 12 ? locale.amText() : locale.pmText();
    return marker + QLatin1Char(' ') + twoDigits(hour12) + QLatin1Char(':') + twoDigits(time.minute());
}

void refreshDateTime()
{
    const QDateTime now = currentDateTime();
    state().TodayText = todayText(now.date());
    state().ClockText = clockText(now.time(), QLocale());
}
