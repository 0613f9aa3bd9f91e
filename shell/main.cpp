#include "about/helpviewer.h"
#include "core/installedpaths.h"
#include "shell/qtplatform.h"
#include "shell/startupwindows.h"
#include "shell/windownavigator.h"
#include "widgets/keystate.h"
#include "widgets/programresources.h"

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstring>

namespace
{

// The names the per-user folders are made of.
void nameProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("narabin"));
    QCoreApplication::setOrganizationName(QStringLiteral("Narabin"));
}

// `narabin --paths`: start-up's settings step, then where the program works and what
// it found, printed; no window and no display. Exit status 1 when a file is missing.
int printPaths(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    nameProgram();
    const PathReport report = startupPathReport(QCoreApplication::applicationDirPath());
    std::fputs(report.text.toLocal8Bit().constData(), stdout);
    return report.complete ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "--paths") == 0)
        return printPaths(argc, argv);

    QApplication app(argc, argv);
    ensureProgramResources();
    nameProgram();
    QApplication::setDesktopFileName(QStringLiteral("narabin"));
    // The main window is closed while a result is shown; only the confirmed quit ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/narabin-64.png")));

    // Qt's own dialogs (file, colour, print) in Japanese where the translation is installed.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

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
