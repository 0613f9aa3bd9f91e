#include "core/resultfile.h"

#include "core/fileio.h"
#include "core/textfile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace
{

// The room line begins so; no desk line can, since the room line always comes after 28.
constexpr char RoomLineMark[] = R"({"format":"narabin-result")";

QString tooLong()
{
    return QStringLiteral("名前が長すぎて、結果ﾌｧｲﾙに収まりません。");
}

QString tooMany()
{
    return QStringLiteral("座席の数より多い名前が書かれています。");
}

// The line that tells a reader the room: the format and version first, so that the mark
// is the line's beginning, then the room as the class file keeps it and the empty desks.
QByteArray roomLine(const Room &room, const Chart &chart)
{
    QJsonArray empty;
    for (qsizetype desk = 0; desk < chart.size(); ++desk) {
        if (chart[desk].kind == ChartDesk::Kind::Empty)
            empty.append(int(desk + 1));
    }
    return QByteArray(RoomLineMark) + ",\"version\":" + QByteArray::number(ResultRoomLineVersion) +
           ",\"room\":" + QJsonDocument(room.toJson()).toJson(QJsonDocument::Compact) +
           ",\"emptyDesks\":" + QJsonDocument(empty).toJson(QJsonDocument::Compact) + "}\r\n";
}

struct RoomPart {
    bool found = false;
    QString error; // when found and broken
    Room room;
    QList<int> emptyDesks;
};

// The room that a room line gives.
RoomPart roomFromLine(QStringView line)
{
    RoomPart part;
    part.found = true;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(line.toUtf8(), &parseError);
    const QJsonObject top = document.object();
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        part.error = QStringLiteral("結果ﾌｧｲﾙの最後の行（教室の設定）が読み取れません。");
        return part;
    }
    if (top.value(QStringLiteral("version")).toInt(0) > ResultRoomLineVersion) {
        part.error = QStringLiteral("新しい版のならびん君で作られた結果ﾌｧｲﾙです。");
        return part;
    }
    const std::optional<Room> room = Room::fromJson(top.value(QStringLiteral("room")).toObject(), &part.error);
    if (!room)
        return part;
    if (room->deskCount() == 0) {
        part.error = room->problem();
        return part;
    }
    part.room = *room;
    const QJsonValue empty = top.value(QStringLiteral("emptyDesks"));
    for (const QJsonValue &value : empty.toArray()) {
        const int desk = value.toInt(0);
        if (desk < 1 || desk > room->deskCount() || part.emptyDesks.contains(desk)) {
            part.error = QStringLiteral("教室の設定が読み取れません（空席）。");
            return part;
        }
        part.emptyDesks.append(desk);
    }
    if (!empty.isUndefined() && !empty.isArray())
        part.error = QStringLiteral("教室の設定が読み取れません（空席）。");
    return part;
}

// Splits off the room line: the last line, when it carries the mark and at least 28 lines
// come before it. `body` is left with the desk lines.
RoomPart splitRoomLine(QStringView &body)
{
    qsizetype end = body.size();
    if (body.endsWith(u"\r\n"))
        end -= 2;
    else if (body.endsWith(u'\n') || body.endsWith(u'\r'))
        end -= 1;
    qsizetype start = end;
    while (start > 0 && body[start - 1] != u'\n' && body[start - 1] != u'\r')
        --start;
    const QStringView last = body.sliced(start, end - start);
    if (!last.startsWith(QLatin1String(RoomLineMark)))
        return {};
    qsizetype lines = 0;
    for (qsizetype i = 0; i < start; ++i) {
        if (body[i] == u'\n' || (body[i] == u'\r' && (i + 1 == start || body[i + 1] != u'\n')))
            ++lines;
    }
    if (lines < SeatCount)
        return {};
    body = body.first(start);
    return roomFromLine(last);
}

ResultFileRead failed(const QString &error)
{
    ResultFileRead read;
    read.error = error;
    return read;
}

} // namespace

