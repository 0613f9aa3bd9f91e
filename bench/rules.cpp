// Times and checks the rules solver: narabin_bench_rules. Prints
//   rules chart-ms: <median>            a chart for 64 desks, 60 pupils and 30 must rules
//   rules impossible-ms: <median>       the same rules with one that cannot hold: the clash found
//   rules chi2-p-min: <p>               the smallest p-value of the fairness tests times their number
// and, beside them, the spread of the timings, the plain draw and the statistics of each fairness test.
#include "bench/benchsolver.h"
#include "core/placement.h"
#include "core/rulesolve.h"

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace
{

// The median time of `runs` calls; with `name`, the spread printed beside it.
double medianMs(int runs, const std::function<void(int)> &work, const char *name = nullptr)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work(i);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    if (name)
        std::printf("rules %s spread: min %.3f, 10%% %.3f, 90%% %.3f, max %.3f ms\n", name, ms.front(),
                    ms[ms.size() / 10], ms[ms.size() * 9 / 10], ms.back());
    return ms[ms.size() / 2];
}

// The upper tail of the χ² distribution: Q(k/2, x/2), by the series or the continued fraction.
double chi2Tail(double x, int k)
{
    const double a = k / 2.0, z = x / 2.0;
    if (z <= 0)
        return 1;
    const double lead = std::exp(-z + a * std::log(z) - std::lgamma(a));
    if (z < a + 1) {
        double sum = 1 / a, term = 1 / a;
        for (int n = 1; n < 1000; ++n) {
            term *= z / (a + n);
            sum += term;
        }
        return 1 - lead * sum;
    }
    double b = z + 1 - a, c = 1e300, d = 1 / b, h = d;
    for (int i = 1; i < 1000; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        c = b + an / c;
        d = 1 / d;
        h *= d * c;
    }
    return lead * h;
}

QStringList names(int count)
{
    QStringList out;
    for (int i = 1; i <= count; ++i)
        out.append(QStringLiteral("P%1").arg(i));
    return out;
}

Rule rule(Rule::Kind kind, QStringList pupils, int distance = 2)
{
    Rule r;
    r.kind = kind;
    r.pupils = pupils;
    r.distance = distance;
    r.tag = QStringLiteral("班長");
    return r;
}

// 8 × 8 desks in pairs and 班 of four (2 × 2), 60 pupils, boys and girls by column so that
// a chart of them alternates, and 30 rules that the chart `reference` keeps.
struct Large {
    SeatingContext context;
    Rules rules;
};

Large largeClass()
{
    Large l;
    Room room = Room::grid(8, 8);
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column) {
            room.setGroup({row, column}, row / 2 * 4 + column / 2 + 1);
            if (column % 2 == 0)
                room.joinPair({row, column});
        }
    }
    l.context = {room, names(60), {}, {}};
    QRandomGenerator random(5);
    QList<int> desks;
    for (int d = 1; d <= 64; ++d)
        desks.append(d);
    std::shuffle(desks.begin(), desks.end(), random);
    QHash<QString, int> at;
    QSet<int> leaderGroups;
    for (int p = 0; p < 60; ++p) {
        const QString &name = l.context.roster[p];
        at[name] = desks[p];
        const RoomCell cell = *room.cellOfDesk(desks[p]);
        PupilInfo &info = l.context.info[name];
        info.gender = cell.column % 2 ? Gender::Girl : Gender::Boy;
        if (!leaderGroups.contains(room.groupOf(desks[p]))) {
            leaderGroups.insert(room.groupOf(desks[p]));
            info.tags = {QStringLiteral("班長")};
        }
    }
    const auto cell = [&](const QString &p) { return *room.cellOfDesk(at[p]); };
    const auto distance = [&](const QString &a, const QString &b) {
        return std::max(std::abs(cell(a).row - cell(b).row), std::abs(cell(a).column - cell(b).column));
    };
    for (int i = 0; l.rules.size() < 26; i += 2) {
        const QString a = l.context.roster[i], b = l.context.roster[i + 1];
        switch (i / 2 % 4) {
        case 0: {
            Rule r = rule(Rule::Kind::Zone, {a});
            r.zone = {Zone::Kind::Rows, cell(a).row + 1, 2, {}};
            if (cell(a).row == 7)
                r.zone.first = 7;
            l.rules.append(r);
            break;
        }
        case 1: l.rules.append(rule(Rule::Kind::Apart, {a, b}, std::max(1, distance(a, b)))); break;
        case 2: l.rules.append(rule(Rule::Kind::Near, {a, b}, std::max(1, distance(a, b)))); break;
        case 3: l.rules.append(rule(Rule::Kind::ApartGroups, {a, b})); break;
        }
        if (room.groupOf(at[a]) == room.groupOf(at[b]) && l.rules.last().kind == Rule::Kind::ApartGroups)
            l.rules.removeLast();
    }
    l.rules << rule(Rule::Kind::LeaderPerGroup, {}) << rule(Rule::Kind::GenderBalance, {})
            << rule(Rule::Kind::Alternate, {}) << rule(Rule::Kind::MixedPairs, {});
    return l;
}

struct Fairness {
    const char *name;
    double pMin = 1;
    int tests = 0;
};

// Each pupil's desk counts over `runs` charts against `expected` (probabilities by desk).
void chi2(Fairness &f, const QList<QList<int>> &counts, const QList<QList<double>> &expected, int runs)
{
    for (qsizetype p = 0; p < counts.size(); ++p) {
        double x = 0;
        int cells = 0;
        for (qsizetype d = 0; d < counts[p].size(); ++d) {
            const double e = expected[p][d] * runs;
            if (e <= 0)
                continue;
            x += (counts[p][d] - e) * (counts[p][d] - e) / e;
            ++cells;
        }
        if (cells < 2)
            continue;
        f.pMin = std::min(f.pMin, chi2Tail(x, cells - 1));
        ++f.tests;
    }
}

