#include "core/pupilinfo.h"

#include "core/pastedtable.h"

#include <QSet>

#include <algorithm>
#include <utility>
#include <vector>

namespace
{

const QString Title = QStringLiteral("生徒の情報");

MessageText refused(const QString &text)
{
    return {text, Title, MsgStyle::Exclamation};
}

bool isReadingChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x3041 && u <= 0x3096) || (u >= 0x309D && u <= 0x309F) || (u >= 0x30A1 && u <= 0x30FF) ||
           (u >= 0x31F0 && u <= 0x31FF) || u == u' ';
}

// The lines of a spreadsheet block, a TAB between cells. Unlike a names paste, an empty line is a
// row (a pupil with nothing in that cell); only empty lines at the end are dropped. A cell opened
// by a double quote runs to the closing one. Holds `maxRows` lines at most; a line that holds
// something beyond them sets `overflow`.
QList<QStringList> blockLines(const QString &text, qsizetype maxRows, bool &overflow)
{
    const qsizetype size = text.size();
    // Where a quoted cell opened just before p closes (-1: nowhere), found once for the text.
    std::vector<qsizetype> closingAt(size_t(size + 2), -1);
    for (qsizetype p = size - 1; p >= 0; --p) {
        if (text.at(p) != u'"')
            closingAt[size_t(p)] = closingAt[size_t(p + 1)];
        else if (p + 1 < size && text.at(p + 1) == u'"')
            closingAt[size_t(p)] = closingAt[size_t(p + 2)];
        else
            closingAt[size_t(p)] = p;
    }
    QList<QStringList> lines;
    const auto take = [&](const QStringList &line) {
        if (lines.size() < maxRows)
            lines.append(line);
        else
            overflow = overflow || !line.join(QString()).trimmed().isEmpty();
    };
    overflow = false;
    QStringList cells;
    QString cell;
    bool cellStart = true;
    for (qsizetype i = 0; i < size && !overflow;) {
        const QChar c = text.at(i);
        if (cellStart && c == u'"' && closingAt[size_t(i + 1)] >= 0) {
            const qsizetype closing = closingAt[size_t(i + 1)];
            cell += text.mid(i + 1, closing - i - 1).replace(QLatin1String("\"\""), QLatin1String("\""));
            i = closing + 1;
            cellStart = false;
            continue;
        }
        cellStart = c == u'\t' || c == u'\r' || c == u'\n';
        if (!cellStart) {
            cell += c;
            ++i;
            continue;
        }
        cells.append(std::exchange(cell, {}));
        if (c != u'\t')
            take(std::exchange(cells, {}));
        i += c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n' ? 2 : 1;
    }
    if (!overflow && (!cell.isEmpty() || !cells.isEmpty())) {
        cells.append(cell);
        take(cells);
    }
    while (!lines.isEmpty() && lines.constLast().join(QString()).trimmed().isEmpty())
        lines.removeLast();
    return lines;
}

bool namesColumn(const QString &cell)
{
    const QString header = cell.trimmed();
    return header.startsWith(QStringLiteral("氏名")) || header.startsWith(QStringLiteral("名前"));
}

const QStringList ColumnTitles{QStringLiteral("氏名"), QStringLiteral("ふりがな"), QStringLiteral("性別"),
                               QStringLiteral("タグ")};

} // namespace

QString genderText(Gender gender)
{
    return gender == Gender::Boy ? QStringLiteral("男") : gender == Gender::Girl ? QStringLiteral("女") : QString();
}

std::optional<Gender> parseGender(const QString &text)
{
    const QString t = text.normalized(QString::NormalizationForm_KC).trimmed().toUpper();
    if (t.isEmpty() || t == QStringLiteral("空") || t == QStringLiteral("未設定"))
        return Gender::Unset;
    if (t == QStringLiteral("男") || t == QStringLiteral("男子") || t == QLatin1String("M"))
        return Gender::Boy;
    if (t == QStringLiteral("女") || t == QStringLiteral("女子") || t == QLatin1String("F"))
        return Gender::Girl;
    return std::nullopt;
}

