#include "core/backupmedia.h"

#include "core/services.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStorageInfo>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>

#include <string>
#endif

namespace
{
QString userName()
{
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? QDir::home().dirName() : user;
}
} // namespace

QStringList backupMediaRoots()
{
    if (!coreServices().backupMediaRoots.isEmpty())
        return coreServices().backupMediaRoots;
    const QString user = userName();
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
            media.append({path, label.isEmpty() ? entry.fileName() : label, storage.bytesAvailable()});
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
        return BackupMedium{path, label.isEmpty() ? QDir::toNativeSeparators(path) : label, storage.bytesAvailable()};
    };
    const QStorageInfo floppy(QStringLiteral("A:/"));
    if (floppy.isValid() && floppy.isReady())
        return {medium(floppy)};
    QList<BackupMedium> media;
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        const std::wstring root = QDir::toNativeSeparators(storage.rootPath()).toStdWString();
        if (storage.isReady() && GetDriveTypeW(root.c_str()) == DRIVE_REMOVABLE)
            media.append(medium(storage));
    }
    return media;
#else
    return mountedBackupMedia(backupMediaRoots());
#endif
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
    return BackupTarget::FloppyDrive;
#else
    return BackupTarget::RemovableMedium;
#endif
}

MessageText backupPrepareQuestion(BackupTarget target)
{
    const QString text =
        target == BackupTarget::FloppyDrive
            ? QStringLiteral("データのバックアップをとる場合はドライブＡに\rフロッピーディスクをセットして下さい。")
            : QStringLiteral("データのバックアップをとる場合は\rUSBメモリーをセットして下さい。");
    return {text, QStringLiteral("ﾊﾞｯｸｱｯﾌﾟ準備"), MsgStyle::OkCancel | MsgStyle::Question};
}

MessageText backupMissingQuestion(BackupTarget target)
{
    const QString text = target == BackupTarget::FloppyDrive
                             ? QStringLiteral("ドライブＡにフロッピーディスクがセットされていません。\r"
                                              "処理を続ける場合はフロッピーディスクをセットして下さい。")
                             : QStringLiteral("USBメモリーがセットされていません。\r"
                                              "処理を続ける場合はUSBメモリーをセットして下さい。");
    return {text, QStringLiteral("ﾊﾞｯｸｱｯﾌﾟ準備"), MsgStyle::OkCancel | MsgStyle::Question};
}

MessageText backupDoneMessage(BackupTarget target, const QString &folder)
{
    QString text = QStringLiteral("バックアップを終了しました。");
    if (target == BackupTarget::RemovableMedium)
        text += QStringLiteral("\r保存先: ") + QDir::toNativeSeparators(folder);
    return {text, QStringLiteral("終了確認"), MsgStyle::Information};
}
