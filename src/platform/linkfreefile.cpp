#include "linkfreefile.h"
#include "windowsfiles.h"

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

bool isPlainName(const QString &part)
{
    return !part.isEmpty() && part != QLatin1String(".") && part != QLatin1String("..")
           && !part.contains(QLatin1Char('\\'));
}

} // namespace

LinkFreeFile::~LinkFreeFile()
{
    opened.close();
    releaseFolders();
}

bool LinkFreeFile::fail(const QString &what, const QString &path)
{
    error = QStringLiteral("%1: %2").arg(path, what);
    releaseFolders();
    return false;
}

#ifdef Q_OS_WIN

namespace {

HANDLE openEntry(const QString &path, DWORD access, DWORD share, DWORD flags)
{
    return CreateFileW(WindowsFiles::longPath(path).toStdWString().c_str(), access, share, nullptr, OPEN_EXISTING,
                       FILE_FLAG_OPEN_REPARSE_POINT | flags, nullptr);
}

QString systemError()
{
    return qt_error_string(int(GetLastError()));
}

} // namespace

void LinkFreeFile::releaseFolders()
{
    for (void *folder : heldFolders)
        CloseHandle(folder);
    heldFolders.clear();
}

bool LinkFreeFile::open(const QString &root, const QString &relativePath)
{
    const QStringList parts = relativePath.split(QLatin1Char('/'));
    QString path = root;
    for (int i = 0; i <= parts.size(); ++i) {
        if (i > 0 && !isPlainName(parts.at(i - 1)))
            return fail(QStringLiteral("not a plain name"), relativePath);
        if (i > 0)
            path += QLatin1Char('/') + parts.at(i - 1);
        const bool last = i == parts.size();
        // No sharing for deletion: no folder or file on the way can be
        // renamed or replaced while it is held.
        HANDLE entry = last ? openEntry(path, GENERIC_READ, FILE_SHARE_READ, FILE_FLAG_SEQUENTIAL_SCAN)
                            : openEntry(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        FILE_FLAG_BACKUP_SEMANTICS);
        if (entry == INVALID_HANDLE_VALUE)
            return fail(systemError(), path);
        BY_HANDLE_FILE_INFORMATION information;
        const bool known = GetFileInformationByHandle(entry, &information);
        const DWORD attributes = known ? information.dwFileAttributes : 0;
        QString refusal;
        if (!known)
            refusal = systemError();
        else if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
            refusal = QStringLiteral("a link or junction");
        else if (bool(attributes & FILE_ATTRIBUTE_DIRECTORY) == last)
            refusal = last ? QStringLiteral("a folder, not a file") : QStringLiteral("not a folder");
        else if (last && information.nNumberOfLinks != 1)
            refusal = QStringLiteral("a file with more than one name (a hard link)");
        if (!refusal.isEmpty()) {
            CloseHandle(entry);
            return fail(refusal, path);
        }
        if (!last) {
            heldFolders.push_back(entry);
            continue;
        }
        const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(entry), _O_RDONLY | _O_BINARY);
        if (descriptor < 0) {
            CloseHandle(entry);
            return fail(QStringLiteral("cannot be read"), path);
        }
        if (!opened.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            _close(descriptor);
            return fail(opened.errorString(), path);
        }
    }
    return true;
}

#else

namespace {

// Why \a name in \a folder could not be opened: O_NOFOLLOW meets a link as
// ELOOP, or as ENOTDIR where O_DIRECTORY is asked for too.
QString openError(int folder, const QByteArray &name, int code)
{
    struct stat information;
    if (code == ELOOP || code == ENOTDIR) {
        if (fstatat(folder, name.constData(), &information, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(information.st_mode))
            return QStringLiteral("a link");
        if (code == ENOTDIR)
            return QStringLiteral("not a folder");
    }
    return qt_error_string(code);
}

} // namespace

void LinkFreeFile::releaseFolders()
{
}

bool LinkFreeFile::open(const QString &root, const QString &relativePath)
{
    const QStringList parts = relativePath.split(QLatin1Char('/'));
    const QByteArray rootName = QFile::encodeName(root);
    int folder = ::open(rootName.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0)
        return fail(openError(AT_FDCWD, rootName, errno), root);
    QString path = root;
    for (int i = 0; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        path += QLatin1Char('/') + part;
        if (!isPlainName(part)) {
            ::close(folder);
            return fail(QStringLiteral("not a plain name"), path);
        }
        const bool last = i == parts.size() - 1;
        // O_NONBLOCK: a pipe put in a file's place must not hang the open.
        const int flags = last ? O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK
                               : O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
        const QByteArray name = QFile::encodeName(part);
        const int entry = openat(folder, name.constData(), flags);
        const QString refusal = entry < 0 ? openError(folder, name, errno) : QString();
        ::close(folder);
        if (entry < 0)
            return fail(refusal, path);
        folder = entry;
    }
    struct stat information;
    QString refusal;
    if (fstat(folder, &information) != 0)
        refusal = qt_error_string(errno);
    else if (!S_ISREG(information.st_mode))
        refusal = QStringLiteral("not a plain file");
    else if (information.st_nlink != 1)
        refusal = QStringLiteral("a file with more than one name (a hard link)");
    if (refusal.isEmpty() && !opened.open(folder, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        refusal = opened.errorString();
    if (!refusal.isEmpty()) {
        ::close(folder);
        return fail(refusal, path);
    }
    return true;
}

#endif
