#pragma once

#include "core/textfile.h"

#include <QString>
#include <QStringList>

#include <functional>

// The result log: the bare names of the saved result files, oldest first, one a line.
inline constexpr int ResultLogCapacity = 15;
// Its name; the letter case of the name on disk does not matter.
QString resultLogName();      // "ならびん.ini"
QString resultLogWriteName(); // "ならびん.INI", the spelling a new log is created under

// The log of a folder: the existing file whatever the case of its name, else the
// path a new log gets there.
QString resultLogPath(const QString &folder);

// What a read-change-write of a folder's log locks (core/filelock.h): one name whatever
// the letter case of the log's own.
QString resultLogLockTarget(const QString &folder);

// Reads the log of a folder; a missing log is an empty one.
FieldsRead readResultLog(const QString &folder);

// The entries the main window lists: at most 15, the newest (last) ones when a log
// edited by hand holds more (those the next save keeps), in file order.
QStringList pastLogEntries(const QStringList &log);

// The log after saving `fileName`: appended last, the oldest names dropped so that at
// most 15 remain (also when a hand-edited log held more).
QStringList appendToResultLog(QStringList log, const QString &fileName);

// The log after a deletion: every name whose file `exists` says is gone is dropped, the
// order of the rest kept. An empty entry is dropped and the cleaning goes on after it.
QStringList cleanResultLog(const QStringList &log, const std::function<bool(const QString &)> &exists);

// Writes the log of a folder (the file it already has, else a new one); the empty
// string on success, otherwise the reason.
QString writeResultLog(const QString &folder, const QStringList &log);
