#include "core/resultfile.h"

#include "core/fileio.h"
#include "core/textfile.h"

QString writeResultFile(const QString &path, const QStringList &seats)
{
    QStringList lines = seats.mid(0, SeatCount);
    while (lines.size() < SeatCount)
        lines.append(QString());
    const EncodedLines encoded = encodeLines(lines);
    if (!encoded.ok)
        return encoded.error;
    if (encoded.bytes.size() > MaxResultFileBytes)
        return QStringLiteral("名前が長すぎて、結果ﾌｧｲﾙに収まりません。");
    return writeFileAtomically(path, encoded.bytes);
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

// Only what a chart can hold is read; one field more than it holds is enough to know it
// is none.
ResultFileRead readResultFile(const QString &path)
{
    const BytesRead read = readFileBytes(path, MaxResultFileBytes);
    if (!read.ok)
        return {false, {}, read.error};
    return resultFromBytes(read.bytes);
}

ResultFileRead resultFromBytes(const QByteArray &bytes)
{
    if (bytes.size() > MaxResultFileBytes)
        return {false, {}, QStringLiteral("ファイルが大きすぎます。")};
    return chartOf(fieldsFromBytes(bytes, SeatCount + 1));
}
