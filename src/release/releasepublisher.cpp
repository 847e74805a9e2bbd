#include "releasepublisher.h"
#include "entryname.h"
#include "fileversions.h"
#include "hashedcopy.h"
#include "manifest.h"
#include "manifestwriter.h"
#include "mappedfile.h"
#include "minisignsigner.h"
#include "newmanifest.h"
#include "notesfiles.h"
#include "optionchecks.h"
#include "refusal.h"
#include "releasefile.h"
#include "releaselisting.h"
#include "runoncores.h"
#include "serverfolder.h"
#include "serverlayout.h"
#include "sha256.h"
#include "zstdcompressor.h"
#include "zstdframe.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScopeGuard>
#include <QSet>
#include <QThread>
#include <QVector>

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <limits>
#include <mutex>
#include <numeric>
#include <thread>
#include <vector>

namespace {

QByteArray sha256Of(const MappedFile &file)
{
    Sha256 sha256;
    sha256.addData(reinterpret_cast<const char *>(file.data()), file.size());
    return sha256.result();
}

// The folders of the last \a count releases of the previous manifest, newest
// first: their users hold those copies, so patches start from them.
QStringList patchSources(const QDomElement &root, const QString &serverRoot, int count)
{
    const QStringList releases = Manifest::releaseVersions(root);
    QStringList versions;
    for (auto version = releases.crbegin(); version != releases.crend() && versions.size() < count; ++version) {
        QString reason;
        if (!versions.contains(*version) && namesReleaseFolder(*version, &reason))
            versions.append(*version);
    }
    QStringList folders;
    for (const QString &version : qAsConst(versions))
        folders.append(onServer(serverRoot, ServerLayout::releaseFolder(version)));
    return folders;
}

// One compressed form of a release file to make, or to take from an earlier
// run of the same release: its .zst, or a patch from an earlier copy.
struct Output
{
    int file = 0;          // index into the release's files
    QString path;          // under the release folder
    QString reference;     // the earlier copy; empty for the .zst
    QByteArray from;       // the earlier copy's SHA-256
    qint64 span = 0;       // the bytes compression reads
    qint64 size = -1;      // -1: none worth keeping
    bool reused = false;
};

// The .zst of each file, and a patch from each earlier release's copy that
// differs. The copy is hashed from disk: its bytes are the patch's reference,
// whatever a manifest says.
bool planOutputs(const QVector<ReleaseFile> &files, const QStringList &earlierFolders, QVector<Output> *outputs,
                 QString *error)
{
    QSet<QString> releasePaths; // case-folded: a compressed form never takes a release file's place
    for (const ReleaseFile &file : files)
        releasePaths.insert(file.path().toCaseFolded());
    for (int i = 0; i < files.size(); ++i) {
        const ReleaseFile &file = files.at(i);
        const QString zst = ServerLayout::compressedPath(file.path());
        if (!releasePaths.contains(zst.toCaseFolded()))
            outputs->append({i, zst, QString(), QByteArray(), file.size});
        QSet<QByteArray> patched{file.sha256};
        for (const QString &folder : earlierFolders) {
            const QString earlierPath = folder + QLatin1Char('/') + file.path();
            if (!QFileInfo(earlierPath).isFile())
                continue;
            MappedFile earlier;
            if (!earlier.open(earlierPath, error))
                return false;
            const QByteArray from = sha256Of(earlier);
            const QString patch = ServerLayout::patchPath(file.path(), from);
            if (patched.contains(from) || releasePaths.contains(patch.toCaseFolded()))
                continue;
            patched.insert(from);
            outputs->append({i, patch, earlierPath, from, file.size + earlier.size()});
        }
    }
    return true;
}

// Takes the output from an earlier run when it decodes to the file, else makes
// it. A patch here only has to beat the file: the .zst it must beat may still
// be in the making.
bool makeOutput(int level, const QString &releaseFolder, const ReleaseFile &file, int workers, Output *output,
                QString *error)
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

// Makes every output, the largest first so that no large one starts last,
// then keeps a patch only when it is smaller than what the updater would fetch
// without it. No more outputs are in the making than cores, and no more zstd
// workers: memory is that many sets of zstd's tables and windows, whatever
// the size of the release.
bool compressRelease(const ReleaseOptions &options, const QString &releaseFolder, const QStringList &earlierFolders,
                     QVector<ReleaseFile> *files, QVector<Output> *outputs, QString *error)
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
        Output &output = (*outputs)[order.at(task)];
        return makeOutput(options.level, releaseFolder, files->at(output.file), workers, &output, failure);
    };
    if (!runOnCores(order.size(), cores, canShare, make, error))
        return false;
    for (const Output &output : qAsConst(*outputs)) {
        if (output.reference.isEmpty())
            (*files)[output.file].zsize = output.size;
    }
    for (const Output &output : qAsConst(*outputs)) {
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

// Every file and link under \a folder, and its folders, the deepest first.
void listTree(const QString &folder, QStringList *files, QStringList *folders)
{
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileInfo().isDir() && !it.fileInfo().isSymLink())
            folders->prepend(path);
        else
            files->append(path);
    }
}

