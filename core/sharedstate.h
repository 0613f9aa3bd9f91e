#pragma once

#include "core/classmodel.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>

// The desks of the standard room, and the names a roster held before rooms could change.
inline constexpr int SeatCount = 28;

// A colour value: 0x00BBGGRR, red in the low byte.
using ColorValue = quint32;

// The one record every window works on. Plain data, zero-filled at start.
struct SharedState {
    // Settings store address and help file.
    QString SettingsAppName;
    QString SettingsSection;
    QString HelpFilePath;

    // In-memory copies of the settings; the store keeps switches as "1" and "0".
    bool OptLogo = false;  // the splash screen at start
    bool OptPsbar = false; // the status bar on the printout
    QString OptMColor;
    bool OptFitToPage = false;   // the printed chart fills the page
    bool OptTeacherView = false; // the chart is shown and printed as seen from the teacher's desk
    // Colour settings keep the text they were read or written as ("&HFF" or "255");
    // users convert with colorFromText() at the moment they need the number.
    QString CountdownBackColor;
    QString CountdownForeColor;
    // A run keeps pupils off the seat, and apart from the neighbour, of the previous chart.
    bool OptNoSameSeat = false;
    bool OptNoSameNeighbour = false;

    // Main window appearance.
    ColorValue LogoColor = 0;
    ColorValue LogoShadowColor = 0;
    qint16 GradientRed = 0;
    qint16 GradientGreen = 0;
    qint16 GradientBlue = 0;

    QString TodayText;
    QString ClockText;

    // Room, roster, conditions and result.
    ClassModel openClass;
    // The chart (desk texts, desk 1 first) of the last run of each roster in this process, by rosterKey().
    QHash<QString, QStringList> LastCharts;

    // File names.
    QString RosterFileName;
    // The roster file of openClass: unlike RosterFileName, kept when the main window starts
    // afresh after a chart is accepted, so that the class's record is still found.
    QString ClassRosterPath;
    QString RenameSourceFile;
    QString ResultSaveFileName;
    QStringList ResultLogList;

    bool RosterFromFile = false;
    bool MatchFound = false;
    bool RosterEmpty = false;
    bool ResultShown = false;
    bool RosterLoaded = false;
    bool CountChanged = false;
    bool RosterEdited = false;
    // Only grows, so that menu items created by a recreated main window get
    // fresh indices; wide enough never to wrap in one run.
    int LogMenuCount = 0;

    // Whether row 2..10 is left off the printout (OptLine_<row>; rows 8..10, which only a
    // deeper room has, are stored once set, never as a default).
    bool &optLine(int row);
    bool optLine(int row) const;

private:
    std::array<bool, Room::MaxRows + 1> OptLine_{};
};

// The process-wide instance.
SharedState &state();
// Back to the zero-filled record (tests start each case from here).
void resetState();
