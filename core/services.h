#pragma once

#include "core/fileio.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

// Uniform numbers r in [0, 1).
using UniformSource = std::function<double()>;

// What the program takes from the machine it runs on. One object, given at start
// (tests give their own); this is the part the core uses. Empty members mean the
// machine's own: the system clock, a source seeded from the time of day, devices
// that take what they are given and sync as asked, the usual mount places, the platform's
// settings store.
struct CoreServices {
    std::function<QDateTime()> now;
    // Made afresh (reseeded) for every run.
    std::function<UniformSource()> runSource;
    WriteLimit writeLimit;
    SyncFault syncFault;
    // The folders removable media are mounted in; empty: the desktop's usual places.
    QStringList backupMediaRoots;
    // The file system the media there are taken to have (a tmpfs standing in for a FAT
    // stick); empty: the one the system reports.
    QByteArray backupMediaFileSystem;
    // The folder of the per-user store's INI files.
    QString settingsFolder;
    // The per-user cache folder (the logo's image); empty: the platform's.
    QString cacheFolder;
    // How long a read-change-write waits for another copy's lock (core/filelock.h).
    std::chrono::milliseconds lockWait{};
    // The rules solver's library; empty: beside the program, then where it is installed.
    QString solverLibrary;
    // The printing library's file; empty: beside the program, then where it is installed.
    QString printLibrary;
};

// The services in force: the installed object, else the machine's own.
const CoreServices &coreServices();
// Puts an object in force; null: back to the machine's own. Its owner keeps it alive.
void installCoreServices(const CoreServices *services);
