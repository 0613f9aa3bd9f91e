#pragma once

#include "core/ledger.h"
#include "core/room.h"
#include "core/rules.h"

#include <QString>

#include <functional>

// What a class keeps beyond its roster file (which stays one name a line): its room,
// the pupils' details, the rules and the year's charts. One UTF-8 JSON file
// beside the roster, with a format version; a roster without one has the standard room.

struct ClassData {
    Room room = Room::standard();
    PupilInfos pupils; // reading, gender, tags, by name
    Rules rules;
    // The charts kept this year; none until the class first keeps one (its log's charts are
    // taken in then), empty when every chart was removed.
    std::optional<Ledger> charts;
    bool operator==(const ClassData &) const = default;
};

// Version 1 holds the room only, version 2 also pupils' details and rules, version 3 also
// the kept charts: each file is written in the lowest version that holds it, so that a
// program that knows less refuses it instead of dropping what it does not know.
inline constexpr int ClassFileVersion = 3;

// The class file of a roster: the roster's own name with ".json" after it.
QString classFilePath(const QString &rosterPath);

struct ClassRead {
    enum class Status { Missing, Ok, Unreadable };
    Status status = Status::Missing;
    ClassData data; // the standard class unless Ok
    QString error;  // the reason for the user when Unreadable
};
ClassRead readClassFile(const QString &rosterPath);

// The file's bytes: indented JSON, keys in a fixed order, a line end at the end.
QByteArray classFileBytes(const ClassData &data);
// Reads the class file, lets `change` change what it holds and writes it back through the
// checked writer, all under the file's lock, so that what another copy changed meanwhile is
// kept. Nothing is written when nothing changed (a missing file holds the standard class).
// A class file that exists but cannot be read is not replaced: it may hold what a newer
// program wrote. Returns the reason, empty on success.
QString changeClassFile(const QString &rosterPath, const std::function<void(ClassData &)> &change);
