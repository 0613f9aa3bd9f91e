// Where the roster's pupils sat over the charts of the log, and the charts a class keeps.
#include "core/classfile.h"
#include "core/ledger.h"
#include "core/resultfile.h"
#include "core/seatrecord.h"
#include "support/fixtures.h"

#include <QtTest>

namespace
{

QString rowOf(const PupilSeatCount &p)
{
    return QStringLiteral("%1|%2|%3|%4|%5").arg(p.name).arg(p.charts).arg(p.front).arg(p.back).arg(seatsUsedText(p));
}

} // namespace

class TestSeatRecord : public QObject
{
    Q_OBJECT

private slots:
    void record_data();
    void record();
    void largestChartReadsBack();
    void keptCharts_data();
    void keptCharts();
};

void TestSeatRecord::record_data()
{
    QTest::addColumn<QStringList>("saved");  // "file=name:seat,..." saved through the program's writer, in order
    QTest::addColumn<QStringList>("spoilt"); // "missing=file" deleted after saving, "broken=file" overwritten
    QTest::addColumn<QStringList>("roster");
    QTest::addColumn<QStringList>("rows"); // name|charts|front|back|seats; empty when a message is due
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("zones"); // front|back desks when every chart is of one room
    const QStringList three{"a.rlt=伊藤:1,佐藤:28,鈴木:9", "b.rlt=伊藤:8,佐藤:21,鈴木:20", "c.rlt=伊藤:1,鈴木:27"};
    const QStringList roster{"伊藤", "佐藤", "鈴木", "田中"};
    const QStringList rows{"伊藤|3|3|0|No.1×2、No.8", "佐藤|2|0|2|No.21、No.28", "鈴木|3|0|1|No.9、No.20、No.27",
                           "田中|0|0|0|―"};
    const QString standard = QStringLiteral("No.1～No.8|No.21～No.28");
    QTest::newRow("three charts") << three << QStringList{} << roster << rows << "" << standard;
    // Each chart counts with its own room: the back rows of 7 × 5 and 8 × 5 are desks 26..35 and 25..40.
    QTest::newRow("rooms of 35, 40 and 28")
        << QStringList{"preset 2@a.rlt=伊藤:35,佐藤:1", "preset 4@b.rlt=伊藤:40,佐藤:16", "c.rlt=伊藤:28,佐藤:9"}
        << QStringList{} << roster
        << QStringList{"伊藤|3|0|3|No.28、No.35、No.40", "佐藤|3|2|0|No.1、No.9、No.16", "鈴木|0|0|0|―", "田中|0|0|0|―"}
        << ""
        << "";
    // A file logged twice counts once; files gone or no chart do not count.
    QTest::newRow("logged twice, deleted, broken")
        << (QStringList{"x.rlt=伊藤:2", "y.rlt=伊藤:3"} << three << "c.rlt=伊藤:1,鈴木:27")
        << QStringList{"missing=x.rlt", "broken=y.rlt"} << roster << rows << "" << standard;
    const QString noCharts =
        QStringLiteral("過去ﾛｸﾞに読める結果がありません。\r結果を保存すると、ここに数えられます。");
    // No roster and no log at all: the record window's test.
    QTest::newRow("only files gone") << QStringList{"x.rlt=伊藤:2", "y.rlt=伊藤:3"}
                                     << QStringList{"missing=x.rlt", "broken=y.rlt"} << roster << QStringList{}
                                     << noCharts << "";
    QTest::newRow("another class") << three << QStringList{} << QStringList{"山田", "田中"} << QStringList{}
                                   << "過去ﾛｸﾞの結果に、この名簿の人は一人もいません。"
                                   << "";
}

void TestSeatRecord::record()
{
    QFETCH(QStringList, saved);
    QFETCH(QStringList, spoilt);
    QFETCH(QStringList, roster);
    QFETCH(QStringList, rows);
    QFETCH(QString, message);
    QFETCH(QString, zones);
    TestEnv env;
    const QString folder = QDir::currentPath();
    QVERIFY(saveCharts(folder, saved));
    for (const QString &what : spoilt) {
        const QString file = what.section(u'=', 1);
        if (what.startsWith(QLatin1String("missing")))
            QVERIFY(QFile::remove(env.path(file)));
        else
            env.writeFile(file, QByteArray("\x00\x01\x02", 3));
    }
    const SeatRecord record = seatRecordFor(roster, folder);
    if (!message.isEmpty()) {
        QVERIFY(record.message);
        QCOMPARE((QStringList{record.message->title, record.message->text, QString::number(record.message->style)}),
                 (QStringList{QStringLiteral("席の記録"), message, "64"}));
        return;
    }
    QVERIFY(!record.message);
    QCOMPARE(record.charts, 3);
    QStringList shown;
    for (const PupilSeatCount &p : record.pupils)
        shown.append(rowOf(p));
    QCOMPARE(shown, rows);
    QCOMPARE(record.room ? frontDesksText(*record.room) + u'|' + backDesksText(*record.room) : QString(), zones);
}

// A chart of the largest size a file may have is written and read back; one a character
// longer is refused with its reason, and nothing is written.
void TestSeatRecord::largestChartReadsBack()
{
    TestEnv env;
    constexpr qsizetype Name = 90000;
    QStringList seats(SeatCount, QString(Name, u'a'));
    seats.last().resize(MaxResultFileBytes - (SeatCount - 1) * (Name + 2) - 2, u'a');
    QCOMPARE(writeResultFile(env.path("a.rlt"), seats), QString());
    QCOMPARE(QFileInfo(env.path("a.rlt")).size(), MaxResultFileBytes);
    QCOMPARE(readResultFile(env.path("a.rlt")).seats, seats);
    seats.last().append(u'a');
    QCOMPARE(writeResultFile(env.path("b.rlt"), seats), QStringLiteral("名前が長すぎて、結果ﾌｧｲﾙに収まりません。"));
    QVERIFY(!QFile::exists(env.path("b.rlt")));
}

void TestSeatRecord::keptCharts_data()
{
    QTest::addColumn<QStringList>("saved"); // in the log before the class keeps a chart
    QTest::addColumn<QStringList>("steps"); // "run=name:desk,…[@file]" kept, "-run" removed, "+file=…" saved to the log
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
    for (const QString &step : steps) {
        if (step.startsWith(u'+')) {
            QVERIFY(saveCharts(folder, {step.mid(1)}));
        } else if (step.startsWith(u'-')) {
            QCOMPARE(forgetChartOfClass(roster, step.mid(1)), QString());
        } else {
            const QString file = step.contains(u'@') ? step.section(u'@', 1) : QString();
            const KeptChart chart{step.section(u'=', 0, 0), QDateTime::currentDateTime(), Room::standard(),
                                  chartOf(step.section(u'=', 1).section(u'@', 0, 0)),
                                  file.isEmpty() ? QStringList() : QStringList{file}};
            QCOMPARE(keepChartOfClass(roster, chart, folder, names), QString());
        }
    }
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