QString writeResultFile(const QString &path, const QStringList &seats)
{
    Chart chart;
    for (const QString &text : seats.mid(0, SeatCount))
        chart.append(ChartDesk::fromText(text));
    chart.resize(SeatCount);
    return writeResultFile(path, Room::standard(), chart);
}

QString writeResultFile(const QString &path, const Room &room, const Chart &chart)
{
    QString error;
    const QByteArray bytes = resultFileBytes(room, chart, &error);
    return error.isEmpty() ? writeFileAtomically(path, bytes) : error;
}

QByteArray resultFileBytes(const Room &room, const Chart &chart, QString *error)
{
    const auto fail = [error](const QString &reason) {
        *error = reason;
        return QByteArray();
    };
    if (room.deskCount() == 0)
        return fail(room.problem());
    if (chart.size() != room.deskCount())
        return fail(QStringLiteral("結果の席の数（%1）が教室の机の数（%2）と合いません。")
                        .arg(chart.size())
                        .arg(room.deskCount()));
    QStringList lines = chartTexts(chart);
    const bool standard = room.isStandard();
    while (!standard && lines.size() < SeatCount)
        lines.append(QString());
    const EncodedLines encoded = encodeLines(lines);
    if (!encoded.ok)
        return fail(encoded.error);
    const QByteArray bytes = standard ? encoded.bytes : encoded.bytes + roomLine(room, chart);
    if (bytes.size() > MaxResultFileBytes)
        return fail(tooLong());
    error->clear();
    return bytes;
}

// Only what a chart can hold is read; one field more than it holds is enough to know it
// is none.
ResultFileRead readResultFile(const QString &path)
{
    const BytesRead read = readFileBytes(path, MaxResultFileBytes);
    if (!read.ok)
        return failed(read.error);
    return resultFromBytes(read.bytes);
}

ResultFileRead resultFromBytes(const QByteArray &bytes)
{
    if (bytes.size() > MaxResultFileBytes)
        return failed(QStringLiteral("ファイルが大きすぎます。"));
    const std::optional<QString> text = decodeText(bytes);
    if (!text)
        return failed(fieldsFromBytes(bytes).error);
    QStringView body = *text;
    const RoomPart part = splitRoomLine(body);
    if (!part.error.isEmpty())
        return failed(part.error);
    ResultFileRead read;
    if (part.found)
        read.room = part.room;
    const int desks = read.room.deskCount();
    // Lines past the last desk, up to 28, are the padding of a small room and stay empty.
    const qsizetype lines = std::max<qsizetype>(desks, SeatCount);
    QStringList fields = splitFields(body.toString(), lines + 1);
    const auto beyond = std::find_if(fields.cbegin() + std::min<qsizetype>(desks, fields.size()), fields.cend(),
                                     [](const QString &field) { return !field.isEmpty(); });
    if (fields.size() > lines || beyond != fields.cend())
        return failed(part.found ? QStringLiteral("教室の机の数（%1）より多い名前が書かれています。").arg(desks)
                                 : tooMany());
    // A binary file, or an unclosed quote that swallowed the line ends, is no chart.
    for (const QString &field : fields) {
        if (hasControlCharacter(field))
            return failed(QStringLiteral("名前に制御文字が含まれています。"));
    }
    fields = fields.mid(0, desks);
    read.chart = Chart(desks);
    for (qsizetype desk = 0; desk < fields.size(); ++desk)
        read.chart[desk] = ChartDesk::fromText(fields[desk]);
    for (int desk : part.emptyDesks) {
        if (read.chart[desk - 1].kind != ChartDesk::Kind::Free)
            return failed(QStringLiteral("教室の設定が読み取れません（空席）。"));
        read.chart[desk - 1] = {ChartDesk::Kind::Empty, {}};
    }
    read.seats = fields;
    read.ok = true;
    return read;
}
