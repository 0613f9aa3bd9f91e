#include "core/fileio.h"

#include "core/services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <string>
#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

// The system errors behind each common cause. Qt reports a failed system call with the
// text of its error code, so comparing texts finds the code again, in any language.
struct KnownError {
    int code;
    FileProblem problem;
};
#ifdef Q_OS_WIN
constexpr std::array<KnownError, 14> KnownErrors{{
    {5, FileProblem::NoPermission},    // ERROR_ACCESS_DENIED
    {112, FileProblem::DiskFull},      // ERROR_DISK_FULL
    {39, FileProblem::DiskFull},       // ERROR_HANDLE_DISK_FULL
    {19, FileProblem::ReadOnlyMedium}, // ERROR_WRITE_PROTECT
    {3, FileProblem::FolderMissing},   // ERROR_PATH_NOT_FOUND
    {2, FileProblem::FolderMissing},   // ERROR_FILE_NOT_FOUND
    {206, FileProblem::NameTooLong},   // ERROR_FILENAME_EXCED_RANGE
    {32, FileProblem::InUse},          // ERROR_SHARING_VIOLATION
    {33, FileProblem::InUse},          // ERROR_LOCK_VIOLATION
    {267, FileProblem::NotAFile},      // ERROR_DIRECTORY
    {1117, FileProblem::DeviceError},  // ERROR_IO_DEVICE
    {21, FileProblem::DeviceError},    // ERROR_NOT_READY
    {23, FileProblem::DeviceError},    // ERROR_CRC
    {1617, FileProblem::DeviceError},  // ERROR_DEVICE_REMOVED
}};
constexpr int InputOutputError = 1117;
#else
constexpr std::array<KnownError, 13> KnownErrors{{
    {EACCES, FileProblem::NoPermission},
    {EPERM, FileProblem::NoPermission},
    {ENOSPC, FileProblem::DiskFull},
    {EDQUOT, FileProblem::DiskFull},
    {EFBIG, FileProblem::DiskFull},
    {EROFS, FileProblem::ReadOnlyMedium},
    {ENOENT, FileProblem::FolderMissing},
    {ENOTDIR, FileProblem::FolderMissing},
    {ENAMETOOLONG, FileProblem::NameTooLong},
    {ETXTBSY, FileProblem::InUse},
    {EBUSY, FileProblem::InUse},
    {EISDIR, FileProblem::NotAFile},
    {EIO, FileProblem::DeviceError},
}};
constexpr int InputOutputError = EIO;
#endif

QString systemTextOf(int code)
{
    return qt_error_string(code);
}

// A failure found before the system was asked: the same words as when it says so.
QString failure(FileProblem problem)
{
    return problemText(problem);
}

QString systemReason(int code)
{
    return fileErrorReason(systemTextOf(code));
}

// The reason of the system call that failed last.
QString lastSystemReason()
{
#ifdef Q_OS_WIN
    return systemReason(int(GetLastError()));
#else
    return systemReason(errno);
#endif
}

// What is on the device is not what was written: something else changed the file.
QString sizeMismatch()
{
    return QStringLiteral("書き込んだ内容を確かめられませんでした（ファイルの大きさが違います）。");
}

// A short name of our own beside the target: it fits wherever the target's name does.
QString temporaryName()
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QString name = QStringLiteral(".nb");
    for (int i = 0; i < 6; ++i)
        name += QLatin1Char(letters[QRandomGenerator::system()->bounded(int(sizeof letters) - 1)]);
    return name + QStringLiteral(".tmp");
}

// Runs a sync of `path` (a file or a folder); the reason when it fails, the device's
// fault for tests included.
template <typename Sync> QString syncReason(const QString &path, Sync sync)
{
    if (const SyncFault &fault = coreServices().syncFault; fault && fault(path))
        return systemReason(InputOutputError);
    return sync() ? QString() : lastSystemReason();
}

#ifdef Q_OS_WIN
// The system's name of a path, long paths included.
std::wstring nativePath(const QString &path)
{
    QString native = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    if (native.startsWith(QLatin1String("\\\\?\\")))
        return native.toStdWString();
    if (native.startsWith(QLatin1String("\\\\")))
        native = QStringLiteral("\\\\?\\UNC\\") + native.mid(2);
    else
        native = QStringLiteral("\\\\?\\") + native;
    return native.toStdWString();
}
#else
bool syncFolderFd(int folderFd)
{
    // Some file systems cannot sync a folder at all; they keep their names as they go.
    return ::fsync(folderFd) == 0 || errno == EINVAL || errno == ENOTSUP;
}
#endif

