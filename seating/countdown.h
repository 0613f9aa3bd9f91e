#pragma once

#include "widgets/formwindow.h"

#include <QTimer>

#include <array>

class QLabel;
class QProgressBar;

// The countdown shown before a seat change: 10 down to 0, one step a second, then it
// closes itself.
class CountdownWindow : public FormDialog
{
    Q_OBJECT
public:
    CountdownWindow();

    void onLoad() override;
    // One second: the number down by one, the face and the bar with it; at 0 the window goes.
    void tick();

    // The lettering: "今回は、だれの", "隣りかなぁ・・・。(*^_^*)", "わくわく、どきどき・・・。",
    // "結果が出るまであと・・・" and "秒".
    std::array<QLabel *, 5> captions{};
    QLabel *face = nullptr;      // changes with the number
    QLabel *numberBox = nullptr; // 10 down to 0
    QProgressBar *progressBar = nullptr;
    QTimer *ticker = nullptr;

protected:
    void onActivate() override;
    void showEvent(QShowEvent *event) override;

private:
    void applyColours();
    int progressStep_ = 0;
};