Fairness fairness(const char *name, const SeatingContext &c, const DeskConditions &conditions, const Rules &rules,
                  const QStringList &tested, const QList<QList<double>> &expected, int runs)
{
    Fairness f{name};
    QList<QList<int>> counts(tested.size(), QList<int>(c.room.deskCount(), 0));
    for (int run = 0; run < runs; ++run) {
        const RuleRun r = drawWithRules(c, conditions, rules, seededUniformSource(quint32(run * 7919 + 1)));
        for (qsizetype d = 0; d < r.chart.size(); ++d) {
            const qsizetype p = tested.indexOf(r.chart[d].pupil);
            if (p >= 0)
                ++counts[p][d];
        }
    }
    chi2(f, counts, expected, runs);
    std::printf("rules fairness %-34s %d pupils tested, smallest p %.4f\n", name, f.tests, f.pMin);
    return f;
}

QList<double> uniformOver(const QList<int> &desks, int all)
{
    QList<double> p(all, 0);
    for (int d : desks)
        p[d - 1] = 1.0 / desks.size();
    return p;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (!loadBenchSolver("rules"))
        return 1;
    const Large large = largeClass();
    const DeskConditions free64(64);
    int broken = 0;
    const double chartMs = medianMs(
        100,
        [&](int i) {
            const RuleRun r = drawWithRules(large.context, free64, large.rules, seededUniformSource(quint32(i + 1)));
            broken += r.status != RuleRun::Status::Drawn || !brokenRules(large.rules, large.context, r.chart).isEmpty();
        },
        "chart");
    const double plainMs =
        medianMs(100, [&](int i) { drawChart(large.context.roster, free64, seededUniformSource(quint32(i + 1))); });
    std::printf("rules chart-ms: %.3f\n", chartMs);
    std::printf("rules plain draw of the same class: %.3f ms; charts breaking a rule: %d (target: under 20 ms, 0)\n",
                plainMs, broken);

    Rules impossible = large.rules;
    impossible.append(rule(Rule::Kind::Zone, names(60).mid(30, 9)));
    impossible.last().zone = {Zone::Kind::FrontRows, 1, 1, {}};
    QString clash;
    const double impossibleMs = medianMs(
        20,
        [&](int i) {
            const RuleRun r = drawWithRules(large.context, free64, impossible, seededUniformSource(quint32(i + 1)));
            clash = r.status == RuleRun::Status::Impossible ? clashMessage(r) : QStringLiteral("(not impossible)");
        },
        "impossible");
    std::printf("rules impossible-ms: %.3f\n", impossibleMs);
    std::printf("rules clash found: %s (target: under 300 ms)\n", qPrintable(clash));

    // Fairness on three symmetric set-ups of the standard room with 28 pupils.
    const int runs = 2000;
    const Room standard = Room::standard();
    const SeatingContext plain{standard, names(28), {}, {}};
    const DeskConditions free28(28);
    QList<Fairness> all;
    {
        Rule front = rule(Rule::Kind::Zone, {"P1", "P2", "P3"});
        front.zone = {Zone::Kind::FrontRows, 1, 2, {}};
        const QList<double> p = uniformOver(front.zone.desksIn(standard), 28);
        all << fairness("a zone of 8 desks for 3 pupils", plain, free28, {front}, {"P1", "P2", "P3"}, {p, p, p}, runs);
    }
    {
        // The exact chances of the four pupils of two apart pairs, by counting every placement.
        const Rules apart{rule(Rule::Kind::Apart, {"P1", "P2"}), rule(Rule::Kind::Apart, {"P3", "P4"})};
        QList<QList<double>> p(4, QList<double>(28, 0));
        double total = 0;
        const auto far = [&](int a, int b) {
            const RoomCell x = *standard.cellOfDesk(a), y = *standard.cellOfDesk(b);
            return std::max(std::abs(x.row - y.row), std::abs(x.column - y.column)) >= 2;
        };
        for (int a = 1; a <= 28; ++a)
            for (int b = 1; b <= 28; ++b)
                for (int c = 1; c <= 28; ++c)
                    for (int d = 1; d <= 28; ++d) {
                        if (a == b || a == c || a == d || b == c || b == d || c == d || !far(a, b) || !far(c, d))
                            continue;
                        ++total;
                        ++p[0][a - 1], ++p[1][b - 1], ++p[2][c - 1], ++p[3][d - 1];
                    }
        for (auto &pupil : p)
            for (double &v : pupil)
                v /= total;
        all << fairness("two apart pairs", plain, free28, apart, {"P1", "P2", "P3", "P4"}, p, runs);
    }
    {
        SeatingContext mixed = plain;
        for (int i = 0; i < 28; ++i)
            mixed.info[mixed.roster[i]].gender = i % 2 ? Gender::Girl : Gender::Boy;
        const QList<double> p = uniformOver(Zone{Zone::Kind::FrontRows, 1, 7, {}}.desksIn(standard), 28);
        all << fairness("boys and girls alternating", mixed, free28, {rule(Rule::Kind::Alternate, {})}, names(28),
                        QList<QList<double>>(28, p), runs);
    }
    int tests = 0;
    double pMin = 1;
    for (const Fairness &f : all) {
        tests += f.tests;
        pMin = std::min(pMin, f.pMin);
    }
    std::printf("rules chi2-p-min: %.4f\n", std::min(1.0, pMin * tests));
    std::printf("rules fairness: %d tests of %d charts each; a value under 0.01 says some pupil is not drawn fairly\n",
                tests, runs);
    return 0;
}
