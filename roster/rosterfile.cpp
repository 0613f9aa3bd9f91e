#include "roster/rosterfile.h"

#include "app/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace {
// The fields cut from the raw bytes: the delimiters are ASCII characters that no
// multi-byte character of CP932 or UTF-8 contains, so they line up with the text's fields.
QHash<QString, QByteArray> spellingsOf(const QByteArray &bytes, const QStringList &fields)
{
    QHash<QString, QByteArray> spellings;
    const QStringList raw = splitFields(QString::fromLatin1(bytes));
    if (raw.size() != fields.size())
        return spellings;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QByteArray original = raw.at(i).toLatin1();
        QStringDecoder cp932("windows-31j");
        const QString decoded = cp932.decode(original);
        if (cp932.hasError() || decoded != fields.at(i))
            continue;
        if (encodeCp932(decoded) != original)
            spellings.insert(decoded, original);
    }
    return spellings;
}

bool hasControlCharacter(const QString &name)
{
    return std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
}
} // namespace

RosterRead readRosterFile(const QString &path)
{
    RosterRead result;
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return result;
    result.outcome = RosterRead::Outcome::NotText;
    if (file.size() > MaxTextFileBytes)
        return result;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxTextFileBytes)
        return result;
    return rosterFromBytes(bytes);
}

RosterRead rosterFromBytes(const QByteArray &bytes)
{
    RosterRead result;
    result.outcome = RosterRead::Outcome::NotText;
    const std::optional<QString> text = decodeText(bytes);
    if (!text)
        return result;
    const QStringList fields = splitFields(*text);
    QStringList names;
    for (const QString &field : fields) {
        if (field.isEmpty())
            continue;
        if (hasControlCharacter(field))
            return result;
        names.append(field);
        if (names.size() > MaxRosterNames) {
            result.outcome = RosterRead::Outcome::TooMany;
            result.names = names;
            return result;
        }
    }
    result.outcome = RosterRead::Outcome::Read;
    result.names = names;
    result.spellings = spellingsOf(bytes, fields);
    return result;
}

void takeRosterRead(SharedState &s, const RosterRead &read)
{
    if (read.outcome != RosterRead::Outcome::NotOpened) {
        s.PupilCount = 0;
        s.RosterFromFile = 1;
        s.RosterLoaded = 1;
    }
    for (const QString &name : read.names) {
        ++s.PupilCount;
        s.PupilNames[s.PupilCount] = name;
    }
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
    for (qsizetype i = 0; i < names.size(); ++i) {
        for (qsizetype j = i + 1; j < names.size(); ++j) {
            if (names.at(i) == names.at(j))
                return true;
        }
    }
    return false;
}

int firstBoxNotFittingCp932(const QStringList &boxTexts)
{
    return int(firstLineNotFittingCp932(boxTexts));
}

QString writeRosterFile(const QString &path, const QStringList &names, const QHash<QString, QByteArray> &spellings)
{
    QByteArray bytes;
    for (const QString &name : names) {
        std::optional<QByteArray> encoded = spellings.contains(name) ? spellings.value(name) : encodeCp932(name);
        if (!encoded)
            return QStringLiteral("「") + name + QStringLiteral("」には Shift_JIS で保存できない文字が含まれています。");
        bytes += *encoded;
        bytes += "\r\n";
    }
    return writeBytesFile(path, bytes);
}