// What stands in the way of writing `path` before anything is tried.
std::optional<FileProblem> writeObstacle(const QFileInfo &target)
{
    if (!target.absoluteDir().exists())
        return FileProblem::FolderMissing;
#ifdef Q_OS_WIN
    // Windows' file systems hold names of up to 255 UTF-16 units; asked for a longer one, the
    // system speaks of a bad name or a missing folder, never of the length.
    if (target.fileName().size() > 255)
        return FileProblem::NameTooLong;
#endif
    if (target.exists() && !target.isFile())
        return FileProblem::NotAFile;
    // A file marked read-only is the user's wish to keep it (kept by root too), not a lack of rights.
    if (target.exists() && !target.permissions().testFlag(QFileDevice::WriteOwner))
        return FileProblem::ReadOnlyFile;
    if (target.exists() && !target.isWritable())
        return FileProblem::NoPermission;
    return std::nullopt;
}

} // namespace

FileProblem problemFromSystemText(const QString &systemText)
{
    if (systemText.isEmpty())
        return FileProblem::Other;
    for (const KnownError &known : KnownErrors) {
        if (systemText.compare(systemTextOf(known.code), Qt::CaseInsensitive) == 0)
            return known.problem;
    }
    return FileProblem::Other;
}

QString problemText(FileProblem problem, const QString &systemText)
{
    switch (problem) {
    case FileProblem::NoPermission:
        return QStringLiteral("アクセスが許可されていません。ファイルやフォルダーの権限を確かめて下さい。");
    case FileProblem::DiskFull: return QStringLiteral("ディスクの空き容量が足りません。");
    case FileProblem::ReadOnlyMedium: return QStringLiteral("書き込みできないメディア（読み取り専用）です。");
    case FileProblem::FolderMissing: return QStringLiteral("フォルダーが見つかりません。");
    case FileProblem::NameTooLong: return QStringLiteral("ファイル名が長すぎます。");
    case FileProblem::InUse: return QStringLiteral("ファイルがほかのプログラムで使用中です。");
    case FileProblem::NotAFile: return QStringLiteral("その名前はファイルではありません（フォルダーなど）。");
    case FileProblem::ReadOnlyFile:
        return QStringLiteral(
            "読み取り専用のファイルなので上書きできません。読み取り専用を外すか、別の名前にして下さい。");
    case FileProblem::DeviceError:
        return QStringLiteral(
            "装置との読み書きに失敗しました（入出力エラー）。USBメモリーなどが抜かれていないか確かめて下さい。");
    case FileProblem::Other: break;
    }
    const QString general = QStringLiteral("ファイルを読み書きできませんでした。");
    return systemText.isEmpty() ? general : general + QStringLiteral("（") + systemText + QStringLiteral("）");
}

QString fileErrorReason(const QString &systemText)
{
    return problemText(problemFromSystemText(systemText), systemText);
}

QString fileErrorReason(const QFileDevice &file)
{
    return fileErrorReason(file.errorString());
}

BytesRead readFileBytes(const QString &path, qint64 maxBytes)
{
    BytesRead result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.missing = true;
        result.error = QStringLiteral("ファイルが見つかりません。");
        return result;
    }
    if (!info.isFile()) {
        result.error = failure(FileProblem::NotAFile);
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = fileErrorReason(file);
        return result;
    }
    result.opened = true;
    if (file.size() > maxBytes) {
        result.error = QStringLiteral("ファイルが大きすぎます。");
        return result;
    }
    // As much as the file holds (a read of the cap would take that much memory for any
    // file); one that grew meanwhile is refused below.
    result.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.error = fileErrorReason(file);
        result.bytes.clear();
        return result;
    }
    if (result.bytes.size() > maxBytes) {
        result.error = QStringLiteral("ファイルが大きすぎます。");
        result.bytes.clear();
        return result;
    }
    result.ok = true;
    return result;
}

// The temporary file beside the target, and the system calls that fill and place it.
class AtomicFileWriter::Private
{
public:
    explicit Private(const QString &path) : target(path)
    {
        // Writing through a link replaces the file it names, not the link.
        if (target.isSymLink())
            target = QFileInfo(target.symLinkTarget());
        targetPath = target.absoluteFilePath();
        folder = target.absolutePath();
    }
    ~Private() { discard(); }

    QString open();
    QString writeAll(const char *data, qint64 size);
    QString finish();

    // Stops writing: the temporary file goes, the target stays as it was.
    QString fail(const QString &reason)
    {
        discard();
        failed = true;
        return reason;
    }
    void discard();
    bool isOpen() const;

