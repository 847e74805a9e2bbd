// Removes from the release folder what an earlier run left and this run
// does not publish.

#ifndef LEFTOVERS_H
#define LEFTOVERS_H

#include "compressionplan.h"
#include "releasefile.h"

#include <QSet>
#include <QString>
#include <QVector>

/// Leaves \a releaseFolder as a fresh run would: every file and link not in
/// \a published goes, and then every folder left empty.
bool removeLeftovers(const QString &releaseFolder, const QSet<QString> &published, QString *error);

/// Everything the release folder holds once published: the files, the
/// compressed forms kept, and the signature when \a isSigned.
QSet<QString> publishedPaths(const QVector<ReleaseFile> &files, const QVector<CompressedOutput> &outputs,
                             bool isSigned);

#endif // LEFTOVERS_H
