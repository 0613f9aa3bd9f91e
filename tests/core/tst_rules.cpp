// The seating rules: what each one means, charts drawn that keep them, and clashes explained.
#include "core/deskswap.h"
#include "core/placement.h"
#include "core/ruleedit.h"
#include "core/rulerun.h"
#include "core/rulesolve.h"
#include "support/fixtures.h"

#include <QJsonDocument>
#include <QtTest>

namespace
{

using Kind = Rule::Kind;

Rule rule(Kind kind, QStringList pupils = {}, int distance = 2)
{
    Rule r;
    r.kind = kind;
    r.pupils = pupils;
    r.distance = distance;
    r.tag = QStringLiteral("班長");
    return r;
}

Rule zone(QStringList pupils, Zone::Kind kind, int count, int first = 1)
{
    Rule r = rule(Kind::Zone, pupils);
    r.zone = {kind, first, count, {}};
    return r;
}

Rule earlier(Kind kind, bool must = true, int charts = 1)
{
    Rule r = rule(kind);
    r.must = must;
    r.charts = charts;
    return r;
}

// "AB.." : desk 1 first, "." a free desk; 12 desks are the 3 × 4 room's, 8 the small class's.
Chart lettered(const QString &letters);
Ledger yearOf(const QStringList &charts, const Room &room)
{
    Ledger year;
    for (const QString &chart : charts)
        year.append(
            {chart, QDateTime(), chart.size() == 12 ? Room::grid(3, 4) : room, chartTexts(lettered(chart)), {}});
    return year;
}

// A 2 × 4 room with a pair at the right-hand side of each row and two 班 of four (the columns
// pairs 0-1 and 2-3), pupils A..H: A, C, E, G boys, the rest girls; A and B 班長. Last time
// A..G sat at desks 1..7; H is new.
SeatingContext smallClass()
{
    Room room = Room::grid(2, 4);
    room.joinPair({0, 2});
    room.joinPair({1, 2});
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 4; ++column)
            room.setGroup({row, column}, column < 2 ? 1 : 2);
    }
    SeatingContext c{room, {"A", "B", "C", "D", "E", "F", "G", "H"}, {}, {}};
    for (int i = 0; i < 8; ++i)
        c.info[c.roster[i]].gender = i % 2 ? Gender::Girl : Gender::Boy;
    c.info["A"].tags = c.info["B"].tags = QStringList{"班長"};
    c.year = yearOf({"ABCDEFG."}, room);
    return c;
}

Chart lettered(const QString &letters)
{
    Chart chart;
    for (const QChar c : letters)
        chart.append(c == u'.' ? ChartDesk{} : ChartDesk{ChartDesk::Kind::Pupil, QString(c)});
    return chart;
}

} // namespace

class TestRules : public QObject
{
    Q_OBJECT

private slots:
    void meaning_data();
    void meaning();
    void drawnChartsKeepTheRules_data();
    void drawnChartsKeepTheRules();
    void clashExplained_data();
    void clashExplained();
    void evenFrontBackAsMust();
    void swapAfterTheChartWasKept();
    void rulesReadBack();
    void dialogChoicesFinished_data();
    void dialogChoicesFinished();

private:
    TestEnv env_; // the solver library of this build
};

