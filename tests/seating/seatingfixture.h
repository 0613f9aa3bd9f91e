#pragma once
// What the seating tests share: pupils, seat maps, the main window with a roster, file
// bytes and a countdown driver.
#include "core/startup.h"
#include "mainwin/mainwindow.h"
#include "seating/countdown.h"
#include "support/testenv.h"

#include <QApplication>
#include <QLabel>
#include <QMap>
#include <QProgressBar>
#include <QStringList>

#include <memory>

using SeatMap = QMap<int, QString>;

inline QStringList pupils(int count)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names.append(QStringLiteral("生徒%1").arg(i));
    return names;
}

// Seats first..last marked empty.
inline SeatMap emptySeats(int first, int last)
{
    SeatMap map;
    for (int k = first; k <= last; ++k)
        map[k] = QStringLiteral("-");
    return map;
}

// Start-up's settings, a roster and seat conditions in the shared state, and the main window shown.
inline MainWindow *mainWithRoster(const QStringList &roster, const SeatMap &conditions = {})
{
    loadStartupSettings(QDir::currentPath());
    SharedState &s = state();
    for (int i = 0; i < roster.size(); ++i)
        s.PupilNames[size_t(i + 1)] = roster.at(i);
    s.PupilCount = quint8(roster.size());
    for (auto it = conditions.cbegin(); it != conditions.cend(); ++it)
        s.SeatConditions[size_t(it.key())] = it.value();
    MainWindow *main = form<MainWindow>();
    main->show();
    return main;
}

// The bytes the program writes for these lines: CP932, each ended by CR LF.
inline QByteArray crlfLines(const QStringList &texts)
{
    QByteArray bytes;
    for (const QString &t : texts)
        bytes += sjis(t) + "\r\n";
    return bytes;
}

inline QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// What the countdown showed while a run waited for it: number, face and bar per step.
struct CountdownSeen {
    bool modal = false;
    bool timerRunning = false;
    bool fullScreen = false;
    QRect geometry, numberBox; // the window's and the number's, when it was shown
    qreal facePoints = 0;
    int ticks = 0;
    QStringList numbers, faces;
    QList<int> bars;
};

// Once the run shows the countdown, ticks it until it closes itself.
inline std::shared_ptr<CountdownSeen> driveCountdown()
{
    auto seen = std::make_shared<CountdownSeen>();
    whenModal([seen] {
        CountdownWindow *w = loadedForm<CountdownWindow>();
        if (!w)
            return;
        seen->modal = w->isVisible() && QApplication::activeModalWidget() == w;
        seen->timerRunning = w->ticker->isActive();
        seen->fullScreen = w->isFullScreen();
        seen->geometry = w->geometry();
        seen->numberBox = w->numberBox->geometry();
        seen->facePoints = w->face->font().pointSizeF();
        while (!w->isUnloaded() && seen->ticks < 20) {
            seen->numbers.append(w->numberBox->text());
            seen->faces.append(w->face->text());
            seen->bars.append(w->progressBar->value());
            w->tick();
            ++seen->ticks;
        }
    });
    return seen;
}
