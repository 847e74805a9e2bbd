#ifndef FILESTAGING_H
#define FILESTAGING_H

#include "failurecause.h"
#include "manifest.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>

class HttpDownloadFile;
class HttpSession;
class StagingRecords;

/// Stages one file in the download directory: tries each way to it in turn
/// (a patch, the .zst, the raw file), each with its retries, continues what
/// an earlier attempt left, and decodes a compressed way into the staged
/// file. Many run at once in one HttpSession; each reports once,
/// through finished().
class FileStaging : public QObject
{
    Q_OBJECT

public:
    /// What all stagings of one installation share.
    struct Context
    {
        HttpSession *network = nullptr;
        StagingRecords *records = nullptr;
        int stallTimeout = 0;
        int retryPause = 0;
        int retries = 0;
    };
    /// One way to the file: the bytes at `url`, fetched into `path`. A
    /// compressed way is decoded from there into the staged file, with a
    /// patch's old file as `reference`.
    struct Way
    {
        QString url;
        QString path;
        QString shownName;                 // dir, name and suffix, for messages
        Manifest::FileIntegrity expected;  // of the fetched bytes
        qint64 limit = -1;
        bool compressed = false;
        QString reference;
    };

    /// Stages into \a stagedPath, which must end up with \a integrity.
    FileStaging(const Context &context, const QString &stagedPath,
                const Manifest::FileIntegrity &integrity, const QVector<Way> &ways,
                QObject *parent = nullptr);
    ~FileStaging() override;

    void start();
    /// Stops the running attempt or pause; finished() is not emitted.
    void cancel();

    bool isFinished() const { return done; }
    bool succeeded() const { return done && error.isEmpty(); }
    /// The file and what failed, in one line; empty after a success.
    QString errorString() const { return error; }
    /// Qt's own words for a failed download, for the log; may be empty.
    QString errorDetails() const { return errorDetail; }
    /// The HTTP status of the last answer; 0 when the server gave none.
    int statusCode() const { return status; }
    /// Why it failed, for the user.
    const FailureCause &cause() const { return failureCause; }

signals:
    /// The running way has \a received of \a total bytes (total 0: unknown).
    void progressed(qint64 received, qint64 total);
    /// The server answered over HTTP/2, so more requests may share its connection.
    void multiplexed();
    void finished();

private slots:
    void onAttemptEnded();

private:
    void startAttempt();
    bool decode(const Way &way);
    void tryNextWay(const QString &reason);
    void finish(const QString &failure = QString(), const QString &detail = QString());

    const Context context;
    const QString stagedPath;
    const Manifest::FileIntegrity integrity;
    const QVector<Way> ways;
    int wayIndex = 0;
    int attempt = 0;
    HttpDownloadFile *downloader = nullptr;
    QTimer retryTimer;
    bool done = false;
    bool cancelled = false;
    int status = 0;
    QString error;
    QString errorDetail;
    FailureCause failureCause;
};

#endif // FILESTAGING_H
