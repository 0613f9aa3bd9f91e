#pragma once

#include <QString>

#include <chrono>
#include <memory>

class QLockFile;

// Two copies of the program (a second start, or a colleague on a shared folder) may
// read, change and write one file at the same moment; each such read-change-write holds
// this lock for its whole span, so that neither loses the other's change. The lock is a
// file beside the one it guards (its name with ".lock"); a lock left behind by a copy
// that has ended is taken over.
class FileLock
{
public:
    // Waits for the lock as long as the services say, else a few seconds.
    explicit FileLock(const QString &guardedPath);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    bool held() const { return error_.isEmpty(); }
    // Why the lock was not had, for the user (names the file); empty while held.
    QString error() const { return error_; }

private:
    std::unique_ptr<QLockFile> lock_;
    QString error_;
};

// How long a copy waits for another one's lock when the services say nothing.
inline constexpr std::chrono::milliseconds DefaultLockWait{5000};