QStringList parseTags(const QString &text)
{
    QStringList tags;
    QString tag;
    for (const QChar c : text + u',') {
        if (c != u',' && c != u'、' && c != u'，' && c != u'､') {
            tag += c;
            continue;
        }
        const QString trimmed = std::exchange(tag, {}).trimmed();
        if (!trimmed.isEmpty() && !tags.contains(trimmed))
            tags.append(trimmed);
    }
    return tags;
}

QString tagsText(const QStringList &tags)
{
    return tags.join(u'、');
}

QList<DetailRow> detailRows(const QStringList &names, const PupilInfos &info)
{
    QList<DetailRow> rows;
    for (const QString &name : names) {
        const PupilInfo pupil = info.value(name);
        rows.append({name, pupil.reading, genderText(pupil.gender), tagsText(pupil.tags)});
    }
    return rows;
}

DetailsBuilt buildDetails(const QList<DetailRow> &rows)
{
    DetailsBuilt built;
    for (int r = 0; r < rows.size(); ++r) {
        const DetailRow &row = rows.at(r);
        PupilInfo pupil;
        pupil.reading = row.value(ReadingColumn).normalized(QString::NormalizationForm_KC).simplified();
        if (!std::all_of(pupil.reading.cbegin(), pupil.reading.cend(), isReadingChar)) {
            built.refusal =
                refused(QStringLiteral("%1さんのふりがな「%2」に、ひらがな・カタカナ以外の文字があります。\r\n"
                                       "ふりがなは、ひらがなかカタカナで入力して下さい。")
                            .arg(row.value(NameColumn), row.value(ReadingColumn).trimmed()));
            built.refusedRow = r;
            built.info.clear();
            return built;
        }
        pupil.gender = parseGender(row.value(GenderColumn)).value_or(Gender::Unset);
        pupil.tags = parseTags(row.value(TagsColumn));
        if (pupil != PupilInfo())
            built.info.insert(row.value(NameColumn), pupil);
    }
    return built;
}

DetailsPasted pasteDetails(const QList<DetailRow> &rows, int row, int column, const QString &text)
{
    DetailsPasted pasted{rows, {}};
    const bool byName = column == NameColumn;
    // By name lines may come in any number; by place there are the rows from `row` down.
    bool overflow = false;
    QList<QStringList> lines = blockLines(text, byName ? MaxPastedRows : rows.size() - row, overflow);
    if (overflow && byName) {
        pasted.refusal = refused(QStringLiteral("表が大きすぎて貼り付けられません（%1行まで）。").arg(MaxPastedRows));
        return pasted;
    }
    if (byName && !lines.isEmpty() && namesColumn(lines.constFirst().constFirst()))
        lines.removeFirst();
    if (lines.isEmpty()) {
        pasted.refusal = refused(QStringLiteral("クリップボードに貼り付けられる表がありません。\r\n"
                                                "表計算ソフトなどで、ふりがな・性別・タグの欄を選んでコピーしてから、"
                                                "もう一度貼り付けて下さい。"));
        return pasted;
    }
    qsizetype width = 0;
    for (const QStringList &line : lines)
        width = std::max(width, line.size());
    if (column + width > DetailColumnCount) {
        pasted.refusal = refused(QStringLiteral("貼り付ける表の列が多すぎます。\r\n"
                                                "「%1」の列から右には、%2列しかありません。")
                                     .arg(ColumnTitles.at(column))
                                     .arg(DetailColumnCount - column));
        return pasted;
    }
    if (overflow) {
        pasted.refusal =
            refused(QStringLiteral("貼り付ける表の行が多すぎます。\r\n%1さんから下には、%2人しかいません。")
                        .arg(rows.at(row).value(NameColumn))
                        .arg(rows.size() - row));
        return pasted;
    }
    for (int l = 0; l < lines.size(); ++l) {
        const QStringList &line = lines.at(l);
        int target = row + l;
        if (byName) {
            const QString name = line.constFirst().trimmed();
            target = int(std::find_if(rows.cbegin(), rows.cend(),
                                      [&name](const DetailRow &r) { return r.value(NameColumn) == name; }) -
                         rows.cbegin());
            if (line.join(QString()).trimmed().isEmpty())
                continue;
            if (target == rows.size()) {
                return {rows, refused(QStringLiteral("名簿にない氏名「%1」の行があります。\r\n"
                                                     "氏名を確かめてから、もう一度貼り付けて下さい。")
                                          .arg(name))};
            }
        }
        DetailRow &into = pasted.rows[target];
        for (int c = byName ? 1 : 0; c < line.size(); ++c) {
            const int to = column + c;
            const QString cell = line.at(c).trimmed();
            if (to == GenderColumn) {
                const std::optional<Gender> gender = parseGender(cell);
                if (!gender) {
                    return {rows, refused(QStringLiteral("%1さんの性別「%2」が分かりません。\r\n"
                                                         "性別は、男・女（M・F）か空欄にして下さい。")
                                              .arg(rows.at(target).value(NameColumn), cell))};
                }
                into[to] = genderText(*gender);
            } else {
                into[to] = to == TagsColumn ? tagsText(parseTags(cell)) : cell;
            }
        }
    }
    return pasted;
}

