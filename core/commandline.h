#pragma once

#include <QString>
#include <QStringList>

// What the program does with its command line. It takes no arguments of its own for
// its work; these ask about it and end at once, none of them needs a display.
enum class CommandLineAction {
    Start,        // the windows
    PrintPaths,   // --paths: where it works and what it found
    PrintHelp,    // --help, -h
    PrintVersion, // --version, -v
    NoDisplay,    // no display to show the windows on: how to start it
};

// `arguments` without the program's own name. Arguments that are not the program's
// (Qt's own, such as -platform) are left to Qt and start the program.
CommandLineAction commandLineAction(const QStringList &arguments, bool displayAvailable);

#ifdef Q_OS_WIN
inline constexpr bool CommandLineOfWindows = true;
#else
inline constexpr bool CommandLineOfWindows = false;
#endif
// What --help prints: on Windows how to see the output and the exit status in a console,
// elsewhere which display the windows need.
QString usageText(bool windows = CommandLineOfWindows);
QString versionText();
QString noDisplayText();
