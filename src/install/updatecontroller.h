#ifndef UPDATECONTROLLER_H
#define UPDATECONTROLLER_H

#include "applicationlayout.h"
#include "folderlock.h"
#include "pendingupdate.h"
#include "policies.h"
#include "trialhandover.h"
#include "updatejob.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class QEventLoopLocker;

/// One run of the updater in an application folder: it takes the folder's
/// lock (two updaters would stage into the same files and commit over each
/// other, and recovery would undo a commit that is still running), finishes
/// or undoes a commit that an earlier run left, reads what is pending, runs
/// the update as a job and hands over to Brenvoth. A window shows it and
/// forwards the user's clicks; it works without one.
class UpdateController : public QObject
{
    Q_OBJECT

public:
    /// Works on the application in \a applicationDir (without a trailing
    /// slash), fetching releases from below \a downloadBaseUrl: the shipped
    /// program passes its own folder and the address fixed at build time,
    /// and the machine's \a policies, which may name another address.
    UpdateController(const QString &applicationDir, const QString &downloadBaseUrl,
                     const Policies &policies = Policies(), QObject *parent = nullptr);
    ~UpdateController() override;

    /// The base64 key lines of the publisher's minisign.pub files, separated
    /// by ';', fixed at build time; with a key, only releases it signed are
    /// installed.
    void setPublicKey(const QByteArray &keys) { publicKeys = keys; }
    void setLimits(const UpdateJob::Limits &limits) { this->limits = limits; }

    /// Another updater holds the folder: nothing was read, nothing is done.
    bool anotherUpdaterRuns() const { return lockedOut; }
    const PendingUpdate &pending() const { return found; }
    /// What the administrator decided; with updates disabled nothing is
    /// pending.
    const Policies &policies() const { return managed; }
    /// The release will be applied by a program that Windows starts only
    /// with an administrator's approval: a folder for all users, no service.
    bool needsApproval() const;

    /// Starts installing the pending files, once; null when none are
    /// pending. The process lives on until the job has finished, also once
    /// the last window has closed.
    UpdateJob *install();
    UpdateJob *job() const { return running; }

    /// Starts Brenvoth, with its own full path as its one argument, as a
    /// process of its own; whether it started. After an update it starts on
    /// trial, and trialEnded() follows.
    bool startApplication();
    /// The trial that startApplication() began; null when none.
    TrialHandOver *handOver() const { return trial; }

    /// The downloaded manifest's release, which did not start here before
    /// and is not offered again; empty when none. Then the installed one's.
    QString refusedVersion() const { return refused; }
    QString installedVersion() const { return installed; }

signals:
    void trialEnded();

private:
    void takeLock();
    void refuseFailedRelease();
    bool updateKeptPrevious() const;
    void onJobFinished();
    void onTrialEnded();

    const ApplicationLayout layout;
    const Policies managed;
    const QString downloadBaseUrl;
    QByteArray publicKeys;
    UpdateJob::Limits limits;
    FolderLock lock;
    bool lockedOut = false;
    PendingUpdate found;
    UpdateJob *running = nullptr;
    TrialHandOver *trial = nullptr;
    QString refused;
    QString installed;
    std::unique_ptr<QEventLoopLocker> keepAlive;
};

#endif // UPDATECONTROLLER_H
