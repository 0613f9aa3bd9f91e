#include "core/pastedtable.h"

#include "core/rosterfile.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace
{

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

bool isBlank(const QString &cell)
{
    return std::all_of(cell.cbegin(), cell.cend(), [](QChar c) { return c.isSpace(); });
}

bool namesNameColumn(const QString &cell)
{
    const QString header = cell.trimmed();
    return header.startsWith(QStringLiteral("氏名")) || header.startsWith(QStringLiteral("名前"));
}

bool isNumber(const QString &cell)
{
    // No number a table holds is longer; a long cell is not converted for nothing.
    constexpr qsizetype Longest = 64;
    bool ok = false;
    if (cell.size() <= Longest)
        cell.trimmed().toDouble(&ok);
    return ok;
}

// A label short enough for a list.
QString shortened(const QString &text)
{
    constexpr qsizetype Longest = 24;
    return text.size() <= Longest ? text : text.left(Longest - 1) + QChar(0x2026);
}

// The rows of splitTable(), rows of blanks only left out when `dropBlank`. At a line of
// more than maxColumns cells or a row beyond maxRows it stops with tooLarge set and no
// rows, so that a huge paste is refused before its cells fill the memory.
QList<QStringList> splitWithin(const QString &text, QChar separator, bool dropBlank, qsizetype maxRows,
                               qsizetype maxColumns, bool &tooLarge)
{
    tooLarge = false;
    const qsizetype size = text.size();
    // Where a quoted cell opened just before p closes (-1: nowhere), "" taken as one
    // quote; found once for the whole text, so that no cell is searched twice.
    QList<qsizetype> closingAt;
    if (text.contains(QLatin1Char('"'))) {
        closingAt.resize(size + 2, -1);
        for (qsizetype p = size - 1; p >= 0; --p) {
            if (text.at(p) != QLatin1Char('"'))
                closingAt[p] = closingAt[p + 1];
            else if (p + 1 < size && text.at(p + 1) == QLatin1Char('"'))
                closingAt[p] = closingAt[p + 2];
            else
                closingAt[p] = p;
        }
    }
    QList<QStringList> rows;
    QStringList row;
    qsizetype i = 0;
    while (i < size) {
        QString cell;
        qsizetype end = i;
        // Without a closing quote the opening one is an ordinary character.
        if (text.at(i) == QLatin1Char('"') && closingAt.value(i + 1, -1) >= 0) {
            const qsizetype closing = closingAt.at(i + 1);
            cell = text.mid(i + 1, closing - i - 1).replace(QLatin1String("\"\""), QLatin1String("\""));
            end = closing + 1;
        }
        // The rest of the cell up to the separator or the line end, taken as it is.
        const qsizetype rest = end;
        while (end < size && text.at(end) != separator && !isLineBreak(text.at(end)))
            ++end;
        cell += text.mid(rest, end - rest);
        row.append(cell);
        i = end + 1;
        const bool separated = end < size && text.at(end) == separator;
        if (separated && i == size) // a separator at the very end: one more, empty cell
            row.append(QString());
        if (row.size() > maxColumns) {
            tooLarge = true;
            return {};
        }
        if (separated && i < size)
            continue;
        if (end < size && text.at(end) == QLatin1Char('\r') && i < size && text.at(i) == QLatin1Char('\n'))
            ++i;
        // An empty line is no row (and a long run of them costs nothing).
        const bool empty = row.size() == 1 && row.constFirst().isEmpty();
        if (!empty && !(dropBlank && std::all_of(row.cbegin(), row.cend(), isBlank))) {
            if (rows.size() == maxRows) {
                tooLarge = true;
                return {};
            }
            rows.append(row);
        }
        row.clear();
    }
    return rows;
}

} // namespace

QList<QStringList> splitTable(const QString &text, QChar separator)
{
    bool tooLarge = false;
    return splitWithin(text, separator, false, std::numeric_limits<qsizetype>::max(),
                       std::numeric_limits<qsizetype>::max(), tooLarge);
}

PastedTable readPastedTable(const QString &text)
{
    PastedTable table;
    const QChar separator = text.contains(QLatin1Char('\t')) ? QLatin1Char('\t') : QLatin1Char(',');
    table.rows = splitWithin(text, separator, true, MaxPastedRows, MaxPastedColumns, table.tooLarge);
    for (const QStringList &row : std::as_const(table.rows))
        table.columnCount = std::max(table.columnCount, int(row.size()));
    if (table.rows.isEmpty())
        return table;
    // An exact 氏名 or 名前 wins over a longer header.
    const QStringList &first = table.rows.constFirst();
    int header = -1;
    for (int c = 0; c < first.size(); ++c) {
        const QString cell = first.at(c).trimmed();
        if (cell == QStringLiteral("氏名") || cell == QStringLiteral("名前")) {
            header = c;
            break;
        }
        if (header < 0 && namesNameColumn(cell))
            header = c;
    }
    if (header >= 0) {
        table.hasHeader = true;
        table.nameColumn = header;
        return table;
    }
    for (int c = 0; c < table.columnCount; ++c) {
        const bool words = std::any_of(table.rows.cbegin(), table.rows.cend(), [c](const QStringList &row) {
            const QString cell = row.value(c);
            return !isBlank(cell) && !isNumber(cell);
        });
        if (words) {
            table.nameColumn = c;
            break;
        }
    }
    return table;
}

QStringList PastedTable::columnLabels() const
{
    QStringList labels;
    for (int c = 0; c < columnCount; ++c) {
        QString shown;
        for (const QStringList &row : rows) {
            shown = row.value(c).simplified();
            if (!shown.isEmpty())
                break;
        }
        labels.append(
            QStringLiteral("%1列目：%2").arg(c + 1).arg(shown.isEmpty() ? QStringLiteral("（空）") : shortened(shown)));
    }
    return labels;
}

QStringList PastedTable::names(int column) const
{
    QStringList out;
    if (column < 0 || column >= columnCount)
        return out;
    for (qsizetype r = hasHeader ? 1 : 0; r < rows.size(); ++r) {
        const QString name = rows.at(r).value(column).trimmed();
        if (!name.isEmpty())
            out.append(name);
    }
    return out;
}

MessageText noTableMessage()
{
    return {QStringLiteral("クリップボードに貼り付けられる表がありません。\r\n"
                           "表計算ソフトなどで氏名の列を選んでコピーしてから、もう一度実行して下さい。"),
            QStringLiteral("表から貼り付け"), MsgStyle::Critical};
}

MessageText noNamesMessage(bool columnChosen)
{
    return {columnChosen ? QStringLiteral("選んだ列に氏名がありません。") : QStringLiteral("表に氏名がありません。"),
            QStringLiteral("表から貼り付け"), MsgStyle::Critical};
}

MessageText tooManyNamesMessage(qsizetype count, int desks)
{
    return {QStringLiteral("この教室の机は%1台です。\r\n表には%2人の氏名があります。\r\n"
                           "机を増やすには、ﾌｧｲﾙ(F)の「教室の設定(R)...」を使って下さい。")
                .arg(desks)
                .arg(count),
            QStringLiteral("表から貼り付け"), MsgStyle::Critical};
}

MessageText tableTooLargeMessage()
{
    return {QStringLiteral("表が大きすぎて貼り付けられません（%1行、%2列まで）。\r\n"
                           "表計算ソフトなどで氏名の列だけを選んでコピーしてから、もう一度実行して下さい。")
                .arg(MaxPastedRows)
                .arg(MaxPastedColumns),
            QStringLiteral("表から貼り付け"), MsgStyle::Critical};
}
