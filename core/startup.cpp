#include "core/startup.h"

#include "core/colors.h"
#include "core/settings.h"
#include "core/sharedstate.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace
{

// The settings as start-up reads them: all at once; a missing one is written with its
// default (when writing is allowed) and the default is used.
class StartupSettings
{
public:
    explicit StartupSettings(bool storeDefaults)
        : stored_(settingValues(state().SettingsAppName, state().SettingsSection)), storeDefaults_(storeDefaults)
    {
    }

    QString value(const QString &key) const { return stored_.value(key.toLower()); }

    QString orDefault(const QString &key, const char *defaultValue)
    {
        QString v = value(key);
        if (v.isEmpty()) {
            v = QString::fromLatin1(defaultValue);
            store(key, v);
        }
        return v;
    }

    void store(const QString &key, const QString &v)
    {
        // After one failure the rest would fail alike, each after its own wait.
        if (storeDefaults_ && failure_.isEmpty())
            failure_ = writeSetting(key, v);
    }

    QString failure() const { return failure_; }

private:
    QHash<QString, QString> stored_;
    bool storeDefaults_;
    QString failure_;
};

} // namespace

// An installed program (bin/ with its data in ../share/narabin) never writes beside
// itself, even when it could (run by root, say); a portable copy keeps its data with it.
bool isInstalledLayout(const QString &programFolder)
{
    const QDir program(programFolder);
    return !QFileInfo(program.filePath(QString::fromLatin1(HelpFileName))).isFile() &&
           QFileInfo(program.filePath(QStringLiteral("../share/narabin"))).isDir();
}

QString workingFolderFor(const WorkingFolderFacts &facts)
{
    // Without a Documents folder (a roaming profile, a policy) the user's own data folder,
    // never a folder named after the program at the drive's root.
    if (facts.windows && facts.installedMarker)
        return facts.documents.isEmpty() ? facts.userData : facts.documents + QStringLiteral("/ならびん");
    if (facts.windows)
        return facts.programFolder;
    if (!facts.installedLayout && facts.programFolderWritable)
        return facts.programFolder;
    return facts.userData;
}

QString chooseWorkingFolder(const QString &programFolder, bool create)
{
    WorkingFolderFacts facts;
#ifdef Q_OS_WIN
    facts.windows = true;
#endif
    facts.programFolder = programFolder;
    facts.installedMarker = QFileInfo(QDir(programFolder).filePath(QString::fromLatin1(InstalledMarkerName))).isFile();
    facts.installedLayout = isInstalledLayout(programFolder);
    // Asked of the file system, not tried: starting writes nothing there.
    facts.programFolderWritable = QFileInfo(programFolder).isWritable();
    facts.documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    facts.userData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString folder = workingFolderFor(facts);
    if (create && folder != programFolder)
        QDir().mkpath(folder);
    return folder;
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

QString loadStartupSettings(const QString &programFolder, bool storeDefaults)
{
    SharedState &s = state();
    s.SettingsAppName = QString::fromLatin1(ProgramTitle);
    s.SettingsSection = QStringLiteral("Config");
    s.HelpFilePath = findProgramDataFile(programFolder, QString::fromLatin1(HelpFileName));

    StartupSettings settings(storeDefaults);
    const QLatin1String on("1");
    s.OptLogo = settings.orDefault(QStringLiteral("OptLogo"), "1") == on;
    // Any value but "0" prints the status bar.
    s.OptPsbar = settings.orDefault(QStringLiteral("OptPsbar"), "1") != QLatin1String("0");
    for (int row = 2; row <= 7; ++row)
        s.optLine(row) = settings.orDefault(QStringLiteral("OptLine_%1").arg(row), "0") == on;
    for (int row = 8; row <= Room::MaxRows; ++row)
        s.optLine(row) = settings.value(QStringLiteral("OptLine_%1").arg(row)) == on;
    s.OptFitToPage = settings.orDefault(QStringLiteral("OptFitToPage"), "0") == on;
    // The first run uses the stored default too, so every run sees the same red.
    s.CountdownBackColor = settings.orDefault(QStringLiteral("OptBColor"), "&HFF");
    s.CountdownForeColor = settings.orDefault(QStringLiteral("OptFColor"), "&HFFFFFF");

    // Off unless stored: nothing is written for them before the user ticks one.
    s.OptNoSameSeat = settings.value(QStringLiteral("OptNoSameSeat")) == on;
    s.OptNoSameNeighbour = settings.value(QStringLiteral("OptNoSameNeighbour")) == on;
    s.OptTeacherView = settings.value(QStringLiteral("OptTeacherView")) == on;

    s.OptMColor = settings.value(QStringLiteral("OptMColor"));
    if (s.OptMColor.isEmpty())
        settings.store(QStringLiteral("OptMColor"), QStringLiteral("1"));
    // "1" as it is stored already needs no writing: the file would come out the same.
    if (s.OptMColor.isEmpty() || s.OptMColor == QLatin1String("1"))
        s.OptMColor = QStringLiteral("1");
    if (const auto preset = mainColorPreset(s.OptMColor))
        applyMainColorPreset(s, *preset);

    s.RosterEmpty = false;
    s.ResultShown = false;
    s.RosterLoaded = false;
    s.CountChanged = false;
    s.RosterEdited = false;
    return settings.failure();
}
