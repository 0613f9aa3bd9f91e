#include "core/chartexport.h"

#include "core/chartgrid.h"
#include "core/sharedstate.h"

#include <QDir>

#include <algorithm>
#include <array>

int rowOfSeat(int seat)
{
    return (seat + 3) / 4;
}

int placeInRow(int seat)
{
    return (seat - 1) % 4 + 1;
}

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

QByteArray chartCsv(const QStringList &seats)
{
    QString text = QStringLiteral("座席番号,列,列内の位置,氏名\r\n");
    for (int seat = 1; seat <= SeatCount; ++seat) {
        text += QStringLiteral("%1,%2,%3,").arg(seat).arg(rowOfSeat(seat)).arg(placeInRow(seat)) +
                csvField(shownName(seats.value(seat - 1))) + QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QString chartCsvFileName(const QDate &date)
{
    return QStringLiteral("ならびん結果-%1.csv").arg(date.toString(QStringLiteral("yyyyMMdd")));
}

QString chartClipboardText(const QStringList &seats, bool teacherView)
{
    std::array<QStringList, SeatCount / 4> lines;
    lines.fill(QStringList(4, QString()));
    for (int seat = 1; seat <= SeatCount; ++seat) {
        const ChartCell cell = seatCell(seat, teacherView);
        lines[size_t(cell.line)][cell.column] = delimitedField(shownName(seats.value(seat - 1)), QLatin1Char('\t'));
    }
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
