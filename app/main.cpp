#include "app/programresources.h"
#include "app/startupwindows.h"
#include "platform/keystate.h"
#include "platform/qtplatform.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ensureProgramResources();
    QApplication::setApplicationName(QStringLiteral("narabin"));
    QApplication::setOrganizationName(QStringLiteral("Narabin"));
    QApplication::setDesktopFileName(QStringLiteral("narabin"));
    // The main window is closed while a result is shown; only the confirmed quit ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/narabin-64.png")));

    // Qt's own dialogs (file, colour, print) in Japanese where the translation is installed.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    QtPlatform platformImpl;
    setPlatform(&platformImpl);
    KeyStateTracker::instance().install();

    runStartup(QApplication::applicationDirPath());
    const int code = QApplication::exec();
    setPlatform(nullptr);
    return code;
}
