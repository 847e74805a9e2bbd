#include "compressionplan.h"
#include "entryname.h"
#include "manifest.h"
#include "mappedfile.h"
#include "serverfolder.h"
#include "serverlayout.h"
#include "sha256.h"

#include <QFileInfo>
#include <QSet>

namespace {

QByteArray sha256Of(const MappedFile &file)
{
    Sha256 sha256;
    sha256.addData(reinterpret_cast<const char *>(file.data()), file.size());
    return sha256.result();
}

} // namespace

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

bool planOutputs(const QVector<ReleaseFile> &files, const QStringList &earlierFolders,
                 QVector<CompressedOutput> *outputs, QString *error)
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
