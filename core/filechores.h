#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The data-management chores on files the user picks. Relative names resolve against
// the current folder. Each returns the empty string on success, otherwise the reason
// for the user (a Japanese sentence; it does not name the file). A roster's class file
// (core/classfile.h) is copied, moved and deleted with it.

// Copies `source` to `destination`, replacing a file of that name. The copy is written
// beside the destination first, so a failed copy leaves an existing destination intact.
// A copy onto the source itself (also through another spelling of its name) is refused.
QString copyFileTo(const QString &source, const QString &destination);

// Renames (moves) `source` to `destination`; an existing destination is refused.
QString renameFileTo(const QString &source, const QString &destination);

// Deletes the file `path`.
QString deleteFileAt(const QString &path);

// Why a name typed by the user cannot be a file name here, empty when it can.
QString fileNameProblem(const QString &name);

// What cleaning a folder's result log did.
struct LogCleaning {
    bool hadLog = false; // false: the folder has no log and nothing was done
    bool rewritten = false;
    QStringList kept; // the entries left, in their order
    QString error;    // reading or writing failed; the log is left as it was
};

// Drops from the result log of `folder` every entry whose file is not in that folder,
// keeping the order of the rest. A log whose entries all exist is left untouched.
LogCleaning cleanFolderResultLog(const QString &folder);

// The "*.mem" files of `folder`, letter case ignored, by name.
struct RosterFilesFound {
    bool ok = false;
    QStringList names; // without folder
    QString error;
};
RosterFilesFound findRosterFiles(const QString &folder);
