#include "core/backupmedia.h"

#include "core/classfile.h"
#include "core/filechores.h"
#include "core/fileio.h"
#include "core/services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QStorageInfo>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
// After windows.h, which it needs.
#include <winioctl.h>

#include <cstddef>
#include <string>
#else
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

#ifdef Q_OS_WIN
// Whether the drive at `root` ("E:\\") sits on the USB bus, as the storage driver says.
bool onUsbBus(const QString &root)
{
    const std::wstring device = L"\\\\.\\" + root.left(2).toStdWString();
    const HANDLE handle =
        CreateFileW(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    STORAGE_PROPERTY_QUERY query{};
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;
    STORAGE_DEVICE_DESCRIPTOR descriptor{};
    DWORD bytes = 0;
    const bool answered = DeviceIoControl(handle, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, &descriptor,
                                          sizeof descriptor, &bytes, nullptr) != 0;
    CloseHandle(handle);
    return answered && bytes >= offsetof(STORAGE_DEVICE_DESCRIPTOR, BusType) + sizeof descriptor.BusType &&
           descriptor.BusType == BusTypeUsb;
}
#endif

// The account's name: the desktop mounts sticks under it, whatever the home folder is called.
QString userName()
{
    const QString user = qEnvironmentVariable("USER");
    if (!user.isEmpty())
        return user;
#ifndef Q_OS_WIN
    if (const passwd *account = ::getpwuid(::getuid()); account && account->pw_name)
        return QString::fromLocal8Bit(account->pw_name);
#endif
    return {};
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString mediumWord(BackupTarget target)
{
    return target == BackupTarget::FloppyDrive ? QStringLiteral("フロッピーディスク") : QStringLiteral("USBメモリー");
}

const QString PrepareTitle = QStringLiteral("ﾊﾞｯｸｱｯﾌﾟ準備");
const QString ChooseAnotherFolder =
    QStringLiteral("名簿のあるフォルダーのファイルを開いてから、もう一度バックアップして下さい。");

// The file systems of Windows: they ignore letter case and refuse its forbidden characters.
bool windowsFileSystem(const QByteArray &fileSystem)
{
    static const QList<QByteArray> kinds{"vfat",  "msdos", "fat",  "fat12", "fat16",
                                         "fat32", "exfat", "ntfs", "ntfs3", "fuseblk"};
    return kinds.contains(fileSystem.toLower());
}

QString mediumGoneReason(const BackupMedium &medium)
{
    return QStringLiteral("バックアップ先（%1）が取り外されたか、別のものに替わりました。").arg(shown(medium.path));
}

QString quotedNames(const QStringList &names)
{
    QString text;
    for (const QString &name : names)
        text += QStringLiteral("「%1」").arg(name);
    return text;
}

} // namespace

std::optional<quint64> deviceOf(const QString &path)
{
#ifdef Q_OS_WIN
    const QStorageInfo storage(path);
    if (!storage.isValid())
        return std::nullopt;
    const std::wstring root = QDir::toNativeSeparators(storage.rootPath()).toStdWString();
    DWORD serial = 0;
    if (!GetVolumeInformationW(root.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0))
        return std::nullopt;
    return serial;
#else
    struct stat info {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return static_cast<quint64>(info.st_dev);
#endif
}

QStringList backupMediaRoots()
{
    if (!coreServices().backupMediaRoots.isEmpty())
        return coreServices().backupMediaRoots;
    const QString user = userName();
    if (user.isEmpty())
        return {QStringLiteral("/media")};
    return {QStringLiteral("/media/") + user, QStringLiteral("/run/media/") + user, QStringLiteral("/media")};
}

bool isMountedMedium(const QString &path)
{
    const QStorageInfo storage(path);
    return storage.isValid() && storage.isReady() &&
           QDir::cleanPath(storage.rootPath()) == QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QList<BackupMedium> mountedBackupMedia(const QStringList &roots)
{
    QList<BackupMedium> media;
    for (const QString &root : roots) {
        const QFileInfoList entries = QDir(root).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QFileInfo &entry : entries) {
            const QString path = QDir::cleanPath(entry.absoluteFilePath());
            const bool known =
                std::any_of(media.cbegin(), media.cend(), [&](const BackupMedium &m) { return m.path == path; });
            if (known || !isMountedMedium(path))
                continue;
            const QStorageInfo storage(path);
            const QString label = storage.name();
            const QByteArray fileSystem = coreServices().backupMediaFileSystem.isEmpty()
                                              ? storage.fileSystemType()
                                              : coreServices().backupMediaFileSystem;
            media.append({path, label.isEmpty() ? entry.fileName() : label, storage.bytesAvailable(), fileSystem,
                          deviceOf(path).value_or(0)});
        }
    }
    std::sort(media.begin(), media.end(), [](const BackupMedium &a, const BackupMedium &b) { return a.path < b.path; });
    return media;
}

QList<BackupMedium> availableBackupMedia()
{
#ifdef Q_OS_WIN
    // The services' places stand in for the drives in tests.
    if (!coreServices().backupMediaRoots.isEmpty())
        return mountedBackupMedia(coreServices().backupMediaRoots);
    const auto medium = [](const QStorageInfo &storage) {
        const QString path = QDir::fromNativeSeparators(storage.rootPath());
        const QString label = storage.name();
        return BackupMedium{path, label.isEmpty() ? QDir::toNativeSeparators(path) : label, storage.bytesAvailable(),
                            storage.fileSystemType(), deviceOf(path).value_or(0)};
    };
    const QStorageInfo floppy(QStringLiteral("A:/"));
    if (floppy.isValid() && floppy.isReady())
        return {medium(floppy)};
    wchar_t systemFolder[MAX_PATH] = {};
    const UINT systemLength = GetWindowsDirectoryW(systemFolder, MAX_PATH);
    const QString system = QString::fromWCharArray(systemFolder, int(systemLength)).left(2);
    QList<BackupMedium> media;
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        const QString root = QDir::toNativeSeparators(storage.rootPath());
        const UINT type = GetDriveTypeW(root.toStdWString().c_str());
        const WindowsDrive drive{type == DRIVE_REMOVABLE, type == DRIVE_FIXED, type == DRIVE_FIXED && onUsbBus(root),
                                 root.left(2).compare(system, Qt::CaseInsensitive) == 0};
        if (storage.isReady() && backupDriveOfWindows(drive))
            media.append(medium(storage));
    }
    return media;
#else
    return mountedBackupMedia(backupMediaRoots());
#endif
}

bool backupDriveOfWindows(const WindowsDrive &drive)
{
    return !drive.system && (drive.removable || (drive.fixed && drive.onUsb));
}

QString backupMediumCaption(const BackupMedium &medium)
{
    const QString free =
        QLocale(QLocale::Japanese).formattedDataSize(medium.bytesFree, 1, QLocale::DataSizeTraditionalFormat);
    return QStringLiteral("%1（空き %2）  %3").arg(medium.name, free, QDir::toNativeSeparators(medium.path));
}

BackupTarget backupTargetOfThisSystem()
{
#ifdef Q_OS_WIN
    // A PC without a floppy drive is asked for a USB stick.
    return GetDriveTypeW(L"A:\\") == DRIVE_REMOVABLE ? BackupTarget::FloppyDrive : BackupTarget::RemovableMedium;
#else
    return BackupTarget::RemovableMedium;
#endif
}

QList<RefusedNames> namesRefusedBy(const QByteArray &fileSystem, const QStringList &names)
{
    QList<RefusedNames> refused;
    if (!windowsFileSystem(fileSystem))
        return refused;
    QList<QStringList> sameName;
    QHash<QString, qsizetype> groupOf; // by the name with letter case folded
    for (const QString &name : names) {
        if (const QString problem = fileNameProblem(name); !problem.isEmpty()) {
            refused.append(RefusedNames{{name}, problem});
            continue;
        }
        const QString folded = name.toCaseFolded();
        if (!groupOf.contains(folded)) {
            groupOf.insert(folded, sameName.size());
            sameName.append(QStringList());
        }
        sameName[groupOf.value(folded)].append(name);
    }
    for (QStringList &group : sameName) {
        if (group.size() < 2)
            continue;
        std::sort(group.begin(), group.end());
        refused.append(RefusedNames{group, QStringLiteral("大文字と小文字の違いしかないため、同じ名前になります。")});
    }
    return refused;
}

BackupPlan planBackup(const QString &sourceFolder, const BackupMedium &medium)
{
    BackupPlan plan;
    const RosterFilesFound found = findRosterFiles(sourceFolder);
    if (!found.ok) {
        plan.error = found.error;
        return plan;
    }
    plan.found = int(found.names.size());
    const QString source = QDir::cleanPath(QFileInfo(sourceFolder).absoluteFilePath());
    const QString root = QDir::cleanPath(medium.path);
    const std::optional<quint64> sourceDevice = deviceOf(source);
    const std::optional<quint64> mediumDevice = deviceOf(root);
    plan.sourceOnMedium = (sourceDevice && sourceDevice == mediumDevice) || source == root ||
                          source.startsWith(root.endsWith(u'/') ? root : root + u'/');
    if (plan.sourceOnMedium)
        return plan;
    plan.refused = namesRefusedBy(medium.fileSystem, found.names);
    for (const QString &name : found.names) {
        const bool left = std::any_of(plan.refused.cbegin(), plan.refused.cend(),
                                      [&](const RefusedNames &r) { return r.names.contains(name); });
        if (!left)
            plan.rosters.append(name);
    }
    return plan;
}

namespace
{

QString copyFileOnto(const QString &sourceFolder, const BackupMedium &medium, const QString &name)
{
    QFile in(QDir(sourceFolder).filePath(name));
    // Never a FIFO or device by that name, whose reading could block.
    if (!QFileInfo(in.fileName()).isFile())
        return QStringLiteral("コピー元のファイルが見つかりません。");
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("コピー元のファイルを読めません。") + fileErrorReason(in);
    const QString folder = medium.path;
    AtomicFileWriter out(QDir(folder).filePath(name));
    // A stick pulled out leaves its mount folder on the computer's own disk: the new file
    // must not land there.
    out.setReplaceCheck([&] { return deviceOf(folder) == medium.device ? QString() : mediumGoneReason(medium); });
    QString reason = out.open();
    while (reason.isEmpty()) {
        const QByteArray chunk = in.read(64 * 1024);
        if (in.error() != QFileDevice::NoError)
            return QStringLiteral("コピー元のファイルを読めません。") + fileErrorReason(in);
        if (chunk.isEmpty())
            return out.commit();
        reason = out.write(chunk);
    }
    return reason;
}

} // namespace

QString copyRosterOnto(const QString &sourceFolder, const BackupMedium &medium, const QString &name)
{
    const QString reason = copyFileOnto(sourceFolder, medium, name);
    // The class file travels with its roster.
    const QString companion = QFileInfo(classFilePath(name)).fileName();
    if (!reason.isEmpty() || !QFileInfo::exists(QDir(sourceFolder).filePath(companion)))
        return reason;
    return copyFileOnto(sourceFolder, medium, companion);
}

QString backupRoster(const QString &sourceFolder, BackupMedium &medium, const QString &name)
{
    const std::optional<quint64> device = deviceOf(medium.path);
    if (!isMountedMedium(medium.path) || !device)
        return mediumGoneReason(medium);
    medium.device = *device;
    return copyRosterOnto(sourceFolder, medium, name);
}

MessageText backupPrepareQuestion(BackupTarget target, const QString &folder, int rosters)
{
    const QString what = QStringLiteral("フォルダー「%1」の名簿 %2 件をバックアップします。\r")
                             .arg(shown(folder), QString::number(rosters));
    const QString text =
        target == BackupTarget::FloppyDrive
            ? QStringLiteral("データのバックアップをとる場合はドライブＡに\rフロッピーディスクをセットして下さい。")
            : QStringLiteral("データのバックアップをとる場合は\rUSBメモリーをセットして下さい。");
    return {what + text, PrepareTitle, MsgStyle::OkCancel | MsgStyle::Question};
}

MessageText backupMissingQuestion(BackupTarget target)
{
    const QString text = target == BackupTarget::FloppyDrive
                             ? QStringLiteral("ドライブＡにフロッピーディスクがセットされていません。\r"
                                              "処理を続ける場合はフロッピーディスクをセットして下さい。")
                             : QStringLiteral("USBメモリーがセットされていません。\r"
                                              "処理を続ける場合はUSBメモリーをセットして下さい。");
    return {text, PrepareTitle, MsgStyle::OkCancel | MsgStyle::Question};
}

MessageText backupNothingMessage(const QString &folder, const QString &error)
{
    const QString text =
        error.isEmpty() ? QStringLiteral("フォルダー「%1」には名簿ﾌｧｲﾙ（*.MEM）がありません。\r").arg(shown(folder)) +
                              ChooseAnotherFolder
                        : QStringLiteral("バックアップできませんでした。\r") + error;
    return {text, PrepareTitle, MsgStyle::Exclamation};
}

MessageText backupOntoItselfMessage(BackupTarget target, const QString &folder)
{
    return {QStringLiteral("フォルダー「%1」はバックアップ先の%2の中にあるため、バックアップしません。\r")
                    .arg(shown(folder), mediumWord(target)) +
                ChooseAnotherFolder,
            PrepareTitle, MsgStyle::Exclamation};
}

MessageText backupRefusedQuestion(BackupTarget target, const BackupPlan &plan)
{
    QString text =
        QStringLiteral("次の名簿は、この%1には今の名前では置けないため、コピーしません。").arg(mediumWord(target));
    for (const RefusedNames &refused : plan.refused)
        text += u'\r' + quotedNames(refused.names) + QStringLiteral(": ") + refused.reason;
    if (plan.rosters.isEmpty())
        return {text + QStringLiteral("\rバックアップできる名簿はありません。"), PrepareTitle, MsgStyle::Exclamation};
    return {text + QStringLiteral("\rほかの名簿 %1 件をバックアップしますか？").arg(plan.rosters.size()), PrepareTitle,
            MsgStyle::OkCancel | MsgStyle::Question};
}

MessageText backupFailedQuestion(const QString &name, const QString &reason)
{
    return {QStringLiteral("「%1」をバックアップできませんでした。\r").arg(name) + reason +
                QStringLiteral("\r「再試行」でもう一度コピーし、「無視」でこの名簿を飛ばして続け、"
                               "「中止」でバックアップをやめます。"),
            QStringLiteral("ﾊﾞｯｸｱｯﾌﾟ失敗"),
            MsgStyle::AbortRetryIgnore | MsgStyle::Exclamation | MsgStyle::DefaultButton2};
}

MessageText backupDoneMessage(const BackupOutcome &outcome)
{
    QString text = outcome.stopped ? QStringLiteral("バックアップを中止しました。\r")
                                   : QStringLiteral("バックアップを終了しました。\r");
    const QString from =
        QStringLiteral("フォルダー「%1」の名簿 %2 件").arg(shown(outcome.sourceFolder), QString::number(outcome.found));
    const QString to = QStringLiteral("「%1」").arg(shown(outcome.targetFolder));
    if (outcome.notCopied.isEmpty() && outcome.copied == outcome.found)
        return {text + from + QStringLiteral("を") + to + QStringLiteral("にコピーしました。"),
                QStringLiteral("終了確認"), MsgStyle::Information};
    text += from + QStringLiteral("のうち %1 件を").arg(outcome.copied) + to + QStringLiteral("にコピーしました。");
    if (!outcome.notCopied.isEmpty())
        text += QStringLiteral("\rコピーしなかった名簿: ") + outcome.notCopied.join(QStringLiteral("、"));
    return {text, QStringLiteral("終了確認"), MsgStyle::Exclamation};
}
