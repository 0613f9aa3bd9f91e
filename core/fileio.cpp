#include "core/fileio.h"

#include "core/services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>

#ifdef Q_OS_UNIX
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
constexpr std::array<KnownError, 10> KnownErrors{{
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
}};
#else
constexpr std::array<KnownError, 12> KnownErrors{{
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
}};
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

// What stands in the way of writing `path` before anything is tried.
std::optional<FileProblem> writeObstacle(const QFileInfo &target)
{
    if (!target.absoluteDir().exists())
        return FileProblem::FolderMissing;
    if (target.exists() && !target.isFile())
        return FileProblem::NotAFile;
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

class AtomicFileWriter::Private
{
public:
    explicit Private(const QString &path) : target(path), file(path) {}

    // Stops writing: the temporary file goes, the target stays as it was.
    QString fail(const QString &reason)
    {
        if (file.isOpen())
            file.cancelWriting();
        failed = true;
        return reason;
    }

    QFileInfo target;
    QSaveFile file;
    std::optional<qint64> room; // what the device still takes, when tests limit it
    qint64 written = 0;
    bool failed = false;
};

AtomicFileWriter::AtomicFileWriter(const QString &path) : d(new Private(path)) {}

AtomicFileWriter::~AtomicFileWriter()
{
    if (d->file.isOpen())
        d->file.cancelWriting();
    delete d;
}

QString AtomicFileWriter::open()
{
    if (const std::optional<FileProblem> obstacle = writeObstacle(d->target))
        return d->fail(failure(*obstacle));
    // Unbuffered: every write reaches the device at once and its failure is seen there
    // (a buffered QSaveFile commits an empty file after a failed flush on a full disk).
    if (!d->file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return d->fail(fileErrorReason(d->file));
    if (const WriteLimit &limit = coreServices().writeLimit)
        d->room = limit(d->target.absoluteFilePath());
    return {};
}

QString AtomicFileWriter::write(const QByteArray &bytes)
{
    if (d->failed || !d->file.isOpen())
        return d->fail(failure(FileProblem::Other));
    qint64 toWrite = bytes.size();
    bool deviceFull = false;
    if (d->room && *d->room - d->written < toWrite) {
        toWrite = std::max<qint64>(0, *d->room - d->written);
        deviceFull = true;
    }
    const qint64 done = toWrite > 0 ? d->file.write(bytes.constData(), toWrite) : 0;
    if (done > 0)
        d->written += done;
    if (deviceFull)
        return d->fail(problemText(FileProblem::DiskFull));
    if (done != toWrite || d->file.error() != QFileDevice::NoError)
        return d->fail(fileErrorReason(d->file));
    return {};
}

QString AtomicFileWriter::commit()
{
    if (d->failed || !d->file.isOpen())
        return d->fail(failure(FileProblem::Other));
#ifdef Q_OS_UNIX
    // On the disk before it replaces anything: a removable medium reports its failures here.
    if (::fsync(d->file.handle()) != 0)
        return d->fail(fileErrorReason(systemTextOf(errno)));
#endif
    if (!d->file.commit()) {
        d->failed = true;
        return fileErrorReason(d->file);
    }
    // What is there now must be what was written.
    if (QFileInfo(d->target.absoluteFilePath()).size() != d->written) {
        d->failed = true;
        return failure(FileProblem::Other);
    }
    return {};
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
