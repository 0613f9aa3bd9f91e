// The room of a class: desk numbering, the class file that keeps it, and the result file
// that carries it.
#include "core/chart.h"
#include "core/classfile.h"
#include "core/placement.h"
#include "core/resultfile.h"
#include "core/textfile.h"
#include "support/fixtures.h"

#include <QJsonDocument>
#include <QRandomGenerator>
#include <QtTest>

namespace
{

// A room with desks switched off, aisles, pairs and 班 at random.
Room randomRoom(QRandomGenerator &random)
{
    Room room = Room::grid(random.bounded(1, 11), random.bounded(1, 11));
    for (int row = 0; row < room.rows(); ++row) {
        for (int column = 0; column < room.columns(); ++column) {
            if (random.bounded(5) == 0)
                room.setDesk({row, column}, false);
        }
    }
    for (int column = 0; column + 1 < room.columns(); ++column)
        room.setAisleAfter(column, random.bounded(3) == 0);
    for (int row = 0; row < room.rows(); ++row) {
        for (int column = 0; column + 1 < room.columns(); column += 2) {
            if (random.bounded(2) == 0)
                room.joinPair({row, column});
        }
    }
    for (int desk = 1; desk <= room.deskCount(); ++desk)
        room.setGroup(*room.cellOfDesk(desk), random.bounded(2) ? (desk - 1) / 4 + 1 : 0);
    return room;
}

} // namespace

class TestRoom : public QObject
{
    Q_OBJECT

private slots:
    void generatedRoomsNumberAndRoundTrip();
    void standardRoomNumbering();
    void unreadableClassFiles_data();
    void unreadableClassFiles();
    void drawInAnyRoom();
    void resultFilesReopenWithTheirRoom();
    void refusedResultFiles_data();
    void refusedResultFiles();
};

// Every desk once, the front row first and right to left; pairs are mutual neighbours;
// what the class file holds reads back as the same room.
void TestRoom::generatedRoomsNumberAndRoundTrip()
{
    TestEnv env;
    QRandomGenerator random(23);
    for (int round = 0; round < 1000; ++round) {
        const Room room = randomRoom(random);
        int previous = 0;
        for (int row = 0; row < room.rows(); ++row) {
            for (int column = room.columns() - 1; column >= 0; --column) {
                const int desk = room.deskNumber({row, column});
                QCOMPARE(desk != 0, room.hasDesk({row, column}));
                if (desk == 0)
                    continue;
                QCOMPARE(desk, previous + 1);
                QCOMPARE(*room.cellOfDesk(desk), (RoomCell{row, column}));
                previous = desk;
                if (const int partner = room.partnerOf(desk)) {
                    QCOMPARE(room.partnerOf(partner), desk);
                    QCOMPARE(room.cellOfDesk(partner)->row, row);
                    QCOMPARE(qAbs(partner - desk), 1);
                }
            }
        }
        QCOMPARE(room.deskCount(), previous);
        if (round % 50 == 0) {
            const QString roster = env.path(QStringLiteral("組%1.MEM").arg(round));
            QCOMPARE(writeClassFile(roster, ClassData{room}), QString());
            const ClassRead read = readClassFile(roster);
            QCOMPARE(read.status, ClassRead::Status::Ok);
            QVERIFY(read.data.room == room);
        } else {
            QVERIFY(Room::fromJson(QJsonDocument::fromJson(QJsonDocument(room.toJson()).toJson()).object()) == room);
        }
    }
}

void TestRoom::standardRoomNumbering()
{
    const Room room = Room::standard();
    QVERIFY(room.isStandard());
    QCOMPARE(room.deskCount(), 28);
    for (int desk = 1; desk <= 28; ++desk)
        QCOMPARE(*room.cellOfDesk(desk), (RoomCell{(desk - 1) / 4, 3 - (desk - 1) % 4}));
    Room changed = room;
    changed.setDesk({6, 0}, false);
    QVERIFY(!changed.isStandard());
    QCOMPARE(changed.deskCount(), 27);
}

void TestRoom::unreadableClassFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    const QString notOurs = QStringLiteral("クラスの設定ファイルではありません。");
    const QString layout = QStringLiteral("教室の設定が読み取れません（机の並び）。");
    const QByteArray head = R"({"format":"narabin-class","version":1,"room":)";
    QTest::newRow("not JSON") << QByteArray("1組\r\n") << notOurs;
    QTest::newRow("another JSON") << QByteArray(R"({"rows":7})") << notOurs;
    QTest::newRow("newer version") << QByteArray(R"({"format":"narabin-class","version":2})")
                                   << "新しい版のならびん君で作られたクラスの設定ファイルです。";
    QTest::newRow("11 rows") << head + R"({"rows":11,"columns":4}})"
                             << "教室の設定が読み取れません（行と列の数）。";
    QTest::newRow("desk outside") << head + R"({"rows":2,"columns":2,"noDesk":[[2,0]]}})" << layout;
    QTest::newRow("pair over an aisle") << head + R"({"rows":1,"columns":2,"aislesAfter":[0],"pairs":[[0,0]]}})"
                                        << layout;
    QTest::newRow("desk in two 班") << head + R"({"rows":1,"columns":3,"groups":[{"number":1,"desks":[[0,0],[0,1]]},)"
                                              R"({"number":2,"desks":[[0,1],[0,2]]}]}})"
                                    << layout;
}

