#pragma once

// Rosters, charts and their file bytes, as the tests of every folder build them.
#include "core/settings.h"
#include "core/sharedstate.h"
#include "core/startup.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QStringList>

using SeatMap = QMap<int, QString>; // seat number: a name, or "-" for an empty seat

// "生徒<first>" .. "生徒<last>".
inline QStringList numberedNames(int first, int last)
{
    QStringList out;
    for (int i = first; i <= last; ++i)
        out.append(QStringLiteral("生徒%1").arg(i));
    return out;
}

inline QStringList pupils(int count)
{
    return numberedNames(1, count);
}

// Seats first..last marked empty.
inline SeatMap emptySeats(int first, int last)
{
    SeatMap map;
    for (int k = first; k <= last; ++k)
        map[k] = QStringLiteral("-");
    return map;
}

// The bytes the program writes for these lines: CP932, each ended by CR LF.
inline QByteArray crlfLines(const QStringList &texts)
{
    QByteArray bytes;
    for (const QString &t : texts)
        bytes += sjis(t) + "\r\n";
    return bytes;
}

// Seat texts filled up to the 28 seats with empty ones.
inline QStringList padded(QStringList seats)
{
    while (seats.size() < SeatCount)
        seats.append(QString());
    return seats;
}

inline QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// A chart of "name:seat" pairs split by commas, blank seats elsewhere.
inline QStringList chartOf(const QString &placed)
{
    QStringList seats(SeatCount);
    for (const QString &pair : placed.split(u',', Qt::SkipEmptyParts))
        seats[pair.section(u':', 1).toInt() - 1] = pair.section(u':', 0, 0);
    return seats;
}

// A roster and its seat conditions put into the shared state.
inline void putRoster(SharedState &s, const QStringList &roster, const SeatMap &conditions = {})
{
    for (int i = 0; i < roster.size(); ++i)
        s.PupilNames[size_t(i + 1)] = roster.at(i);
    s.PupilCount = quint8(roster.size());
    for (auto it = conditions.cbegin(); it != conditions.cend(); ++it)
        s.SeatConditions[size_t(it.key())] = it.value();
}

// A setting in the store before start-up reads it.
inline void storeBefore(const QString &key, const QString &value)
{
    saveSettingValue(QString::fromLatin1(ProgramTitle), QStringLiteral("Config"), key, value);
}

inline QByteArray settingsBytes(const TestEnv &env)
{
    QFile f(env.settingsFile());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The lines of the settings file whose key is `key`, spelled in any case.
inline QStringList storedLines(const TestEnv &env, const QString &key)
{
    QStringList out;
    for (const QString &line : QString::fromUtf8(settingsBytes(env)).split(QLatin1Char('\n'))) {
        if (line.section(QLatin1Char('='), 0, 0).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            out.append(line.trimmed());
    }
    return out;
}

// A folder where the store's file belongs: every later store fails.
inline bool lockSettings(const TestEnv &env)
{
    QFile::remove(env.settingsFile());
    return QDir().mkpath(env.settingsFile());
}

// What a failed store says; %1 is the settings file.
inline const QString SettingsNotSaved = QStringLiteral(
    "設定の保存エラー|設定を保存できませんでした。\rその名前はファイルではありません（フォルダーなど）。\r保存先: "
    "%1\r設定は変更されていません。|16");
