#include "folderlock.h"
#include "windowsfiles.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>

#include <string>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

FolderLock::~FolderLock()
{
    unlock();
}

#ifdef Q_OS_WIN

namespace {

HANDLE openUnshared(const std::wstring &file, DWORD access, DWORD flags)
{
    return CreateFileW(file.c_str(), access, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | flags, nullptr);
}

} // namespace

// Access is checked before sharing: a user who may not delete another
// user's lock file still meets its holder through a plain unshared open.
FolderLock::Result FolderLock::tryLock()
{
    if (isLocked())
        return Result::Taken;
    const std::wstring file = WindowsFiles::longPath(path).toStdWString();
    HANDLE opened = openUnshared(file, GENERIC_READ | DELETE, FILE_FLAG_DELETE_ON_CLOSE);
    if (opened == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED)
        opened = openUnshared(file, GENERIC_READ, 0);
    if (opened != INVALID_HANDLE_VALUE) {
        handle = opened;
        return Result::Taken;
    }
    const DWORD code = GetLastError();
    return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION ? Result::HeldByAnother
                                                                           : Result::NotPossible;
}

void FolderLock::unlock()
{
    if (isLocked())
        CloseHandle(handle);
    handle = nullptr;
}

bool FolderLock::isLocked() const
{
    return handle != nullptr;
}

#else

namespace {

// Whether the open file is still the one the path names: a holder removes
// it when it lets go, and a lock on a removed file would lock nothing.
bool namesOpenFile(int descriptor, const QByteArray &file)
{
    struct stat opened;
    struct stat named;
    return fstat(descriptor, &opened) == 0 && stat(file.constData(), &named) == 0
           && opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

int openLockFile(const QByteArray &file)
{
    // Not inherited: Brenvoth, started by the updater, must not keep the lock.
    const int descriptor = open(file.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor >= 0 || errno != EACCES)
        return descriptor;
    // Another user's lock file: reading is enough to lock it.
    return open(file.constData(), O_RDONLY | O_CLOEXEC);
}

} // namespace

FolderLock::Result FolderLock::tryLock()
{
    if (isLocked())
        return Result::Taken;
    const QByteArray file = QFile::encodeName(path);
    // Each pass that fails the name check met a holder letting go.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int opened = openLockFile(file);
        if (opened < 0)
            return Result::NotPossible;
        if (flock(opened, LOCK_EX | LOCK_NB) != 0) {
            const int code = errno;
            close(opened);
            return code == EWOULDBLOCK ? Result::HeldByAnother : Result::NotPossible;
        }
        if (namesOpenFile(opened, file)) {
            descriptor = opened;
            return Result::Taken;
        }
        close(opened);
    }
    return Result::HeldByAnother;
}

// Removed while still locked, so that no one locks the removed file.
void FolderLock::unlock()
{
    if (!isLocked())
        return;
    unlink(QFile::encodeName(path).constData());
    close(descriptor);
    descriptor = -1;
}

bool FolderLock::isLocked() const
{
    return descriptor >= 0;
}

#endif
