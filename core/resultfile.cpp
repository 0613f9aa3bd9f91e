#include "core/resultfile.h"

#include "core/sharedstate.h"
#include "core/textfile.h"

QString writeResultFile(const QString &path, const QStringList &seats)
{
    QStringList lines = seats.mid(0, SeatCount);
    while (lines.size() < SeatCount)
        lines.append(QString());
    return writeLinesFile(path, lines);
}

namespace
{
// The chart that the fields of a result file make, when they make one.
ResultFileRead chartOf(const FieldsRead &read)
{
    if (!read.ok)
        return {false, {}, read.error};
    if (read.fields.size() > SeatCount)
        return {false, {}, QStringLiteral("座席の数より多い名前が書かれています。")};
    // A binary file, or an unclosed quote that swallowed the line ends, is no chart.
    for (const QString &seat : read.fields) {
        if (hasControlCharacter(seat))
            return {false, {}, QStringLiteral("名前に制御文字が含まれています。")};
    }
    return {true, read.fields, {}};
}
} // namespace

// One field more than a chart holds is enough to know it is none.
ResultFileRead readResultFile(const QString &path)
{
    return chartOf(readFieldsFile(path, SeatCount + 1));
}

ResultFileRead resultFromBytes(const QByteArray &bytes)
{
    return chartOf(fieldsFromBytes(bytes, SeatCount + 1));
}
