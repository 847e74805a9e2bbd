#ifndef ENTRYCHECK_H
#define ENTRYCHECK_H

#include <QString>

/// Checks a manifest entry before anything is downloaded or written for it:
/// \a dir must be relative ("" or segments ending in "/"), \a name a plain
/// file name, neither with a drive letter, a backslash, a ".." segment or a
/// control character. On refusal \a reason says why.
bool isSafeEntry(const QString &dir, const QString &name, QString *reason);

#endif // ENTRYCHECK_H
