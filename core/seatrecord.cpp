#include "core/seatrecord.h"

#include "core/chartexport.h"
#include "core/classfile.h"
#include "core/resultlog.h"

#include <QDir>
#include <QHash>

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

QList<std::pair<int, int>> besideDesks(const Room &room)
{
    QList<std::pair<int, int>> out;
    for (int desk = 1; desk <= room.deskCount(); ++desk) {
        const RoomCell cell = *room.cellOfDesk(desk);
        const RoomCell right{cell.row, cell.column + 1};
        const int next = room.aisleAfter(cell.column) ? 0 : room.deskNumber(right);
        const int partner = room.partnerOf(desk);
        if (next)
            out.append(std::minmax(desk, next));
        if (partner && partner != next)
            out.append(std::minmax(desk, partner));
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

SeatRecord seatRecordOf(const QStringList &roster, const Ledger &charts)
{
    SeatRecord record;
    record.charts = charts;
    QHash<QString, int> index;
    for (const QString &name : roster) {
        if (name.trimmed().isEmpty() || index.contains(name))
            continue;
        index.insert(name, int(record.pupils.size()));
        record.pupils.append(PupilSeatCount{});
        record.pupils.last().name = name;
    }
    const int n = int(record.pupils.size());
    record.together = QList<QList<int>>(n, QList<int>(n, 0));
    // A year has a room or two: each one's side-by-side desks are worked out once.
    QList<std::pair<Room, QList<std::pair<int, int>>>> besideOfRoom;
    QList<bool> inChart(n);
    for (const KeptChart &chart : charts) {
        inChart.fill(false);
        const Room &room = chart.room;
        for (int k = 1; k <= qMin(int(chart.seats.size()), room.deskCount()); ++k) {
            const int i = index.value(chart.seats.at(k - 1), -1);
            if (i < 0)
                continue;
            PupilSeatCount &p = record.pupils[i];
            inChart[i] = true;
            ++p.seats[k];
            const bool front = isFrontDesk(room, k), back = isBackDesk(room, k);
            p.front += front ? 1 : 0;
            p.back += back ? 1 : 0;
            p.middle += front || back ? 0 : 1;
        }
        for (int i = 0; i < n; ++i)
            record.pupils[i].charts += inChart[i] ? 1 : 0;
        auto known = std::find_if(besideOfRoom.cbegin(), besideOfRoom.cend(),
                                  [&room](const auto &seen) { return seen.first == room; });
        if (known == besideOfRoom.cend()) {
            besideOfRoom.append({room, besideDesks(room)});
            known = std::prev(besideOfRoom.cend());
        }
        const QList<std::pair<int, int>> &beside = known->second;
        for (const auto &[a, b] : beside) {
            const int i = index.value(chart.seats.value(a - 1), -1), j = index.value(chart.seats.value(b - 1), -1);
            if (i < 0 || j < 0 || i == j)
                continue;
            ++record.together[i][j];
            ++record.together[j][i];
        }
    }
    for (int i = 0; i < n; ++i) {
        QList<std::pair<QString, int>> &mates = record.pupils[i].deskmates;
        for (int j = 0; j < n; ++j) {
            if (record.together[i][j] > 0)
                mates.append({record.pupils[j].name, record.together[i][j]});
        }
        std::stable_sort(mates.begin(), mates.end(), [](const auto &x, const auto &y) { return x.second > y.second; });
    }
    if (!charts.isEmpty() && std::all_of(charts.cbegin(), charts.cend(), [&charts](const KeptChart &chart) {
            return chart.room == charts.first().room;
        }))
        record.room = charts.first().room;
    return record;
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

QString deskmatesText(const PupilSeatCount &count)
{
    QStringList mates;
    for (const auto &[name, times] : count.deskmates)
        mates.append(QStringLiteral("%1×%2").arg(name).arg(times));
    return mates.isEmpty() ? QStringLiteral("―") : mates.join(QStringLiteral("、"));
}

QString togetherText(const QString &one, const QString &other, int times)
{
    return QStringLiteral("%1と%2: %3回").arg(one, other).arg(times);
}

QString keptChartText(const KeptChart &chart)
{
    const QString when = chart.kept.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm"));
    return chart.files.isEmpty() ? when + QStringLiteral("　（了解のみ）")
                                 : when + QStringLiteral("　") + chart.files.join(QStringLiteral("、"));
}

QByteArray seatRecordCsv(const SeatRecord &record, const QList<int> &rows)
{
    QString text = QStringLiteral("氏名,回数,前,中,後,使った席,隣になった人\r\n");
    for (int i : rows) {
        const PupilSeatCount &p = record.pupils.at(i);
        text += QStringLiteral("%1,%2,%3,%4,%5,%6,%7\r\n")
                    .arg(csvField(p.name))
                    .arg(p.charts)
                    .arg(p.front)
                    .arg(p.middle)
                    .arg(p.back)
                    .arg(csvField(seatsUsedText(p)), csvField(deskmatesText(p)));
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

MessageText forgetChartQuestion(const KeptChart &chart)
{
    return {QStringLiteral("%1 の席替えを、この組の記録から削除しますか？\r試しに行った席替えを数えないためのもので、"
                           "結果ﾌｧｲﾙは消えません。")
                .arg(keptChartText(chart)),
            seatRecordTitle(), MsgStyle::OkCancel | MsgStyle::Question | MsgStyle::DefaultButton2};
}

MessageText chartNotForgottenMessage(const QString &reason)
{
    return {QStringLiteral("席替えを記録から削除できませんでした。\r") + reason, seatRecordTitle(), MsgStyle::Critical};
}

QString seatRecordTitle()
{
    return QStringLiteral("席の記録");
}

SeatRecord seatRecordFor(const QStringList &roster, const QString &rosterPath, const QString &folder)
{
    SeatRecord record;
    const auto say = [&record](const QString &text, int style = MsgStyle::Information) {
        record.message = MessageText{text, seatRecordTitle(), style};
        return record;
    };
    if (seatRecordOf(roster, {}).pupils.isEmpty())
        return say(QStringLiteral("名簿がありません。\r名簿を開くか新規作成してから、もう一度選んで下さい。"));
    std::optional<Ledger> kept;
    if (!rosterPath.isEmpty()) {
        const ClassRead read = readClassFile(rosterPath);
        if (read.status == ClassRead::Status::Unreadable)
            return say(QStringLiteral("ｸﾗｽの設定ﾌｧｲﾙ「%1」が読めないため、席の記録を表示できません。\r%2")
                           .arg(QDir::toNativeSeparators(classFilePath(rosterPath)), read.error),
                       MsgStyle::Exclamation);
        kept = read.data.charts;
    }
    const Ledger charts = kept ? *kept : classChartsInLog(folder, roster);
    if (charts.isEmpty())
        return say(
            QStringLiteral("この組の席替えの記録がありません。\r結果を保存するか了解すると、ここに数えられます。"));
    record = seatRecordOf(roster, charts);
    const bool anyone =
        std::any_of(record.pupils.cbegin(), record.pupils.cend(), [](const PupilSeatCount &p) { return p.charts > 0; });
    if (!anyone)
        return say(QStringLiteral("記録された席替えに、この名簿の人は一人もいません。"));
    return record;
}
