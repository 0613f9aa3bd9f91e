#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

#include <optional>

// The logo as stored in the cache: its image and the point size each label was drawn at
// (a stand-in face may have made the lettering shrink to fit).
struct LogoImage {
    QImage image;
    QList<qreal> pointSizes;
};
QByteArray logoImageBytes(const LogoImage &logo);
// None when the bytes are not an image of `labels` labels.
std::optional<LogoImage> logoImageFromBytes(const QByteArray &bytes, qsizetype labels);

// The fonts installed, as far as they can be seen without opening one.
QString installedFontsStamp();
// How text comes out on this display: the toolkit, the window system, and a word drawn in
// the menus' face, which is open anyway (smoothing, hinting and sub-pixel order show in it).
QString textRenderingStamp();