    QFileInfo target;
    QString targetPath;
    QString folder;
    QString tempName;
    std::optional<qint64> room; // what the device still takes, when tests limit it
    qint64 written = 0;
    bool failed = false;
    std::function<QString()> replaceCheck;
#ifdef Q_OS_WIN
    HANDLE file = INVALID_HANDLE_VALUE;
#else
    int folderFd = -1;
    int fd = -1;
#endif
};

#ifdef Q_OS_WIN

bool AtomicFileWriter::Private::isOpen() const
{
    return file != INVALID_HANDLE_VALUE;
}

void AtomicFileWriter::Private::discard()
{
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        file = INVALID_HANDLE_VALUE;
    }
    if (!tempName.isEmpty()) {
        DeleteFileW(nativePath(folder + QLatin1Char('/') + tempName).c_str());
        tempName.clear();
    }
}

QString AtomicFileWriter::Private::open()
{
    if (GetFileAttributesW(nativePath(targetPath).c_str()) == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_NOT_FOUND)
            return fail(systemReason(int(code)));
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = temporaryName();
        file = CreateFileW(nativePath(folder + QLatin1Char('/') + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            tempName = name;
            return {};
        }
        if (GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    return fail(lastSystemReason());
}

QString AtomicFileWriter::Private::writeAll(const char *data, qint64 size)
{
    while (size > 0) {
        DWORD done = 0;
        const DWORD piece = DWORD(std::min<qint64>(size, 1 << 30));
        if (!WriteFile(file, data, piece, &done, nullptr))
            return fail(lastSystemReason());
        written += done;
        data += done;
        size -= done;
    }
    return {};
}

QString AtomicFileWriter::Private::finish()
{
    if (const QString reason = syncReason(targetPath, [this] { return FlushFileBuffers(file) != 0; });
        !reason.isEmpty())
        return fail(reason);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size))
        return fail(lastSystemReason());
    if (size.QuadPart != written)
        return fail(sizeMismatch());
    if (!CloseHandle(std::exchange(file, INVALID_HANDLE_VALUE)))
        return fail(lastSystemReason());
    if (replaceCheck) {
        if (const QString reason = replaceCheck(); !reason.isEmpty())
            return fail(reason);
    }
    if (!MoveFileExW(nativePath(folder + QLatin1Char('/') + tempName).c_str(), nativePath(targetPath).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return fail(lastSystemReason());
    tempName.clear();
    return syncFolder(folder);
}

#else

bool AtomicFileWriter::Private::isOpen() const
{
    return fd >= 0;
}

void AtomicFileWriter::Private::discard()
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
    if (!tempName.isEmpty()) {
        ::unlinkat(folderFd, QFile::encodeName(tempName).constData(), 0);
        tempName.clear();
    }
    if (folderFd >= 0) {
        ::close(folderFd);
        folderFd = -1;
    }
}

QString AtomicFileWriter::Private::open()
{
    // Names relative to the folder: the temporary name never makes a path longer than the
    // system takes when the target's path fits.
    folderFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return fail(lastSystemReason());
    struct stat old {
    };
    const bool hasOld = ::fstatat(folderFd, QFile::encodeName(target.fileName()).constData(), &old, 0) == 0;
    if (!hasOld && errno != ENOENT)
        return fail(lastSystemReason());
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        const QString name = temporaryName();
        fd = ::openat(folderFd, QFile::encodeName(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            tempName = name;
        else if (errno != EEXIST)
            break;
    }
    if (fd < 0)
        return fail(lastSystemReason());
    // The new file takes the old one's permissions; a file system without them (FAT) refuses.
    if (hasOld)
        (void)::fchmod(fd, old.st_mode & 07777);
    return {};
}

QString AtomicFileWriter::Private::writeAll(const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t done = ::write(fd, data, size_t(size));
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return fail(done < 0 ? lastSystemReason() : problemText(FileProblem::DiskFull));
        written += done;
        data += done;
        size -= done;
    }
    return {};
}

QString AtomicFileWriter::Private::finish()
{
    // On the device, whole, before it replaces anything: a removable medium reports its
    // failures at the sync.
    if (const QString reason = syncReason(targetPath, [this] { return ::fsync(fd) == 0; }); !reason.isEmpty())
        return fail(reason);
    struct stat done {
    };
    if (::fstat(fd, &done) != 0)
        return fail(lastSystemReason());
    if (done.st_size != written)
        return fail(sizeMismatch());
    if (::close(std::exchange(fd, -1)) != 0)
        return fail(lastSystemReason());
    if (replaceCheck) {
        if (const QString reason = replaceCheck(); !reason.isEmpty())
            return fail(reason);
    }
    if (::renameat(folderFd, QFile::encodeName(tempName).constData(), folderFd,
                   QFile::encodeName(target.fileName()).constData()) != 0)
        return fail(lastSystemReason());
    tempName.clear();
    // The new name itself must last, or the old file comes back after a power cut.
    const QString reason = syncReason(folder, [this] { return syncFolderFd(folderFd); });
    discard();
    return reason;
}

#endif

AtomicFileWriter::AtomicFileWriter(const QString &path) : d(new Private(path)) {}

AtomicFileWriter::~AtomicFileWriter()
{
    delete d;
}

void AtomicFileWriter::setReplaceCheck(std::function<QString()> check)
{
    d->replaceCheck = std::move(check);
}

QString AtomicFileWriter::open()
{
    if (const std::optional<FileProblem> obstacle = writeObstacle(d->target))
        return d->fail(failure(*obstacle));
    if (d->failed || d->isOpen())
        return d->fail(failure(FileProblem::Other));
    if (const QString reason = d->open(); !reason.isEmpty())
        return reason;
    if (const WriteLimit &limit = coreServices().writeLimit)
        d->room = limit(d->targetPath);
    return {};
}

QString AtomicFileWriter::write(const QByteArray &bytes)
{
    if (d->failed || !d->isOpen())
        return d->fail(failure(FileProblem::Other));
    qint64 toWrite = bytes.size();
    bool deviceFull = false;
    if (d->room && *d->room - d->written < toWrite) {
        toWrite = std::max<qint64>(0, *d->room - d->written);
        deviceFull = true;
    }
    if (const QString reason = d->writeAll(bytes.constData(), toWrite); !reason.isEmpty())
        return reason;
    if (deviceFull)
        return d->fail(problemText(FileProblem::DiskFull));
    return {};
}

QString AtomicFileWriter::commit()
{
    if (d->failed || !d->isOpen())
        return d->fail(failure(FileProblem::Other));
    const QString reason = d->finish();
    d->failed = true; // once only
    return reason;
}

QString writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    AtomicFileWriter writer(path);
    QString reason = writer.open();
    if (reason.isEmpty())
        reason = writer.write(bytes);
    if (reason.isEmpty())
        reason = writer.commit();
    return reason;
}

