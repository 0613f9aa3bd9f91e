#pragma once

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

// The main window's logo is drawn once and kept as an image in the user's cache folder, so
// that a start-up shows it without opening the faces it is lettered in.

// Everything the logo's pixels depend on; a change of any of them draws it afresh.
struct LogoLook {
    LogoLook();             // the running program's version
    QStringList texts;      // each line of lettering with its place
    QStringList faces;      // the faces each line asks for, with size and weight
    QList<quint32> colours; // lettering, shadow, and the background under them
    QSize size;             // device-independent pixels
    qreal pixelRatio = 1;
    qreal dotsPerInch = 96;
    int depth = 24;
    QString fonts;    // the installed fonts as far as they can be seen without opening one
    QString renderer; // what draws the text: toolkit, window system, smoothing
    QString version;
};

QByteArray logoCacheKey(const LogoLook &look);

// Sizes and times of the font configuration, its caches and the font folders: a font
// installed, removed or replaced changes one of them.
QString fontFilesStamp();

// The bytes stored under `key`; none when the cache holds no image, another key's image,
// or one cut short.
std::optional<QByteArray> readLogoCache(const QByteArray &key);
// Replaces the cached image. A failure only means drawing the logo again next time, so it
// is not reported; the writer never leaves part of a file.
bool writeLogoCache(const QByteArray &key, const QByteArray &image);
// Where the image is kept.
QString logoCacheFile();
