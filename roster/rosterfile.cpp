#include "roster/rosterfile.h"

#include "app/textfile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace {
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
    const QByteArray bytes = file.read(MaxTextFileBytes + 1);
    result.outcome = RosterRead::Outcome::NotText;
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxTextFileBytes)
        return result;
    const std::optional<QString> text = decodeText(bytes);
    if (!text)
        return result;
    QStringList names;
    for (const QString &field : splitFields(*text)) {
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
    return result;
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

QString writeRosterFile(const QString &path, const QStringList &names)
{
    return writeLinesFile(path, names);
}
