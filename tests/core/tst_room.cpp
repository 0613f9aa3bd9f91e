// The room of a class: desk numbering, the class file that keeps it, and the result file
// that carries it.
#include "core/chart.h"
#include "core/classfile.h"
#include "core/resultfile.h"
#include "core/rostersession.h"
#include "core/textfile.h"
#include "support/fixtures.h"

#include <QRandomGenerator>
#include <QtTest>

class TestRoom : public QObject
{
    Q_OBJECT

private slots:
    void generatedRooms();
    void unreadableFiles_data();
    void unreadableFiles();
    void roomEdits_data();
    void roomEdits();
    void roomChangeRefusals_data();
    void roomChangeRefusals();
};

// Random rooms, and the standard room every fourth round. Pairs are mutual; the class file keeps
// the room (with pupils' details, rules and a year of charts) as it was.
// Every chart reopens with its own room, whatever the class's room is now; the desk lines come
// first, one text a line as today, and the standard room's file is those 28 lines only.
void TestRoom::generatedRooms()
{
    TestEnv env;
    QRandomGenerator random(23);
    // Kanji, a comma, quotes, TABs, leading blanks, and a name that looks like the room line.
    const QStringList names{
        "髙橋①～", "佐藤,一", R"(O"Brien)", "木\t村", " 前", "\t田中", R"({"format":"narabin-result"})"};
    for (int round = 0; round < 4000; ++round) {
        const Room room = round % 4 == 3 ? Room::standard() : randomRoom(random);
        for (int desk = 1; desk <= room.deskCount(); ++desk)
            QVERIFY(!room.partnerOf(desk) || room.partnerOf(room.partnerOf(desk)) == desk);
        if (round % 200 == 0) {
            const QString roster = env.path(QStringLiteral("組%1.MEM").arg(round));
            ClassData data{room, {}, {}, {}};
            // Half the classes also hold pupils' details and rules,
            for (int i = 0; round % 400 == 0 && i < 5; ++i) {
                data.pupils[QStringLiteral("生徒\"%1").arg(i)] = {QStringLiteral("せいと"), Gender(i % 3),
                                                                  QStringList(i % 2, QStringLiteral("班長"))};
                Rule rule;
                rule.kind = Rule::Kind(i * 2);
                rule.pupils = QStringList{QStringLiteral("生徒\"%1").arg(i), QStringLiteral("生徒0")};
                rule.tag = rule.kind == Rule::Kind::LeaderPerGroup ? QStringLiteral("班長") : QString();
                rule.pupils = rule.kind >= Rule::Kind::LeaderPerGroup ? QStringList() : rule.pupils;
                data.rules.append(rule);
            }
            // and a third a year of charts, kept at times with milliseconds.
            if (round % 600 == 0) {
                data.charts = Ledger{};
                for (int i = 0; i < round / 600; ++i) {
                    QStringList seats(room.deskCount());
                    seats[i % seats.size()] = QStringLiteral("生徒\"%1").arg(i);
                    data.charts->append({newRunName(), QDateTime::currentDateTime().addMSecs(-i * 86400123LL), room,
                                         seats, QStringList(i % 2, QStringLiteral("%1.rlt").arg(i))});
                }
            }
            QCOMPARE(changeClassFile(roster, [&data](ClassData &there) { there = data; }), QString());
            const ClassRead read = readClassFile(roster);
            // The standard class and nothing else needs no file.
            QCOMPARE(read.status, data == ClassData{} ? ClassRead::Status::Missing : ClassRead::Status::Ok);
            QVERIFY(read.data == data);
            const int version = data.charts ? 3 : data.rules.isEmpty() ? 1 : 2;
            QVERIFY(env.readFile(QFileInfo(roster).fileName() + ".json")
                        .contains(QByteArray("\"version\": ") + QByteArray::number(version)));
        }

        Chart chart(room.deskCount());
        for (ChartDesk &desk : chart) {
            const int kind = random.bounded(4);
            if (kind == 0)
                desk = {ChartDesk::Kind::Empty, {}};
            else if (kind < 3)
                desk = {ChartDesk::Kind::Pupil, names[random.bounded(int(names.size()))] + QString::number(round)};
        }
        QString error = QStringLiteral("unset");
        const QByteArray bytes = resultFileBytes(room, chart, &error);
        QCOMPARE(error, QString());
        QStringList lines = chartTexts(chart);
        while (!room.isStandard() && lines.size() < SeatCount)
            lines.append(QString());
        const QByteArray deskLines = encodeLines(lines).bytes;
        QCOMPARE(bytes.first(deskLines.size()), deskLines);
        const QByteArray roomLine = bytes.sliced(deskLines.size());
        QCOMPARE(roomLine.isEmpty(), room.isStandard());
        // 28 lines cannot tell an empty desk from a free one.
        Chart expected = chart;
        for (ChartDesk &desk : expected) {
            if (room.isStandard() && desk.kind == ChartDesk::Kind::Empty)
                desk = {};
        }
        const ResultFileRead read = resultFromBytes(bytes);
        QVERIFY2(read.ok, qPrintable(read.error));
        QVERIFY(read.room == room);
        QCOMPARE(read.chart, expected);
        QCOMPARE(read.seats, chartTexts(expected).replaceInStrings(QRegularExpression("^ $"), QString()));
    }
    // A chart of the largest size a file may have is written and read back; one a character
    // longer is refused with its reason, and nothing is written.
    constexpr qsizetype Name = 90000;
    QStringList seats(SeatCount, QString(Name, u'a'));
    seats.last().resize(MaxResultFileBytes - (SeatCount - 1) * (Name + 2) - 2, u'a');
    QCOMPARE(writeResultFile(env.path("big.rlt"), seats), QString());
    QCOMPARE(QFileInfo(env.path("big.rlt")).size(), MaxResultFileBytes);
    QCOMPARE(readResultFile(env.path("big.rlt")).seats, seats);
    seats.last().append(u'a');
    QCOMPARE(writeResultFile(env.path("bigger.rlt"), seats),
             QStringLiteral("名前が長すぎて、結果ﾌｧｲﾙに収まりません。"));
    // Saved: blank texts past the room's desks are padding; a name there is refused, nothing written.
    QCOMPARE(saveResult(env.work(), "c.rlt", Room::grid(2, 3), chartOf("山田:6")).kind, ResultSaveOutcome::Kind::Saved);
    const ResultSaveOutcome refused = saveResult(env.work(), "d.rlt", Room::grid(2, 3), chartOf("山田:7"));
    QCOMPARE(
        resultSaveMessage(refused).text,
        QStringLiteral("結果ﾌｧｲﾙ「%1」を保存できませんでした。\n結果の席の数（28）が教室の机の数（6）と合いません。")
            .arg(QDir::toNativeSeparators(env.path("d.rlt"))));
    QCOMPARE(QDir(env.work()).entryList({"*.rlt", "*.INI"}, QDir::Files),
             (QStringList{"big.rlt", "c.rlt", "ならびん.INI"}));
}

