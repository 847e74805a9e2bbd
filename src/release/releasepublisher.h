#ifndef RELEASEPUBLISHER_H
#define RELEASEPUBLISHER_H

#include <QString>

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
};

/// Copies the release's files under the server root, with a .zst of each and
/// patches from earlier releases' copies where they save bytes, writes the
/// new manifest beside the release folders (and its signature into the new
/// one). Checks everything before it writes; on failure removes what it
/// wrote, leaves the manifest as it was, and \a error says why. \a summary
/// tells what was done.
bool publishRelease(const ReleaseOptions &options, QString *summary, QString *error);

#endif // RELEASEPUBLISHER_H