// Desks of the 2 × 4 room: front row 1 2 3 4 from the right (4 by the window), back row 5..8;
// pairs 1-2 and 5-6; 班 1 is desks 3 4 7 8, 班 2 desks 1 2 5 6.
void TestRules::meaning_data()
{
    QTest::addColumn<Rule>("rule");
    QTest::addColumn<QString>("chart");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<QString>("text");
    const Rule front = zone({"A", "B"}, Zone::Kind::FrontRows, 1);
    QTest::newRow("front row kept") << front << "AB......" << true << "A・Bを前1列に";
    QTest::newRow("front row broken") << front << "A...B..." << false << "A・Bを前1列に";
    QTest::newRow("window side") << zone({"A"}, Zone::Kind::WindowSide, 1) << "...A...." << true << "Aを窓側1列に";
    QTest::newRow("door side broken") << zone({"A"}, Zone::Kind::DoorSide, 1) << "...A...." << false
                                      << "Aを廊下側1列に";
    QTest::newRow("rows") << zone({"A"}, Zone::Kind::Rows, 1, 2) << "....A..." << true << "Aを前から2列目に";
    QTest::newRow("apart diagonal") << rule(Kind::Apart, {"A", "B"}) << "A....B.." << false << "AとBを2席以上離す";
    QTest::newRow("apart kept") << rule(Kind::Apart, {"A", "B"}) << "A.B....." << true << "AとBを2席以上離す";
    QTest::newRow("apart 班 broken") << rule(Kind::ApartGroups, {"A", "B"}) << "A....B.." << false << "AとBを別の班に";
    QTest::newRow("apart 班 kept") << rule(Kind::ApartGroups, {"A", "B"}) << "A.B....." << true << "AとBを別の班に";
    QTest::newRow("near kept") << rule(Kind::Near, {"A", "B"}, 1) << "A....B.." << true << "AとBを1席以内に";
    QTest::newRow("near broken") << rule(Kind::Near, {"A", "B"}, 1) << "A.B....." << false << "AとBを1席以内に";
    QTest::newRow("side by side") << rule(Kind::SideBySide, {"A", "B"}) << ".BA....." << true << "AとBを隣に";
    QTest::newRow("one behind the other") << rule(Kind::SideBySide, {"A", "B"}) << "A...B..." << false << "AとBを隣に";
    QTest::newRow("same pair") << rule(Kind::SamePair, {"A", "B"}) << "BA......" << true << "AとBを同じ机の組に";
    QTest::newRow("neighbours, other pairs")
        << rule(Kind::SamePair, {"A", "B"}) << ".AB....." << false << "AとBを同じ机の組に";
    QTest::newRow("a 班長 each") << rule(Kind::LeaderPerGroup) << "A.B....." << true << "各班に班長を1人";
    QTest::newRow("two 班長 in one") << rule(Kind::LeaderPerGroup) << "AB......" << false << "各班に班長を1人";
    QTest::newRow("班 balanced") << rule(Kind::GenderBalance) << "ABCDEFGH" << true << "各班の男女の数をそろえる";
    QTest::newRow("班 of boys") << rule(Kind::GenderBalance) << "ACBDEGFH" << false << "各班の男女の数をそろえる";
    QTest::newRow("alternating") << rule(Kind::Alternate) << "ABCDBADC" << true << "男女を交互に";
    QTest::newRow("two boys side by side") << rule(Kind::Alternate) << "ACBD...." << false << "男女を交互に";
    QTest::newRow("mixed pairs") << rule(Kind::MixedPairs) << "ABCE...." << true << "机の組を男女に";
    QTest::newRow("pair of girls") << rule(Kind::MixedPairs) << "BD......" << false << "机の組を男女に";
    const Rule last = rule(Kind::LastPattern);
    // The last chart in this room had girls on desks 1, 6, 8 and boys on 2, 7 (X has left).
    const QString lastTimes = QStringLiteral("|ABCDEFGH|BAX..DCH|ACEGBDFH....");
    QTest::newRow("as last time") << last << "DCABEHGF" + lastTimes << true << "男女の並びを前回と同じに";
    QTest::newRow("a boy where a girl sat") << last << "DCFBEHGA" + lastTimes << false << "男女の並びを前回と同じに";
    QTest::newRow("a girl where a boy sat") << last << "DBACEHGF" + lastTimes << false << "男女の並びを前回と同じに";
    QTest::newRow("pupil not seated") << rule(Kind::Apart, {"A", "Z"}) << "A......." << true << "AとZを2席以上離す";
    // Against last time's ABCDEFG. unless the year follows "|", oldest first; H is new, X never sat before.
    const QString newDesk = QStringLiteral("前回と同じ席にしない");
    QTest::newRow("new desks, H on A's") << earlier(Kind::NewDesk) << "HABCDEFG" << true << newDesk;
    QTest::newRow("G's desk again") << earlier(Kind::NewDesk) << "HABCDEGF" << false << newDesk;
    QTest::newRow("desk 1 of another room") << earlier(Kind::NewDesk) << "A.......|A..........." << true << newDesk;
    QTest::newRow("the chart before last")
        << earlier(Kind::NewDesk, true, 2) << "AB......|AB......|BA......" << false << "過去2回と同じ席にしない";
    const QString newMates = QStringLiteral("前回と同じ隣にしない");
    QTest::newRow("a pair again") << earlier(Kind::NewDeskmates) << "BA......" << false << newMates;
    QTest::newRow("side by side again") << earlier(Kind::NewDeskmates) << ".BA....." << false << newMates;
    QTest::newRow("behind in another room")
        << earlier(Kind::NewDeskmates) << "BA......|A...B......." << true << newMates;
    QTest::newRow("H beside anybody") << earlier(Kind::NewDeskmates) << "AHB....." << true << newMates;
    QTest::newRow("a pair of the year") << earlier(Kind::NewDeskmates, true, 0) << "BA......|AB......|CD......" << false
                                        << "今年隣になった人と隣にしない";
    QTest::newRow("A and E in 班 2 again")
        << earlier(Kind::NewGroupmates) << "AC..E..." << false << "今年同じ班になった人と同じ班にしない";
    QTest::newRow("新しい班") << earlier(Kind::NewGroupmates) << "AC....BD" << true
                              << "今年同じ班になった人と同じ班にしない";
    // 3 × 4: the back two rows are desks 5-12 (5-8 are front rows too); A-D never sat there, E-H once.
    const QString even = QStringLiteral("前と後ろの席を1年で公平に");
    QTest::newRow("back rows to A-D") << earlier(Kind::EvenFrontBack) << "EFGHABCD....|ABCDEFGH...." << true << even;
    QTest::newRow("E-H back again") << earlier(Kind::EvenFrontBack) << "ABCDEFGH....|ABCDEFGH...." << false << even;
    QTest::newRow("X new, in front") << earlier(Kind::EvenFrontBack) << "XEFGABCDH...|ABCDEFGH...." << true << even;
    // 5 × 2: A and F had neither the front rows (desks 1-4) nor the back rows (7-10): they cannot
    // have both now, so one of each is as even as the room allows, the middle row is not.
    QTest::newRow("A and F to the rows") << earlier(Kind::EvenFrontBack) << "AFCDBEGH..|BCDEAFGH..|GH..AFBCDE" << true
                                         << even;
    QTest::newRow("A and F in the middle")
        << earlier(Kind::EvenFrontBack) << "BCDEAFGH..|BCDEAFGH..|GH..AFBCDE" << false << even;
}

