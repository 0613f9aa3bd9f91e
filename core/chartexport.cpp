#include "core/chartexport.h"

#include <QDir>

#include <algorithm>

QString shownName(const QString &seatText)
{
    return seatText.trimmed().isEmpty() ? QString() : seatText;
}

namespace
{

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// A cell as a spreadsheet writes it: in double quotes (a quote doubled) when it holds the
// separator, a quote or a line break. A name a spreadsheet would take for a formula (one
// could send the other names away through a link) gets a leading ' and stays text.
QString delimitedField(const QString &name, QChar separator)
{
    const bool formula = !name.isEmpty() && QStringLiteral("=+-@\t\r").contains(name.front());
    const QString text = formula ? QLatin1Char('\'') + name : name;
    const bool needsQuotes = std::any_of(text.cbegin(), text.cend(), [separator](QChar c) {
        return c == separator || c == QLatin1Char('"') || isLineBreak(c);
    });
    if (!needsQuotes)
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
}

} // namespace

QString csvField(const QString &text)
{
    return delimitedField(text, QLatin1Char(','));
}

QByteArray chartCsv(const Room &room, const QStringList &seats)
{
    // A room without 班 keeps the four columns a spreadsheet template may already expect.
    const bool groups = !room.groupNumbers().isEmpty();
    QString text = QStringLiteral("座席番号,列,列内の位置,氏名");
    text += groups ? QStringLiteral(",班\r\n") : QStringLiteral("\r\n");
    for (int desk = 1; desk <= room.deskCount(); ++desk) {
        const RoomCell cell = room.cellOfDesk(desk).value_or(RoomCell{});
        text += QStringLiteral("%1,%2,%3,").arg(desk).arg(cell.row + 1).arg(room.columns() - cell.column) +
                csvField(shownName(seats.value(desk - 1)));
        if (groups)
            text += QLatin1Char(',') + (room.groupOf(desk) ? QString::number(room.groupOf(desk)) : QString());
        text += QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QString chartCsvFileName(const QDate &date)
{
    return QStringLiteral("ならびん結果-%1.csv").arg(date.toString(QStringLiteral("yyyyMMdd")));
}

QString chartClipboardText(const Room &room, const QStringList &seats, bool teacherView)
{
    // As the pupils see the room: the back row on top, column 0 on the left. The teacher's
    // desk sees it turned half round, which reverses both.
    QList<QStringList> lines;
    for (int row = room.rows() - 1; row >= 0; --row) {
        QStringList cells;
        for (int column = 0; column < room.columns(); ++column) {
            const int desk = room.deskNumber({row, column});
            cells.append(desk ? delimitedField(shownName(seats.value(desk - 1)), QLatin1Char('\t')) : QString());
            if (column + 1 < room.columns() && room.aisleAfter(column))
                cells.append(QString());
        }
        if (teacherView)
            std::reverse(cells.begin(), cells.end());
        lines.append(cells);
    }
    if (teacherView)
        std::reverse(lines.begin(), lines.end());
    QString text;
    for (const QStringList &cells : lines)
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    return text;
}

MessageText csvSavedMessage()
{
    return {QStringLiteral("座席表をCSVﾌｧｲﾙに保存しました。"), QStringLiteral("保存確認"), MsgStyle::Information};
}

MessageText csvNotWrittenMessage(const QString &path, const QString &reason)
{
    return {QStringLiteral("CSVﾌｧｲﾙ「%1」を保存できませんでした。\n%2").arg(QDir::toNativeSeparators(path), reason),
            QStringLiteral("保存エラー"), MsgStyle::Critical};
}

MessageText replaceFileQuestion(const QString &path)
{
    return {QStringLiteral("「%1」は既にあります。\n上書きしますか？").arg(QDir::toNativeSeparators(path)),
            QStringLiteral("上書き確認"), MsgStyle::OkCancel | MsgStyle::Question | MsgStyle::DefaultButton2};
}
