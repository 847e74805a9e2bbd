#include "keptrelease.h"
#include "durablefiles.h"
#include "failedrelease.h"
#include "manifest.h"
#include "windowsfiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString planIn(const QString &folder)
{
    return folder + QLatin1Char('/') + ApplicationLayout::bookkeepingFolderName() + QStringLiteral("/kept");
}

QString claimIn(const QString &folder)
{
    return folder + QLatin1Char('/') + ApplicationLayout::bookkeepingFolderName() + QStringLiteral("/claim");
}

// A digest: the folder may be read by anyone, the key is the updater's secret.
QByteArray digestOf(const QByteArray &trialKey)
{
    return QCryptographicHash::hash(trialKey, QCryptographicHash::Sha256).toHex();
}

} // namespace

KeptRelease::KeptRelease(const ApplicationLayout &layout)
    : layout(layout)
    , keptLayout(layout.applicationDir(), layout.keptReleaseDir())
{
}

// File by file: Windows renames a library that a program has loaded, not
// a folder that holds one. The plan comes last: a kept copy without one is
// incomplete, never restored, and removed at the next start.
bool KeptRelease::keep(const CommitJournal &done, const QByteArray &previousManifest) const
{
    CommitJournal restorePlan{Manifest::offeredVersion(Manifest::fromBytes(previousManifest).root()), done.files,
                              done.existed, done.createdDirs, previousManifest};
    remove();
    for (int i = 0; i < restorePlan.files.size(); ++i) {
        CommitJournal::File &file = restorePlan.files[i];
        file.removed = !done.existed.at(i);
        const QString kept = keptLayout.stagedPath(file.dir, file.name);
        if (!file.removed
            && (!QDir().mkpath(QFileInfo(kept).path())
                || WindowsFiles::move(layout.backupPath(file.dir, file.name), kept) != 0))
            return false;
    }
    return flushStagedFiles(layout.keptReleaseDir()) && restorePlan.write(planIn(layout.keptReleaseDir()));
}

bool KeptRelease::exists() const
{
    return QFileInfo::exists(planIn(layout.keptReleaseDir()));
}

QString KeptRelease::version() const
{
    CommitJournal plan;
    return readPlan(&plan) ? plan.version : QString();
}

bool KeptRelease::claim(const QByteArray &trialKey) const
{
    QSaveFile file(claimIn(layout.keptReleaseDir()));
    return exists() && file.open(QIODevice::WriteOnly) && file.write(digestOf(trialKey)) > 0 && file.commit();
}

bool KeptRelease::isClaimedBy(const QByteArray &trialKey) const
{
    QFile file(claimIn(layout.keptReleaseDir()));
    return !trialKey.isEmpty() && exists() && file.open(QIODevice::ReadOnly) && file.read(256) == digestOf(trialKey);
}

bool KeptRelease::readPlan(CommitJournal *plan) const
{
    return plan->read(planIn(layout.keptReleaseDir()));
}

bool KeptRelease::restore()
{
    CommitJournal plan;
    if (!readPlan(&plan)) {
        error = QStringLiteral("the kept release cannot be read");
        return false;
    }
    ReleaseCommit commit(keptLayout);
    commit.setStepHook(stepHook);
    if (!commit.commit(plan.version, plan.files, plan.localManifest)) {
        error = commit.errorString();
        return false;
    }
    removeAddedFolders(plan);
    return true;
}

QString KeptRelease::recover()
{
    CommitJournal plan;
    const bool planRead = readPlan(&plan);
    QString recovered = ReleaseCommit(keptLayout).recover();
    if (planRead && !QFileInfo::exists(layout.keptReleaseDir()))
        removeAddedFolders(plan);
    // What a removal left, a library then loaded, or a copy never completed.
    if (!exists() && !QFileInfo::exists(keptLayout.journal()))
        remove();
    // A restore cut off before its journal left the release that failed in place.
    const QString installed = Manifest::offeredVersion(Manifest::read(layout.localManifest()).root());
    if (!exists() || !FailedRelease::isRecorded(layout, installed))
        return recovered;
    if (!restore())
        return QStringLiteral("could not put back %1 in place of %2, which failed: %3").arg(plan.version, installed, error);
    return QStringLiteral("put back %1 in place of %2, which failed").arg(plan.version, installed);
}

// Folders that only the new release's files made go with them; any other
// file in one keeps it.
void KeptRelease::removeAddedFolders(const CommitJournal &plan) const
{
    for (int i = plan.createdDirs.size() - 1; i >= 0; --i)
        QDir(layout.applicationDir()).rmdir(plan.createdDirs.at(i));
}

void KeptRelease::remove() const
{
    QDir(layout.keptReleaseDir()).removeRecursively();
}
