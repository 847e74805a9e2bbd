#ifndef WINDOWSFILES_H
#define WINDOWSFILES_H

#include <QString>
#include <QStringList>

/// What Windows can tell about files and the programs that use them: the
/// raw error of a move, whether it means another program holds the file,
/// who that is, and whether a program runs. It knows nothing of releases.
/// Elsewhere a move is a plain rename and nothing is known to be held.
class WindowsFiles
{
public:
    /// A system error code: GetLastError() on Windows, errno elsewhere; 0 is success.
    using ErrorCode = unsigned long;
    /// Windows' code for a file that another program opened without sharing it.
    static constexpr ErrorCode sharingViolation = 32;

    /// Renames the file \a from to \a to, which must not exist yet.
    static ErrorCode move(const QString &from, const QString &to);
    /// Whether \a code, from a call on \a path, means that another program
    /// has the file open for now, rather than that it may never be written.
    static bool isHeldByAnother(ErrorCode code, const QString &path);
    /// The file names of the programs that have any of \a paths open, as
    /// Windows' Restart Manager tells them; empty when it cannot tell.
    static QStringList holders(const QStringList &paths);
    /// Whether a program started from \a executable (a full path) is running.
    static bool isRunning(const QString &executable);
    /// \a path as Windows' wide calls take it: backslashes, and for a full
    /// path the \\?\ prefix that lets it pass 260 characters.
    static QString longPath(const QString &path);
};

#endif // WINDOWSFILES_H
