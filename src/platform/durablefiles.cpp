#include "durablefiles.h"

#include <QFile>
#include <QFileDevice>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

#ifndef Q_OS_WIN
bool flushOpened(const QString &path, int flags, bool wholeFileSystem)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
#ifdef Q_OS_LINUX
    const bool flushed = (wholeFileSystem ? ::syncfs(fd) : ::fsync(fd)) == 0;
#else
    Q_UNUSED(wholeFileSystem)
    const bool flushed = ::fsync(fd) == 0;
#endif
    ::close(fd);
    return flushed;
}
#endif

} // namespace

bool flushToDisk(const QString &directory, const QStringList &files)
{
#ifdef Q_OS_LINUX
    Q_UNUSED(files)
    return flushOpened(directory, O_RDONLY | O_DIRECTORY, true);
#else
    Q_UNUSED(directory)
    for (const QString &path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite))
            return false;
#ifdef Q_OS_WIN
        if (::_commit(file.handle()) != 0)
            return false;
#else
        if (::fsync(file.handle()) != 0)
            return false;
#endif
    }
    return true;
#endif
}

bool flushAsStaged(QFileDevice &file)
{
#ifdef Q_OS_WIN
    return file.flush() && ::_commit(file.handle()) == 0;
#else
    Q_UNUSED(file)
    return true;
#endif
}

bool flushAsStaged(const QString &path)
{
#ifdef Q_OS_WIN
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && flushAsStaged(file);
#else
    Q_UNUSED(path)
    return true;
#endif
}

bool flushStagedFiles(const QString &directory)
{
#ifdef Q_OS_LINUX
    return flushOpened(directory, O_RDONLY | O_DIRECTORY, true);
#else
    Q_UNUSED(directory)
    return true;
#endif
}

void flushDirectory(const QString &directory)
{
#ifdef Q_OS_WIN
    Q_UNUSED(directory)
#else
    flushOpened(directory, O_RDONLY | O_DIRECTORY, false);
#endif
}