void TestRules::meaning()
{
    QFETCH(Rule, rule);
    QFETCH(QString, chart);
    QFETCH(bool, kept);
    QFETCH(QString, text);
    SeatingContext c = smallClass();
    const QStringList charts = chart.split(u'|');
    if (charts[0].size() > 8)
        c.room = charts[0].size() == 12 ? Room::grid(3, 4) : Room::grid(5, 2);
    if (charts.size() > 1)
        c.year = yearOf(charts.mid(1), c.room);
    QCOMPARE(keepsRule(rule, c, lettered(charts[0])), kept);
    QCOMPARE(rule.text(), text);
}

void TestRules::drawnChartsKeepTheRules_data()
{
    QTest::addColumn<Rules>("rules");
    QTest::addColumn<SeatMap>("conditions");
    QTest::addColumn<int>("pupils");
    QTest::addColumn<int>("broken"); // how many wishes every chart breaks
    QTest::newRow("every kind") << Rules{zone({"C"}, Zone::Kind::FrontRows, 1),
                                         rule(Kind::Apart, {"C", "D"}),
                                         rule(Kind::SamePair, {"E", "F"}),
                                         rule(Kind::LeaderPerGroup),
                                         rule(Kind::GenderBalance),
                                         rule(Kind::MixedPairs)}
                                << SeatMap{} << 8 << 0;
    QTest::newRow("班 balanced, three boys and two girls") << Rules{rule(Kind::GenderBalance)} << SeatMap{} << 5 << 0;
    QTest::newRow("alternating, a pin") << Rules{rule(Kind::Alternate)} << SeatMap{{3, "A"}} << 8 << 0;
    QTest::newRow("boys and girls as last time, a pin on last time's free desk")
        << Rules{rule(Kind::LastPattern)} << SeatMap{{8, "B"}} << 8 << 0;
    QTest::newRow("front row, free and empty desks")
        << Rules{zone({"A", "B", "C"}, Zone::Kind::FrontRows, 1), rule(Kind::Near, {"A", "F"}, 1)}
        << SeatMap{{2, "-"}, {6, "D"}} << 6 << 0;
    // Two wishes that cannot both hold: one is broken, never both.
    Rule near = rule(Kind::SideBySide, {"A", "B"}), apart = rule(Kind::Apart, {"A", "B"}, 3);
    near.must = apart.must = false;
    QTest::newRow("wishes that clash") << Rules{near, apart, zone({"A"}, Zone::Kind::FrontRows, 1)} << SeatMap{} << 8
                                       << 1;
    Rule wishFront = zone({"A", "B", "C", "D", "E"}, Zone::Kind::FrontRows, 1);
    wishFront.must = false;
    QTest::newRow("a wish no chart keeps") << Rules{wishFront} << SeatMap{} << 8 << 1;
    QTest::newRow("new desks and deskmates, H new")
        << Rules{earlier(Kind::NewDesk), earlier(Kind::NewDeskmates, true, 0)} << SeatMap{} << 8 << 0;
    QTest::newRow("the same as wishes") << Rules{earlier(Kind::NewDesk, false), earlier(Kind::NewDeskmates, false, 0)}
                                        << SeatMap{} << 8 << 0;
    QTest::newRow("new 班-mates for four") << Rules{earlier(Kind::NewGroupmates)} << SeatMap{} << 4 << 0;
    QTest::newRow("new 班-mates for eight, a wish")
        << Rules{earlier(Kind::NewGroupmates, false)} << SeatMap{} << 8 << 1;
}

