#include "shell/startupwindows.h"

#include "about/splash.h"
#include "core/clock.h"
#include "core/settings.h"
#include "core/startup.h"
#include "mainwin/mainwindow.h"
#include "platform/platform.h"

#include <QDir>

void runStartup(const QString &programFolder)
{
    QDir::setCurrent(chooseWorkingFolder(programFolder));
    const QString notStored = loadStartupSettings(programFolder);

    const bool withSplash = state().OptLogo;
    if (withSplash)
        form<SplashScreen>()->exec();
    MainWindow *main = form<MainWindow>();

    refreshDateTime();
    main->show();
    main->activateWindow();
    // The program runs on its defaults all the same; one message tells why they were not stored.
    if (!notStored.isEmpty())
        showMessage(main,
                    QStringLiteral("設定の初期値を保存できませんでした。\r%1\r保存先: %2\r今回は初期値で起動します。")
                        .arg(notStored, settingsLocation(state().SettingsAppName)),
                    MsgStyle::Exclamation, QStringLiteral("設定の保存エラー"));
}
