#pragma once

// Small fixtures that the roster, main-window, file and bad-input tests share.
#include "core/startup.h"
#include "mainwin/filedialogs.h"
#include "mainwin/mainwindow.h"
#include "support/fixtures.h"

#include <QAction>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>

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

// The copy or rename dialog answered when it opens: `name` typed and OK pressed (the button
// taking the focus, as a click does), then Cancel if it is still open; `stayed`: whether it was.
inline void answerNameDialog(bool copy, const QString &name, bool *stayed = nullptr)
{
    whenModal([=] {
        FileNameDialog *d =
            copy ? static_cast<FileNameDialog *>(loadedForm<FileCopyDialog>()) : loadedForm<RenameDialog>();
        QVERIFY(d);
        d->buttons[0]->setFocus();
        d->nameBox->setText(name);
        d->buttons[0]->click();
        if (stayed)
            *stayed = !d->isUnloaded();
        if (!d->isUnloaded())
            d->buttons[1]->click();
    });
}
