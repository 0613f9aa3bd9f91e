#pragma once

#include <QString>

// The program's title: the application name of the settings store.
inline constexpr char ProgramTitle[] = "Narabin";
inline constexpr char HelpFileName[] = "NARABIN.HLP";

// The file the Windows installer writes beside the program.
inline constexpr char InstalledMarkerName[] = "narabin-installed";

// What decides where the program works.
struct WorkingFolderFacts {
    bool windows = false;
    QString programFolder;
    bool installedMarker = false; // Windows: the installer's marker is beside the program
    bool installedLayout = false; // elsewhere: bin/ with its data in ../share/narabin
    bool programFolderWritable = false;
    QString documents; // the user's documents folder
    QString userData;  // the per-user data folder of the program
};
// On Windows: an installed copy works in Documents\ならびん, a portable copy (a ZIP)
// beside itself. Elsewhere: its own folder when it can write there and is not an
// installed copy (a build tree or a portable copy), otherwise the per-user data folder.
QString workingFolderFor(const WorkingFolderFacts &facts);
// The same for this program; the folder is created unless `create` is false.
QString chooseWorkingFolder(const QString &programFolder, bool create = true);

// A data file shipped with the program: beside the executable first, then in the
// installed data folder (../share/narabin), then in the system data folders.
// When it is nowhere, the path beside the executable (so that whoever opens it
// reports it missing).
QString findProgramDataFile(const QString &programFolder, const QString &name);

// Start-up steps that fill the shared state from the settings store: the store's
// address and the help file path, every setting (writing the default of each
// missing key, unless `storeDefaults` is false), the colour preset and the cleared
// run-time flags. Returns why the defaults could not be stored, empty when they were.
QString loadStartupSettings(const QString &programFolder, bool storeDefaults = true);
