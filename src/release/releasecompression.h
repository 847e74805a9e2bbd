// Makes the .zst files and patches of a release on several cores, or takes
// them from an earlier run, and keeps the patches worth fetching.

#ifndef RELEASECOMPRESSION_H
#define RELEASECOMPRESSION_H

#include "compressionplan.h"
#include "releasefile.h"
#include "releaseoptions.h"

#include <QString>
#include <QStringList>
#include <QVector>

/// Makes every output that planOutputs() plans for the copies in
/// \a releaseFolder, the largest first so that no large one starts last,
/// then keeps a patch only when it is smaller than what the updater would
/// fetch without it, and gives \a files their zsize and patches. No more
/// outputs are in the making than cores, and no more zstd workers: memory is
/// that many sets of zstd's tables and windows, whatever the size of the
/// release.
bool compressRelease(const ReleaseOptions &options, const QString &releaseFolder, const QStringList &earlierFolders,
                     QVector<ReleaseFile> *files, QVector<CompressedOutput> *outputs, QString *error);

#endif // RELEASECOMPRESSION_H
