#ifndef FILEINSTALL_H
#define FILEINSTALL_H

#include <QString>
#include <QtGlobal>

/// Checks a manifest entry before anything is downloaded or written for it:
/// \a dir must be relative ("" or segments ending in "/"), \a name a plain
/// file name, neither with a drive letter, a backslash, a ".." segment or a
/// control character, and no folder or name that Windows would change or
/// open as a device (a trailing dot or blank, CON, NUL, COM1...). On refusal
/// \a reason says why.
bool isSafeEntry(const QString &dir, const QString &name, QString *reason);

/// Whether \a path, with every symbolic link of its existing part resolved,
/// is \a root itself or lies below it.
bool staysInside(const QString &root, const QString &path);

/// Creates \a folder and every missing level above it, but only where the
/// result stays inside \a root.
bool makeFolderInside(const QString &root, const QString &folder, QString *errorText);

/// Replaces \a destination by a copy of \a source atomically: the new content
/// is written beside it and renamed over it, keeping the old file's
/// permissions. On failure the old file is untouched.
bool installFile(const QString &source, const QString &destination, QString *errorText);

/// The progress bar's value while file \a index of \a count has received
/// \a received of \a total bytes: the file's share of 0..100 on top of the
/// shares of the files before it. An unknown total (all bits set) or an
/// empty file counts as nothing received yet.
int progressValue(int index, int count, quint64 received, quint64 total);

#endif // FILEINSTALL_H
