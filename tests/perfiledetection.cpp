#include "perfiledetection.h"

#include <QDomDocument>
#include <QDomElement>
#include <QDomNodeList>
#include <QFile>

namespace {

bool readFilelist(QFile *file, QDomDocument *document)
{
    return file->open(QIODevice::ReadOnly | QIODevice::Text) && document->setContent(file)
        && document->documentElement().tagName() == QLatin1String("filelist");
}

} // namespace

QString perFileLocalVersion(const QString &localManifest, const QString &wantedName)
{
    if (localManifest.isEmpty() || wantedName.isEmpty() || !QFile::exists(localManifest))
        return QString();
    QFile file(localManifest);
    QDomDocument document;
    if (!readFilelist(&file, &document))
        return QString();
    const QString curVersion = document.documentElement().attribute(QStringLiteral("curVersion"));
    if (curVersion.isEmpty())
        return QString();
    const QDomNodeList releases = document.documentElement().elementsByTagName(QStringLiteral("software"));
    for (int i = 0; i < releases.length(); ++i) {
        const QDomElement release = releases.at(i).toElement();
        if (release.attribute(QStringLiteral("version")) != curVersion)
            continue;
        const QDomNodeList files = release.elementsByTagName(QStringLiteral("file"));
        for (int j = 0; j < files.length(); ++j) {
            const QDomElement entry = files.at(j).toElement();
            if (entry.attribute(QStringLiteral("name")) == wantedName)
                return entry.attribute(QStringLiteral("version"));
        }
        break;
    }
    return QString();
}

PerFileDetection detectPerFile(const QString &downloadedManifest, const QString &localManifest)
{
    PerFileDetection result;
    QFile file(downloadedManifest);
    QDomDocument document;
    if (!QFile::exists(downloadedManifest) || !readFilelist(&file, &document))
        return result;
    result.newVersion = document.documentElement().attribute(QStringLiteral("curVersion"),
                                                             QStringLiteral("1.0.0"));
    if (result.newVersion.isEmpty())
        return result;
    const QDomNodeList releases = document.documentElement().elementsByTagName(QStringLiteral("software"));
    for (int i = 0; i < releases.length(); ++i) {
        const QDomElement release = releases.at(i).toElement();
        if (release.attribute(QStringLiteral("version")) != result.newVersion)
            continue;
        const QDomNodeList files = release.elementsByTagName(QStringLiteral("file"));
        for (int j = 0; j < files.length(); ++j) {
            const QDomElement entry = files.at(j).toElement();
            const QString name = entry.attribute(QStringLiteral("name"));
            const QString dir = entry.attribute(QStringLiteral("dir"));
            const QString version = entry.attribute(QStringLiteral("version"));
            const QString installed = perFileLocalVersion(localManifest, name);
            ++result.releaseFiles;
            if (installed.isEmpty() || version != installed) {
                result.dirs.append(dir);
                result.names.append(name);
            }
        }
        break;
    }
    return result;
}
