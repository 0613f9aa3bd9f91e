// Where the roster's pupils sat over the class's charts, and the charts a class keeps.
#include "core/classfile.h"
#include "core/ledger.h"
#include "core/seatrecord.h"
#include "support/fixtures.h"

#include <QtTest>

namespace
{

QString rowOf(const PupilSeatCount &p)
{
    const auto n = [](int count) { return QString::number(count); };
    return QStringList{p.name, n(p.charts), n(p.front), n(p.middle), n(p.back), seatsUsedText(p), deskmatesText(p)}
        .join(u'|');
}

} // namespace

class TestSeatRecord : public QObject
{
    Q_OBJECT

private slots:
    void record_data();
    void record();
    void keptCharts_data();
    void keptCharts();
};

void TestSeatRecord::record_data()
{
    // as saveCharts takes them
    QTest::addColumn<QStringList>("saved");
    QTest::addColumn<QStringList>("kept"); // the class file's charts "room edits@name:desk,…"; none: no ledger
    QTest::addColumn<QStringList>("roster");
    // name|charts|front|middle|back|seats|deskmates and front|back desks when every chart is of one
    // room, or the message text|style
    QTest::addColumn<QStringList>("shown");
    const QStringList three{"a.rlt=伊藤:1,佐藤:28,鈴木:9,田中:2", "b.rlt=伊藤:8,佐藤:21,鈴木:20,田中:7",
                            "c.rlt=伊藤:1,鈴木:27,田中:26"};
    const QStringList roster{"伊藤", "佐藤", "鈴木", "田中"};
    const QStringList rows{"伊藤|3|3|0|0|No.1×2、No.8|田中×2", "佐藤|2|0|0|2|No.21、No.28|―",
                           "鈴木|3|0|2|1|No.9、No.20、No.27|田中×1", "田中|3|2|0|1|No.2、No.7、No.26|伊藤×2、鈴木×1",
                           "No.1～No.8|No.21～No.28"};
    // Each chart counts with its own room: the back rows of 7 × 5 and 8 × 5 are desks 26..35 and 25..40.
    QTest::newRow("rooms of 35, 40 and 28")
        << QStringList{"preset 2@a.rlt=伊藤:35,佐藤:1", "preset 4@b.rlt=伊藤:40,佐藤:16", "c.rlt=伊藤:28,佐藤:9"}
        << QStringList{} << QStringList{"伊藤", "佐藤"}
        << QStringList{"伊藤|3|0|0|3|No.28、No.35、No.40|―", "佐藤|3|2|1|0|No.1、No.9、No.16|―", ""};
    // Three charts of the log: a file logged twice counts once; files gone or no chart do not count.
    QTest::newRow("logged twice, deleted, broken")
        << (QStringList{"x.rlt=伊藤:2", "y.rlt=伊藤:3"} << three << "c.rlt=伊藤:1,鈴木:27,田中:26"
                                                        << "-x.rlt"
                                                        << "!y.rlt")
        << QStringList{} << roster << rows;
    // The class file's charts, not the log's: side by side is across no aisle (desks 2 and 3 are
    // not); 森 came in the second chart, 田中 left after the first.
    const QString room = QStringLiteral("grid 5 4; pairs 0 0 4 3; aisle 1@");
    QTest::newRow("the class's own charts")
        << three
        << QStringList{room + "伊藤:1,佐藤:2,鈴木:3,田中:4", room + "伊藤:9,佐藤:10,鈴木:17,森:18",
                       room + "佐藤:1,鈴木:2,森:11,伊藤:12"}
        << QStringList{"伊藤", "佐藤", "鈴木", "森"}
        << QStringList{"伊藤|3|1|2|0|No.1、No.9、No.12|佐藤×2、森×1", "佐藤|3|2|1|0|No.1、No.2、No.10|伊藤×2、鈴木×1",
                       "鈴木|3|2|0|1|No.2、No.3、No.17|佐藤×1、森×1", "森|2|0|1|1|No.11、No.18|伊藤×1、鈴木×1",
                       "No.1～No.8|No.13～No.20"};
    const QStringList noCharts{
        "この組の席替えの記録がありません。\r結果を保存するか了解すると、ここに数えられます。|64"};
    QTest::newRow("every chart removed") << three << QStringList{"-"} << roster << noCharts;
    QTest::newRow("another class's log") << three << QStringList{} << QStringList{"山田", "田中"} << noCharts;
    QTest::newRow("nobody of the roster kept") << three << QStringList{room + "山田:1"} << roster
                                               << QStringList{"記録された席替えに、この名簿の人は一人もいません。|64"};
    QTest::newRow("class file unreadable")
        << three << QStringList{"!"} << roster
        << QStringList{"ｸﾗｽの設定ﾌｧｲﾙ「%1」が読めないため、席の記録を表示できません。\r"
                       "クラスの設定ファイルではありません。|48"};
}

