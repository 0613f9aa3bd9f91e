#include "core/rosterfile.h"

#include "core/cp932.h"
#include "core/textfile.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace
{
// The fields cut from the raw bytes: the delimiters are ASCII characters that no
// multi-byte character of CP932 or UTF-8 contains, so they line up with the text's fields.
QHash<QString, QByteArray> spellingsOf(const QByteArray &bytes, const QStringList &fields)
{
    QHash<QString, QByteArray> spellings;
    // Nothing to spell otherwise than a save would in ASCII.
    if (std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return uchar(c) < 0x80; }))
        return spellings;
    const QStringList raw = splitFields(QString::fromLatin1(bytes), fields.size());
    if (raw.size() != fields.size())
        return spellings;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QString &field = raw.at(i);
        // Only a multi-byte character can be spelled two ways.
        if (std::all_of(field.cbegin(), field.cend(), [](QChar c) { return c.unicode() < 0x80; }))
            continue;
        const QByteArray original = field.toLatin1();
        const std::optional<QString> decoded = decodeCp932(original);
        if (!decoded || *decoded != fields.at(i))
            continue;
        if (encodeCp932(*decoded) != original)
            spellings.insert(*decoded, original);
    }
    return spellings;
}
} // namespace

RosterRead readRosterFile(const QString &path)
{
    RosterRead result;
    const BytesRead read = readFileBytes(path);
    if (read.ok)
        return rosterFromBytes(read.bytes);
    // A file that opened but is too large or cannot be read whole is no roster either.
    if (read.opened)
        result.outcome = RosterRead::Outcome::NotText;
    return result;
}

RosterRead rosterFromBytes(const QByteArray &bytes)
{
    RosterRead result;
    result.outcome = RosterRead::Outcome::NotText;
    const std::optional<QString> text = decodeText(bytes);
    if (!text)
        return result;
    // Only the names are kept: a file of countless empty lines costs no memory.
    QStringList names;
    qsizetype fieldsUpToLastName = 0;
    qsizetype fieldCount = 0;
    bool binary = false;
    visitFields(*text, [&](QStringView field) {
        ++fieldCount;
        if (field.isEmpty())
            return true;
        if (hasControlCharacter(field)) {
            binary = true;
            return false;
        }
        names.append(field.toString());
        fieldsUpToLastName = fieldCount;
        return names.size() <= MaxRosterNames;
    });
    if (binary)
        return result;
    result.names = names;
    if (names.size() > MaxRosterNames) {
        result.outcome = RosterRead::Outcome::TooMany;
        return result;
    }
    result.outcome = RosterRead::Outcome::Read;
    result.spellings = spellingsOf(bytes, splitFields(*text, fieldsUpToLastName));
    return result;
}

void takeRosterRead(SharedState &s, const RosterRead &read)
{
    if (read.outcome != RosterRead::Outcome::NotOpened) {
        s.RosterFromFile = true;
        s.RosterLoaded = true;
    }
    s.openClass.pupils = read.names;
}

QStringList collectNames(const QStringList &boxTexts)
{
    QStringList names;
    for (const QString &text : boxTexts) {
        if (!text.isEmpty())
            names.append(text);
    }
    return names;
}

bool hasDuplicateName(const QStringList &names)
{
    QStringList saved;
    for (const QString &name : names)
        saved.append(toCp932Forms(name));
    for (qsizetype i = 0; i < saved.size(); ++i) {
        for (qsizetype j = i + 1; j < saved.size(); ++j) {
            if (saved.at(i) == saved.at(j))
                return true;
        }
    }
    return false;
}

std::optional<BoxProblem> firstUnsavableBox(const QStringList &boxTexts)
{
    for (int i = 0; i < boxTexts.size(); ++i) {
        const QString &text = boxTexts.at(i);
        if (text.isEmpty())
            continue;
        if (!fitsCp932(text))
            return BoxProblem{i, NameProblem::NotCp932};
        if (hasControlCharacter(text) || !fieldReadsBack(text, true))
            return BoxProblem{i, NameProblem::NotReadBack};
    }
    return std::nullopt;
}

QString writeRosterFile(const QString &path, const QStringList &names, const QHash<QString, QByteArray> &spellings)
{
    // A name of blanks is a name too: quoted, it reads back as itself.
    return writeLinesFile(path, names, LineOptions{spellings, true});
}
