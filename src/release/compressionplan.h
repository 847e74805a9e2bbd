// Plans the compressed forms of a release's files: the .zst of each, and the
// patches from the copies earlier releases left on the server.

#ifndef COMPRESSIONPLAN_H
#define COMPRESSIONPLAN_H

#include "releasefile.h"

#include <QByteArray>
#include <QDomElement>
#include <QString>
#include <QStringList>
#include <QVector>

/// One compressed form of a release file to make, or to take from an earlier
/// run of the same release: its .zst, or a patch from an earlier copy.
struct CompressedOutput
{
    int file = 0;          // index into the release's files
    QString path;          // under the release folder
    QString reference;     // the earlier copy; empty for the .zst
    QByteArray from;       // the earlier copy's SHA-256
    qint64 span = 0;       // the bytes compression reads
    qint64 size = -1;      // -1: none worth keeping
    bool reused = false;
};

/// The folders of the last \a count releases of the previous manifest, newest
/// first: their users hold those copies, so patches start from them.
QStringList patchSources(const QDomElement &root, const QString &serverRoot, int count);

/// The .zst of each file, and a patch from each earlier release's copy that
/// differs, in \a earlierFolders' order. The copy is hashed from disk: its
/// bytes are the patch's reference, whatever a manifest says.
bool planOutputs(const QVector<ReleaseFile> &files, const QStringList &earlierFolders,
                 QVector<CompressedOutput> *outputs, QString *error);

#endif // COMPRESSIONPLAN_H
