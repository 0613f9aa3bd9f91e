#pragma once

#include "core/message.h"

#include <QString>

// Where the version window's links look for the mail program and the browser on
// Windows: fixed paths under the drive Windows is installed on, the browser's
// path depending on the system.

// The fields of the system's version record that decide.
struct WindowsVersion {
    unsigned platformId = 0; // 1: Windows 95/98/Me, 2: NT-based
    unsigned major = 0;
    unsigned minor = 0;
};

// "C:\" from "C:\WINDOWS": the first three characters of the WinDir variable.
QString windowsDrivePrefix(const QString &winDir);

// "Windows95", "Windows98", "WindowsNT", "Windows2000" (every later NT-based system
// too), or the empty string for any other platform.
QString windowsSystemName(const WindowsVersion &version);

// The mail program whose presence decides whether the mail link works.
QString windowsMailProgramPath(const QString &drivePrefix);

// The browser for the system; the empty string where there is none to look for.
QString windowsBrowserPath(const QString &drivePrefix, const QString &systemName);

// The command line the browser is started with: its (quoted) path, a blank, the address.
QString windowsBrowserCommandLine(const QString &browserPath, const QString &url);

// What the version window says when a link finds nothing to start: on Windows it names
// the programs it looks for; elsewhere the kind of program the desktop lacks.
enum class LinkProgram { Mail, Browser };
MessageText linkProgramMissingMessage(LinkProgram program, bool onWindows);
