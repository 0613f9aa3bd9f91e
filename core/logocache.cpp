#include "core/logocache.h"

#include "core/fileio.h"
#include "core/services.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace
{
const QByteArray Magic = QByteArrayLiteral("narabin logo image 1\n");

void stamp(QString &out, const QFileInfo &info)
{
    out += info.absoluteFilePath() + u' ' + QString::number(info.size()) + u' ' +
           QString::number(info.lastModified().toMSecsSinceEpoch()) + u'\n';
}
} // namespace

LogoLook::LogoLook() : version(QStringLiteral(NARABIN_VERSION)) {}

QByteArray logoCacheKey(const LogoLook &look)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << look.texts << look.faces << look.colours << look.size << look.pixelRatio << look.dotsPerInch << look.depth
        << look.fonts << look.renderer << look.version;
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex();
}

QString fontFilesStamp()
{
    QStringList places;
#ifdef Q_OS_WIN
    places << qEnvironmentVariable("WINDIR") + QStringLiteral("/Fonts")
           << qEnvironmentVariable("LOCALAPPDATA") + QStringLiteral("/Microsoft/Windows/Fonts");
#else
    const QString home = QDir::homePath();
    const QString cache = qEnvironmentVariable("XDG_CACHE_HOME", home + QStringLiteral("/.cache"));
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME", home + QStringLiteral("/.config"));
    const QString data = qEnvironmentVariable("XDG_DATA_HOME", home + QStringLiteral("/.local/share"));
    places << QStringLiteral("/etc/fonts/fonts.conf") << QStringLiteral("/etc/fonts/conf.d")
           << QStringLiteral("/var/cache/fontconfig") << cache + QStringLiteral("/fontconfig")
           << config + QStringLiteral("/fontconfig") << home + QStringLiteral("/.fontconfig")
           << QStringLiteral("/usr/share/fonts") << QStringLiteral("/usr/local/share/fonts")
           << data + QStringLiteral("/fonts") << home + QStringLiteral("/.fonts");
#endif
    QString out;
    for (const QString &place : places) {
        const QFileInfo info(place);
        if (!info.exists())
            continue;
        stamp(out, info);
        // A folder's own time changes when a file is added or removed in it, not when one
        // in a folder below is: the entries one level down are stamped too.
        if (info.isDir()) {
            for (const QFileInfo &entry :
                 QDir(place).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name))
                stamp(out, entry);
        }
    }
    return out;
}

QString logoCacheFile()
{
    QString folder = coreServices().cacheFolder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return QDir(folder).filePath(QStringLiteral("logo.cache"));
}

std::optional<QByteArray> readLogoCache(const QByteArray &key)
{
    const BytesRead read = readFileBytes(logoCacheFile());
    const QByteArray head = Magic + key + '\n';
    if (!read.ok || !read.bytes.startsWith(head) || read.bytes.size() < head.size() + 8)
        return std::nullopt;
    QDataStream in(read.bytes.sliced(head.size(), 8));
    qint64 length = 0;
    in >> length;
    if (length != read.bytes.size() - head.size() - 8)
        return std::nullopt;
    return read.bytes.sliced(head.size() + 8);
}

bool writeLogoCache(const QByteArray &key, const QByteArray &image)
{
    const QString path = logoCacheFile();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QByteArray length;
    QDataStream(&length, QIODevice::WriteOnly) << qint64(image.size());
    return writeFileAtomically(path, Magic + key + '\n' + length + image).isEmpty();
}
