#ifndef SERVERLAYOUT_H
#define SERVERLAYOUT_H

#include <QByteArray>
#include <QString>

/// Where a release lies on the download server, below the download base URL
/// (the folder that holds the manifest): the publisher lays it out so, and
/// the updater and --check fetch it so. Paths are relative and joined as
/// they stand, "/" between folders.
namespace ServerLayout {

/// The download base URL's path below the server's root.
QString basePath();
/// The manifest of every release, at the base.
QString manifestName();
/// The folder of release \a version: "v" + version + "/", never translated.
QString releaseFolder(const QString &version);
/// The manifest's signature, in the folder of the release it names current.
QString signatureName();
/// A file of a release, \a dir (empty or ending in "/") and \a name as the
/// manifest gives them, joined with nothing in between.
QString filePath(const QString &dir, const QString &name);
/// The file at \a path compressed whole with zstd.
QString compressedPath(const QString &path);
/// A zstd patch that turns the copy with SHA-256 \a from (32 raw bytes)
/// into the file at \a path.
QString patchPath(const QString &path, const QByteArray &from);

} // namespace ServerLayout

#endif // SERVERLAYOUT_H
