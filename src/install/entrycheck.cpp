#include "entrycheck.h"
#include "entryname.h"

#include <QDir>
#include <QFileInfo>

namespace {

// A dangling link counts as there: a write through it lands where it points.
QString existingAncestor(QString path)
{
    while (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) {
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            return QString();
        path = parent;
    }
    return path;
}

} // namespace

QString pathKey(const QString &path)
{
#ifdef Q_OS_WIN
    return path.toLower();
#else
    return path;
#endif
}

bool staysInside(const QString &root, const QString &path)
{
    const QString base = QFileInfo(root).canonicalFilePath();
    const QString ancestor = existingAncestor(QDir::cleanPath(path));
    if (base.isEmpty() || ancestor.isEmpty())
        return false;
    const QString resolved = QFileInfo(ancestor).canonicalFilePath();
    return resolved == base || resolved.startsWith(base + QLatin1Char('/'));
}

bool makeFolderInside(const QString &root, const QString &folder, QString *errorText)
{
    if (!staysInside(root, folder)) {
        *errorText = QStringLiteral("%1 lies outside %2").arg(folder, root);
        return false;
    }
    if (!QDir().mkpath(folder) || !staysInside(root, folder)) {
        *errorText = QStringLiteral("cannot create the folder %1").arg(folder);
        return false;
    }
    return true;
}

EntryCheck::EntryCheck(const ApplicationLayout &layout)
    : layout(layout)
{
}

bool EntryCheck::allows(const QString &dir, const QString &name, QString *reason) const
{
    if (!isPublishable(dir, name, reason))
        return false;
    const QString staged = layout.stagedPath(dir, name);
    const QString destination = layout.destinationPath(dir, name);
    if (!pathStaysInside(layout.applicationDir(), destination) || !pathStaysInside(layout.downloadDir(), staged)) {
        *reason = QStringLiteral("the path leads outside the application directory");
        return false;
    }
    if (QFileInfo(destination).isDir()) {
        *reason = QStringLiteral("a folder is in the way of %1").arg(destination);
        return false;
    }
    return true;
}

// A folder is resolved once for all its files, and a file only when it is a
// link itself.
bool EntryCheck::pathStaysInside(const QString &root, const QString &path) const
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return staysInside(root, path);
    const QString key = root + QLatin1Char('\n') + info.path();
    auto known = foldersInside.constFind(key);
    if (known == foldersInside.constEnd())
        known = foldersInside.insert(key, staysInside(root, info.path()));
    return known.value();
}
