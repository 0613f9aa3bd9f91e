#pragma once

#include "widgets/formwindow.h"

#include <QTimer>

#include <array>
#include <vector>

class QLabel;
class QProgressBar;
class QScreen;

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
    // Shows the countdown over the whole of `screen`, modal, its lettering scaled up with it
    // and centred; exec() then waits for it as for the window.
    void fillScreen(QScreen *screen);

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
    void resizeEvent(QResizeEvent *event) override;

private:
    void applyColours();
    // The controls at their table places, scaled by one factor into the window's middle.
    void scaleControls();

    struct Placed {
        QWidget *control;
        QRect geometry;
        QFont font;
    };
    std::vector<Placed> tablePlaces_;
    int progressStep_ = 0;
};