void TestSeatRecord::record()
{
    QFETCH(QStringList, saved);
    QFETCH(QStringList, kept);
    QFETCH(QStringList, roster);
    QFETCH(QStringList, shown);
    TestEnv env;
    const QString folder = QDir::currentPath(), rosterPath = env.path(QStringLiteral("1組.MEM"));
    QVERIFY(saveCharts(folder, saved));
    const auto keep = [&kept](ClassData &data) {
        data.charts = Ledger{};
        for (const QString &chart : kept.filter(QStringLiteral("@"))) {
            const Room room = roomFromEdits(chart.section(u'@', 0, 0));
            const QStringList seats = chartOf(chart.section(u'@', 1)).mid(0, room.deskCount());
            data.charts->append({newRunName(), QDateTime::currentDateTime(), room, seats, {}});
        }
    };
    if (kept == QStringList{"!"})
        env.writeFile(QStringLiteral("1組.MEM.json"), "{}");
    else if (!kept.isEmpty())
        QCOMPARE(changeClassFile(rosterPath, keep), QString());
    const SeatRecord record = seatRecordFor(roster, rosterPath, folder);
    QStringList got;
    if (record.message) {
        QCOMPARE(record.message->title, QStringLiteral("席の記録"));
        got.append(record.message->text + u'|' + QString::number(record.message->style));
        shown.first() = shown.first().arg(QDir::toNativeSeparators(rosterPath + ".json"));
    } else {
        for (const PupilSeatCount &p : record.pupils)
            got.append(rowOf(p));
        got.append(record.room ? frontDesksText(*record.room) + u'|' + backDesksText(*record.room) : QString());
    }
    QCOMPARE(got, shown);
}

void TestSeatRecord::keptCharts_data()
{
    QTest::addColumn<QStringList>("saved"); // in the log before the class keeps a chart
    // "run=name:desk,…[@file]" kept, "-run" removed, "+file=…" saved to the log
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("ledger"); // run|files|seats
    const QStringList roster{"伊藤", "佐藤", "鈴木", "田中"};
    const QStringList log{"a.rlt=伊藤:1,佐藤:2,鈴木:3", "b.rlt=伊藤:2,佐藤:3,田中:4", "c.rlt=山田:1,田中:2,森:3"};
    QTest::newRow("the class's log taken in once, another class's not")
        << log << QStringList{"r1=伊藤:4,佐藤:1@d.rlt", "+e.rlt=伊藤:1,佐藤:2,鈴木:3", "r2=伊藤:1"}
        << QStringList{"log:a.rlt|a.rlt|伊藤:1,佐藤:2,鈴木:3", "log:b.rlt|b.rlt|伊藤:2,佐藤:3,田中:4",
                       "r1|d.rlt|佐藤:1,伊藤:4", "r2||伊藤:1"};
    QTest::newRow("saved, accepted, saved again, swapped: one chart")
        << QStringList{}
        << QStringList{"r1=伊藤:1,佐藤:2@d.rlt", "r1=伊藤:1,佐藤:2", "r1=伊藤:1,佐藤:2@e.rlt", "r1=伊藤:2,佐藤:1"}
        << QStringList{"r1|d.rlt,e.rlt|佐藤:1,伊藤:2"};
    QTest::newRow("a trial run removed") << QStringList{} << QStringList{"r1=伊藤:1", "r2=伊藤:2", "-r2", "-r3"}
                                         << QStringList{"r1||伊藤:1"};
    QTest::newRow("a log chart removed before the class kept one")
        << log << QStringList{"-log:a.rlt", "-r9"} << QStringList{"log:b.rlt|b.rlt|伊藤:2,佐藤:3,田中:4"};
}

// Kept in the class file, read back by a fresh read each step; the last chart is the last kept.
void TestSeatRecord::keptCharts()
{
    QFETCH(QStringList, saved);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, ledger);
    TestEnv env;
    const QString folder = QDir::currentPath(), roster = env.path(QStringLiteral("1組.MEM"));
    const QStringList names{"伊藤", "佐藤", "鈴木", "田中"};
    QVERIFY(saveCharts(folder, saved));
    QCOMPARE(applyChartSteps(roster, folder, names, steps), QString());
    const ClassRead read = readClassFile(roster);
    QVERIFY(read.data.charts);
    QStringList shown;
    for (const KeptChart &kept : *read.data.charts) {
        QStringList seats;
        for (int desk = 1; desk <= kept.seats.size(); ++desk) {
            if (!kept.seats.at(desk - 1).isEmpty())
                seats.append(kept.seats.at(desk - 1) + u':' + QString::number(desk));
        }
        shown.append(kept.run + u'|' + kept.files.join(u',') + u'|' + seats.join(u','));
    }
    QCOMPARE(shown, ledger);
    QCOMPARE(lastKeptChart(roster, folder, names)->run, ledger.constLast().section(u'|', 0, 0));
}

QTEST_MAIN(TestSeatRecord)
#include "tst_seatrecord.moc"