// Reported, and never replaced by a save: it may be what a newer program wrote.
void TestRoom::unreadableClassFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    TestEnv env;
    const QString roster = env.path(QStringLiteral("1組.MEM"));
    env.writeFile(QStringLiteral("1組.MEM.json"), bytes);
    const ClassRead read = readClassFile(roster);
    QCOMPARE(read.status, ClassRead::Status::Unreadable);
    QCOMPARE(read.error, error);
    QVERIFY(read.data.room.isStandard());
    QCOMPARE(writeClassFile(roster, ClassData{}), error + QStringLiteral("\r上書きせずに残しました。"));
    QCOMPARE(env.readFile(QStringLiteral("1組.MEM.json")), bytes);
}

// The same random numbers give the chart the old 28-seat draw gives, and in a room of any
// size every pupil sits once, pins and empty desks hold, and free desks come last.
void TestRoom::drawInAnyRoom()
{
    QRandomGenerator random(7);
    for (int round = 0; round < 500; ++round) {
        const bool standard = round % 2 == 0;
        const int desks = standard ? SeatCount : random.bounded(1, 101);
        const QStringList roster = numberedNames(1, random.bounded(0, desks + 1));
        DeskConditions conditions(desks);
        QStringList toPin = roster;
        qsizetype spare = desks - roster.size(); // desks that may stay empty
        for (int desk = 0; desk < desks; ++desk) {
            if (random.bounded(6) == 0 && spare > 0) {
                conditions[desk] = DeskCondition::empty();
                --spare;
            } else if (random.bounded(6) == 0 && !toPin.isEmpty()) {
                conditions[desk] = DeskCondition::pinned(toPin.takeAt(random.bounded(int(toPin.size()))));
            }
        }
        const quint32 seed = random.generate();
        const Chart chart = drawChart(roster, conditions, seededUniformSource(seed));
        QCOMPARE(chart.size(), desks);
        if (standard) {
            SharedState old;
            for (int r = 0; r < roster.size(); ++r)
                old.PupilNames[size_t(r + 1)] = roster[r];
            old.PupilCount = quint8(roster.size());
            for (int desk = 0; desk < desks; ++desk)
                old.SeatConditions[size_t(desk + 1)] = conditions[desk].text();
            QCOMPARE(conditionsFromSlots(old.SeatConditions), conditions);
            shuffleAndPlace(old, seededUniformSource(seed));
            QCOMPARE(chartTexts(chart), seatResultTexts(old));
        }
        QStringList seated;
        bool freeSeen = false;
        for (int desk = 0; desk < desks; ++desk) {
            const ChartDesk &outcome = chart[desk];
            QCOMPARE(outcome.kind == ChartDesk::Kind::Empty, conditions[desk].kind == DeskCondition::Kind::Empty);
            if (conditions[desk].kind == DeskCondition::Kind::Pinned)
                QCOMPARE(outcome.pupil, conditions[desk].pupil);
            if (outcome.kind == ChartDesk::Kind::Pupil) {
                QVERIFY(!freeSeen || conditions[desk].kind == DeskCondition::Kind::Pinned);
                seated.append(outcome.pupil);
            }
            freeSeen = freeSeen || outcome.kind == ChartDesk::Kind::Free;
            QCOMPARE(ChartDesk::fromText(outcome.text()), outcome);
        }
        seated.sort();
        QStringList expected = roster;
        expected.sort();
        QCOMPARE(seated, expected);
    }
}

