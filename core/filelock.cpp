#include "core/filelock.h"

#include "core/fileio.h"
#include "core/services.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

FileLock::FileLock(const QString &guardedPath)
    : lock_(std::make_unique<QLockFile>(guardedPath + QStringLiteral(".lock")))
{
    const QDeadlineTimer deadline(coreServices().lockWait.count() > 0 ? coreServices().lockWait : DefaultLockWait);
    // Short polls rather than QLockFile's own doubling pauses: another copy holds the lock
    // for milliseconds, and the user should not wait seconds after it is free.
    for (;;) {
        if (lock_->tryLock(0))
            return;
        if (lock_->error() != QLockFile::LockFailedError) {
            error_ = fileErrorReason(qt_error_string(-1)); // errno of the failed create
            return;
        }
        if (deadline.hasExpired())
            break;
        QThread::msleep(10);
    }
    error_ = QStringLiteral("ほかのならびん君が「%1」を使用中です。しばらくしてからもう一度お試し下さい。")
                 .arg(QFileInfo(guardedPath).fileName());
}

FileLock::~FileLock() = default;