// "class" files beside a roster and "result" files, as a newer program may have written them.
void TestRoom::unreadableFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    const QString notOurs = QStringLiteral("クラスの設定ファイルではありません。");
    const QString desks = QStringLiteral("教室の設定が読み取れません（机の並び）。");
    const QString empty = QStringLiteral("教室の設定が読み取れません（空席）。");
    const QString size = QStringLiteral("教室の設定が読み取れません（行と列の数）。");
    const QByteArray head = R"({"format":"narabin-class","version":1,"room":)";
    const QByteArray lines = QByteArray("\r\n").repeated(27);
    const QByteArray mark = R"({"format":"narabin-result","version":1,"room":)";
    const auto result = [&](const char *room) { return lines + "\r\n" + mark + room; };
    QByteArray thirtyOne;
    for (int desk = 1; desk <= 31; ++desk)
        thirtyOne += QByteArray::number(desk) + "\r\n";
    QTest::newRow("class: not JSON") << "class" << QByteArray("1組\r\n") << notOurs;
    QTest::newRow("class: another JSON") << "class" << QByteArray(R"({"rows":7})") << notOurs;
    QTest::newRow("class: newer version") << "class" << QByteArray(R"({"format":"narabin-class","version":4})")
                                          << "新しい版のならびん君で作られたクラスの設定ファイルです。";
    QTest::newRow("class: a rule of a later kind")
        << "class" << head + R"({"rows":7,"columns":4},"rules":[{"kind":"teleport","pupils":["A"]}]})"
        << "知らない種類の条件です（teleport）。";
    QTest::newRow("class: 11 rows") << "class" << head + R"({"rows":11,"columns":4}})" << size;
    QTest::newRow("class: desk outside") << "class" << head + R"({"rows":2,"columns":2,"noDesk":[[2,0]]}})" << desks;
    QTest::newRow("class: pair over an aisle")
        << "class" << head + R"({"rows":1,"columns":2,"aislesAfter":[0],"pairs":[[0,0]]}})" << desks;
    QTest::newRow("class: desk in two 班")
        << "class"
        << head + R"({"rows":1,"columns":3,"groups":[{"number":1,"desks":[[0,0],[0,1]]},)"
                  R"({"number":2,"desks":[[0,1],[0,2]]}]}})"
        << desks;
    QTest::newRow("result: cut short") << "result"
                                       << "1\r\n" + lines + mark + R"({"rows":2)"
                                       << "結果ﾌｧｲﾙの最後の行（教室の設定）が読み取れません。";
    QTest::newRow("result: newer") << "result" << lines + "\r\n" + R"({"format":"narabin-result","version":2})"
                                   << "新しい版のならびん君で作られた結果ﾌｧｲﾙです。";
    QTest::newRow("result: 11 columns") << "result" << result(R"({"rows":1,"columns":11}})") << size;
    QTest::newRow("result: no desk") << "result" << result(R"({"rows":1,"columns":1,"noDesk":[[0,0]]}})")
                                     << "机が一つもありません。";
    QTest::newRow("result: a 5th name, 4 desks")
        << "result"
        << "1\r\n2\r\n3\r\n4\r\n5" + lines.first(48) + mark + R"({"rows":2,"columns":2}})"
        << "教室の机の数（4）より多い名前が書かれています。";
    QTest::newRow("result: 31 names, 30 desks") << "result" << thirtyOne + mark + R"({"rows":5,"columns":6}})"
                                                << "教室の机の数（30）より多い名前が書かれています。";
    QTest::newRow("result: 31 names, no room") << "result" << thirtyOne + R"({"format":"narabin-rezult"})"
                                               << "座席の数より多い名前が書かれています。";
    QTest::newRow("result: a name on an empty desk")
        << "result"
        << "1" + result(R"({"rows":1,"columns":2},"emptyDesks":[1]})") << empty;
    QTest::newRow("result: empty desk 3 of 2")
        << "result" << result(R"({"rows":1,"columns":2},"emptyDesks":[3]})") << empty;
    QTest::newRow("result: empty desks no list")
        << "result" << result(R"({"rows":1,"columns":2},"emptyDesks":2})") << empty;
}

