#include "leftovers.h"
#include "refusal.h"
#include "serverlayout.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

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

} // namespace

bool removeLeftovers(const QString &releaseFolder, const QSet<QString> &published, QString *error)
{
    const QDir root(QFileInfo(releaseFolder).absoluteFilePath());
    QStringList files;
    QStringList folders;
    // The listing ends first: Windows keeps a folder that is still being read.
    listTree(root.path(), &files, &folders);
    for (const QString &path : qAsConst(files)) {
        if (!published.contains(root.relativeFilePath(path)) && !QFile::remove(path))
            return refuse(error, QStringLiteral("cannot remove %1, left by an earlier run").arg(path));
    }
    for (const QString &folder : qAsConst(folders))
        QDir().rmdir(folder); // only an empty one goes
    return true;
}

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
