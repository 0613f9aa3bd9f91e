#pragma once

// Small fixtures that the roster, main-window and bad-input tests share.
#include "core/sharedstate.h"
#include "core/startup.h"
#include "mainwin/mainwindow.h"
#include "support/fixtures.h"

#include <QAction>
#include <QDirIterator>
#include <QFile>
#include <QMap>

// The main window, created (running its Load) and shown.
inline MainWindow *shownMain()
{
    MainWindow *w = form<MainWindow>();
    w->show();
    return w;
}

// Start-up's settings over the store as it is, then `before`, then the main window shown.
inline MainWindow *startedMain(const std::function<void()> &before = {})
{
    loadStartupSettings(QDir::currentPath());
    if (before)
        before();
    return shownMain();
}

// The visible items of the main window's past-log list, by caption.
inline QStringList pastLogItems(const MainWindow *w)
{
    QStringList out;
    for (const auto &[index, action] : w->pastResultItems) {
        if (index > 0 && action->isVisible())
            out.append(action->text());
    }
    return out;
}

// Every entry under a folder by relative path: a file's bytes, or what else it is.
using Files = QMap<QString, QByteArray>;
inline Files fileTree(const QString &root)
{
    Files out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QByteArray what = info.isDir() ? QByteArray("<folder>") : QByteArray("<not a file>");
        if (info.isFile()) {
            QFile f(info.filePath());
            what = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
        }
        out.insert(QDir(root).relativeFilePath(info.filePath()), what);
    }
    return out;
}
