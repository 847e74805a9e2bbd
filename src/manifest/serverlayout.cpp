#include "serverlayout.h"

namespace ServerLayout {

QString basePath()
{
    return QStringLiteral("brenvothDownload/windows/");
}

QString manifestName()
{
    return QStringLiteral("version.xml");
}

QString releaseFolder(const QString &version)
{
    return QLatin1Char('v') + version + QLatin1Char('/');
}

QString signatureName()
{
    return QStringLiteral("version.xml.minisig");
}

QString filePath(const QString &dir, const QString &name)
{
    return dir + name;
}

QString compressedPath(const QString &path)
{
    return path + QStringLiteral(".zst");
}

// 64 bits of the digest name the copy well enough among a file's few earlier ones.
QString patchPath(const QString &path, const QByteArray &from)
{
    return path + QStringLiteral(".from-%1.zst").arg(QString::fromLatin1(from.toHex().left(16)));
}

} // namespace ServerLayout
