#ifndef ENTRYCHECK_H
#define ENTRYCHECK_H

#include <QString>

/// Checks a manifest entry before anything is downloaded or written for it:
/// \a dir must be relative ("" or segments ending in "/"), \a name a plain
/// file name, neither with a drive letter, a backslash, a ".." segment or a
/// control character, and no folder or name that Windows would change or
/// open as a device (a trailing dot or blank, CON, NUL, COM1...). On refusal
/// \a reason says why.
bool isSafeEntry(const QString &dir, const QString &name, QString *reason);

#endif // ENTRYCHECK_H
