#include "core/filechores.h"

#include "core/classfile.h"
#include "core/filelock.h"
#include "core/resultlog.h"
#include "core/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace
{

// The reason of a failed step: what failed, then why.
QString withCause(const QString &what, const QFileDevice &file)
{
    return what + fileErrorReason(file);
}

std::filesystem::path fsPath(const QString &path)
{
    return std::filesystem::path(QDir::toNativeSeparators(path).toStdU16String());
}

// Whether two names denote the same file on disk (links and letter case included).
bool sameFile(const QString &a, const QString &b)
{
    std::error_code error;
    const bool same = std::filesystem::equivalent(fsPath(a), fsPath(b), error);
    return !error && same;
}

// A name that exists in any form, a dangling link included.
bool nameTaken(const QFileInfo &info)
{
    return info.exists() || info.isSymLink();
}

// Streams the source into the new file; the empty string when all was written.
QString streamInto(QFile &in, AtomicFileWriter &out, const QString &unreadable)
{
    constexpr qint64 ChunkBytes = 64 * 1024;
    QByteArray chunk;
    for (;;) {
        chunk = in.read(ChunkBytes);
        if (in.error() != QFileDevice::NoError)
            return withCause(unreadable, in);
        if (chunk.isEmpty())
            return {};
        if (const QString reason = out.write(chunk); !reason.isEmpty())
            return reason;
    }
}

} // namespace

