#ifndef PERFILEDETECTION_H
#define PERFILEDETECTION_H

#include <QString>
#include <QStringList>

/// Detection as it was first designed: the local manifest is opened and parsed
/// again for every file of the new release. Kept as the reference that the
/// indexed detection must match, and as the baseline it is timed against.
struct PerFileDetection
{
    QString newVersion;
    QStringList dirs;
    QStringList names;
    int releaseFiles = 0;   // the files of the new release that were compared
};

PerFileDetection detectPerFile(const QString &downloadedManifest, const QString &localManifest);
QString perFileLocalVersion(const QString &localManifest, const QString &wantedName);

#endif // PERFILEDETECTION_H
