#include "replayguard.h"
#include "manifest.h"

namespace {

bool refuseOlder(const QString &offeredVersion, const QString &reason, UpdateError *error)
{
    *error = UpdateError(UpdateError::Kind::Older, FailureCause(FailureCause::Kind::Older, offeredVersion), reason);
    return false;
}

} // namespace

bool isNotOlderThanInstalled(const QDomElement &downloadedRoot, const QString &localManifest, bool keyed,
                             const QString &offeredVersion, UpdateError *error)
{
    qint64 offered = -1;
    qint64 installed = -1;
    if (!Manifest::readPublished(downloadedRoot, &offered)) {
        *error = UpdateError(UpdateError::Kind::NotInstalled, FailureCause(FailureCause::Kind::BadManifest),
                             QStringLiteral("the downloaded manifest's publication time \"%1\" is not a whole number "
                                            "of seconds").arg(downloadedRoot.attribute(QStringLiteral("published"))));
        return false;
    }
    const Manifest::Document local = Manifest::read(localManifest);
    if (local.status != Manifest::Status::Read || !Manifest::readPublished(local.root(), &installed) || installed < 0)
        return true;
    if (offered < 0 && keyed)
        return refuseOlder(offeredVersion, QStringLiteral("it has no publication time, and the installed release has one"),
                           error);
    if (offered >= 0 && offered < installed)
        return refuseOlder(offeredVersion, QStringLiteral("it was published on %1, the installed one on %2")
                                               .arg(Manifest::publishedText(offered), Manifest::publishedText(installed)),
                           error);
    return true;
}

bool isNotExpired(const QDomElement &downloadedRoot, qint64 now, UpdateError *error)
{
    qint64 expires = -1;
    QString reason;
    if (!Manifest::readExpires(downloadedRoot, &expires, &reason)) {
        *error = UpdateError(UpdateError::Kind::NotInstalled, FailureCause(FailureCause::Kind::BadManifest),
                             QStringLiteral("the downloaded manifest: %1").arg(reason));
        return false;
    }
    if (expires < 0 || now < expires)
        return true;
    const QString when = Manifest::publishedText(expires);
    *error = UpdateError(UpdateError::Kind::Older, FailureCause(FailureCause::Kind::Expired, when),
                         QStringLiteral("the downloaded manifest expired on %1").arg(when));
    return false;
}
