#pragma once

#include "core/room.h"
#include "core/sharedstate.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// A roster file: one pupil's name per line, CP932, CR LF after each line.

// As many names as the largest room has desks; a class's own room may take fewer.
inline constexpr int MaxRosterNames = Room::MaxRows * Room::MaxColumns;

struct RosterRead {
    enum class Outcome {
        Read,      // names holds every entry
        NotOpened, // missing or not readable: nothing was read
        NotText,   // opened, but the bytes are no roster text: nothing was read
        TooMany,   // names holds the entries up to the first one without a seat
    };
    Outcome outcome = Outcome::NotOpened;
    QStringList names;
    // CP932 has two codes for some characters (髙 is FB FC and also EE E0); the codes of
    // names that the file spells otherwise than a save would, so that saving keeps them.
    QHash<QString, QByteArray> spellings;
    bool ok() const { return outcome == Outcome::Read; }
};

// Reads a roster file as free-format fields. Empty entries (blank lines, ",,") are no
// names and are skipped; an entry holding a control character (a binary file, an
// unclosed quote that swallowed line ends) makes the file no roster.
RosterRead readRosterFile(const QString &path);
// The same for the bytes of a file that was opened.
RosterRead rosterFromBytes(const QByteArray &bytes);

// Puts what File>Open read into the shared state: a file that could be opened makes
// the roster come from it (flags), and the names read are the class's pupils.
void takeRosterRead(SharedState &s, const RosterRead &read);

// The register command's names: the box texts in seat order, empty boxes skipped,
// each text kept exactly as typed.
QStringList collectNames(const QStringList &boxTexts);

// Whether two names are equal; the comparison is exact (case, width and blanks count),
// but for the characters a roster file holds in one form only (WAVE DASH is saved as
// FULLWIDTH TILDE): names that the file would make one are one.
bool hasDuplicateName(const QStringList &names);

// Why the text of a box cannot be saved as a name: CP932 cannot hold a character of
// it, or the roster would not give it back (a control character but TAB, a leading
// double quote).
enum class NameProblem { NotCp932, NotReadBack };
struct BoxProblem {
    int index;
    NameProblem problem;
};
// The first box, seat 1 first, whose text cannot be saved; empty boxes are no names.
std::optional<BoxProblem> firstUnsavableBox(const QStringList &boxTexts);

// Writes the names as a roster file, atomically, each name in its spelling when it has
// one. Returns the reason for the user on failure, the empty string on success.
QString writeRosterFile(const QString &path, const QStringList &names,
                        const QHash<QString, QByteArray> &spellings = {});
