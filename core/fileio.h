#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <functional>
#include <optional>

// Every file the program reads or writes goes through here: one capped reader, one
// writer that replaces a file only once the new one is complete, and one place that
// turns what went wrong into words for the user.

// Why a file operation failed, as far as the user can act on it.
enum class FileProblem {
    NoPermission,
    DiskFull,
    ReadOnlyMedium,
    FolderMissing,
    NameTooLong,
    InUse,
    NotAFile,
    ReadOnlyFile,
    DeviceError,
    Other,
};

// The cause a system error text names (the text Qt gives for errno, or for the
// Windows error code); Other when it is none of the common ones.
FileProblem problemFromSystemText(const QString &systemText);
// The reason for the user: the cause in Japanese; for an uncommon cause a general
// sentence followed by the system's own words in brackets.
QString problemText(FileProblem problem, const QString &systemText = {});
// The reason for a failed operation on an open (or failed to open) file.
QString fileErrorReason(const QFileDevice &file);
QString fileErrorReason(const QString &systemText);

// Files larger than this are no file of the program's.
inline constexpr qint64 MaxTextFileBytes = 32 * 1024 * 1024;

struct BytesRead {
    bool ok = false;
    QByteArray bytes;
    QString error; // the reason for the user when !ok; empty when the file is not there
    bool missing = false;
    bool opened = false; // the file was opened: what failed was its size or its reading
};
// Reads a whole regular file of at most `maxBytes` bytes. Neither a folder nor a
// FIFO or device is opened, so nothing can block the program.
BytesRead readFileBytes(const QString &path, qint64 maxBytes = MaxTextFileBytes);

// Writes a file whole or not at all: the bytes go to a temporary file beside the target,
// are checked to be on the disk, and only then replace the target. On failure the old
// file is as it was, the temporary file is gone, and the reason is returned (empty on
// success). The reason names neither the file nor the command. A new file over an old
// one keeps the old one's permissions; a link is followed to the file it names.
QString writeFileAtomically(const QString &path, const QByteArray &bytes);

// The same for bytes that arrive in pieces (a copy of a large file).
class AtomicFileWriter
{
public:
    explicit AtomicFileWriter(const QString &path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter &) = delete;
    AtomicFileWriter &operator=(const AtomicFileWriter &) = delete;

    // Each returns the reason of a failure, the empty string when all went well.
    QString open();
    QString write(const QByteArray &bytes);
    // Puts the new file in place of the old one.
    QString commit();

    // Called after the data is on the device and right before the new file replaces the
    // old one; a non-empty reason stops the replace (the old file stays).
    void setReplaceCheck(std::function<QString()> check);

private:
    class Private;
    Private *d;
};

// Makes the names in `folder` (one added, replaced or removed) last on its device; the
// reason when the device fails.
QString syncFolder(const QString &folder);

// What renameWithoutReplacing did.
enum class NameChange {
    Done,
    OtherDevice, // the new name lies on another device; nothing was done
    NameTaken,   // a file of the new name is there; nothing was done
    Failed,
};
// Gives the file `from` the name `to` (in another folder of the same device too), never
// over an existing file, unless `sameFileOnly`: then `to` may be `from` itself under
// another spelling of letter case. The reason of a failure goes to `reason`.
NameChange renameWithoutReplacing(const QString &from, const QString &to, bool sameFileOnly, QString &reason);

// The place where written bytes meet the device, for tests: how many bytes the device
// holding `path` takes before it fails as a full disk does (none: no limit). The
// writer's own checks and clean-up run as they would for a real device. Part of the
// services (core/services.h).
using WriteLimit = std::function<std::optional<qint64>(const QString &path)>;
// The same for syncing to the device: asked with the path of a file before its data is
// synced and with its folder's path before the folder is, true makes that sync fail as a
// removable medium's does when it is pulled out (an input/output error).
using SyncFault = std::function<bool(const QString &path)>;
