#include "about/helpviewer.h"
#include "core/commandline.h"
#include "core/installedpaths.h"
#include "core/rulesolve.h"
#include "seating/printing.h"
#include "shell/qtplatform.h"
#include "shell/qttranslation.h"
#include "shell/startupwindows.h"
#include "shell/windownavigator.h"
#include "widgets/keystate.h"
#include "widgets/programresources.h"
#include "widgets/ui.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QIcon>

#include <algorithm>
#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>

#include <string>
#endif
#include <cstring>

namespace
{

// The names the per-user folders are made of.
void nameProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("narabin"));
    QCoreApplication::setOrganizationName(QStringLiteral("Narabin"));
}

// What the command line asks to see. A windowed program on Windows has no console of
// its own: it writes to the one it was started from, in UTF-16, or to the file or pipe
// its output goes to, in the console's code page.
int print(FILE *stream, const QString &text, int exitCode)
{
#ifdef Q_OS_WIN
    const DWORD which = stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
    HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        if (AttachConsole(ATTACH_PARENT_PROCESS))
            handle = GetStdHandle(which);
    }
    DWORD mode = 0;
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        const std::wstring wide = text.toStdWString();
        DWORD written = 0;
        WriteConsoleW(handle, wide.c_str(), DWORD(wide.size()), &written, nullptr);
        return exitCode;
    }
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
        // cmd and PowerShell read a pipe or a redirected file in the console's code page
        // (932 on a Japanese Windows), not in UTF-8. narabin-cli reads UTF-8 and passes it on
        // in its console's code page: a windowed program has no console to ask.
        const UINT consoleCodePage = GetConsoleOutputCP() != 0 ? GetConsoleOutputCP() : GetACP();
        const UINT codePage =
            qEnvironmentVariable("NARABIN_OUTPUT_UTF8") == QLatin1String("1") ? CP_UTF8 : consoleCodePage;
        const std::wstring wide = text.toStdWString();
        const int size = WideCharToMultiByte(codePage, 0, wide.c_str(), int(wide.size()), nullptr, 0, nullptr, nullptr);
        std::string bytes(size_t(std::max(size, 0)), '\0');
        WideCharToMultiByte(codePage, 0, wide.c_str(), int(wide.size()), bytes.data(), size, nullptr, nullptr);
        DWORD written = 0;
        WriteFile(handle, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        return exitCode;
    }
#endif
    std::fputs(text.toLocal8Bit().constData(), stream);
    return exitCode;
}

// `narabin --paths`: start-up's settings step, then where the program works and what
// it found (the printing and solver libraries too), printed; no window and no display. Exit status 1
// when a file is missing.
int printPaths(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    nameProgram();
    PathReport report = startupPathReport(QCoreApplication::applicationDirPath());
    // Loaded as the first print loads it.
    QString library;
    if (printLibrary(nullptr, &library)) {
        report.text += QStringLiteral("print-library: ") + QDir::cleanPath(library) + QLatin1Char('\n');
    } else {
        report.text += QStringLiteral("print-library: (missing)\n");
        report.complete = false;
    }
    // And the rules solver, as the first run with rules loads it.
    QString solver;
    if (ruleSolver(nullptr, &solver)) {
        report.text += QStringLiteral("solver-library: ") + QDir::cleanPath(solver) + QLatin1Char('\n');
    } else {
        report.text += QStringLiteral("solver-library: (missing)\n");
        report.complete = false;
    }
    return print(stdout, report.text, report.complete ? 0 : 1);
}

// Where the windows can be shown. Qt would abort without one; the program says how to
// start it instead. A platform named outright (offscreen, say) is Qt's to judge.
bool displayAvailable()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    switch (commandLineAction(arguments, displayAvailable())) {
    case CommandLineAction::PrintPaths: return printPaths(argc, argv);
    case CommandLineAction::PrintHelp: return print(stdout, usageText(), 0);
    case CommandLineAction::PrintVersion: return print(stdout, versionText(), 0);
    case CommandLineAction::NoDisplay: return print(stderr, noDisplayText(), 1);
    case CommandLineAction::Start: break;
    }

    QApplication app(argc, argv);
    ensureProgramResources();
    nameProgram();
    QApplication::setDesktopFileName(QStringLiteral("narabin"));
    // The main window is closed while a result is shown; only the confirmed quit ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/narabin-64.png")));
    // Menus and Qt's own controls in the face of the rest of the windows' chrome.
    QApplication::setFont(makeFont(Face::UIGothic, 9));
    // Qt's own texts (file, colour and print dialogs, context menus) in Japanese, loaded
    // when first needed: the first frame has none of them.
    loadQtTranslationOnDemand();

    QtPlatform qtPlatform(showHelp);
    Services services;
    services.platform = &qtPlatform;
    installServices(&services);
    WindowNavigator windows;
    setNavigator(&windows);
    KeyStateTracker::instance().install();

    runStartup(QApplication::applicationDirPath());
    const int code = QApplication::exec();
    setNavigator(nullptr);
    installServices(nullptr);
    return code;
}