void TestRules::drawnChartsKeepTheRules()
{
    QFETCH(Rules, rules);
    QFETCH(SeatMap, conditions);
    QFETCH(int, pupils);
    QFETCH(int, broken);
    SeatingContext c = smallClass();
    c.roster = c.roster.mid(0, pupils);
    DeskConditions desks(8);
    for (auto it = conditions.cbegin(); it != conditions.cend(); ++it)
        desks[it.key() - 1] = DeskCondition::fromText(it.value());
    QSet<QString> charts;
    for (quint32 seed = 1; seed <= 60; ++seed) {
        const RuleRun run = drawWithRules(c, desks, rules, seededUniformSource(seed));
        QCOMPARE(int(run.status), int(RuleRun::Status::Drawn));
        QCOMPARE(run.brokenWishes.size(), broken);
        for (int i : brokenRules(rules, c, run.chart)) {
            QVERIFY(!rules[i].must);
            QVERIFY(run.brokenWishes.contains(rules[i].text()));
        }
        QStringList seated;
        for (int k = 0; k < 8; ++k) {
            if (desks[k].kind != DeskCondition::Kind::Free)
                QCOMPARE(run.chart[k].text(), desks[k].kind == DeskCondition::Kind::Empty ? " " : desks[k].pupil);
            if (run.chart[k].kind == ChartDesk::Kind::Pupil)
                seated.append(run.chart[k].pupil);
        }
        QCOMPARE(sorted(seated), sorted(c.roster));
        charts.insert(chartTexts(run.chart).join(u','));
    }
    // Not the solver's first chart every time.
    QVERIFY2(charts.size() > 10, qPrintable(QString::number(charts.size())));
}

