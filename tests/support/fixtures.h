#pragma once

// Rosters, charts and their file bytes, as the tests of every folder build them.
#include "core/ledger.h"
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

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#include <unistd.h>
#endif

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

// Desks switched off, aisles, 班 and pairs made by the room editor's own edits at random, so
// that 班 come in every shape it can leave (Ls, pieces, rings round another 班). Round 0 is the
// largest room, an aisle after every column; the next rounds are the presets; a round below 0
// or past them is random.
inline Room randomRoom(QRandomGenerator &random, int round = -1)
{
    if (round > 0 && round <= roomPresets().size())
        return roomPresets()[round - 1].room;
    Room room = round == 0 ? Room::grid(10, 10) : Room::grid(random.bounded(1, 11), random.bounded(1, 11));
    for (int column = 0; column + 1 < room.columns(); ++column)
        room.setAisleAfter(column, round == 0 || random.bounded(3) == 0);
    for (int edit = round == 0 ? 0 : random.bounded(40); edit > 0; --edit) {
        const RoomCell from{random.bounded(room.rows()), random.bounded(room.columns())};
        const RoomCell to{std::min(from.row + random.bounded(3), room.rows() - 1),
                          std::min(from.column + random.bounded(4), room.columns() - 1)};
        switch (random.bounded(8)) {
        case 0: switchDesk(room, from); break;
        case 1: makePairs(room, from, to); break;
        case 2: releaseDesks(room, from, to); break;
        default: makeGroup(room, from, to);
        }
    }
    if (room.deskCount() == 0)
        switchDesk(room, {0, 0});
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
// room, or "<room edits>@file=name:desk,..."; "-file" deleted, "!file" overwritten by what is
// no chart. False when a step failed.
inline bool saveCharts(const QString &folder, const QStringList &saved)
{
    for (const QString &entry : saved) {
        QFile old(QDir(folder).filePath(entry.mid(1)));
        if (entry.startsWith(u'-') || entry.startsWith(u'!')) {
            if (entry.startsWith(u'-') ? !old.remove()
                                       : !old.open(QIODevice::WriteOnly) || old.write(QByteArray(40, ',')) != 40)
                return false;
            continue;
        }
        const QString file = entry.section(u'@', -1);
        const Room room = entry.contains(u'@') ? roomFromEdits(entry.section(u'@', 0, 0)) : Room::standard();
        if (saveResult(folder, file.section(u'=', 0, 0), room, chartOf(file.section(u'=', 1))).kind !=
            ResultSaveOutcome::Kind::Saved)
            return false;
    }
    return true;
}

// Steps on the charts of the class of `roster` (pupils `names`), in order: "+[room edits@]file=
// name:desk,..." saved to the log, "-run" removed from the class's charts, "run=name:desk,...
// [@file]" of the standard room kept by the class (saved as `file`). The first failure's reason.
inline QString applyChartSteps(const QString &roster, const QString &folder, const QStringList &names,
                               const QStringList &steps)
{
    for (const QString &step : steps) {
        QString failed;
        if (step.startsWith(u'+')) {
            failed = saveCharts(folder, {step.mid(1)}) ? QString() : QStringLiteral("%1 not saved").arg(step);
        } else if (step.startsWith(u'-')) {
            failed = forgetChartOfClass(roster, step.mid(1), folder, names);
        } else {
            const QString seats = step.section(u'=', 1).section(u'@', 0, 0), file = step.section(u'@', 1);
            failed = keepChartOfClass(roster,
                                      {step.section(u'=', 0, 0), QDateTime::currentDateTime(), Room::standard(),
                                       chartOf(seats), file.isEmpty() ? QStringList() : QStringList{file}},
                                      folder, names);
        }
        if (!failed.isEmpty())
            return failed;
    }
    return {};
}

// A tmpfs mounted on `path` (made if missing) until it goes out of scope: a disk of its own,
// or a read-only medium. Only Linux and root can; `mounted` says whether it is there.
struct Tmpfs {
    Tmpfs(const QString &where, const char *options, bool readOnly = false) : path(where)
    {
        QDir().mkpath(path);
#ifdef Q_OS_LINUX
        mounted = ::mount("tmpfs", qPrintable(path), "tmpfs", readOnly ? MS_RDONLY : 0, options) == 0;
#else
        Q_UNUSED(options);
        Q_UNUSED(readOnly);
#endif
    }
    ~Tmpfs()
    {
        unmount();
    }
    Tmpfs(const Tmpfs &) = delete;
    Tmpfs &operator=(const Tmpfs &) = delete;
    void unmount()
    {
#ifdef Q_OS_LINUX
        if (mounted)
            ::umount2(qPrintable(path), MNT_DETACH);
#endif
        mounted = false;
    }
    QString path;
    bool mounted = false;
};
