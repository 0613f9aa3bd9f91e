#pragma once

#include "core/message.h"

#include <QList>
#include <QString>
#include <QStringList>

// Where a backup of the rosters can go. On Windows the floppy drive A:; elsewhere a
// removable medium mounted now, as the desktop mounts USB sticks: a mount point right
// under /media/<user>, /run/media/<user> or /media. A folder that is not a mount point
// is never one: copying there would fill the computer's own disk.
struct BackupMedium {
    QString path; // the mount point
    QString name; // the volume's label, else the mount point's folder name
    qint64 bytesFree = 0;
};

// The folders media are mounted in: the services' ones, else the desktop's usual places.
QStringList backupMediaRoots();
// The media mounted in those folders now, by path.
QList<BackupMedium> mountedBackupMedia(const QStringList &roots);
// The media a backup can go to now. Windows: drive A: when a disk is in it, else the
// removable drives; elsewhere the media mounted in backupMediaRoots().
QList<BackupMedium> availableBackupMedia();
// Whether `path` is still the mount point of a medium (a stick pulled out leaves, at
// most, an empty folder on the computer's disk).
bool isMountedMedium(const QString &path);

// How a medium is offered in the list the teacher picks from: its name, free space and place.
QString backupMediumCaption(const BackupMedium &medium);

// The backup command's words, for the drive of Windows or for a USB stick.
enum class BackupTarget { FloppyDrive, RemovableMedium };
BackupTarget backupTargetOfThisSystem();
MessageText backupPrepareQuestion(BackupTarget target);
MessageText backupMissingQuestion(BackupTarget target);
// Done: on a removable medium the message names where the files went.
MessageText backupDoneMessage(BackupTarget target, const QString &folder);
