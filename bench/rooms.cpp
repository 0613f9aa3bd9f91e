// Times what a room of any size costs, on the largest room (10 × 10, 100 pupils):
// narabin_bench_rooms. One line each: the median of 101 runs in milliseconds and
// "ok" or "SLOW" against its target.
#include "core/chart.h"
#include "core/chartlayout.h"
#include "core/placement.h"
#include "core/resultfile.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace
{

double medianMs(const std::function<void()> &work)
{
    std::vector<double> runs;
    for (int i = 0; i < 101; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        runs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

void report(const char *what, double ms, double targetMs)
{
    std::printf("rooms %-32s %8.3f ms  (target %g ms) %s\n", what, ms, targetMs, ms <= targetMs ? "ok" : "SLOW");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const Room room = Room::grid(10, 10);
    QStringList roster;
    for (int i = 1; i <= room.deskCount(); ++i)
        roster.append(QStringLiteral("生徒%1").arg(i));
    DeskConditions conditions(room.deskCount());
    conditions[0] = DeskCondition::pinned(roster.last());
    conditions[99] = DeskCondition::empty();
    roster.removeAt(50);
    quint32 seed = 1;
    Chart chart;
    report("run of 99 pupils, 100 desks",
           medianMs([&] { chart = drawChart(roster, conditions, seededUniformSource(seed++)).chart; }), 5);
    report("layout of 10 x 10, both sides", medianMs([&] {
               ChartLayout(room, false);
               ChartLayout(room, true);
           }),
           5);
    QByteArray bytes;
    QString error;
    report("result file of 100 desks, written", medianMs([&] { bytes = resultFileBytes(room, chart, &error); }), 5);
    report("result file of 100 desks, read", medianMs([&] { resultFromBytes(bytes); }), 5);
    return error.isEmpty() && resultFromBytes(bytes).ok ? 0 : 1;
}
