#include "core/classfile.h"

#include "core/fileio.h"
#include "core/filelock.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace
{

const QString FormatName = QStringLiteral("narabin-class");

const QString GenderNames[] = {QString(), QStringLiteral("男"), QStringLiteral("女")};

QJsonObject pupilInfoJson(const PupilInfo &info)
{
    QJsonObject json;
    if (!info.reading.isEmpty())
        json[QStringLiteral("reading")] = info.reading;
    if (info.gender != Gender::Unset)
        json[QStringLiteral("gender")] = GenderNames[int(info.gender)];
    if (!info.tags.isEmpty())
        json[QStringLiteral("tags")] = QJsonArray::fromStringList(info.tags);
    return json;
}

PupilInfo pupilInfoFromJson(const QJsonObject &json)
{
    PupilInfo info;
    info.reading = json.value(QStringLiteral("reading")).toString();
    const QString gender = json.value(QStringLiteral("gender")).toString();
    info.gender = gender == GenderNames[1] ? Gender::Boy : gender == GenderNames[2] ? Gender::Girl : Gender::Unset;
    for (const QJsonValue &tag : json.value(QStringLiteral("tags")).toArray())
        info.tags.append(tag.toString());
    return info;
}

ClassRead unreadable(const QString &reason)
{
    ClassRead read;
    read.status = ClassRead::Status::Unreadable;
    read.error = reason;
    return read;
}

} // namespace

QString classFilePath(const QString &rosterPath)
{
    return rosterPath + QStringLiteral(".json");
}

ClassRead readClassFile(const QString &rosterPath)
{
    const BytesRead file = readFileBytes(classFilePath(rosterPath));
    if (file.missing)
        return {};
    if (!file.ok)
        return unreadable(file.error);
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.bytes, &parseError);
    const QJsonObject top = document.object();
    if (parseError.error != QJsonParseError::NoError || !document.isObject() ||
        top.value(QStringLiteral("format")).toString() != FormatName)
        return unreadable(QStringLiteral("クラスの設定ファイルではありません。"));
    if (top.value(QStringLiteral("version")).toInt(0) > ClassFileVersion)
        return unreadable(QStringLiteral("新しい版のならびん君で作られたクラスの設定ファイルです。"));
    ClassRead read;
    QString roomError;
    const std::optional<Room> room = Room::fromJson(top.value(QStringLiteral("room")).toObject(), &roomError);
    if (!room)
        return unreadable(roomError);
    read.data.room = *room;
    const QJsonObject pupils = top.value(QStringLiteral("pupils")).toObject();
    for (auto it = pupils.constBegin(); it != pupils.constEnd(); ++it)
        read.data.pupils.insert(it.key(), pupilInfoFromJson(it.value().toObject()));
    for (const QJsonValue &value : top.value(QStringLiteral("rules")).toArray()) {
        QString ruleError;
        const std::optional<Rule> rule = Rule::fromJson(value.toObject(), &ruleError);
        if (!rule)
            return unreadable(ruleError);
        read.data.rules.append(*rule);
    }
    if (top.contains(QStringLiteral("charts"))) {
        QString ledgerError;
        read.data.charts = ledgerFromJson(top.value(QStringLiteral("charts")).toArray(), &ledgerError);
        if (!read.data.charts)
            return unreadable(ledgerError);
    }
    read.status = ClassRead::Status::Ok;
    return read;
}

QByteArray classFileBytes(const ClassData &data)
{
    const int version = data.charts ? 3 : data.pupils.isEmpty() && data.rules.isEmpty() ? 1 : 2;
    QJsonObject top{{QStringLiteral("format"), FormatName},
                    {QStringLiteral("version"), version},
                    {QStringLiteral("room"), data.room.toJson()}};
    if (!data.pupils.isEmpty()) {
        QJsonObject pupils;
        for (auto it = data.pupils.cbegin(); it != data.pupils.cend(); ++it)
            pupils.insert(it.key(), pupilInfoJson(it.value()));
        top[QStringLiteral("pupils")] = pupils;
    }
    if (!data.rules.isEmpty()) {
        QJsonArray rules;
        for (const Rule &rule : data.rules)
            rules.append(rule.toJson());
        top[QStringLiteral("rules")] = rules;
    }
    if (data.charts)
        top[QStringLiteral("charts")] = ledgerJson(*data.charts);
    return QJsonDocument(top).toJson(QJsonDocument::Indented);
}

QString changeClassFile(const QString &rosterPath, const std::function<void(ClassData &)> &change)
{
    const FileLock lock(classFilePath(rosterPath));
    if (!lock.held())
        return lock.error();
    const ClassRead existing = readClassFile(rosterPath);
    if (existing.status == ClassRead::Status::Unreadable)
        return existing.error + QStringLiteral("\r上書きせずに残しました。");
    ClassData data = existing.data;
    change(data);
    if (data == existing.data)
        return {};
    return writeFileAtomically(classFilePath(rosterPath), classFileBytes(data));
}
