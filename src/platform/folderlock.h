#ifndef FOLDERLOCK_H
#define FOLDERLOCK_H

#include <QString>

/// One process at a time, by a lock file that the operating system holds
/// for as long as the file stays open: it goes when the process ends,
/// however it ends (killed, crashed, the power gone), so a lock file left
/// on the disk never counts. Windows: the file open without sharing, and
/// deleted when it closes. Elsewhere: flock() on the open file. Nothing is
/// written in it and nothing in it is read.
class FolderLock
{
public:
    enum class Result {
        Taken,          ///< this object holds the lock now
        HeldByAnother,  ///< another open of the file, in any process, holds it
        NotPossible     ///< no lock file can be made or opened there
    };

    explicit FolderLock(const QString &path) : path(path) {}
    ~FolderLock();
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    /// Takes the lock without waiting.
    Result tryLock();
    /// Releases the lock and removes the file where it may.
    void unlock();
    bool isLocked() const;

private:
    const QString path;
#ifdef Q_OS_WIN
    void *handle = nullptr;
#else
    int descriptor = -1;
#endif
};

#endif // FOLDERLOCK_H
