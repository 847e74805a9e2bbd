#include "fileinstall.h"

#include "sha256.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <limits>

namespace {

QString existingAncestor(QString path)
{
    while (!QFileInfo::exists(path)) {
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            return QString();
        path = parent;
    }
    return path;
}

} // namespace

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

int progressValue(int index, int count, quint64 received, quint64 total)
{
    if (count <= 0)
        return 0;
    const int base = index * 100 / count;
    if (total == 0 || total == std::numeric_limits<quint64>::max())
        return base;
    received = qMin(received, total);
    const quint64 percent = received <= std::numeric_limits<quint64>::max() / 100
                                ? received * 100 / total
                                : received / (total / 100);
    return base + int(percent / quint64(count));
}

QByteArray fileSha256(const QString &path, const std::function<void()> &keepResponsive)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    Sha256 digest;
    QByteArray block(4 * 1024 * 1024, Qt::Uninitialized);
    qint64 read = 0;
    while ((read = file.read(block.data(), block.size())) > 0) {
        digest.addData(block.constData(), read);
        keepResponsive();
    }
    return read < 0 ? QByteArray() : digest.result();
}
