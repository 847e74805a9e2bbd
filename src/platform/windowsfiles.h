#ifndef WINDOWSFILES_H
#define WINDOWSFILES_H

#include <QString>
#include <QStringList>

/// What Windows can tell about files and the programs that use them: the
/// raw error of a move, whether it means another program holds the file,
/// who that is, and the long paths Windows' wide calls take; whether a
/// program runs is told in the same namespace (runningprograms.h). It knows
/// nothing of releases. Elsewhere a move is a plain rename and nothing is
/// known to be held.
namespace WindowsFiles {

/// A system error code: GetLastError() on Windows, errno elsewhere; 0 is success.
using ErrorCode = unsigned long;
/// Windows' code for a file that another program opened without sharing it.
constexpr ErrorCode sharingViolation = 32;

/// Renames the file \a from to \a to, which must not exist yet.
ErrorCode move(const QString &from, const QString &to);
/// Whether \a code, from a call on \a path, means that another program
/// has the file open for now, rather than that it may never be written.
bool isHeldByAnother(ErrorCode code, const QString &path);
/// The file names of the programs that have any of \a paths open, as
/// Windows' Restart Manager tells them; empty when it cannot tell.
QStringList holders(const QStringList &paths);
/// \a path as Windows' wide calls take it: backslashes, and for a full
/// path the \\?\ prefix that lets it pass 260 characters.
QString longPath(const QString &path);

} // namespace WindowsFiles

#endif // WINDOWSFILES_H
