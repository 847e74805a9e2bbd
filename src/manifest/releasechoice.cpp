#include "releasechoice.h"

#include <QVersionNumber>

int compareVersions(const QString &a, const QString &b)
{
    return QVersionNumber::compare(QVersionNumber::fromString(a), QVersionNumber::fromString(b));
}

ReleaseChoice chooseRelease(const QStringList &releases, const QString &current, const QString &installed,
                            const ReleaseTarget &target)
{
    if (target.prefix.isEmpty())
        return {ReleaseChoice::Outcome::Current, current};
    QString newest;
    for (const QString &version : releases) {
        if (version.startsWith(target.prefix) && (newest.isEmpty() || compareVersions(version, newest) >= 0))
            newest = version;
    }
    if (newest.isEmpty())
        return {ReleaseChoice::Outcome::NoneMatches, QString()};
    // An installed release that cannot be read is no reason to stay.
    if (installed.isEmpty() || compareVersions(installed, newest) <= 0)
        return {ReleaseChoice::Outcome::Held, newest};
    if (target.rollback)
        return {ReleaseChoice::Outcome::RolledBack, newest};
    return {ReleaseChoice::Outcome::Stays, QString()};
}
