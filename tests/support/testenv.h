#pragma once

#include "shell/windownavigator.h"
#include "support/scriptedplatform.h"

#include <QAction>
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

// A clean world for one test case: an empty settings store and a work folder (the
// current directory) in a temporary folder, the zero-filled shared state, a scripted
// platform, the Japanese locale and a fixed clock. Everything is undone on destruction,
// every window included.
class TestEnv
{
public:
    TestEnv();
    ~TestEnv();
    TestEnv(const TestEnv &) = delete;
    TestEnv &operator=(const TestEnv &) = delete;

    ScriptedPlatform platform;
    // In force for the test's life: the scripted platform, a fixed clock, a temporary
    // settings folder; tests set the rest (run source, backup folder, write limit).
    Services services;

    QString root() const { return dir_.path(); }
    QString work() const { return dir_.filePath(QStringLiteral("work")); } // the current directory at the start
    QString path(const QString &relative) const;                           // under work()
    void writeFile(const QString &relative, const QByteArray &bytes) const;
    QByteArray readFile(const QString &relative) const;
    // The settings store's file.
    QString settingsFile() const { return dir_.filePath(QStringLiteral("config/Narabin/Narabin.conf")); }
    void setNow(const QDateTime &now);
    // The device of files whose path ends in `pathSuffix` takes `bytes` bytes and then
    // fails as a full disk does.
    void limitWrites(const QString &pathSuffix, qint64 bytes);

private:
    QTemporaryDir dir_;
    WindowNavigator navigator_;
};

// For as long as it lives, the calling thread is held to file permissions even when
// run by root (as CI runs), so that an unreadable file or an unwritable folder fails
// as it does for a teacher. Does nothing for other users, who are held to them anyway.
class HeldToPermissions
{
public:
    HeldToPermissions();
    ~HeldToPermissions();
    HeldToPermissions(const HeldToPermissions &) = delete;
    HeldToPermissions &operator=(const HeldToPermissions &) = delete;

private:
    bool dropped_ = false;
};

// The action of a window by objectName; null when missing.
QAction *findAction(QWidget *window, const QString &name);

// Triggers a window's action, failing the test when it is missing or disabled.
#define TRIGGER(window, name)                                                                                          \
    do {                                                                                                               \
        QAction *a_ = findAction((window), QStringLiteral(name));                                                      \
        QVERIFY2(a_, "no action " name);                                                                               \
        QVERIFY2(a_->isEnabled(), "action " name " is disabled");                                                      \
        a_->trigger();                                                                                                 \
    } while (false)

// Runs `fn` once the event loop runs again: the way to act inside a modal exec().
void whenModal(std::function<void()> fn);

// "Shift_JIS" bytes of a text, for fixtures.
QByteArray sjis(const QString &text);