QString syncFolder(const QString &folder)
{
#ifdef Q_OS_WIN
    // MOVEFILE_WRITE_THROUGH and the system's own journal keep the names.
    Q_UNUSED(folder);
    return {};
#else
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return lastSystemReason();
    const QString reason = syncReason(folder, [fd] { return syncFolderFd(fd); });
    ::close(fd);
    return reason;
#endif
}

NameChange renameWithoutReplacing(const QString &from, const QString &to, bool sameFileOnly, QString &reason)
{
#ifdef Q_OS_WIN
    Q_UNUSED(sameFileOnly); // a change of letter case is no replace for the system
    if (MoveFileExW(nativePath(from).c_str(), nativePath(to).c_str(), MOVEFILE_WRITE_THROUGH))
        return NameChange::Done;
    const DWORD code = GetLastError();
    if (code == ERROR_NOT_SAME_DEVICE)
        return NameChange::OtherDevice;
    if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS)
        return NameChange::NameTaken;
    reason = systemReason(int(code));
    return NameChange::Failed;
#else
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    int result = -1;
#ifdef Q_OS_LINUX
    if (!sameFileOnly) {
        result = ::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE);
        if (result != 0 && errno == EEXIST)
            return NameChange::NameTaken;
    }
    // Without RENAME_NOREPLACE on this file system, the check just made by the caller holds.
    if (sameFileOnly || (result != 0 && errno == EINVAL))
        result = ::rename(source.constData(), target.constData());
#else
    if (!sameFileOnly && QFileInfo::exists(to))
        return NameChange::NameTaken;
    result = ::rename(source.constData(), target.constData());
#endif
    if (result != 0) {
        if (errno == EXDEV)
            return NameChange::OtherDevice;
        reason = lastSystemReason();
        return NameChange::Failed;
    }
    reason = syncFolder(QFileInfo(to).absolutePath());
    if (reason.isEmpty() && QFileInfo(from).absolutePath() != QFileInfo(to).absolutePath())
        reason = syncFolder(QFileInfo(from).absolutePath());
    return reason.isEmpty() ? NameChange::Done : NameChange::Failed;
#endif
}
