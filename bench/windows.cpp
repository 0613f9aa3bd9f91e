// Times the windows of the largest room (10 × 10 desks, 100 pupils), and the seat record of
// a year of 40 charts (35 pupils in 7 × 5 desks in pairs), from nothing to shown and painted:
// narabin_bench_windows. One line each: the median of 21 openings and "ok" or "SLOW" against
// 150 ms. Run it under a display (scripts/bench uses Xvfb).
#include "core/classfile.h"
#include "core/sharedstate.h"
#include "mainwin/seatrecordwindow.h"
#include "roster/rostereditor.h"
#include "seating/conditioneditor.h"
#include "seating/resultwindow.h"
#include "shell/qtplatform.h"
#include "shell/windownavigator.h"
#include "widgets/formregistry.h"
#include "widgets/programresources.h"

#include <QApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace
{

// Opens the window, lets it paint, and closes it again.
double medianMs(const std::function<QWidget *()> &open, const std::function<void()> &close)
{
    std::vector<double> runs;
    for (int i = 0; i < 21; ++i) {
        const auto start = std::chrono::steady_clock::now();
        QWidget *window = open();
        window->repaint();
        QApplication::processEvents();
        runs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        close();
        QApplication::processEvents();
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

void report(const char *what, double ms)
{
    std::printf("windows %-40s %8.1f ms  (target 150 ms) %s\n", what, ms, ms <= 150 ? "ok" : "SLOW");
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ensureProgramResources();
    const QTemporaryDir home;
    QtPlatform qtPlatform([](QWidget *, const QString &, int, int) {});
    Services services;
    services.platform = &qtPlatform;
    services.settingsFolder = home.path();
    installServices(&services);
    WindowNavigator windows;
    setNavigator(&windows);

    ClassModel &c = state().openClass;
    c.setRoom(Room::grid(10, 10));
    QStringList texts;
    for (int i = 1; i <= 100; ++i) {
        c.pupils.append(QStringLiteral("生徒%1 花子").arg(i));
        texts.append(c.pupils.last());
    }
    report("result window", medianMs(
                                [&] {
                                    ResultWindow *w = form<ResultWindow>();
                                    w->setChart(c.room, texts);
                                    w->show();
                                    return w;
                                },
                                [] { unload<ResultWindow>(); }));
    report("roster editor", medianMs(
                                [&] {
                                    RosterEditor *w = form<RosterEditor>();
                                    w->showRoom(c.room);
                                    w->show();
                                    return w;
                                },
                                [] { unload<RosterEditor>(); }));
    report("condition editor", medianMs(
                                   [] {
                                       showConditionEditor();
                                       return loadedForm<ConditionEditor>();
                                   },
                                   [] { unload<ConditionEditor>(); }));

    // The record reads the class file's 40 charts each time it opens, as from the menu.
    Room pairs = Room::grid(7, 5);
    for (int row = 0; row < pairs.rows(); ++row) {
        pairs.joinPair({row, 0});
        pairs.joinPair({row, 2});
    }
    c.pupils = texts.mid(0, pairs.deskCount());
    state().RosterFileName = QDir(home.path()).filePath(QStringLiteral("1組.MEM"));
    QRandomGenerator random(1);
    const QString error = changeClassFile(state().RosterFileName, [&](ClassData &data) {
        data.charts = Ledger{};
        for (int chart = 0; chart < 40; ++chart) {
            QStringList seats = c.pupils;
            std::shuffle(seats.begin(), seats.end(), random);
            data.charts->append({newRunName(), QDateTime::currentDateTime(), pairs, seats, {}});
        }
    });
    if (!error.isEmpty())
        qFatal("the class file was not written: %s", qPrintable(error));
    report("seat record of 40 charts", medianMs(
                                           [] {
                                               seatRecordCommand();
                                               return loadedForm<SeatRecordWindow>();
                                           },
                                           [] { unload<SeatRecordWindow>(); }));
    setNavigator(nullptr);
    installServices(nullptr);
    return 0;
}
