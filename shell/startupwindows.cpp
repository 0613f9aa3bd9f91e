#include "shell/startupwindows.h"

#include "about/splash.h"
#include "core/clock.h"
#include "core/startup.h"
#include "mainwin/mainwindow.h"

#include <QDir>

void runStartup(const QString &programFolder)
{
    QDir::setCurrent(chooseWorkingFolder(programFolder));
    loadStartupSettings(programFolder);

    const bool withSplash = state().OptLogo == QLatin1String("1");
    if (withSplash)
        form<SplashScreen>()->exec();
    MainWindow *main = form<MainWindow>();
    main->splashAction->setChecked(withSplash);

    refreshDateTime();
    main->show();
    main->activateWindow();
}