// Reported, and a class file never replaced by a save: it may be what a newer program wrote.
void TestRoom::unreadableFiles()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    if (file == QLatin1String("result")) {
        const ResultFileRead read = resultFromBytes(bytes);
        QCOMPARE(read.error, error);
        QVERIFY(!read.ok);
        return;
    }
    TestEnv env;
    const QString roster = env.path(QStringLiteral("1組.MEM"));
    env.writeFile(QStringLiteral("1組.MEM.json"), bytes);
    const ClassRead read = readClassFile(roster);
    QCOMPARE(read.status, ClassRead::Status::Unreadable);
    QCOMPARE(read.error, error);
    QVERIFY(read.data.room.isStandard());
    QCOMPARE(keepClassBeside(roster, ClassData{}), error + QStringLiteral("\r上書きせずに残しました。"));
    QCOMPARE(env.readFile(QStringLiteral("1組.MEM.json")), bytes);
}

// The presets and the editor's changes, as the room they leave (front row first).
void TestRoom::roomEdits_data()
{
    QTest::addColumn<QString>("edits");
    QTest::addColumn<bool>("changed"); // what the last edit answered
    QTest::addColumn<QStringList>("picture");
    const auto rows = [](int count, const char *line) { return QStringList(count, QString::fromUtf8(line)); };
    QTest::newRow("標準") << "preset 0" << true << rows(7, "o o o o");
    QTest::newRow("6x6") << "preset 1" << true << rows(6, "o o o o o o");
    QTest::newRow("7x5") << "preset 2" << true << rows(7, "o o o o o");
    QTest::newRow("6x7") << "preset 3" << true << rows(7, "o o o o o o");
    QTest::newRow("8x5 in 班 of 5") << "preset 4" << true
                                    << (rows(2, "4 4|3 3|2 2|1 1") + rows(1, "8 4|7 3|6 2|5 1") +
                                        rows(2, "8 8|7 7|6 6|5 5"));
    QTest::newRow("pairs") << "preset 5" << true << rows(7, "o=o|o=o|o=o");
    QTest::newRow("班 over a gap") << "grid 2 3; off 0 1; group 0 0 1 1" << true << QStringList{"1 . o", "1 1 o"};
    QTest::newRow("班 of 9 refused") << "grid 3 3; group 0 0 2 2" << false << rows(3, "o o o");
    QTest::newRow("a desk left alone leaves its 班")
        << "grid 1 4; group 0 0 0 2; group 0 1 0 3" << true << QStringList{"o 1 1 1"};
    QTest::newRow("pairs from the left, never over an aisle")
        << "grid 2 5; aisle 1; pairs 0 0 1 4" << true << rows(2, "o=o|o=o o");
    QTest::newRow("release") << "preset 5; release 0 0 0 1" << true
                             << (QStringList{"o o|o=o|o=o"} + rows(6, "o=o|o=o|o=o"));
    QTest::newRow("release of free desks") << "grid 1 2; release 0 0 0 1" << false << QStringList{"o o"};
    QTest::newRow("resize adds desks") << "grid 1 2; off 0 0; resize 2 3" << true << QStringList{". o o", "o o o"};
    QTest::newRow("resize keeps what fits")
        << "preset 4; resize 4 7" << true << (rows(2, "4 4|3 3|2 2|1") + QStringList{"8 4|7 3|6 2|5", "8 8|7 7|6 6|5"});
}

