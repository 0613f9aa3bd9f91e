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
        form<INITDISP>()->exec();
    NARABIN *main = form<NARABIN>();
    main->mnuLogoMark->setChecked(withSplash);

    RefreshDateTime();
    main->show();
    main->activateWindow();
}
