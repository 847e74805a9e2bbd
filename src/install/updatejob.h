#ifndef UPDATEJOB_H
#define UPDATEJOB_H

#include "applicationlayout.h"
#include "releasetrial.h"
#include "updateerror.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class ClosingWait;
class CommitStep;
class HttpSession;
class MachineApply;
class Preflight;
class ProxySignOn;
class SignatureCheck;
class StagingQueue;
class StagingRecords;

/// One update, whole or not at all, as a job of small steps, each starting
/// when the one before it ends: the preflight (Preflight), with a
/// publisher's key the signature (SignatureCheck), the staging of every
/// file (StagingQueue), the wait for Brenvoth to close (ClosingWait) and the
/// commit (CommitStep), or for a folder its user may not write, the release
/// handed to the side that applies it (MachineApply). A failure before the commit changes nothing in the
/// application directory or its manifest; a failure during it puts
/// everything back. It reports its progress, what it waits for and, once,
/// finished(), after which error() says how it ended. Nothing of it waits
/// by turning the event loop.
class UpdateJob : public QObject
{
    Q_OBJECT

public:
    /// How long the update's waits last; the shipped program takes these.
    struct Limits
    {
        /// How long a download may receive nothing before it counts as failed.
        int stallTimeout = 30000;
        /// The pause before a failed download is first tried again; each further one doubles it.
        int retryPause = 1000;
        int retries = 3;
        /// How long a file that another program holds is waited for.
        int heldFileLimit = 30000;
        /// How long Brenvoth, still closing, is waited for.
        int closingLimit = 60000;
        /// How long the new Brenvoth is watched after the update (ReleaseTrial).
        int trialTime = ReleaseTrial::defaultTrialTime;
    };

    /// Installs into \a layout the release described below \a downloadBaseUrl;
    /// with \a publicKeys (minisign key lines, separated by ';') only what
    /// one of them signed.
    UpdateJob(const ApplicationLayout &layout, const QString &downloadBaseUrl, const QByteArray &publicKeys,
              const Limits &limits, QObject *parent = nullptr);
    ~UpdateJob() override;

    /// Installs the files \a dirs / \a names (parallel lists) of release
    /// \a version, which the downloaded manifest describes.
    void start(const QString &version, const QStringList &dirs, const QStringList &names);
    bool isFinished() const { return ended; }
    const UpdateError &error() const { return failure; }
    /// For a release that the applying side put in place: the key that
    /// has it taken back or its kept predecessor dropped after the trial.
    QByteArray trialKey() const;

    /// What the update waits for, in the user's words.
    static QString closingWords();
    static QString heldFileWords(const QString &file, const QString &program);

public slots:
    /// The answer to proxyCredentialsNeeded(): sign on to that proxy with
    /// these, kept in memory for this update only and written nowhere.
    void useProxyCredentials(const QString &userName, const QString &password);
    /// The user would not sign on: the update fails, naming the proxy.
    void declineProxyCredentials();

signals:
    /// The combined progress of all files, 0 to 100.
    void progressChanged(int value);
    /// What the update waits for, in words for the user; empty when it goes on.
    void waiting(const QString &reason);
    /// The proxy \a proxyName (host:port), which the system names, takes only
    /// a user name and password, and none is known. Asked once an update;
    /// the files wait for the answer.
    void proxyCredentialsNeeded(const QString &proxyName);
    void finished();

private:
    void onPreflightDone();
    void onSignatureChecked();
    void onStaged();
    void onClosed();
    void onCommitted();
    void onApplied();
    void finish(const UpdateError &error);

    const ApplicationLayout layout;
    const QString downloadBaseUrl;
    const QByteArray publicKeys;
    const Limits limits;
    QString version;
    QString releaseUrl;
    std::unique_ptr<HttpSession> network;
    std::unique_ptr<StagingRecords> records;
    ProxySignOn *signOn = nullptr;
    Preflight *preflight = nullptr;
    SignatureCheck *signatureCheck = nullptr;
    StagingQueue *stagingQueue = nullptr;
    ClosingWait *closingWait = nullptr;
    CommitStep *commitStep = nullptr;
    MachineApply *machineApply = nullptr;
    bool ended = false;
    UpdateError failure;
};

#endif // UPDATEJOB_H
