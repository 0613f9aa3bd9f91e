#include "core/installedpaths.h"

#include "core/settings.h"
#include "core/sharedstate.h"
#include "core/startup.h"
#include "core/textfile.h"

#include <QDir>
#include <QFileInfo>

QString findDragIconFile(const QString &programFolder, const QString &name)
{
    const QString here = findFileNoCase(QDir::currentPath(), name);
    if (!here.isEmpty())
        return QFileInfo(here).absoluteFilePath();
    const QString installed = findProgramDataFile(programFolder, name);
    return QFileInfo(installed).isFile() ? installed : QString();
}

PathReport startupPathReport(const QString &programFolder)
{
    // Only looked at: a check of an installation writes nothing, not even the defaults.
    const QString workingFolder = chooseWorkingFolder(programFolder, false);
    QDir::setCurrent(workingFolder);
    loadStartupSettings(programFolder, false);

    PathReport report;
    report.complete = true;
    auto line = [&report](const char *name, const QString &path) {
        report.text += QString::fromLatin1(name) + QStringLiteral(": ") + path + QLatin1Char('\n');
    };
    auto found = [&report, &line](const char *name, const QString &path, const QString &missing) {
        const bool there = !path.isEmpty() && QFileInfo(path).isFile();
        report.complete = report.complete && there;
        line(name, there ? QDir::cleanPath(path) : missing);
    };

    line("working-folder", QDir::cleanPath(workingFolder));
    line("settings", settingsLocation(state().SettingsAppName));
    found("help-file", state().HelpFilePath, QStringLiteral("(missing) ") + state().HelpFilePath);
    for (const char *icon : {"DRAG.ICO", "DRAG2.ICO"}) {
        const QString name = QString::fromLatin1(icon);
        found("drag-icon", findDragIconFile(programFolder, name), QStringLiteral("(built-in) ") + name);
    }
    return report;
}
