#ifndef INSTALLATION_H
#define INSTALLATION_H

#include "failurecause.h"
#include "manifest.h"

#include <QByteArray>
#include <QHash>
#include <QNetworkAccessManager>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

class HttpDownloadFile;
class StagingRecords;

/// Installs a release whole or not at all. A downloaded manifest published
/// before the installed one is refused. With a publisher's key, the
/// downloaded manifest must first carry the publisher's signature and give
/// every pending file a size and SHA-256. Then every pending file is staged
/// in the download directory, one at a time in manifest order, the cheapest
/// way that can be checked (a patch from the installed copy, the .zst, the
/// raw file, each falling back to the next), with transient failures
/// retried and partly staged files continued, and each checked against its
/// size and digest where the manifest gives them. Only
/// when all are complete are they committed (ReleaseCommit). A failure
/// before the commit changes nothing in the application directory or its
/// manifest; a failure during it puts everything back.
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

    /// How long a download may receive nothing before it counts as failed.
    void setStallTimeout(int msecs) { stallTimeout = msecs; }
    /// The pause before the first retry; each further one doubles it.
    void setRetryPause(int msecs) { retryPause = msecs; }
    /// The base64 key line of the publisher's minisign.pub; empty: no check.
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

signals:
    /// The combined progress of all files, 0 to 100.
    void progressChanged(int value);
    void finished(bool succeeded);

private:
    struct PendingFile
    {
        QString dir;
        QString name;
        Manifest::FileIntegrity integrity;
        Manifest::Delivery delivery;
    };
    // One way to a file: the suffix of its address (empty for the raw file),
    // the old file a patch applies to, and the bytes to fetch.
    struct Way
    {
        QString suffix;
        QString reference;
        qint64 size = -1;
    };
    // One download: from where, to where, what it must be, and a limit.
    struct Transfer
    {
        QString url;
        QString path;
        Manifest::FileIntegrity expected;
        qint64 limit = -1;
    };

    bool prepare(const QString &version, const QStringList &dirs, const QStringList &names);
    bool isNotOlderThanInstalled(const QDomElement &downloadedRoot);
    bool readIntegrities(const QDomElement &release, const QStringList &dirs, const QStringList &names);
    bool checkEntry(const PendingFile &file, QString *reason) const;
    bool hasRoomForRelease();
    bool verifySignature();
    bool stage(int index);
    bool isStagedAlready(const PendingFile &file) const;
    QVector<Way> waysTo(const PendingFile &file) const;
    bool fetchWay(const PendingFile &file, const Way &way, int index, int *status);
    bool commit(const QString &version);
    bool fetch(const PendingFile &file, const Transfer &transfer, int progressIndex, int *status = nullptr);
    HttpDownloadFile *startAttempt(const Transfer &transfer, int progressIndex);
    void pause(int msecs);
    bool fail(const PendingFile &file, const QString &reason);
    bool fail(const PendingFile &file, const QString &reason, const FailureCause &cause);
    bool failDownload(const PendingFile &file, const Transfer &transfer, const QString &reason, int httpStatus);
    bool refuseManifest(const PendingFile &file, const QString &reason);
    bool refuse(const QString &reason);
    bool refuseOlder(const QString &reason);
    void clearFailure();

    QString stagedPath(const PendingFile &file) const;
    QString destinationPath(const PendingFile &file) const;
    QString partPath(const QString &url) const;
    bool pathStaysInside(const QString &root, const QString &path) const;

    const QString applicationDir;
    const QString downloadDir;
    const QString downloadBaseUrl;
    int stallTimeout;
    int retryPause = defaultRetryPause;
    QByteArray publicKey;

    QNetworkAccessManager network;
    QString urlPrefix;
    QByteArray downloadedManifest;
    QByteArray localManifest;
    QVector<PendingFile> files;
    mutable QHash<QString, bool> foldersInside;
    QSet<QString> stagingFolders;
    std::unique_ptr<StagingRecords> records;
    Failure failed = Failure::None;
    QString error;
    QString errorDetail;
    FailureCause failureCause;
    QString offeredVersion;
};

#endif // INSTALLATION_H
