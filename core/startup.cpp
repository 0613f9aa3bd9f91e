#include "core/startup.h"

#include "core/colors.h"
#include "core/settings.h"
#include "core/sharedstate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace
{

bool canWriteIn(const QString &folder)
{
    if (!QFileInfo(folder).isWritable())
        return false;
    QFile probe(QDir(folder).filePath(QStringLiteral(".narabin-write-probe")));
    if (!probe.open(QIODevice::WriteOnly))
        return false;
    probe.close();
    probe.remove();
    return true;
}

// Reads a setting; a missing one is written with its default and the default is used.
QString settingOrDefault(const char *key, const char *defaultValue)
{
    const QString k = QString::fromLatin1(key);
    QString value = readSetting(k);
    if (value.isEmpty()) {
        value = QString::fromLatin1(defaultValue);
        writeSetting(k, value);
    }
    return value;
}

} // namespace

// An installed program (bin/ with its data in ../share/narabin) never writes beside
// itself, even when it could (run by root, say); a portable copy keeps its data with it.
bool isInstalledLayout(const QString &programFolder)
{
    const QDir program(programFolder);
    return !QFileInfo(program.filePath(QString::fromLatin1(HelpFileName))).isFile() &&
           QFileInfo(program.filePath(QStringLiteral("../share/narabin"))).isDir();
}

QString chooseWorkingFolder(const QString &programFolder)
{
    if (!isInstalledLayout(programFolder) && canWriteIn(programFolder))
        return programFolder;
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(userFolder);
    return userFolder;
}

QString findProgramDataFile(const QString &programFolder, const QString &name)
{
    const QDir program(programFolder);
    const QStringList candidates{program.filePath(name), program.filePath(QStringLiteral("../share/narabin/") + name)};
    for (const QString &candidate : candidates) {
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    }
    const QString located =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("narabin/") + name);
    return located.isEmpty() ? program.filePath(name) : located;
}

void loadStartupSettings(const QString &programFolder)
{
    SharedState &s = state();
    s.SettingsAppName = QString::fromLatin1(ProgramTitle);
    s.SettingsSection = QStringLiteral("Config");
    s.HelpFilePath = findProgramDataFile(programFolder, QString::fromLatin1(HelpFileName));

    s.OptLogo = settingOrDefault("OptLogo", "1");
    s.OptPsbar = settingOrDefault("OptPsbar", "1");
    for (int row = 2; row <= 7; ++row)
        s.optLine(row) = settingOrDefault(QStringLiteral("OptLine_%1").arg(row).toLatin1().constData(), "0");
    // The first run uses the stored default too, so every run sees the same red.
    s.CountdownBackColor = settingOrDefault("OptBColor", "&HFF");
    s.CountdownForeColor = settingOrDefault("OptFColor", "&HFFFFFF");

    s.OptMColor = readSetting(QStringLiteral("OptMColor"));
    if (s.OptMColor.isEmpty() || s.OptMColor == QLatin1String("1")) {
        s.OptMColor = QStringLiteral("1");
        writeSetting(QStringLiteral("OptMColor"), s.OptMColor);
    }
    if (const auto preset = mainColorPreset(s.OptMColor))
        applyMainColorPreset(s, *preset);

    s.RosterEmpty = false;
    s.ResultShown = false;
    s.RosterLoaded = false;
    s.CountChanged = false;
    s.RosterEdited = false;
}
