#pragma once

// Rosters, charts and their file bytes, as the tests of every folder build them.
#include "core/resultsave.h"
#include "core/roomedit.h"
#include "core/rosterfile.h"
#include "core/settings.h"
#include "core/sharedstate.h"
#include "core/startup.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRandomGenerator>
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

// A chart of "name:seat" pairs split by commas, blank seats elsewhere (at least 28).
inline QStringList chartOf(const QString &placed)
{
    QStringList seats(SeatCount);
    for (const QString &pair : placed.split(u',', Qt::SkipEmptyParts)) {
        const int seat = pair.section(u':', 1).toInt();
        seats.resize(qMax(seats.size(), qsizetype(seat)));
        seats[seat - 1] = pair.section(u':', 0, 0);
    }
    return seats;
}

// A roster and its seat conditions put into the shared state.
inline void putRoster(SharedState &s, const QStringList &roster, const SeatMap &conditions = {})
{
    s.openClass.pupils = roster;
    for (auto it = conditions.cbegin(); it != conditions.cend(); ++it)
        s.openClass.conditions[it.key() - 1] = DeskCondition::fromText(it.value());
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

// A room as text, the front row first: "." a cell without a desk, a desk its 班's number
// or "o"; between two cells "|" an aisle, "=" a pair, else a blank.
inline QStringList roomPicture(const Room &room)
{
    QStringList lines;
    for (int row = 0; row < room.rows(); ++row) {
        QString line;
        for (int column = 0; column < room.columns(); ++column) {
            const int desk = room.deskNumber({row, column});
            if (column > 0) {
                const int left = room.deskNumber({row, column - 1});
                line += room.aisleAfter(column - 1)                 ? QLatin1Char('|')
                        : desk != 0 && room.partnerOf(left) == desk ? QLatin1Char('=')
                                                                    : QLatin1Char(' ');
            }
            line += desk == 0            ? QStringLiteral(".")
                    : room.groupOf(desk) ? QString::number(room.groupOf(desk))
                                         : QStringLiteral("o");
        }
        lines.append(line);
    }
    return lines;
}

// A room with desks switched off, aisles, pairs and 班 at random.
inline Room randomRoom(QRandomGenerator &random)
{
    Room room = Room::grid(random.bounded(1, 11), random.bounded(1, 11));
    for (int row = 0; row < room.rows(); ++row) {
        for (int column = 0; column < room.columns(); ++column) {
            if (random.bounded(5) == 0)
                room.setDesk({row, column}, false);
        }
    }
    for (int column = 0; column + 1 < room.columns(); ++column)
        room.setAisleAfter(column, random.bounded(3) == 0);
    for (int row = 0; row < room.rows(); ++row) {
        for (int column = 0; column + 1 < room.columns(); column += 2) {
            if (random.bounded(2) == 0)
                room.joinPair({row, column});
        }
    }
    for (int desk = 1; desk <= room.deskCount(); ++desk)
        room.setGroup(*room.cellOfDesk(desk), random.bounded(2) ? (desk - 1) / 4 + 1 : 0);
    return room;
}

// A room built by edits such as "preset 4; off 0 1; group 0 0 1 1; pairs 0 0 0 3; release 0 0 0 1;
// aisle 2; resize 5 6; grid 7 4"; `changed` is what the last edit answered.
inline Room roomFromEdits(const QString &edits, bool *changed = nullptr)
{
    Room room = Room::standard();
    for (const QString &edit : edits.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList words = edit.simplified().split(QLatin1Char(' '));
        QList<int> n;
        for (qsizetype i = 1; i < words.size(); ++i)
            n.append(words[i].toInt());
        n.resize(4);
        const RoomCell from{n[0], n[1]}, to{n[2], n[3]};
        bool done = true;
        if (words[0] == QLatin1String("preset"))
            room = roomPresets()[n[0]].room;
        else if (words[0] == QLatin1String("grid"))
            room = Room::grid(n[0], n[1]);
        else if (words[0] == QLatin1String("resize"))
            room = resizedRoom(room, n[0], n[1]);
        else if (words[0] == QLatin1String("off"))
            room.setDesk(from, false);
        else if (words[0] == QLatin1String("aisle"))
            room.setAisleAfter(n[0], true);
        else if (words[0] == QLatin1String("group"))
            done = makeGroup(room, from, to);
        else if (words[0] == QLatin1String("pairs"))
            done = makePairs(room, from, to);
        else if (words[0] == QLatin1String("release"))
            done = releaseDesks(room, from, to);
        else
            qFatal("unknown room edit %s", qPrintable(edit));
        if (changed)
            *changed = done;
    }
    return room;
}

// Charts saved through the program's save, in this order: "file=name:desk,..." of the standard
// room, or "<room edits>@file=name:desk,...". False when one was not saved.
inline bool saveCharts(const QString &folder, const QStringList &saved)
{
    for (const QString &entry : saved) {
        const QString file = entry.section(u'@', -1);
        const Room room = entry.contains(u'@') ? roomFromEdits(entry.section(u'@', 0, 0)) : Room::standard();
        if (saveResult(folder, file.section(u'=', 0, 0), room, chartOf(file.section(u'=', 1))).kind !=
            ResultSaveOutcome::Kind::Saved)
            return false;
    }
    return true;
}
