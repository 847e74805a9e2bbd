#ifndef ENTRYNAME_H
#define ENTRYNAME_H

#include <QString>

/// Checks the text of a manifest entry: \a dir must be relative ("" or
/// segments ending in "/"), \a name a plain file name, neither with a drive
/// letter, a backslash, a ".." segment or a control character, and no
/// folder or name that Windows would change or open as a device (a trailing
/// dot or blank, CON, NUL, COM1...). On refusal \a reason says why.
bool isSafeEntry(const QString &dir, const QString &name, QString *reason);

/// Whether \a path stands in a download address as it is: the updater joins
/// names into an address as they stand, where "#", "?" and "%" would start
/// a fragment, a query or an escape. On refusal \a reason says why.
bool survivesInAddress(const QString &path, QString *reason);

/// The one rule for what a release may hold, which the updater, the
/// publisher and its --check all apply: a safe entry (isSafeEntry) whose
/// path stands in a download address as it is, and that is none of the
/// updater's own files (the manifests, the signature, the lock, anything in
/// the download folder), in any letter case, as on Windows. On refusal
/// \a reason says why.
bool isPublishable(const QString &dir, const QString &name, QString *reason);

/// Whether \a version can name its release's folder on the server
/// (ServerLayout::releaseFolder) as a safe folder name that stands in a
/// download address as it is. On refusal \a reason says why.
bool namesReleaseFolder(const QString &version, QString *reason);

#endif // ENTRYNAME_H
