#ifndef STAGINGWAYS_H
#define STAGINGWAYS_H

#include "applicationlayout.h"
#include "manifest.h"
#include "releaseplan.h"

#include <QByteArray>
#include <QString>
#include <QVector>

/// One way to a staged file: the bytes at `url`, fetched into `path`. A
/// compressed way is decoded from there into the staged file; a patch needs
/// the old copy `reference` to have the SHA-256 `from`.
struct StagingWay
{
    QString url;
    QString path;
    QString shownName;                 // dir, name and suffix, for messages
    Manifest::FileIntegrity expected;  // of the fetched bytes
    qint64 limit = -1;
    bool compressed = false;
    QString reference;
    QByteArray from;
};

/// The ways to \a file of the release whose folder on the server is
/// \a releaseUrl, the cheapest first: a patch from each copy the manifest
/// offers one from (the installed copy decides which applies), the .zst,
/// the raw file. Only a result that can be checked is taken compressed.
QVector<StagingWay> waysTo(const PendingFile &file, const ApplicationLayout &layout, const QString &releaseUrl);

/// The raw file at \a url, fetched straight into \a path.
StagingWay rawWay(const QString &url, const QString &path, const QString &shownName,
                  const Manifest::FileIntegrity &expected);

#endif // STAGINGWAYS_H
