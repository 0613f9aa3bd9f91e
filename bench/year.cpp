// A class's year with the fairness rules, beside the plain lottery: narabin_bench_year. Prints
//   year deskmate-repeats: <n> (plain: <m>)  35 pupils, 7 × 5 desks in pairs, 12 changes
//   year front-spread: <most minus fewest front-two-rows count> (plain: ...)
//   year front-spread, even front and back a must: <n> (deskmate-repeats: <m>)
//   year groupmate-repeats: <n> (plain: <m>)  40 pupils, 8 × 5 in 班 of 5, 8 changes
//   year run-ms: <median>                      one run against a 40-chart year, every fairness rule
#include "bench/benchsolver.h"
#include "core/placement.h"
#include "core/roomedit.h"
#include "core/rulesolve.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace
{

QStringList names(int count)
{
    QStringList out;
    for (int i = 1; i <= count; ++i)
        out.append(QStringLiteral("P%1").arg(i));
    return out;
}

Rule wish(Rule::Kind kind, int charts = 1)
{
    Rule r;
    r.kind = kind;
    r.must = false;
    r.charts = charts;
    return r;
}

Room pairsRoom()
{
    Room room = Room::grid(7, 5);
    for (int row = 0; row < room.rows(); ++row) {
        room.joinPair({row, 0});
        room.joinPair({row, 2});
    }
    return room;
}

// Deskmates (or 班-mates) of a chart as pupil pairs, the smaller name first.
QSet<QString> together(const QStringList &seats, const QList<std::pair<int, int>> &desks)
{
    QSet<QString> out;
    for (const auto &[x, y] : desks) {
        const QString a = seats.value(x).trimmed(), b = seats.value(y).trimmed();
        if (!a.isEmpty() && !b.isEmpty())
            out.insert(a < b ? a + u'/' + b : b + u'/' + a);
    }
    return out;
}

struct Year {
    int repeats = 0;     // pairs together again, over the year
    int frontSpread = 0; // most minus fewest front-two-rows count
    Ledger charts;
};

// `changes` charts, each drawn against the ones before: with `rules`, or by the plain lottery.
Year runYear(const SeatingContext &start, const Rules &rules, int changes, bool groups, quint32 seed)
{
    Year year;
    SeatingContext c = start;
    const RuleBook book({}, c);
    const QList<std::pair<int, int>> desks = groups ? book.groupmates() : book.deskmates();
    const UniformSource uniform = seededUniformSource(seed);
    QSet<QString> seen;
    QHash<QString, int> front;
    for (int change = 0; change < changes; ++change) {
        Chart chart;
        if (rules.isEmpty()) {
            chart = drawChart(c.roster, DeskConditions(c.room.deskCount()), uniform).chart;
        } else {
            const RuleRun run = drawWithRules(c, DeskConditions(c.room.deskCount()), rules, uniform);
            if (run.status != RuleRun::Status::Drawn) {
                std::printf("year: a run drew no chart\n");
                std::exit(1);
            }
            chart = run.chart;
        }
        const QStringList seats = chartTexts(chart);
        const QSet<QString> now = together(seats, desks);
        year.repeats += int(QSet<QString>(now).intersect(seen).size());
        seen.unite(now);
        for (int d = 0; d < int(seats.size()); ++d) {
            if (book.inFront(d) && !seats[d].trimmed().isEmpty())
                ++front[seats[d]];
        }
        c.year.append({QStringLiteral("run%1").arg(change), QDateTime(), c.room, seats, {}});
    }
    int most = 0, fewest = changes;
    for (const QString &p : c.roster) {
        most = std::max(most, front.value(p));
        fewest = std::min(fewest, front.value(p));
    }
    year.frontSpread = most - fewest;
    year.charts = c.year;
    return year;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (!loadBenchSolver("year"))
        return 1;

    const SeatingContext pairs{pairsRoom(), names(35), {}, {}};
    const Rules fair{wish(Rule::Kind::NewDeskmates, 0), wish(Rule::Kind::EvenFrontBack)};
    const Year ruled = runYear(pairs, fair, 12, false, 1), plain = runYear(pairs, {}, 12, false, 1);
    std::printf("year deskmate-repeats: %d (plain: %d)\n", ruled.repeats, plain.repeats);
    std::printf("year front-spread: %d (plain: %d)\n", ruled.frontSpread, plain.frontSpread);
    Rules mustEven = fair;
    mustEven[1].must = true;
    const Year strict = runYear(pairs, mustEven, 12, false, 1);
    std::printf("year front-spread, even front and back a must: %d (deskmate-repeats: %d)\n", strict.frontSpread,
                strict.repeats);

    const SeatingContext groups{roomPresets().at(4).room, names(40), {}, {}};
    const Year grouped = runYear(groups, {wish(Rule::Kind::NewGroupmates)}, 8, true, 2),
               lottery = runYear(groups, {}, 8, true, 2);
    std::printf("year groupmate-repeats: %d (plain: %d)\n", grouped.repeats, lottery.repeats);

    // One run against a year of 40 plain charts, with every rule about earlier charts.
    SeatingContext forty = pairs;
    forty.year = runYear(pairs, {}, 40, false, 3).charts;
    const Rules all{wish(Rule::Kind::NewDesk, 3), wish(Rule::Kind::NewDeskmates, 0), wish(Rule::Kind::NewGroupmates),
                    wish(Rule::Kind::EvenFrontBack)};
    std::vector<double> ms;
    for (quint32 i = 0; i < 21; ++i) {
        const auto start = std::chrono::steady_clock::now();
        drawWithRules(forty, DeskConditions(35), all, seededUniformSource(i + 10));
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("year run-ms: %.3f (spread: min %.3f, 10%% %.3f, 90%% %.3f, max %.3f; target: under 50)\n",
                ms[ms.size() / 2], ms.front(), ms[ms.size() / 10], ms[ms.size() * 9 / 10], ms.back());
    return 0;
}
