#include "core/ledger.h"

#include "core/classfile.h"
#include "core/resultfile.h"
#include "core/resultlog.h"
#include "core/textfile.h"

#include <QFileInfo>
#include <QJsonObject>
#include <QSet>
#include <QUuid>

QString newRunName()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

void keepChart(Ledger &ledger, const KeptChart &chart)
{
    for (KeptChart &kept : ledger) {
        if (kept.run != chart.run)
            continue;
        kept.room = chart.room;
        kept.seats = chart.seats;
        for (const QString &file : chart.files) {
            if (!kept.files.contains(file))
                kept.files.append(file);
        }
        return;
    }
    ledger.append(chart);
}

bool forgetChart(Ledger &ledger, const QString &run)
{
    return ledger.removeIf([&run](const KeptChart &kept) { return kept.run == run; }) > 0;
}

namespace
{
// Two thirds each way: a class a few transfers apart is the same class.
bool sameClass(const QSet<QString> &chart, const QSet<QString> &roster)
{
    const qsizetype shared = QSet<QString>(chart).intersect(roster).size();
    return !chart.isEmpty() && shared * 3 >= chart.size() * 2 && shared * 3 >= roster.size() * 2;
}
} // namespace

Ledger ledgerFromLog(const QStringList &log, const QString &folder, const QStringList &roster)
{
    Ledger ledger;
    QSet<QString> taken;
    const QSet<QString> rosterPupils = namesIn(roster);
    for (const QString &entry : log) {
        const QString path = entry.isEmpty() ? QString() : findFileNoCase(folder, entry);
        const QFileInfo info(path);
        if (path.isEmpty() || taken.contains(info.canonicalFilePath()))
            continue;
        const ResultFileRead read = readResultFile(path);
        if (!read.ok || !sameClass(namesIn(read.seats), rosterPupils))
            continue;
        taken.insert(info.canonicalFilePath());
        ledger.append({QStringLiteral("log:") + entry, info.lastModified(), read.room, read.seats, {entry}});
    }
    return ledger;
}

QJsonArray ledgerJson(const Ledger &ledger)
{
    QJsonArray charts;
    for (const KeptChart &kept : ledger) {
        charts.append(QJsonObject{
            {QStringLiteral("run"), kept.run},
            {QStringLiteral("kept"), kept.kept.toOffsetFromUtc(kept.kept.offsetFromUtc()).toString(Qt::ISODateWithMs)},
            {QStringLiteral("room"), kept.room.toJson()},
            {QStringLiteral("seats"), QJsonArray::fromStringList(kept.seats)},
            {QStringLiteral("files"), QJsonArray::fromStringList(kept.files)}});
    }
    return charts;
}

std::optional<Ledger> ledgerFromJson(const QJsonArray &json, QString *error)
{
    const auto refuse = [error]() -> std::optional<Ledger> {
        if (error)
            *error = QStringLiteral("クラスの設定ファイルの席替えの記録が読み取れません。");
        return std::nullopt;
    };
    Ledger ledger;
    for (const QJsonValue &value : json) {
        const QJsonObject object = value.toObject();
        KeptChart kept;
        kept.run = object.value(QStringLiteral("run")).toString();
        kept.kept = QDateTime::fromString(object.value(QStringLiteral("kept")).toString(), Qt::ISODateWithMs);
        const std::optional<Room> room = Room::fromJson(object.value(QStringLiteral("room")).toObject());
        if (kept.run.isEmpty() || !kept.kept.isValid() || !room)
            return refuse();
        kept.room = *room;
        for (const QJsonValue &seat : object.value(QStringLiteral("seats")).toArray())
            kept.seats.append(seat.toString());
        for (const QJsonValue &file : object.value(QStringLiteral("files")).toArray())
            kept.files.append(file.toString());
        if (kept.seats.size() > kept.room.deskCount())
            return refuse();
        ledger.append(kept);
    }
    return ledger;
}

Ledger classChartsInLog(const QString &folder, const QStringList &roster)
{
    const FieldsRead log = readResultLog(folder);
    return log.ok ? ledgerFromLog(pastLogEntries(log.fields), folder, roster) : Ledger{};
}

QString keepChartOfClass(const QString &rosterPath, const KeptChart &chart, const QString &folder,
                         const QStringList &roster)
{
    return changeClassFile(rosterPath, [&](ClassData &data) {
        if (!data.charts)
            data.charts = classChartsInLog(folder, roster);
        keepChart(*data.charts, chart);
    });
}

QString forgetChartOfClass(const QString &rosterPath, const QString &run, const QString &folder,
                           const QStringList &roster)
{
    return changeClassFile(rosterPath, [&](ClassData &data) {
        if (!data.charts)
            data.charts = classChartsInLog(folder, roster);
        forgetChart(*data.charts, run);
    });
}

std::optional<Ledger> classYear(const QString &rosterPath, const QString &folder, const QStringList &roster)
{
    const ClassRead read = readClassFile(rosterPath);
    if (read.status == ClassRead::Status::Unreadable)
        return std::nullopt;
    return read.data.charts ? *read.data.charts : classChartsInLog(folder, roster);
}

std::optional<KeptChart> lastKeptChart(const QString &rosterPath, const QString &folder, const QStringList &roster)
{
    const std::optional<Ledger> charts = classYear(rosterPath, folder, roster);
    return !charts || charts->isEmpty() ? std::nullopt : std::optional(charts->constLast());
}
