// The options of one run of the publisher.

#ifndef RELEASEOPTIONS_H
#define RELEASEOPTIONS_H

#include <QString>
#include <QStringList>

/// What one run of brenvoth-release publishes.
struct ReleaseOptions
{
    QString previousManifest; ///< empty: the first release
    QString version;
    QString notesFile;
    QString secretKey; ///< empty: unsigned
    QString serverRoot;
    QString releaseDir;
    int level = 19;      ///< zstd level of the .zst files and patches
    int patchesFrom = 3; ///< how many earlier releases to patch from
    int jobs = 0;        ///< how many files are compressed at once; 0: one per core
    int expiresDays = 0; ///< days after publication when the manifest goes stale; 0: never
    QStringList notesFor = {}; ///< "LANGUAGE=FILE": notes in that language, as info-LANGUAGE
};

#endif // RELEASEOPTIONS_H