void TestRules::clashExplained_data()
{
    QTest::addColumn<Rules>("rules");
    QTest::addColumn<SeatMap>("conditions");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("pupils"); // more than 8: numbered pupils in a 7 × 6 room, 30 boys first
    QTest::newRow("five in a front row of four")
        << Rules{rule(Kind::Apart, {"G", "H"}), zone({"A", "B", "C", "D", "E"}, Zone::Kind::FrontRows, 1)} << SeatMap{}
        << "前1列に5人を指定しましたが、前1列の席は4席です。" << 8;
    // Proved at once, not given up after trying every order of the thirteen.
    QTest::newRow("13 of 40 in 12 front desks")
        << Rules{rule(Kind::Apart, {"生徒1", "生徒20"}), zone(numberedNames(1, 13), Zone::Kind::FrontRows, 2)}
        << SeatMap{} << "前2列に13人を指定しましたが、前2列の席は12席です。" << 40;
    QTest::newRow("5 for a front row of 6 with 2 desks empty")
        << Rules{zone(numberedNames(1, 5), Zone::Kind::FrontRows, 1)} << SeatMap{{1, "-"}, {6, "-"}}
        << "前1列に5人を指定しましたが、前1列で空いている席は4席です。" << 40;
    // Alternating with 30 boys is impossible too, but slow to prove: its checks are cut short.
    QTest::newRow("7 for a front row of 6, and 30 boys alternating")
        << Rules{rule(Kind::Alternate), zone(numberedNames(1, 7), Zone::Kind::FrontRows, 1)} << SeatMap{}
        << "前1列に7人を指定しましたが、前1列の席は6席です。" << 40;
    QTest::newRow("apart and side by side")
        << Rules{zone({"H"}, Zone::Kind::BackRows, 1), rule(Kind::Apart, {"A", "B"}),
                 rule(Kind::SideBySide, {"A", "B"})}
        << SeatMap{} << "「AとBを2席以上離す」と「AとBを隣に」 が両立しません。" << 8;
    QTest::newRow("four boys in a back row with three desks for boys")
        << Rules{zone({"A", "C", "E", "G"}, Zone::Kind::BackRows, 1), rule(Kind::LastPattern)} << SeatMap{}
        << "「A・C・E・Gを後ろ1列に」と「男女の並びを前回と同じに」 が両立しません。" << 8;
    QTest::newRow("A pinned on last time's desk") << Rules{earlier(Kind::NewDesk)} << SeatMap{{1, "A"}}
                                                  << "「AをNo.1に」と「前回と同じ席にしない」 が両立しません。" << 8;
    QTest::newRow("a pin outside the zone") << Rules{zone({"A"}, Zone::Kind::BackRows, 1)} << SeatMap{{1, "A"}}
                                            << "「AをNo.1に」と「Aを後ろ1列に」 が両立しません。" << 8;
    QTest::newRow("班 1 pinned full without a 班長")
        << Rules{rule(Kind::GenderBalance), rule(Kind::LeaderPerGroup)}
        << SeatMap{{3, "C"}, {4, "D"}, {7, "G"}, {8, "H"}, {1, "E"}}
        << "「CをNo.3に」と「DをNo.4に」と「GをNo.7に」と「HをNo.8に」と「各班に班長を1人」 が両立しません。" << 8;
}

void TestRules::clashExplained()
{
    QFETCH(Rules, rules);
    QFETCH(SeatMap, conditions);
    QFETCH(QString, message);
    QFETCH(int, pupils);
    SeatingContext c = pupils > 8 ? SeatingContext{Room::grid(7, 6), numberedNames(1, pupils), {}, {}} : smallClass();
    for (int i = 0; i < pupils && pupils > 8; ++i)
        c.info[c.roster[i]].gender = i < 30 ? Gender::Boy : Gender::Girl;
    DeskConditions desks(c.room.deskCount());
    for (auto it = conditions.cbegin(); it != conditions.cend(); ++it)
        desks[it.key() - 1] = DeskCondition::fromText(it.value());
    QElapsedTimer clock;
    clock.start();
    const RuleRun run = drawWithRules(c, desks, rules, seededUniformSource(3));
    QVERIFY(clock.elapsed() < SolverTimeLimitMs);
    QCOMPARE(int(run.status), int(RuleRun::Status::Impossible));
    QCOMPARE(clashMessage(run), message);
    // How the run refuses, whatever stops it.
    RuleRun gaveUp, noSolver, noReason;
    gaveUp.status = RuleRun::Status::GaveUp;
    noSolver.error = QStringLiteral("libnarabin_solver.so: 共有オブジェクトが見つかりません");
    const std::pair<const RuleRun &, QString> refusals[] = {
        {run, "実行確認|" + message + "\r条件を見直しますか？|17"},
        {gaveUp, "実行確認|条件に合う座席を探すのに時間がかかりすぎたため、中止しました。座席は変わっていません。\r"
                 "条件を減らすか、「必ず」の条件を「できれば」に変えてから、もう一度実行して下さい。|48"},
        {noSolver,
         "実行確認|条件を解く部品（narabin_solver）を読み込めないため、実行できません。\r" + noSolver.error + "|16"},
        {noReason, "実行確認|条件を解く部品（narabin_solver）を読み込めないため、実行できません。|16"}};
    for (const auto &[refused, shown] : refusals) {
        const std::optional<MessageText> m = ruleRunRefusal(refused);
        QCOMPARE(m ? m->title + u'|' + m->text + u'|' + QString::number(m->style) : QString(), shown);
    }
}