QString fileNameProblem(const QString &name)
{
    // Windows' own list, so that names stay usable when the files travel there.
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    for (const QChar c : name) {
        if (c.unicode() < 0x20)
            return QStringLiteral("名前に制御文字が含まれています。");
    }
    const QString last = QDir::fromNativeSeparators(name).section(QLatin1Char('/'), -1);
    if (last.trimmed().isEmpty() || last == QLatin1String(".") || last == QLatin1String(".."))
        return QStringLiteral("ファイル名がありません。");
    for (const QChar c : last) {
        if (forbidden.contains(c))
            return QStringLiteral("ファイル名に使えない文字（\\ / : * ? \" < > |）が含まれています。");
    }
    // Windows drops a trailing dot or blank, and keeps the device names for the devices.
    if (last.endsWith(QLatin1Char('.')) || last.endsWith(QLatin1Char(' ')))
        return QStringLiteral("ファイル名の終わりに「.」や空白は使えません。");
    // COM and LPT take the superscript digits too.
    static const QRegularExpression device(
        QStringLiteral("^(CON|PRN|AUX|NUL|CONIN\\$|CONOUT\\$|COM[1-9¹²³]|LPT[1-9¹²³])(\\..*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    if (device.match(last).hasMatch())
        return QStringLiteral("「%1」は機器の名前なので、ファイル名に使えません。")
            .arg(last.section(QLatin1Char('.'), 0, 0));
    return {};
}

namespace
{

QString copyOneFile(const QString &source, const QString &destination)
{
    if (const QString problem = fileNameProblem(destination); !problem.isEmpty())
        return problem;
    const QFileInfo from(source);
    const QFileInfo to(destination);
    if (!from.isFile())
        return QStringLiteral("コピー元のファイルが見つかりません。");
    if (to.isDir())
        return QStringLiteral("コピー先に同じ名前のフォルダーがあります。");
    if (sameFile(from.absoluteFilePath(), to.absoluteFilePath()))
        return QStringLiteral("コピー元と同じファイルです。別の名前を指定して下さい。");
    if (!to.absoluteDir().exists())
        return QStringLiteral("コピー先のフォルダーが見つかりません。");
    QFile in(from.absoluteFilePath());
    if (!in.open(QIODevice::ReadOnly))
        return withCause(QStringLiteral("コピー元のファイルを読めません。"), in);
    AtomicFileWriter out(to.absoluteFilePath());
    QString reason = out.open();
    if (reason.isEmpty())
        reason = streamInto(in, out, QStringLiteral("コピー元のファイルを読めません。"));
    if (reason.isEmpty())
        reason = out.commit();
    return reason;
}

const QString NameTakenReason = QStringLiteral("同じ名前のファイルが既にあります。");

// A move onto another device: a checked copy, and the source deleted only once the copy
// is whole on the device. Whatever fails, one of the two files is there, whole.
QString moveAcrossDevices(const QString &from, const QString &to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return withCause(QStringLiteral("元のファイルを読めません。"), in);
    AtomicFileWriter out(to);
    out.setReplaceCheck([&to] { return nameTaken(QFileInfo(to)) ? NameTakenReason : QString(); });
    QString reason = out.open();
    if (reason.isEmpty())
        reason = streamInto(in, out, QStringLiteral("元のファイルを読めません。"));
    if (reason.isEmpty())
        reason = out.commit();
    if (!reason.isEmpty())
        return reason;
    const QFileDevice::Permissions permissions = in.permissions();
    in.close();
    if (!in.remove()) {
        const QString cause = fileErrorReason(in);
        QFile::remove(to);
        return QStringLiteral("元のファイルを削除できませんでした。") + cause;
    }
    // As a rename keeps them (FAT has none to keep); only now, so that a read-only copy
    // could still be removed above.
    QFile::setPermissions(to, permissions);
    return syncFolder(QFileInfo(from).absolutePath());
}

QString renameOneFile(const QString &source, const QString &destination)
{
    if (const QString problem = fileNameProblem(destination); !problem.isEmpty())
        return problem;
    const QFileInfo from(source);
    const QFileInfo to(destination);
    if (!from.isFile())
        return QStringLiteral("元のファイルが見つかりません。");
    const QString fromPath = QDir::cleanPath(from.absoluteFilePath());
    const QString toPath = QDir::cleanPath(to.absoluteFilePath());
    if (fromPath == toPath)
        return QStringLiteral("新しい名前が元の名前と同じです。");
    // Only a change of letter case may name the file itself (on file systems that ignore case).
    const bool caseOnly = sameFile(fromPath, toPath) && fromPath.compare(toPath, Qt::CaseInsensitive) == 0;
    if (nameTaken(to) && !caseOnly)
        return to.isDir() ? QStringLiteral("同じ名前のフォルダーが既にあります。") : NameTakenReason;
    if (!to.absoluteDir().exists())
        return QStringLiteral("移動先のフォルダーが見つかりません。");
    QString reason;
    switch (renameWithoutReplacing(fromPath, toPath, caseOnly, reason)) {
    case NameChange::Done: return {};
    case NameChange::OtherDevice: return moveAcrossDevices(fromPath, toPath);
    case NameChange::NameTaken: return NameTakenReason;
    case NameChange::Failed: break;
    }
    return QStringLiteral("名前を変更できませんでした。") + reason;
}

QString deleteOneFile(const QString &path)
{
    const QFileInfo info(path);
    if (!nameTaken(info))
        return QStringLiteral("ファイルが見つかりません。");
    if (info.isDir() && !info.isSymLink())
        return QStringLiteral("フォルダーは削除できません。");
    QFile file(path);
    if (!file.remove())
        return withCause(QStringLiteral("ファイルを削除できませんでした。"), file);
    return {};
}

// A roster's class file goes where the roster goes. Its failure is told after the
// roster's own success, so the teacher knows which of the two is where.
QString companionFailed(const QString &verb, const QString &reason)
{
    return QStringLiteral("名簿は%1しましたが、クラスの設定ファイル（教室など）を%1できませんでした。").arg(verb) +
           reason;
}

} // namespace

QString copyFileTo(const QString &source, const QString &destination)
{
    if (const QString reason = copyOneFile(source, destination); !reason.isEmpty())
        return reason;
    const QString from = classFilePath(source);
    const QString to = classFilePath(destination);
    // The copy replaces the destination class whole: its old room must not stay with the new roster.
    const QString reason = QFileInfo::exists(from) ? copyOneFile(from, to)
                           : QFileInfo::exists(to) ? deleteOneFile(to)
                                                   : QString();
    return reason.isEmpty() ? reason : companionFailed(QStringLiteral("コピー"), reason);
}

QString renameFileTo(const QString &source, const QString &destination)
{
    if (const QString reason = renameOneFile(source, destination); !reason.isEmpty())
        return reason;
    const QString from = classFilePath(source);
    const QString reason = QFileInfo::exists(from) ? renameOneFile(from, classFilePath(destination)) : QString();
    return reason.isEmpty() ? reason : companionFailed(QStringLiteral("移動"), reason);
}

QString deleteFileAt(const QString &path)
{
    if (const QString reason = deleteOneFile(path); !reason.isEmpty())
        return reason;
    const QString companion = classFilePath(path);
    const QString reason = QFileInfo::exists(companion) ? deleteOneFile(companion) : QString();
    return reason.isEmpty() ? reason : companionFailed(QStringLiteral("削除"), reason);
}

LogCleaning cleanFolderResultLog(const QString &folder)
{
    LogCleaning result;
    if (findFileNoCase(folder, resultLogName()).isEmpty())
        return result;
    result.hadLog = true;
    const FileLock lock(resultLogLockTarget(folder));
    if (!lock.held()) {
        result.error = lock.error();
        return result;
    }
    const FieldsRead log = readResultLog(folder);
    if (!log.ok) {
        result.error = log.error;
        return result;
    }
    // An entry names its file as the past-results menu finds it: letter case ignored. The
    // folder is listed once: a log edited by hand may hold a million entries.
    const QDir dir(folder);
    QSet<QString> present;
    for (const QString &entry : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        present.insert(entry.toCaseFolded());
    // Only a name the listing cannot hold is asked of the file system: a path, or on Windows
    // a name it trims or shortens ("a.rlt.", "RESULT~1.RLT"). Asking for each of a million
    // names took a minute there.
    const auto mayBeAlias = [](const QString &name) {
#ifdef Q_OS_WIN
        return name.endsWith(u'.') || name.endsWith(u' ') ||
               std::any_of(name.cbegin(), name.cend(), [](QChar c) { return QStringLiteral("/\\~:").contains(c); });
#else
        return name.contains(u'/');
#endif
    };
    result.kept = cleanResultLog(log.fields, [&](const QString &name) {
        return present.contains(name.toCaseFolded()) || (mayBeAlias(name) && QFileInfo(dir.filePath(name)).isFile());
    });
    // Nothing to drop: the file keeps its bytes (and any quoting a hand edit gave it).
    if (result.kept == log.fields)
        return result;
    result.error = writeResultLog(folder, result.kept);
    result.rewritten = result.error.isEmpty();
    return result;
}

RosterFilesFound findRosterFiles(const QString &folder)
{
    RosterFilesFound found;
    const QDir dir(folder);
    if (!dir.exists() || !dir.isReadable()) {
        found.error = QStringLiteral("フォルダー（%1）の中を読めません。").arg(QDir::toNativeSeparators(folder));
        return found;
    }
    // Without QDir::CaseSensitive the pattern ignores letter case, as Windows does.
    found.names = dir.entryList({QStringLiteral("*.mem")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    found.ok = true;
    return found;
}
