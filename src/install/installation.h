#ifndef INSTALLATION_H
#define INSTALLATION_H

#include "entrycheck.h"
#include "failurecause.h"
#include "filestaging.h"
#include "manifest.h"
#include "releasecommit.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

class FileStaging;
class HttpSession;
class ReleaseProgress;
class StagingRecords;

/// Installs a release whole or not at all. A downloaded manifest published
/// before the installed one is refused. With a publisher's key, the
/// downloaded manifest must first carry the publisher's signature and give
/// every pending file a size and SHA-256. Then every pending file is staged
/// in the download directory, several at once and started in manifest order
/// (6, one per connection, or 100 once the server has shown it multiplexes
/// them over HTTP/2), the cheapest way that can be checked (a patch from the installed copy, the .zst, the
/// raw file, each falling back to the next), with transient failures
/// retried and partly staged files continued, and each checked against its
/// size and digest where the manifest gives them. A folder or file that may
/// not be written for good (read-only, or for an administrator only) is
/// found, by trying, before anything is fetched. Only
/// when all are complete are they committed (ReleaseCommit). A failure
/// before the commit changes nothing in the application directory or its
/// manifest; a failure during it puts everything back.
///
/// Before the commit it waits for Brenvoth, still closing, to end (never
/// ending it), and during it for files another program holds for a moment;
/// waiting() says so.
///
/// run() returns when the installation is over, having turned the event
/// loop meanwhile; it reports through progressChanged() and, last,
/// finished(), after which failure() and errorString() say what failed.
class Installation : public QObject
{
    Q_OBJECT

public:
    /// NotInstalled changed nothing; NotVerified and Older fetched no file
    /// either; Unfinished left a commit that the next start finishes or undoes.
    enum class Failure { None, NotInstalled, NotVerified, Older, Unfinished };

    Installation(const QString &applicationDir, const QString &downloadBaseUrl,
                 QObject *parent = nullptr);
    ~Installation() override;

    static constexpr int retries = 3;
    static constexpr int defaultRetryPause = 1000;
    static const int defaultStallTimeout;
    /// How long the commit waits for Brenvoth to close, while it runs.
    static constexpr int defaultClosingLimit = 60000;

    /// How long a download may receive nothing before it counts as failed.
    void setStallTimeout(int msecs) { stallTimeout = msecs; }
    /// The pause before the first retry; each further one doubles it.
    void setRetryPause(int msecs) { retryPause = msecs; }
    /// How long a file that another program holds is waited for.
    void setHeldFileLimit(int msecs) { heldFileLimit = msecs; }
    void setClosingLimit(int msecs) { closingLimit = msecs; }
    /// The base64 key lines of the publisher's minisign.pub files, separated
    /// by ';'; empty: no check.
    void setPublicKey(const QByteArray &key) { publicKey = key; }

    /// Installs the files \a dirs / \a names (parallel lists) of release
    /// \a version, which download/version.xml describes.
    void run(const QString &version, const QStringList &dirs, const QStringList &names);

    Failure failure() const { return failed; }
    /// What failed and why, in one line; empty after a success.
    QString errorString() const { return error; }
    /// Qt's own words for a failed download, for the log; may be empty.
    QString errorDetails() const { return errorDetail; }
    /// Why it failed, in words for the user.
    const FailureCause &cause() const { return failureCause; }

    /// Finishes or undoes a commit interrupted in an earlier run; logs what it did.
    static void recoverInterrupted(const QString &applicationDir);

public slots:
    /// The answer to proxyCredentialsNeeded(): sign on to that proxy with
    /// these, kept in memory for this run only and written nowhere.
    void useProxyCredentials(const QString &userName, const QString &password);
    /// The user would not sign on: the update fails, naming the proxy.
    void declineProxyCredentials();

signals:
    /// The proxy \a proxyName (host:port), which the system names, takes
    /// only a user name and password, and none is known. Asked once a run;
    /// the files wait for the answer.
    void proxyCredentialsNeeded(const QString &proxyName);
    /// The combined progress of all files, 0 to 100.
    void progressChanged(int value);
    void finished(bool succeeded);
    /// What the installation waits for, in words for the user; empty when it goes on.
    void waiting(const QString &reason);

private:
    struct PendingFile
    {
        QString dir;
        QString name;
        Manifest::FileIntegrity integrity;
        Manifest::Delivery delivery;
    };

    bool prepare(const QString &version, const QStringList &dirs, const QStringList &names);
    bool isNotOlderThanInstalled(const QDomElement &downloadedRoot);
    bool readIntegrities(const QDomElement &release, const QStringList &dirs, const QStringList &names);
    bool mayWriteEverywhere();
    bool failNotWritable(const QString &path, const QString &reason);
    bool hasRoomForRelease();
    bool verifySignature();
    bool fetchSignature(int *status);
    bool stageAll();
    bool startStaging(int index);
    void onStagingFinished(int index, FileStaging *staging);
    void cancelStagings();
    bool awaitSignOn(int index, const FileStaging &staging);
    void askForSignOn(const FileStaging &refused);
    void resumeAfterSignOn();
    void noteStateChanged();
    int inFlightLimit() const;
    bool isStagedAlready(const PendingFile &file) const;
    QVector<FileStaging::Way> waysTo(const PendingFile &file) const;
    FileStaging::Way rawWay(const PendingFile &file, const QString &url, const QString &path) const;
    FileStaging::Context stagingContext();
    void reportProgress();
    bool commit(const QString &version);
    void waitForApplicationToClose();
    QString applicationProgram() const;
    bool fail(const PendingFile &file, const QString &reason);
    bool fail(const PendingFile &file, const QString &reason, const FailureCause &cause);
    bool refuseManifest(const PendingFile &file, const QString &reason);
    bool refuse(const QString &reason);
    bool refuseOlder(const QString &reason);

    QString stagedPath(const PendingFile &file) const;
    QString destinationPath(const PendingFile &file) const;
    QString partPath(const QString &url) const;

    const QString applicationDir;
    const QString downloadDir;
    const QString downloadBaseUrl;
    int stallTimeout = defaultStallTimeout;
    int retryPause = defaultRetryPause;
    int heldFileLimit = ReleaseCommit::defaultHeldFileLimit;
    int closingLimit = defaultClosingLimit;
    QElapsedTimer applicationSeen;   // since Brenvoth was first seen running
    QByteArray publicKey;

    std::unique_ptr<HttpSession> network;
    // A proxy that asks who is there is asked about once a run; the files
    // it refused wait for the answer and then start again.
    enum class SignOn { NotAsked, Asking, Answered, Declined };
    SignOn signOn = SignOn::NotAsked;
    QString signOnProxy;
    QVector<int> awaitingSignOn;
    QSet<int> startedBeforeSignOn;
    QString refusal;
    QString refusalDetail;
    FailureCause refusalCause;
    QString urlPrefix;
    QByteArray downloadedManifest;
    QByteArray localManifest;
    QVector<PendingFile> files;
    const ApplicationLayout layout;
    const EntryCheck entryCheck;
    QSet<QString> stagingFolders;
    std::unique_ptr<StagingRecords> records;
    std::unique_ptr<ReleaseProgress> progress;
    int lastProgress = -1;
    // Finished stagings are deleted by the loop that started them, never
    // inside a handler that may run in a staging's own decoding.
    QHash<int, FileStaging *> running;
    QVector<FileStaging *> ended;
    bool stateChanged = false;
    bool multiplexed = false;
    Failure failed = Failure::None;
    QString error;
    QString errorDetail;
    FailureCause failureCause;
    QString offeredVersion;
};

#endif // INSTALLATION_H
