#include "core/seatrecord.h"

#include "core/resultfile.h"
#include "core/resultlog.h"
#include "core/textfile.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>

bool isFrontDesk(const Room &room, int desk)
{
    const auto cell = room.cellOfDesk(desk);
    return cell && cell->row < 2;
}

bool isBackDesk(const Room &room, int desk)
{
    const auto cell = room.cellOfDesk(desk);
    return cell && cell->row >= room.rows() - 2;
}

namespace
{

QString deskRun(const Room &room, bool (*inPart)(const Room &, int))
{
    QList<int> desks;
    for (int desk = 1; desk <= room.deskCount(); ++desk) {
        if (inPart(room, desk))
            desks.append(desk);
    }
    if (desks.isEmpty())
        return QString();
    if (desks.size() == 1)
        return QStringLiteral("No.%1").arg(desks.first());
    return QStringLiteral("No.%1～No.%2").arg(desks.first()).arg(desks.last());
}

} // namespace

QString frontDesksText(const Room &room)
{
    return deskRun(room, isFrontDesk);
}

QString backDesksText(const Room &room)
{
    return deskRun(room, isBackDesk);
}

double PupilSeatCount::frontShare() const
{
    return charts > 0 ? qMin(1.0, double(front) / charts) : 0.0;
}

double PupilSeatCount::backShare() const
{
    return charts > 0 ? qMin(1.0, double(back) / charts) : 0.0;
}

QList<PupilSeatCount> countSeats(const QStringList &roster, const QList<RoomChart> &charts)
{
    QList<PupilSeatCount> out;
    QSet<QString> seen;
    for (const QString &name : roster) {
        if (name.trimmed().isEmpty() || seen.contains(name))
            continue;
        seen.insert(name);
        PupilSeatCount count;
        count.name = name;
        for (const RoomChart &chart : charts) {
            bool inChart = false;
            for (int k = 1; k <= qMin(int(chart.seats.size()), chart.room.deskCount()); ++k) {
                if (chart.seats.at(k - 1) != name)
                    continue;
                inChart = true;
                ++count.seats[k];
                count.front += isFrontDesk(chart.room, k) ? 1 : 0;
                count.back += isBackDesk(chart.room, k) ? 1 : 0;
            }
            count.charts += inChart ? 1 : 0;
        }
        out.append(count);
    }
    return out;
}

QString seatsUsedText(const PupilSeatCount &count)
{
    QStringList used;
    for (auto it = count.seats.cbegin(); it != count.seats.cend(); ++it) {
        const int k = it.key(), times = it.value();
        if (times > 0)
            used.append(times == 1 ? QStringLiteral("No.%1").arg(k) : QStringLiteral("No.%1×%2").arg(k).arg(times));
    }
    return used.isEmpty() ? QStringLiteral("―") : used.join(QStringLiteral("、"));
}

QList<RoomChart> loggedCharts(const QStringList &log, const QString &folder)
{
    QList<RoomChart> charts;
    QSet<QString> counted;
    for (const QString &entry : log) {
        const QString path = entry.isEmpty() ? QString() : findFileNoCase(folder, entry);
        if (path.isEmpty())
            continue;
        const QString file = QFileInfo(path).canonicalFilePath();
        if (counted.contains(file))
            continue;
        const ResultFileRead read = readResultFile(path);
        if (!read.ok)
            continue;
        counted.insert(file);
        charts.append({read.room, read.seats});
    }
    return charts;
}

QString seatRecordTitle()
{
    return QStringLiteral("席の記録");
}

SeatRecord seatRecordFor(const QStringList &roster, const QString &folder)
{
    SeatRecord record;
    const auto say = [&record](const QString &text) {
        record.message = MessageText{text, seatRecordTitle(), MsgStyle::Information};
        return record;
    };
    const QList<PupilSeatCount> pupils = countSeats(roster, {});
    if (pupils.isEmpty())
        return say(QStringLiteral("名簿がありません。\r名簿を開くか新規作成してから、もう一度選んで下さい。"));
    const FieldsRead log = readResultLog(folder);
    const QList<RoomChart> charts = log.ok ? loggedCharts(pastLogEntries(log.fields), folder) : QList<RoomChart>{};
    if (charts.isEmpty())
        return say(QStringLiteral("過去ﾛｸﾞに読める結果がありません。\r結果を保存すると、ここに数えられます。"));
    record.charts = int(charts.size());
    const bool oneRoom = std::all_of(charts.cbegin(), charts.cend(),
                                     [&charts](const RoomChart &chart) { return chart.room == charts.first().room; });
    if (oneRoom)
        record.room = charts.first().room;
    record.pupils = countSeats(roster, charts);
    const bool anyone =
        std::any_of(record.pupils.cbegin(), record.pupils.cend(), [](const PupilSeatCount &p) { return p.charts > 0; });
    if (!anyone)
        return say(QStringLiteral("過去ﾛｸﾞの結果に、この名簿の人は一人もいません。"));
    return record;
}
