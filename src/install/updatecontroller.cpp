#include "updatecontroller.h"
#include "failedrelease.h"
#include "keptrelease.h"
#include "machineinstall.h"
#include "releasecommit.h"
#include "servicestart.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QEventLoopLocker>
#include <QProcess>

UpdateController::UpdateController(const QString &applicationDir, const QString &downloadBaseUrl,
                                   const Policies &policies, QObject *parent)
    : QObject(parent)
    , layout(MachineInstall::isPerMachine(applicationDir) ? MachineInstall::userLayout(applicationDir)
                                                          : ApplicationLayout(applicationDir))
    , managed(policies)
    , downloadBaseUrl(policies.updateServer.isEmpty() ? downloadBaseUrl : policies.updateServer)
    , lock(layout.lockFile())
{
    takeLock();
    if (lockedOut)
        return;
    // The files and the manifest must describe one release before they are read.
    const QString recovered = ReleaseCommit(layout).recover();
    if (!recovered.isEmpty())
        qDebug().noquote() << QStringLiteral("Recovery: %1").arg(recovered);
    // The applying side of a per-machine install recovers its own restores.
    const QString restored = layout.appliedForUser() ? QString() : KeptRelease(layout).recover();
    if (!restored.isEmpty())
        qDebug().noquote() << QStringLiteral("Recovery of a restore: %1").arg(restored);
    if (managed.updatesDisabled) {
        qDebug() << "Updates are disabled by the administrator's policy: nothing read, nothing fetched";
        return;
    }
    found = compareManifests(layout.downloadedManifest(), layout.localManifest(), QLocale(), managed.target);
    if (found.status != Manifest::Status::Read)
        qDebug().noquote() << found.failureLine();
    else if (found.choice != ReleaseChoice::Outcome::Current)
        qDebug().noquote() << QStringLiteral("The administrator's target version prefix %1 chose %2")
                                  .arg(managed.target.prefix,
                                       found.newVersion.isEmpty() ? QStringLiteral("no release: the installed one stays")
                                                                  : found.newVersion);
    if (!found.updateNames.isEmpty() && FailedRelease::isRecorded(layout, found.newVersion))
        refuseFailedRelease();
}

// A release that did not start here would fail the same way again.
void UpdateController::refuseFailedRelease()
{
    refused = found.newVersion;
    installed = Manifest::offeredVersion(Manifest::read(layout.localManifest()).root());
    found.updateDirs.clear();
    found.updateNames.clear();
    qDebug().noquote() << QStringLiteral("%1 did not start here before: not offered").arg(refused);
}

UpdateController::~UpdateController() = default;

// The system lets go of the lock when its holder ends, however it ends: a
// lock file left by a killed updater, or by a power cut, is simply taken.
// A folder where no lock can be made cannot be changed by another updater
// either: the update then tells that it may not be written.
void UpdateController::takeLock()
{
    // A per-machine install's lock lies in the user's own folder, made here.
    QDir().mkpath(QFileInfo(layout.lockFile()).path());
    lockedOut = lock.tryLock() == FolderLock::Result::HeldByAnother;
    if (lockedOut)
        qDebug() << "Another updater runs in this folder: nothing done";
}

bool UpdateController::needsApproval() const
{
    return layout.appliedForUser() && !ServiceStart::isStartable(MachineInstall::serviceName());
}

UpdateJob *UpdateController::install()
{
    if (running || lockedOut || found.updateDirs.isEmpty() || found.updateNames.isEmpty())
        return nullptr;
    // The applying side drops its own copy when it applies the next release.
    if (!layout.appliedForUser())
        KeptRelease(layout).remove();
    running = new UpdateJob(layout, downloadBaseUrl, publicKeys, limits, this);
    connect(running, &UpdateJob::finished, this, &UpdateController::onJobFinished);
    keepAlive.reset(new QEventLoopLocker);
    running->start(found.newVersion, found.updateDirs, found.updateNames);
    return running;
}

void UpdateController::onTrialEnded()
{
    emit trialEnded();
    keepAlive.reset();
}

// Closing the window does not stop an update half-way: the application
// quits once the job is over.
void UpdateController::onJobFinished()
{
    keepAlive.reset();
}

// Kept by this run's update: for a per-machine install, for its trial key.
bool UpdateController::updateKeptPrevious() const
{
    if (!running || running->error().failed())
        return false;
    const KeptRelease kept(layout);
    return layout.appliedForUser() ? kept.isClaimedBy(running->trialKey()) : kept.exists();
}

bool UpdateController::startApplication()
{
    if (updateKeptPrevious()) {
        if (!trial) {
            trial = new TrialHandOver(layout, limits.trialTime, running->trialKey(), this);
            connect(trial, &TrialHandOver::finished, this, &UpdateController::onTrialEnded);
            // The window hides during the trial: the process lives on without it.
            keepAlive.reset(new QEventLoopLocker);
            trial->start();
        }
        return true;
    }
    const QString program = layout.program();
    return QProcess::startDetached(program, QStringList{program});
}
