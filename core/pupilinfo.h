#pragma once

#include "core/message.h"
#include "core/rules.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The pupils' details as the roster editor's table shows them: one row per name, each cell
// as text, so that typing and pasting work on text and the details are checked once, on OK.
enum DetailColumn { NameColumn, ReadingColumn, GenderColumn, TagsColumn, DetailColumnCount };
using DetailRow = QStringList; // one text per column

// "男", "女", or empty when not set.
QString genderText(Gender gender);
// A gender as typed or pasted: 男, 女, 男子, 女子, M, F (either case, half- or full-width); empty,
// 空 or 未設定 for not set. Nothing for any other text.
std::optional<Gender> parseGender(const QString &text);
// Tags cut at commas (",", "、", "，", "､"), blanks around each dropped, each kept once.
QStringList parseTags(const QString &text);
// Tags as the table shows them: joined with "、".
QString tagsText(const QStringList &tags);

// The rows of `names`, filled from `info`.
QList<DetailRow> detailRows(const QStringList &names, const PupilInfos &info);

struct DetailsBuilt {
    PupilInfos info;     // a pupil with nothing set has no entry
    MessageText refusal; // empty text when the rows were taken
    int refusedRow = -1; // the row whose reading was refused
};
// The details the rows hold. A reading is taken as full-width kana with single blanks (half-width
// katakana widened); one with anything but kana, "ー", "・" and blanks is refused, naming the
// pupil: a reading left in romaji or kanji by the input method would sort and read out wrong.
DetailsBuilt buildDetails(const QList<DetailRow> &rows);

struct DetailsPasted {
    QList<DetailRow> rows; // as they are after the paste; unchanged when refused
    MessageText refusal;   // empty text when pasted
};
// A block copied from a spreadsheet (a TAB between cells, a line per row) pasted into `rows` at
// `row`, `column`. From a detail column the block fills that row and those below, column by
// column; from the name column its first column names the pupil of each line, in any order,
// and the rest fill that pupil's details (a first line 氏名 or 名前 is a header). Genders are
// read by parseGender(), tags by parseTags(). A block that does not fit, names a pupil not in
// the table, or holds a gender not understood is refused whole.
DetailsPasted pasteDetails(const QList<DetailRow> &rows, int row, int column, const QString &text);

// The details of pupils renamed between the roster `before` and the roster `after` (names in
// roster order) moved to the new names. A rename is a name gone whose place, among the names
// both rosters keep in the same order, a new name took; details of a name that stayed, and
// details a new name already has, are never moved.
PupilInfos carryRenamedDetails(const PupilInfos &info, const QStringList &before, const QStringList &after);
// The rules naming those pupils, naming them by their new names.
Rules carryRenamedRules(const Rules &rules, const QStringList &before, const QStringList &after);
