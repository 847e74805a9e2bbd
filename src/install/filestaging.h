#ifndef FILESTAGING_H
#define FILESTAGING_H

#include "failurecause.h"
#include "manifest.h"
#include "stagingways.h"

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>

class HttpDownloadFile;
class HttpSession;
class StagingRecords;

/// Stages one file in the download directory. First, on a worker thread, it
/// looks at what lies there: a copy that an earlier run staged whole is
/// kept, and the installed copy's digest picks the patch that applies. Then
/// it tries each way in turn (a patch, the .zst, the raw file), each with
/// its retries, continues what an earlier attempt left, and decodes a
/// compressed way into the staged file on a worker thread. Many run at once
/// in one HttpSession; each reports once, through finished().
class FileStaging : public QObject
{
    Q_OBJECT

public:
    /// What all stagings of one update share.
    struct Context
    {
        HttpSession *network = nullptr;
        StagingRecords *records = nullptr;
        int stallTimeout = 0;
        int retryPause = 0;
        int retries = 0;
    };

    /// Stages into \a stagedPath, which must end up with \a integrity and
    /// holds \a stagedSize bytes from an earlier run (-1: nothing).
    FileStaging(const Context &context, const QString &stagedPath, const Manifest::FileIntegrity &integrity,
                qint64 stagedSize, const QVector<StagingWay> &ways, QObject *parent = nullptr);
    ~FileStaging() override;

    void start();
    /// Stops; finished() follows once none of its work runs any more.
    void cancel();

    bool succeeded() const { return done && !cancelled && error.isEmpty(); }
    bool wasCancelled() const { return cancelled; }
    /// The file and what failed, in one line; empty after a success.
    QString errorString() const { return error; }
    /// libcurl's own words for a failed download, for the log; may be empty.
    QString errorDetails() const { return errorDetail; }
    /// The HTTP status of the last answer; 0 when the server gave none.
    int statusCode() const { return status; }
    /// Why it failed, for the user.
    const FailureCause &cause() const { return failureCause; }
    /// The proxy (host:port) that refused it for want of a user name and
    /// password; empty when it failed otherwise.
    QString credentialsAskedBy() const { return askingProxy; }

signals:
    /// The running way has \a received of \a total bytes (total 0: unknown).
    void progressed(qint64 received, qint64 total);
    /// The server answered over HTTP/2, so more requests may share its connection.
    void multiplexed();
    void finished();

private:
    struct Examination
    {
        bool stagedWhole = false;
        QByteArray referenceDigest;
    };
    struct Decoding
    {
        bool decoded = false;
        bool moved = false;
        QString problem;
    };
    static Examination examine(const QString &stagedPath, const Manifest::FileIntegrity &integrity,
                               qint64 stagedSize, const QString &reference);
    static Decoding decode(const StagingWay &way, const QString &stagedPath, const Manifest::FileIntegrity &integrity);

    void onExamined();
    void startAttempt();
    void onAttemptEnded();
    void onDecoded();
    void tryNextWay(const QString &reason);
    void finish(const QString &failure = QString(), const QString &detail = QString());

    const Context context;
    const QString stagedPath;
    const Manifest::FileIntegrity integrity;
    const qint64 stagedSize;
    QVector<StagingWay> ways;
    int wayIndex = 0;
    int attempt = 0;
    HttpDownloadFile *downloader = nullptr;
    QTimer retryTimer;
    QFutureWatcher<Examination> examining;
    QFutureWatcher<Decoding> decoding;
    bool working = false;   // on a worker thread, until its result is taken
    bool done = false;
    bool cancelled = false;
    int status = 0;
    QString error;
    QString errorDetail;
    FailureCause failureCause;
    QString askingProxy;
};

#endif // FILESTAGING_H
