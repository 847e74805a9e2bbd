#include "releasepublisher.h"
#include "compressionsummary.h"
#include "fileversions.h"
#include "hashedcopy.h"
#include "leftovers.h"
#include "manifest.h"
#include "manifestwriter.h"
#include "minisignsigner.h"
#include "newmanifest.h"
#include "notesfiles.h"
#include "optionchecks.h"
#include "refusal.h"
#include "releasecompression.h"
#include "releasefile.h"
#include "releaselisting.h"
#include "serverfolder.h"
#include "serverlayout.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <QStringList>
#include <QVector>

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
    stampExpires(document.documentElement(), options.expiresDays);
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
