#ifndef INSTALLATION_H
#define INSTALLATION_H

#include "releasecommit.h"

#include <QDomDocument>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

class HttpDownloadFile;
class StagingRecords;

/// Installs a release whole or not at all. First every pending file is
/// staged in the download directory, one at a time in manifest order, with
/// transient failures retried and partly staged files continued; only when
/// all are complete are they committed (ReleaseCommit). A failure while
/// staging changes nothing in the application directory or its manifest.
///
/// run() returns when the installation is over, having turned the event
/// loop meanwhile; it reports through progressChanged() and, last,
/// finished(), after which errorString() says what failed.
class Installation : public QObject
{
    Q_OBJECT

public:
    Installation(const QString &applicationDir, const QString &downloadBaseUrl,
                 QObject *parent = nullptr);
    ~Installation() override;

    static constexpr int retries = 3;
    static constexpr int defaultRetryPause = 1000;

    /// How long a download may receive nothing before it counts as failed.
    void setStallTimeout(int msecs) { stallTimeout = msecs; }
    /// The pause before the first retry; each further one doubles it.
    void setRetryPause(int msecs) { retryPause = msecs; }

    /// Installs the files \a dirs / \a names (parallel lists) of release
    /// \a version, which download/version.xml describes.
    void run(const QString &version, const QStringList &dirs, const QStringList &names);

    /// The failed file and why, in one sentence; empty after a success.
    QString errorString() const { return error; }

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
    };

    bool prepare(const QString &version, const QStringList &dirs, const QStringList &names);
    bool checkEntry(const PendingFile &file, QString *reason) const;
    bool stage(int index);
    HttpDownloadFile *startAttempt(int index, const QString &url);
    void pause(int msecs);
    bool fail(const PendingFile &file, const QString &reason);

    QString stagedPath(const PendingFile &file) const;

    const QString applicationDir;
    const QString downloadDir;
    const QString downloadBaseUrl;
    int stallTimeout;
    int retryPause = defaultRetryPause;

    QNetworkAccessManager network;
    QString urlPrefix;
    QVector<PendingFile> files;
    QDomDocument downloadedManifest;
    QByteArray localManifest;
    StagingRecords *records = nullptr;
    QString error;
};

#endif // INSTALLATION_H
