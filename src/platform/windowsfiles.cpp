#include "windowsfiles.h"

#include <QDir>

#ifdef Q_OS_WIN
#include <windows.h>

#include <string>
#else
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#endif

#ifdef Q_OS_WIN

WindowsFiles::ErrorCode WindowsFiles::move(const QString &from, const QString &to)
{
    const std::wstring source = longPath(from).toStdWString();
    const std::wstring target = longPath(to).toStdWString();
    return MoveFileExW(source.c_str(), target.c_str(), 0) ? 0 : GetLastError();
}

// Denied access to a file that exists and is not read-only is a hold too
// (a replace onto a file opened without sharing the right to delete it),
// unless this user may not delete the file at all, as in a folder that is
// not theirs: that one would never pass.
bool WindowsFiles::isHeldByAnother(ErrorCode code, const QString &path)
{
    if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION)
        return true;
    if (code != ERROR_ACCESS_DENIED)
        return false;
    const std::wstring file = longPath(path).toStdWString();
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    const HANDLE probe = CreateFileW(file.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE)
        return GetLastError() != ERROR_ACCESS_DENIED;
    CloseHandle(probe);
    return true;
}

#else

WindowsFiles::ErrorCode WindowsFiles::move(const QString &from, const QString &to)
{
    const QByteArray target = QFile::encodeName(to);
    struct stat existing;
    if (lstat(target.constData(), &existing) == 0)
        return EEXIST;
    return std::rename(QFile::encodeName(from).constData(), target.constData()) == 0 ? 0 : ErrorCode(errno);
}

bool WindowsFiles::isHeldByAnother(ErrorCode, const QString &)
{
    return false;
}

#endif

// Windows takes a \\?\ path as it stands: it must already be clean.
QString WindowsFiles::longPath(const QString &path)
{
    QString slashed = QString(path).replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString prefix;
    if (slashed.startsWith(QLatin1String("//?/UNC/"))) {
        prefix = QStringLiteral("\\\\?\\UNC\\");
        slashed = slashed.mid(8);
    } else if (slashed.startsWith(QLatin1String("//?/"))) {
        prefix = QStringLiteral("\\\\?\\");
        slashed = slashed.mid(4);
    } else if (slashed.startsWith(QLatin1String("//"))) {
        prefix = QStringLiteral("\\\\?\\UNC\\");
        slashed = slashed.mid(2);
    } else if (slashed.size() >= 3 && slashed.at(0).isLetter() && slashed.at(1) == QLatin1Char(':')
               && slashed.at(2) == QLatin1Char('/')) {
        prefix = QStringLiteral("\\\\?\\");
    }
    return prefix + QDir::cleanPath(slashed).replace(QLatin1Char('/'), QLatin1Char('\\'));
}
