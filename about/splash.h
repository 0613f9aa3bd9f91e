#pragma once

#include "widgets/formwindow.h"

#include <QTimer>

// The splash shown at start-up; it closes itself after six seconds and no other way.
class INITDISP : public FormDialog {
    Q_OBJECT
public:
    INITDISP();
    void Timer1_Timer();

    QTimer *Timer1;

protected:
    void mousePressEvent(QMouseEvent *) override {}
    void keyPressEvent(QKeyEvent *) override {}
    void Form_QueryUnload(QCloseEvent *event) override { event->ignore(); }
};
