#ifndef WRITEPROBE_H
#define WRITEPROBE_H

#include <QString>

/// Whether a file can be created in \a folder, found by creating and
/// removing one: permissions, ownership, a read-only disk and Windows'
/// rules for Program Files all answer the same way. On refusal \a reason
/// says why.
bool canCreateFileIn(const QString &folder, QString *reason);

/// Whether the existing file \a path may be replaced for all the system
/// knows: not read-only (the attribute on Windows, what access(2) answers
/// elsewhere). Opening it would fail for a file another program holds only
/// for a while, and would set virus scanners to work on every file.
bool mayReplaceFile(const QString &path, QString *reason);

#endif // WRITEPROBE_H