// Every chart reopens with its own room, whatever the class's room is now; the desk lines
// come first, one text a line as today, and the standard room's file is those 28 lines only.
void TestRoom::resultFilesReopenWithTheirRoom()
{
    TestEnv env;
    QRandomGenerator random(28);
    // Kanji, a comma, quotes, TABs, leading blanks, and a name that looks like the room line.
    const QStringList names{
        "髙橋①～", "佐藤,一", R"(O"Brien)", "木\t村", " 前", "\t田中", R"({"format":"narabin-result"})"};
    for (int round = 0; round < 400; ++round) {
        const Room room = round % 4 == 0 ? Room::standard() : randomRoom(random);
        if (room.deskCount() == 0)
            continue;
        Chart chart(room.deskCount());
        for (ChartDesk &desk : chart) {
            const int kind = random.bounded(4);
            if (kind == 0)
                desk = {ChartDesk::Kind::Empty, {}};
            else if (kind < 3)
                desk = {ChartDesk::Kind::Pupil, names[random.bounded(int(names.size()))] + QString::number(round)};
        }
        QCOMPARE(writeResultFile(env.path("a.rlt"), room, chart), QString());
        const QByteArray bytes = env.readFile("a.rlt");
        QStringList lines = chartTexts(chart);
        while (!room.isStandard() && lines.size() < SeatCount)
            lines.append(QString());
        const QByteArray deskLines = encodeLines(lines).bytes;
        QCOMPARE(bytes.first(deskLines.size()), deskLines);
        const QByteArray roomLine = bytes.sliced(deskLines.size());
        QCOMPARE(roomLine.isEmpty(), room.isStandard());
        QVERIFY(roomLine.isEmpty() || (roomLine.startsWith(R"({"format":"narabin-result","version":1,"room":{)") &&
                                       roomLine.endsWith("]}\r\n") && roomLine.count('\n') == 1));
        // 28 lines cannot tell an empty desk from a free one.
        Chart expected = chart;
        for (ChartDesk &desk : expected) {
            if (room.isStandard() && desk.kind == ChartDesk::Kind::Empty)
                desk = {};
        }
        const ResultFileRead read = readResultFile(env.path("a.rlt"));
        QVERIFY2(read.ok, qPrintable(read.error));
        QVERIFY(read.room == room);
        QCOMPARE(read.chart, expected);
        QCOMPARE(read.seats, chartTexts(expected).replaceInStrings(QRegularExpression("^ $"), QString()));
    }
    QCOMPARE(writeResultFile(env.path("b.rlt"), Room::grid(2, 3), Chart(5)),
             QStringLiteral("結果の席の数（5）が教室の机の数（6）と合いません。"));
    QVERIFY(!QFile::exists(env.path("b.rlt")));
}

void TestRoom::refusedResultFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    const QByteArray lines = QByteArray("\r\n").repeated(27);
    const QByteArray mark = R"({"format":"narabin-result","version":1,"room":)";
    const QString layout = QStringLiteral("教室の設定が読み取れません（空席）。");
    QByteArray thirtyOne;
    for (int desk = 1; desk <= 31; ++desk)
        thirtyOne += QByteArray::number(desk) + "\r\n";
    QTest::newRow("cut short") << "1\r\n" + lines + mark + R"({"rows":2)"
                               << "結果ﾌｧｲﾙの最後の行（教室の設定）が読み取れません。";
    QTest::newRow("newer") << lines + "\r\n" + R"({"format":"narabin-result","version":2})"
                           << "新しい版のならびん君で作られた結果ﾌｧｲﾙです。";
    QTest::newRow("11 columns") << lines + "\r\n" + mark + R"({"rows":1,"columns":11}})"
                                << "教室の設定が読み取れません（行と列の数）。";
    QTest::newRow("no desk") << lines + "\r\n" + mark + R"({"rows":1,"columns":1,"noDesk":[[0,0]]}})"
                             << "机が一つもありません。";
    QTest::newRow("a 5th name, 4 desks") << "1\r\n2\r\n3\r\n4\r\n5" + lines.first(48) + mark +
                                                R"({"rows":2,"columns":2}})"
                                         << "教室の机の数（4）より多い名前が書かれています。";
    QTest::newRow("31 names, 30 desks") << thirtyOne + mark + R"({"rows":5,"columns":6}})"
                                        << "教室の机の数（30）より多い名前が書かれています。";
    QTest::newRow("31 names, no room") << thirtyOne + R"({"format":"narabin-rezult"})"
                                       << "座席の数より多い名前が書かれています。";
    QTest::newRow("a name on an empty desk")
        << "1" + lines + "\r\n" + mark + R"({"rows":1,"columns":2},"emptyDesks":[1]})" << layout;
    QTest::newRow("empty desk 3 of 2") << lines + "\r\n" + mark + R"({"rows":1,"columns":2},"emptyDesks":[3]})"
                                       << layout;
    QTest::newRow("empty desks no list") << lines + "\r\n" + mark + R"({"rows":1,"columns":2},"emptyDesks":2})"
                                         << layout;
}

void TestRoom::refusedResultFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    const ResultFileRead read = resultFromBytes(bytes);
    QCOMPARE(read.error, error);
    QVERIFY(!read.ok);
}

QTEST_GUILESS_MAIN(TestRoom)
#include "tst_room.moc"
