#ifndef MANIFESTWRITER_H
#define MANIFESTWRITER_H

#include "manifest.h"

#include <QMap>

/// What the publisher writes into a manifest; manifest.h reads it back.
namespace Manifest {

/// A new manifest: the XML declaration (UTF-8) and an empty filelist.
QDomDocument create();

/// Sets the root's published to \a seconds since 1970 UTC.
void setPublished(QDomElement root, qint64 seconds);

/// A file as a release lists it: what it is, what it must hold, and the
/// smaller ways to it.
struct ListedFile
{
    FileEntry entry;
    FileIntegrity integrity;
    Delivery delivery;
};

/// Appends release \a version below \a root, with its notes (see
/// ReleaseNotes::write) and \a files, and makes it the current release.
void appendCurrentRelease(QDomElement root, const QString &version, const QString &notes,
                          const QMap<QString, QString> &notesByLanguage, const QVector<ListedFile> &files);

} // namespace Manifest

#endif // MANIFESTWRITER_H
