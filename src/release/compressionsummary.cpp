#include "compressionsummary.h"

QString reuseSummary(const QVector<CompressedOutput> &outputs)
{
    int zstCount = 0;
    int patchCount = 0;
    for (const CompressedOutput &output : outputs) {
        if (output.reused)
            ++(output.reference.isEmpty() ? zstCount : patchCount);
    }
    return QStringLiteral("Taken from an earlier run of this release: %1 .zst files and %2 patches\n")
        .arg(zstCount).arg(patchCount);
}

QString compressionSummary(const QVector<ReleaseFile> &files)
{
    int zstCount = 0;
    int patchCount = 0;
    qint64 rawBytes = 0;
    qint64 zstBytes = 0;
    qint64 patchBytes = 0;
    for (const ReleaseFile &file : files) {
        rawBytes += file.size;
        if (file.zsize >= 0) {
            ++zstCount;
            zstBytes += file.zsize;
        }
        patchCount += file.patches.size();
        for (const Manifest::Delivery::Patch &patch : file.patches)
            patchBytes += patch.size;
    }
    return QStringLiteral("Compressed: %1 .zst files and %2 patches; %3 bytes raw, %4 in .zst files, %5 in "
                          "patches\n").arg(zstCount).arg(patchCount).arg(rawBytes).arg(zstBytes).arg(patchBytes);
}
