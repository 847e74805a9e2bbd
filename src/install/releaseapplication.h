#ifndef RELEASEAPPLICATION_H
#define RELEASEAPPLICATION_H

#include "applicationlayout.h"
#include "updateerror.h"

#include <QByteArray>
#include <QString>

class FolderLock;

/// All that the side applying a per-machine release does for one request,
/// in a folder of its own that only it may write: one request at a time by
/// a lock there; a commit or a restore that an earlier run left finished
/// or undone; then the request. A release is taken in from the user's
/// staged folder (ReleaseIntake) and committed whole, with its journal in
/// that folder, where the release it replaced is kept until the new one has
/// passed its trial. It blocks.
class ReleaseApplication
{
public:
    ReleaseApplication(const QString &applicationDir, const QString &ownDir, const QByteArray &publicKeys);

    /// Applies the release staged in \a stagedDir; with \a trialKey, the
    /// release it replaces is kept for the one who holds that key.
    UpdateError apply(const QString &stagedDir, const QByteArray &trialKey = QByteArray());
    /// The release applied with \a trialKey did not start: it is recorded as
    /// failed, and the kept one is put back, whole or not at all.
    UpdateError restorePrevious(const QByteArray &trialKey);
    /// The release applied with \a trialKey passed its trial: its kept
    /// predecessor goes.
    UpdateError dropPrevious(const QByteArray &trialKey);

    /// What recovery did before the request was carried out; empty: nothing.
    QString recovered() const { return recovery; }

    static QString lockName() { return QStringLiteral("apply.lock"); }

private:
    UpdateError begin(FolderLock *lock);

    const QString ownDir;
    const ApplicationLayout layout;
    const QByteArray publicKeys;
    QString recovery;
};

#endif // RELEASEAPPLICATION_H