// A and F had neither the two front rows nor the two back rows of this 5 × 2 room, and cannot
// have both now: as a must the rows are still shared as evenly as they can be, never refused.
void TestRules::evenFrontBackAsMust()
{
    const Room room = Room::grid(5, 2);
    const SeatingContext c{room,
                           QString("ABCDEFGHIJ").split(QString(), Qt::SkipEmptyParts),
                           {},
                           yearOf({"BCDEAFGHIJ", "GHIJAFBCDE"}, room)};
    for (quint32 seed = 1; seed <= 20; ++seed) {
        const RuleRun run =
            drawWithRules(c, DeskConditions(10), {earlier(Kind::EvenFrontBack)}, seededUniformSource(seed));
        QCOMPARE(int(run.status), int(RuleRun::Status::Drawn));
        QCOMPARE(run.brokenWishes, QStringList());
        const QString middle = run.chart[4].pupil + run.chart[5].pupil;
        QVERIFY2(!middle.contains(u'A') && !middle.contains(u'F'), qPrintable(middle));
    }
}

// The chart shown, once kept, is no earlier chart of itself: A back on last time's desk is refused.
void TestRules::swapAfterTheChartWasKept()
{
    const SeatingContext small = smallClass();
    ClassModel c;
    c.room = small.room;
    c.pupils = small.roster;
    c.chart = lettered("HABCDEFG");
    c.conditions = DeskConditions(8);
    c.rules = {earlier(Kind::NewDesk)};
    c.year = small.year + yearOf({"HABCDEFG"}, c.room);
    const DeskSwap swap = swapDesks(c, 1, 2, QStringLiteral("HABCDEFG"));
    QVERIFY(swap.refusal && !swap.chart);
    QCOMPARE(swap.refusal->text, QStringLiteral("この入れ替えは「必ず」の条件「前回と同じ席にしない」を守れません。"));
    QVERIFY(swapDesks(c, 1, 8, QStringLiteral("HABCDEFG")).chart);
}

// Rules of every kind written to JSON and read back are the same rules.
void TestRules::rulesReadBack()
{
    QRandomGenerator random(11);
    for (int round = 0; round < 2000; ++round) {
        Rule r = rule(Kind(random.bounded(int(Kind::EvenFrontBack) + 1)), numberedNames(1, random.bounded(2, 5)),
                      random.bounded(1, 11));
        r.must = random.bounded(2);
        r.charts = r.kind == Kind::NewDesk        ? random.bounded(1, 11)
                   : r.kind == Kind::NewDeskmates ? random.bounded(11)
                                                  : 1;
        if (r.kind >= Kind::LeaderPerGroup)
            r.pupils.clear();
        if (r.kind == Kind::Zone) {
            r.zone.kind = Zone::Kind(random.bounded(6));
            if (r.zone.kind == Zone::Kind::Desks)
                r.zone.desks = {random.bounded(1, 101), random.bounded(1, 101)};
            else
                r.zone.count = random.bounded(1, 11);
            if (r.zone.kind == Zone::Kind::Rows)
                r.zone.first = random.bounded(1, 11);
        }
        if (r.kind != Kind::Apart && r.kind != Kind::Near)
            r.distance = 2;
        if (r.kind != Kind::LeaderPerGroup)
            r.tag = QString();
        const QByteArray bytes = QJsonDocument(r.toJson()).toJson();
        QString error;
        const std::optional<Rule> back = Rule::fromJson(QJsonDocument::fromJson(bytes).object(), &error);
        QVERIFY2(back && *back == r, qPrintable(error + QString::fromUtf8(bytes)));
    }
    QString error;
    QVERIFY(!Rule::fromJson(QJsonObject{{"kind", "teleport"}}, &error));
    QCOMPARE(error, QStringLiteral("知らない種類の条件です（teleport）。"));
}