namespace
{
// The renames between the two rosters, old name first, in roster order.
QList<std::pair<QString, QString>> renames(const QStringList &before, const QStringList &after)
{
    QList<std::pair<QString, QString>> found;
    const qsizetype n = before.size(), m = after.size();
    // The longest run of names both rosters keep in order; what lies between is gone or new.
    std::vector<int> kept(size_t((n + 1) * (m + 1)), 0);
    const auto at = [&](qsizetype i, qsizetype j) -> int & { return kept[size_t(i * (m + 1) + j)]; };
    for (qsizetype i = n - 1; i >= 0; --i) {
        for (qsizetype j = m - 1; j >= 0; --j)
            at(i, j) = before.at(i) == after.at(j) ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
    }
    const QSet<QString> old(before.cbegin(), before.cend()), now(after.cbegin(), after.cend());
    QStringList gone, added;
    // As many names gone as new between two kept ones: each new name took the place of one gone.
    const auto pairUp = [&] {
        for (qsizetype k = 0; gone.size() == added.size() && k < gone.size(); ++k) {
            if (!now.contains(gone.at(k)) && !old.contains(added.at(k)))
                found.append({gone.at(k), added.at(k)});
        }
        gone.clear();
        added.clear();
    };
    qsizetype i = 0, j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && before.at(i) == after.at(j)) {
            pairUp();
            ++i;
            ++j;
        } else if (j < m && (i == n || at(i, j + 1) >= at(i + 1, j))) {
            added.append(after.at(j++));
        } else {
            gone.append(before.at(i++));
        }
    }
    pairUp();
    return found;
}
} // namespace

PupilInfos carryRenamedDetails(const PupilInfos &info, const QStringList &before, const QStringList &after)
{
    PupilInfos carried = info;
    for (const auto &[from, to] : renames(before, after)) {
        if (carried.contains(from) && !carried.contains(to))
            carried.insert(to, carried.take(from));
    }
    return carried;
}

Rules carryRenamedRules(const Rules &rules, const QStringList &before, const QStringList &after)
{
    const QList<std::pair<QString, QString>> renamed = renames(before, after);
    Rules carried = rules;
    for (Rule &rule : carried) {
        for (QString &pupil : rule.pupils) {
            for (const auto &[from, to] : renamed) {
                if (pupil == from) {
                    pupil = to;
                    break;
                }
            }
        }
    }
    return carried;
}
