#pragma once

#include "widgets/formwindow.h"

#include <QTimer>

// The splash shown at start-up; it closes itself after six seconds and no other way.
class SplashScreen : public FormDialog
{
    Q_OBJECT
public:
    SplashScreen();
    void timedOut();

    QTimer *closeTimer;

protected:
    void mousePressEvent(QMouseEvent *) override {}
    void keyPressEvent(QKeyEvent *) override {}
    void onCloseRequest(QCloseEvent *event) override { event->ignore(); }
};
