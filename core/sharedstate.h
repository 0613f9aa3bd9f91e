#pragma once

#include "core/classmodel.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QtGlobal>

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

    // In-memory copies of the settings.
    QString OptLogo;
    QString OptPsbar;
    QString OptLine_2;
    QString OptLine_3;
    QString OptLine_4;
    QString OptLine_5;
    QString OptLine_6;
    QString OptLine_7;
    // Rows only a deeper room has: stored once set, never as a default.
    QString OptLine_8;
    QString OptLine_9;
    QString OptLine_10;
    QString OptMColor;
    QString OptFitToPage;   // "1": the printed chart fills the page
    QString OptTeacherView; // "1": the chart is shown and printed as seen from the teacher's desk
    // Colour settings keep the text they were read or written as ("&HFF" or "255");
    // users convert with colorFromText() at the moment they need the number.
    QString CountdownBackColor;
    QString CountdownForeColor;
    // "1": a run keeps pupils off the seat, and apart from the neighbour, of the previous chart.
    QString OptNoSameSeat;
    QString OptNoSameNeighbour;

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

    // The non-printed-row setting of row 2..7 ("1" = row left off the printout).
    // Rows 2..Room::MaxRows.
    QString &optLine(int row);
    const QString &optLine(int row) const;
};

// The process-wide instance.
SharedState &state();
// Back to the zero-filled record (tests start each case from here).
void resetState();
