#include "app/clock.h"

#include "app/sharedstate.h"

namespace {
std::function<QDateTime()> &clockSource()
{
    static std::function<QDateTime()> source;
    return source;
}

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}
} // namespace

QDateTime currentDateTime()
{
    const auto &source = clockSource();
    return source ? source() : QDateTime::currentDateTime();
}

void setClock(std::function<QDateTime()> clock)
{
    clockSource() = std::move(clock);
}

QString todayText(const QDate &date)
{
    return QString::number(date.year()) + QLatin1Char('/') + twoDigits(date.month()) + QLatin1Char('/')
           + twoDigits(date.day());
}

QString clockText(const QTime &time, const QLocale &locale)
{
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    const QString marker = time.hour() < 12 ? locale.amText() : locale.pmText();
    return marker + QLatin1Char(' ') + twoDigits(hour12) + QLatin1Char(':') + twoDigits(time.minute());
}

void RefreshDateTime()
{
    const QDateTime now = currentDateTime();
    state().TodayText = todayText(now.date());
    state().ClockText = clockText(now.time(), QLocale());
}
