#include "core/classfile.h"

#include "core/fileio.h"
#include "core/filelock.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace
{

const QString FormatName = QStringLiteral("narabin-class");

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
    read.status = ClassRead::Status::Ok;
    read.data.room = *room;
    return read;
}

QByteArray classFileBytes(const ClassData &data)
{
    const QJsonObject top{{QStringLiteral("format"), FormatName},
                          {QStringLiteral("version"), ClassFileVersion},
                          {QStringLiteral("room"), data.room.toJson()}};
    return QJsonDocument(top).toJson(QJsonDocument::Indented);
}

QString writeClassFile(const QString &rosterPath, const ClassData &data)
{
    // Another copy may be writing the class at this moment: its check and write are one step.
    const FileLock lock(classFilePath(rosterPath));
    if (!lock.held())
        return lock.error();
    const ClassRead existing = readClassFile(rosterPath);
    if (existing.status == ClassRead::Status::Unreadable)
        return existing.error + QStringLiteral("\r上書きせずに残しました。");
    return writeFileAtomically(classFilePath(rosterPath), classFileBytes(data));
}