// A run that continues where an earlier one stopped leaves the folder as a
// fresh run would: what this run does not publish goes. The listing ends
// first: Windows keeps a folder that is still being read.
bool removeLeftovers(const QString &releaseFolder, const QSet<QString> &published, QString *error)
{
    const QDir root(QFileInfo(releaseFolder).absoluteFilePath());
    QStringList files;
    QStringList folders;
    listTree(root.path(), &files, &folders);
    for (const QString &path : qAsConst(files)) {
        if (!published.contains(root.relativeFilePath(path)) && !QFile::remove(path))
            return refuse(error, QStringLiteral("cannot remove %1, left by an earlier run").arg(path));
    }
    for (const QString &folder : qAsConst(folders))
        QDir().rmdir(folder); // only an empty one goes
    return true;
}

// Everything the release folder holds once published.
QSet<QString> publishedPaths(const QVector<ReleaseFile> &files, const QVector<Output> &outputs, bool isSigned)
{
    QSet<QString> paths;
    for (const ReleaseFile &file : files)
        paths.insert(file.path());
    for (const Output &output : outputs) {
        const ReleaseFile &file = files.at(output.file);
        const bool kept = output.reference.isEmpty()
            ? file.zsize >= 0
            : std::any_of(file.patches.begin(), file.patches.end(),
                          [&output](const Manifest::Delivery::Patch &patch) { return patch.from == output.from; });
        if (kept)
            paths.insert(output.path);
    }
    if (isSigned)
        paths.insert(ServerLayout::signatureName());
    return paths;
}

QString reuseSummary(const QVector<Output> &outputs)
{
    int zstCount = 0;
    int patchCount = 0;
    for (const Output &output : outputs) {
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

} // namespace

bool publishRelease(const ReleaseOptions &options, QString *summary, QString *error)
{
    const QString manifestPath = onServer(options.serverRoot, ServerLayout::manifestName());
    const QString releaseFolder = onServer(options.serverRoot, ServerLayout::releaseFolder(options.version));
    QVector<ReleaseFile> files;
    QDomDocument document;
    QString notes;
    LanguageNotes languageNotes;
    if (!checkVersion(options.version, error) || !checkCompression(options, error)
        || !listRelease(options.releaseDir, &files, error)
        || !startManifest(options, manifestPath, &document, error)
        || !stampPublished(document.documentElement(), options.previousManifest, error)
        || !readNotes(options.notesFile, &notes, error)
        || !readLanguageNotes(options.notesFor, &languageNotes, error))
        return false;
    // A folder that no manifest names yet is what an earlier run of this
    // release left when it failed or was killed: this run continues there.
    const bool continuing = QFileInfo::exists(releaseFolder) || QFileInfo(releaseFolder).isSymLink();
    if (continuing && !checkApart(options.releaseDir, releaseFolder, error))
        return false;

    // Everything below writes only into the release folder until the manifest
    // replaces the old one. A failure leaves what is finished there, for the
    // next run of the release to take rather than make again.
    auto keepFinished = qScopeGuard([&] {
        *error += QStringLiteral("\nWhat was finished stays in %1: run again to continue there, or delete the "
                                 "folder to start afresh.").arg(releaseFolder);
    });
    QDomElement root = document.documentElement();
    const PreviousRelease previous = previousRelease(root, options.serverRoot);
    const QStringList earlierFolders = patchSources(root, options.serverRoot, options.patchesFrom);
    QStringList versions;
    for (ReleaseFile &file : files) {
        const QString copy = releaseFolder + QLatin1Char('/') + file.path();
        if (!copyAndHash(options.releaseDir + QLatin1Char('/') + file.path(), copy, &file, error))
            return false;
        versions.append(fileVersion(file, copy, previous, options.version));
    }
    QVector<Output> outputs;
    if (!compressRelease(options, releaseFolder, earlierFolders, &files, &outputs, error))
        return false;
    Manifest::appendCurrentRelease(root, options.version, notes, languageNotes, listedFiles(files, versions));
    // The bytes the signature covers, the same on every platform.
    const QByteArray bytes = Manifest::serialize(document, Manifest::LineEnds::Newline);
    if (Manifest::fromBytes(bytes).status != Manifest::Status::Read)
        return refuse(error, QStringLiteral("the new manifest would be too large or too deep for the updater"));

    const QString signaturePath = releaseFolder + QLatin1Char('/') + ServerLayout::signatureName();
    if (!options.secretKey.isEmpty()
        && !signWithMinisign(bytes, options.secretKey, signaturePath, ServerLayout::manifestName(),
                             options.version, error))
        return false;
    if (!removeLeftovers(releaseFolder, publishedPaths(files, outputs, !options.secretKey.isEmpty()), error)
        || !writeManifest(manifestPath, bytes, error))
        return false;
    keepFinished.dismiss();

    const int changed = versions.count(options.version);
    *summary = QStringLiteral("Published release %1: %2 files, %3 of them new or changed, in %4\n%5"
                              "Manifest: %6\n")
                   .arg(options.version).arg(files.size()).arg(changed)
                   .arg(releaseFolder, compressionSummary(files) + (continuing ? reuseSummary(outputs) : QString()),
                        manifestPath);
    if (!options.secretKey.isEmpty())
        *summary += QStringLiteral("Signature: %1\n").arg(signaturePath);
    return true;
}
