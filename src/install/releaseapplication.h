#ifndef RELEASEAPPLICATION_H
#define RELEASEAPPLICATION_H

#include "applicationlayout.h"
#include "updateerror.h"

#include <QByteArray>
#include <QString>

/// All that the side applying a per-machine release does for one request,
/// in a folder of its own that only it may write: one request at a time by
/// a lock there; a commit that an earlier run left finished or undone; the
/// release taken in from the user's staged folder (ReleaseIntake) and
/// committed whole, with its journal in that folder. It blocks.
class ReleaseApplication
{
public:
    ReleaseApplication(const QString &applicationDir, const QString &ownDir, const QByteArray &publicKeys);

    /// Applies the release staged in \a stagedDir.
    UpdateError apply(const QString &stagedDir);
    /// What recovery did before the release was taken in; empty: nothing.
    QString recovered() const { return recovery; }

    static QString lockName() { return QStringLiteral("apply.lock"); }
    /// Where, in \a ownDir, a release for \a applicationDir is taken in
    /// and its commit's journal kept.
    static ApplicationLayout layoutFor(const QString &applicationDir, const QString &ownDir);

private:
    const QString ownDir;
    const ApplicationLayout layout;
    const QByteArray publicKeys;
    QString recovery;
};

#endif // RELEASEAPPLICATION_H