void TestRoom::roomEdits()
{
    QFETCH(QString, edits);
    QFETCH(bool, changed);
    QFETCH(QStringList, picture);
    bool answered = false;
    const Room room = roomFromEdits(edits, &answered);
    QCOMPARE(roomPicture(room), picture);
    QCOMPARE(answered, changed);
    QCOMPARE(room.problem(), QString());
}

// "room before > after > pupils > pinned desk:pupil,… > refusal"
void TestRoom::roomChangeRefusals_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("room enough") << "preset 0 > preset 2; off 6 4 > 34 > 28:生徒1 > ";
    QTest::newRow("too few desks") << "preset 0 > off 6 0 > 28 >  > 名簿の28人に対して、机が27台しかありません。";
    QTest::newRow("pinned desks gone")
        << "preset 2 > resize 7 4 > 20 > 1:生徒3,2:生徒4,6:生徒9 > No.1（生徒3）、No.6（生徒9）"
           "の机がなくなります。\r座席の条件から外してから、教室を変えて下さい。";
    QTest::newRow("班 of one desk") << "preset 0 > grid 1 3; group 0 0 0 1; off 0 1 > 0 >  > "
                                       "1班の机は1つです。班は2～8の机でつくって下さい。";
}

void TestRoom::roomChangeRefusals()
{
    QFETCH(QString, change);
    const QStringList part = change.split(QStringLiteral(" > "));
    QList<PinnedDesk> pinned;
    for (const QString &pin : part[3].split(u',', Qt::SkipEmptyParts))
        pinned.append({pin.section(u':', 0, 0).toInt(), pin.section(u':', 1)});
    QCOMPARE(roomChangeRefusal(roomFromEdits(part[0]), roomFromEdits(part[1]), part[2].toInt(), pinned), part[4]);
}

QTEST_GUILESS_MAIN(TestRoom)
#include "tst_room.moc"
