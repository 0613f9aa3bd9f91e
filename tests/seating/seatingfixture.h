#pragma once
// What the seating tests share: the main window with a roster and a countdown driver.
#include "core/startup.h"
#include "mainwin/mainwindow.h"
#include "seating/countdown.h"
#include "support/fixtures.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>

#include <memory>

// Start-up's settings, a roster and seat conditions in the shared state, and the main window shown.
inline MainWindow *mainWithRoster(const QStringList &roster, const SeatMap &conditions = {})
{
    loadStartupSettings(QDir::currentPath());
    putRoster(state(), roster, conditions);
    MainWindow *main = form<MainWindow>();
    main->show();
    return main;
}

// A rule of `kind` for `names`; a zone keeps them in the front `rows` rows, or at `desks`.
inline Rule ruleOf(Rule::Kind kind, const QStringList &names, bool must = true, int rows = 1,
                   const QList<int> &desks = {})
{
    Rule r;
    r.kind = kind;
    r.must = must;
    r.pupils = names;
    r.zone = {desks.isEmpty() ? Zone::Kind::FrontRows : Zone::Kind::Desks, 1, rows, desks};
    return r;
}

// What the countdown showed while a run waited for it: number, face and bar per step.
struct CountdownSeen {
    bool modal = false;
    bool timerRunning = false;
    bool fullScreen = false;
    QRect geometry, numberBox; // the window's and the number's, when it was shown
    qreal facePoints = 0;
    QList<QColor> colours; // inside the number's box and beside it
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
        const QImage image = w->grab().toImage();
        seen->colours = {image.pixelColor(seen->numberBox.topLeft() + QPoint(4, 4)),
                         image.pixelColor(seen->numberBox.left() - 2, seen->numberBox.center().y())};
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
