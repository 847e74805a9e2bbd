#ifndef RELEASEPUBLISHER_H
#define RELEASEPUBLISHER_H

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
    QStringList notesFor = {}; ///< "LANGUAGE=FILE": notes in that language, as info-LANGUAGE
};

/// Copies the release's files under the server root, with a .zst of each and
/// patches from earlier releases' copies where they save bytes, writes the
/// new manifest beside the release folders (and its signature into the new
/// one). Checks everything before it writes. Continues in a release folder
/// that an earlier run of the same release left, taking each .zst and patch
/// there that decodes to its file. On failure leaves the manifest as it was,
/// and what is finished in the release folder, and \a error says why.
/// \a summary tells what was done.
bool publishRelease(const ReleaseOptions &options, QString *summary, QString *error);

#endif // RELEASEPUBLISHER_H
