#ifndef WINDOWSFILES_H
#define WINDOWSFILES_H

#include <QString>

/// Moving a file as Windows does, and what the move's error means: the raw
/// error of a move, whether it means that another program holds the file
/// for now, and the long paths Windows' wide calls take. It knows nothing of
/// releases. Elsewhere a move is a plain rename and nothing is known to be
/// held. Who holds a file (fileholders.h) and whether a program runs
/// (runningprograms.h) are told in the same namespace.
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
/// \a path as Windows' wide calls take it: backslashes, and for a full
/// path the \\?\ prefix that lets it pass 260 characters.
QString longPath(const QString &path);

} // namespace WindowsFiles

#endif // WINDOWSFILES_H
