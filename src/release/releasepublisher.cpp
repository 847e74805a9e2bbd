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
#include "releasecompression.h"
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
QSet<QString> publishedPaths(const QVector<ReleaseFile> &files, const QVector<CompressedOutput> &outputs,
                             bool isSigned)
{
    QSet<QString> paths;
    for (const ReleaseFile &file : files)
        paths.insert(file.path());
    for (const CompressedOutput &output : outputs) {
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
    QVector<CompressedOutput> outputs;
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
