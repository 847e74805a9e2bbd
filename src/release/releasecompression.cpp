#include "releasecompression.h"
#include "mappedfile.h"
#include "refusal.h"
#include "runoncores.h"
#include "zstdcompressor.h"
#include "zstdframe.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <numeric>

namespace {

// Takes the output from an earlier run when it decodes to the file, else makes
// it. A patch here only has to beat the file: the .zst it must beat may still
// be in the making.
bool makeOutput(int level, const QString &releaseFolder, const ReleaseFile &file, int workers,
                CompressedOutput *output, QString *error)
{
    MappedFile copy;
    MappedFile earlier;
    if (!copy.open(releaseFolder + QLatin1Char('/') + file.path(), error)
        || (!output->reference.isEmpty() && !earlier.open(output->reference, error)))
        return false;
    const MappedFile *reference = output->reference.isEmpty() ? nullptr : &earlier;
    const qint64 maxSize = reference ? file.size - 1 : file.size * 19 / 20;
    QFile destination(releaseFolder + QLatin1Char('/') + output->path);
    if (destination.exists() || QFileInfo(destination).isSymLink()) {
        QString unusable;
        if (destination.size() <= maxSize && !QFileInfo(destination).isSymLink()
            && readZstdFrame({destination.fileName(), output->reference, QString(), file.size, file.sha256},
                             &unusable)) {
            output->size = destination.size();
            output->reused = true;
            return true;
        }
        if (!destination.remove())
            return refuse(error, QStringLiteral("cannot replace %1: %2")
                                     .arg(destination.fileName(), destination.errorString()));
    }
    return ZstdCompressor(level).write(copy, reference, destination.fileName(), maxSize, workers, &output->size,
                                       error);
}

} // namespace

bool compressRelease(const ReleaseOptions &options, const QString &releaseFolder, const QStringList &earlierFolders,
                     QVector<ReleaseFile> *files, QVector<CompressedOutput> *outputs, QString *error)
{
    if (!planOutputs(*files, earlierFolders, outputs, error))
        return false;
    QVector<int> order(outputs->size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [outputs](int a, int b) { return outputs->at(a).span > outputs->at(b).span; });
    const int cores = options.jobs > 0 ? options.jobs : std::max(1, QThread::idealThreadCount());
    // zstd makes a patch in one piece (see ZstdCompressor): only a .zst shares.
    const auto canShare = [&](int task) { return outputs->at(order.at(task)).reference.isEmpty(); };
    const auto make = [&](int task, int workers, QString *failure) {
        CompressedOutput &output = (*outputs)[order.at(task)];
        return makeOutput(options.level, releaseFolder, files->at(output.file), workers, &output, failure);
    };
    if (!runOnCores(order.size(), cores, canShare, make, error))
        return false;
    for (const CompressedOutput &output : qAsConst(*outputs)) {
        if (output.reference.isEmpty())
            (*files)[output.file].zsize = output.size;
    }
    for (const CompressedOutput &output : qAsConst(*outputs)) {
        ReleaseFile &file = (*files)[output.file];
        if (output.reference.isEmpty() || output.size < 0)
            continue;
        if (output.size < (file.zsize >= 0 ? file.zsize : file.size))
            file.patches.append({output.from, output.size});
        else if (!QFile::remove(releaseFolder + QLatin1Char('/') + output.path))
            return refuse(error, QStringLiteral("cannot remove %1/%2").arg(releaseFolder, output.path));
    }
    return true;
}
