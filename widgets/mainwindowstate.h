#pragma once

#include <QObject>

// Which of the main window's commands are on. The windows that change them do it here;
// the main window follows the signal. A main window starts in its roster state.
class MainWindowState : public QObject
{
    Q_OBJECT
public:
    // Roster state: new and open on, conditions and run off.
    bool conditionsMode() const { return conditionsMode_; }
    bool previousResultOn() const { return previousResultOn_; }

    // As a main window loads: the roster state, the previous result as given.
    void startRosterState(bool previousResultOn);
    // As the condition editor loads: new and open off, conditions and run on.
    void enterConditionsState();
    // A chart was made or shown: "先程の結果" can show it.
    void enablePreviousResult();

signals:
    void changed();

private:
    bool conditionsMode_ = false;
    bool previousResultOn_ = false;
};

MainWindowState &mainWindowState();
