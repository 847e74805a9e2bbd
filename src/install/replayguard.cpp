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
