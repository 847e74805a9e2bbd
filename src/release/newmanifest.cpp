#include "newmanifest.h"
#include "manifest.h"
#include "refusal.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <limits>

namespace {

QString statusText(Manifest::Status status)
{
    switch (status) {
    case Manifest::Status::Missing: return QStringLiteral("it does not exist");
    case Manifest::Status::CannotOpen: return QStringLiteral("it cannot be opened");
    case Manifest::Status::NotFilelist: return QStringLiteral("its root element is not filelist");
    default: return QStringLiteral("it is not well-formed XML, or too large or deep for the updater");
    }
}

} // namespace

bool startManifest(const ReleaseOptions &options, const QString &manifestPath, QDomDocument *document,
                   QString *error)
{
    if (options.previousManifest.isEmpty()) {
        if (QFileInfo::exists(manifestPath))
            return refuse(error, QStringLiteral("%1 exists already: give it with --previous to keep its "
                                                "releases").arg(manifestPath));
        *document = Manifest::create();
        return true;
    }
    const Manifest::Document previous = Manifest::read(options.previousManifest);
    if (previous.status != Manifest::Status::Read)
        return refuse(error, QStringLiteral("cannot use the previous manifest %1: %2")
                                 .arg(options.previousManifest, statusText(previous.status)));
    if (Manifest::releaseVersions(previous.root()).contains(options.version))
        return refuse(error,
                      QStringLiteral("release %1 is already in %2").arg(options.version, options.previousManifest));
    *document = previous.document;
    return true;
}

bool stampPublished(QDomElement root, const QString &previousManifest, QString *error)
{
    qint64 last = -1;
    QString reason;
    if (!Manifest::readPublished(root, &last, &reason))
        return refuse(error, QStringLiteral("cannot use the previous manifest %1: %2").arg(previousManifest, reason));
    if (last == std::numeric_limits<qint64>::max())
        return refuse(error, QStringLiteral("cannot use the previous manifest %1: its published \"%2\" leaves no "
                                            "later second").arg(previousManifest).arg(last));
    Manifest::setPublished(root, std::max(QDateTime::currentSecsSinceEpoch(), last + 1));
    return true;
}

void stampExpires(QDomElement root, int days)
{
    root.removeAttribute(QStringLiteral("expires"));
    qint64 published = -1;
    if (days > 0 && Manifest::readPublished(root, &published))
        root.setAttribute(QStringLiteral("expires"), QString::number(published + qint64(days) * 24 * 60 * 60));
}

QVector<Manifest::ListedFile> listedFiles(const QVector<ReleaseFile> &files, const QStringList &versions)
{
    QVector<Manifest::ListedFile> entries;
    for (int i = 0; i < files.size(); ++i) {
        const ReleaseFile &file = files.at(i);
        entries.append({{file.dir, file.name, versions.at(i)}, {file.size, file.sha256}, {file.zsize, file.patches}});
    }
    return entries;
}

bool writeManifest(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    return refuse(error, QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
}
