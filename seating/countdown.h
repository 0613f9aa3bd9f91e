#pragma once

#include "widgets/formwindow.h"

#include <QTimer>

class QLabel;
class QProgressBar;

// The countdown shown before a seat change: 10 down to 0, one step a second, then it
// closes itself.
class WAIT : public FormDialog {
    Q_OBJECT
public:
    WAIT();

    void Form_Load() override;
    void Timer1_Timer();

    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7;
    QProgressBar *ProgressBar1;
    QTimer *Timer1;

protected:
    void Form_Activate() override;
    void showEvent(QShowEvent *event) override;

private:
    void applyColours();
    int progressStep_ = 0;
};
