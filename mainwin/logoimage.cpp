#include "mainwin/logoimage.h"

#include "core/logocache.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QFontDatabase>
#include <QIODevice>
#include <QPainter>

QByteArray logoImageBytes(const LogoImage &logo)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    const QImage &image = logo.image;
    out << logo.pointSizes << qint32(image.width()) << qint32(image.height()) << qint32(image.format())
        << qint64(image.bytesPerLine()) << image.devicePixelRatio();
    out.writeRawData(reinterpret_cast<const char *>(image.constBits()), int(image.sizeInBytes()));
    return bytes;
}

std::optional<LogoImage> logoImageFromBytes(const QByteArray &bytes, qsizetype labels)
{
    QDataStream in(bytes);
    LogoImage logo;
    qint32 width = 0, height = 0, format = 0;
    qint64 bytesPerLine = 0;
    qreal ratio = 0;
    in >> logo.pointSizes >> width >> height >> format >> bytesPerLine >> ratio;
    if (in.status() != QDataStream::Ok || logo.pointSizes.size() != labels || width <= 0 || height <= 0 ||
        format <= QImage::Format_Invalid || format >= QImage::NImageFormats || ratio <= 0)
        return std::nullopt;
    QImage image(width, height, QImage::Format(format));
    if (image.isNull() || image.bytesPerLine() != bytesPerLine ||
        in.device()->bytesAvailable() != image.sizeInBytes() ||
        in.readRawData(reinterpret_cast<char *>(image.bits()), int(image.sizeInBytes())) != image.sizeInBytes())
        return std::nullopt;
    image.setDevicePixelRatio(ratio);
    logo.image = image;
    return logo;
}

QString installedFontsStamp()
{
    return QFontDatabase::families().join(u'\n') + u'\n' + fontFilesStamp();
}

QString textRenderingStamp()
{
    QImage probe(48, 24, QImage::Format_RGB32);
    probe.fill(Qt::white);
    {
        QPainter painter(&probe);
        painter.setFont(QApplication::font());
        painter.setPen(Qt::black);
        painter.drawText(probe.rect(), Qt::AlignCenter, QStringLiteral("Ag字"));
    }
    const QByteArray pixels(reinterpret_cast<const char *>(probe.constBits()), qsizetype(probe.sizeInBytes()));
    return QGuiApplication::platformName() + u' ' + QString::fromLatin1(qVersion()) + u' ' +
           QString::fromLatin1(QCryptographicHash::hash(pixels, QCryptographicHash::Sha256).toHex());
}
