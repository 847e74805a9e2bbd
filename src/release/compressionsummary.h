// The lines of a run's summary that tell what compression made and took.

#ifndef COMPRESSIONSUMMARY_H
#define COMPRESSIONSUMMARY_H

#include "compressionplan.h"
#include "releasefile.h"

#include <QString>
#include <QVector>

/// How many .zst files and patches were taken from an earlier run.
QString reuseSummary(const QVector<CompressedOutput> &outputs);

/// How many .zst files and patches the release has, and their bytes.
QString compressionSummary(const QVector<ReleaseFile> &files);

#endif // COMPRESSIONSUMMARY_H