void TestRules::dialogChoicesFinished_data()
{
    QTest::addColumn<Rule>("chosen");
    QTest::addColumn<bool>("plainRoom");  // the 2 × 4 room without 班 or pairs
    QTest::addColumn<QString>("outcome"); // the list's line, or the refusal
    Rule front = zone({"A"}, Zone::Kind::FrontRows, 1, 2);
    front.zone.desks = {3};
    front.distance = 4;
    QTest::newRow("what the kind does not use goes") << front << false << "必ず：Aを前1列に";
    Rule desks = zone({"A"}, Zone::Kind::Desks, 5, 2);
    desks.zone.desks = {7, 3, 3, 99};
    QTest::newRow("painted desks sorted, in the room") << desks << false << "必ず：Aを指定した2席に（No.3・No.7）";
    desks.zone.desks = {99};
    QTest::newRow("no desk painted") << desks << false << "席を1つ以上選んで下さい。";
    QTest::newRow("no pupil") << zone({}, Zone::Kind::BackRows, 1) << false << "生徒を選んで下さい。";
    QTest::newRow("rows beyond the room")
        << zone({"A"}, Zone::Kind::Rows, 2, 2) << false << "この教室の列は、前から1〜2列目です。";
    QTest::newRow("columns beyond the room")
        << zone({"A"}, Zone::Kind::DoorSide, 5) << false << "この教室の机は、横に4列です。";
    QTest::newRow("apart, one pupil") << rule(Kind::Apart, {"A"}) << false
                                      << "この条件には、生徒を2人以上選んで下さい（いまは1人です）。";
    QTest::newRow("side by side, three") << rule(Kind::SideBySide, {"A", "B", "C"}) << false
                                         << "この条件には、生徒をちょうど2人選んで下さい（いまは3人です）。";
    Rule wish = rule(Kind::Near, {"A", "Z"}, 3);
    wish.must = false;
    QTest::newRow("a wish naming one not in the roster")
        << wish << false << "できれば：AとZを3席以内に（Zは名簿にいません）";
    Rule leader = rule(Kind::LeaderPerGroup, {"A"});
    QTest::newRow("班長 each, pupils dropped") << leader << false << "必ず：各班に班長を1人";
    leader.tag = QStringLiteral("  ");
    QTest::newRow("no mark") << leader << false << "各班に1人ずつ置く人の印（班長など）を入れて下さい。";
    QTest::newRow("no 班") << rule(Kind::GenderBalance) << true
                           << "この教室には班がありません。\r「教室の設定」で班を作ってから選んで下さい。";
    Rule last = rule(Kind::LastPattern, {"A"});
    last.charts = 5;
    QTest::newRow("last time's boys and girls, pupils and count dropped")
        << last << false << "必ず：男女の並びを前回と同じに";
    Rule newDesk = rule(Kind::NewDesk);
    newDesk.charts = 3;
    newDesk.must = false;
    QTest::newRow("new desk, three charts") << newDesk << false << "できれば：過去3回と同じ席にしない";
    newDesk.charts = 0;
    QTest::newRow("new desk, the whole year") << newDesk << false << "何回前までの席と比べるかを選んで下さい。";
    Rule deskmates = rule(Kind::NewDeskmates);
    deskmates.charts = 0;
    QTest::newRow("new deskmates, the whole year") << deskmates << false << "必ず：今年隣になった人と隣にしない";
    QTest::newRow("front and back in two rows")
        << rule(Kind::EvenFrontBack) << false
        << "この教室は前から2列目までしかないため、前の席と後ろの席を分けられません。";
    QTest::newRow("new 班-mates, no 班")
        << rule(Kind::NewGroupmates) << true
        << "この教室には班がありません。\r「教室の設定」で班を作ってから選んで下さい。";
    QTest::newRow("no pairs") << rule(Kind::MixedPairs) << true
                              << "この教室には2人組の机がありません。\r「教室の設定」で2人組を作ってから選んで下さい。";
}

// The rule the dialog makes reads back from the class file as itself.
void TestRules::dialogChoicesFinished()
{
    QFETCH(Rule, chosen);
    QFETCH(bool, plainRoom);
    QFETCH(QString, outcome);
    const SeatingContext c = smallClass();
    QString problem;
    const std::optional<Rule> rule = finishedRule(chosen, plainRoom ? Room::grid(2, 4) : c.room, &problem);
    QCOMPARE(rule ? ruleLine(*rule, c.roster) : problem, outcome);
    if (rule)
        QVERIFY(Rule::fromJson(rule->toJson()) == rule);
}

QTEST_MAIN(TestRules)
#include "tst_rules.moc"
