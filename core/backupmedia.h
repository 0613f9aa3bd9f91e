#pragma once

#include "core/message.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Where a backup of the rosters can go. On Windows the floppy drive A: or a USB drive; elsewhere a
// removable medium mounted now, as the desktop mounts USB sticks: a mount point right
// under /media/<user>, /run/media/<user> or /media. A folder that is not a mount point
// is never one: copying there would fill the computer's own disk.
struct BackupMedium {
    QString path; // the mount point
    QString name; // the volume's label, else the mount point's folder name
    qint64 bytesFree = 0;
    QByteArray fileSystem; // as the system names it: "vfat", "exfat", "ntfs", "FAT32"...
    quint64 device = 0;    // the device of the mount point when it was last seen mounted
};

// The device holding `path` (the POSIX device number; on Windows the volume's serial
// number); none when it cannot be read.
std::optional<quint64> deviceOf(const QString &path);

// The folders media are mounted in: the services' ones, else the desktop's usual places.
QStringList backupMediaRoots();
// The media mounted in those folders now, by path.
QList<BackupMedium> mountedBackupMedia(const QStringList &roots);
// The media a backup can go to now. Windows: drive A: when a disk is in it, else the
// drives a USB stick or disk can be (backupDriveOfWindows); elsewhere the media mounted in
// backupMediaRoots().
QList<BackupMedium> availableBackupMedia();

// Whether a Windows drive can take a backup: a removable drive, or a fixed one on the USB
// bus (many sticks and every USB disk say they are fixed), never the system's own drive.
struct WindowsDrive {
    bool removable = false; // DRIVE_REMOVABLE
    bool fixed = false;     // DRIVE_FIXED
    bool onUsb = false;     // its bus type is USB
    bool system = false;    // Windows itself is on it
};
bool backupDriveOfWindows(const WindowsDrive &drive);
// Whether `path` is still the mount point of a medium (a stick pulled out leaves, at
// most, an empty folder on the computer's disk).
bool isMountedMedium(const QString &path);

// Rosters a file system cannot hold under their names, and why.
struct RefusedNames {
    QStringList names;
    QString reason;
};
// The names among `names` that a medium of `fileSystem` refuses (characters Windows does
// not allow in names) or that it would take for one file (names that differ only in
// letter case). Media of other file systems take every name.
QList<RefusedNames> namesRefusedBy(const QByteArray &fileSystem, const QStringList &names);

// What a backup of the rosters of `sourceFolder` onto `medium` will do.
struct BackupPlan {
    QString error;       // listing the rosters failed
    int found = 0;       // the rosters in the folder
    QStringList rosters; // those to copy
    QList<RefusedNames> refused;
    bool sourceOnMedium = false; // the folder is on the medium itself: nothing to copy
};
BackupPlan planBackup(const QString &sourceFolder, const BackupMedium &medium);

// Copies the roster `name` of `sourceFolder` onto `medium`, replacing a file of that name.
// The new file replaces the old one only while the medium's folder is still on the
// device seen when this copy began (a stick put back in counts anew); the empty string
// on success, else the reason.
QString backupRoster(const QString &sourceFolder, BackupMedium &medium, const QString &name);
// The same without looking at the medium first: the replace is refused when the folder
// is not on `medium.device` then.
QString copyRosterOnto(const QString &sourceFolder, const BackupMedium &medium, const QString &name);

// How a medium is offered in the list the teacher picks from: its name, free space and place.
QString backupMediumCaption(const BackupMedium &medium);

// The backup command's words, for the drive of Windows or for a USB stick.
enum class BackupTarget { FloppyDrive, RemovableMedium };
BackupTarget backupTargetOfThisSystem();
// The first question names the folder the rosters come from and how many there are.
MessageText backupPrepareQuestion(BackupTarget target, const QString &folder, int rosters);
MessageText backupMissingQuestion(BackupTarget target);
// Nothing is copied: the folder cannot be read (`error`), holds no roster, or lies on the
// medium itself.
MessageText backupNothingMessage(const QString &folder, const QString &error = {});
MessageText backupOntoItselfMessage(BackupTarget target, const QString &folder);
// The names the medium refuses; asks whether to copy the rest (only tells when none is left).
MessageText backupRefusedQuestion(BackupTarget target, const BackupPlan &plan);
// A roster that could not be copied: stop, retry or skip it.
MessageText backupFailedQuestion(const QString &name, const QString &reason);
// The end: what went where, and the rosters left behind.
struct BackupOutcome {
    QString sourceFolder;
    QString targetFolder;
    int found = 0;
    int copied = 0;
    QStringList notCopied;
    bool stopped = false;
};
MessageText backupDoneMessage(const BackupOutcome &outcome);
