#ifndef HTTPDOWNLOADFILE_H
#define HTTPDOWNLOADFILE_H

#include <QNetworkReply>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>

QT_BEGIN_NAMESPACE
class QFile;
class QNetworkAccessManager;
QT_END_NAMESPACE

/// Fetches one file by HTTP GET and streams the body into a file in a
/// directory. One object serves exactly one download.
///
/// A caller connects to the signals, calls startDownload() and keeps the event
/// loop running until `downloading` is false; succeeded() then tells whether
/// the file is complete. Each failure emits error(), before `downloading`
/// turns false; errorString() keeps the first. The texts:
/// - "can not write file <target path>": the target cannot be opened, or a
///   write or flush into it failed (the transfer is then aborted);
/// - "Network error : <code>": the reply reported QNetworkReply::NetworkError
///   <code> in decimal (a 404 gives 203, a body cut short of its
///   Content-Length or of its last chunk gives 2);
/// - "Server answered with HTTP status <code> <reason>": the status is not
///   2xx although the network layer saw no error (a 3xx, as no redirect is
///   followed);
/// - "No data received for <s> s": the transfer stalled for the stall limit
///   (30 s unless setStallTimeout() says otherwise) and was aborted.
/// A file left by a failed transfer is kept; succeeded() is false for it.
/// The request asks for the identity encoding, so the file is saved exactly
/// as the server stores it and its Content-Length is checked.
///
/// Destroying the object while the transfer runs aborts it, closes the file
/// and emits nothing more.
class HttpDownloadFile : public QObject
{
    Q_OBJECT

public:
    static constexpr int defaultStallTimeout = 30000;

    HttpDownloadFile(QString fileName, QString url, QString saveDir, QObject *parent);
    ~HttpDownloadFile() override;

    /// Issues the request and opens the target, whose path then is in
    /// `fileName`. Ignored while a transfer runs and once it has finished.
    void startDownload();

    /// Milliseconds without any arrival after which the transfer is aborted.
    void setStallTimeout(int msecs);
    /// True once the transfer has finished with a 2xx status, the whole body
    /// and every byte of it written to the target.
    bool succeeded() const;
    /// The first error text reported, empty while none was.
    QString errorString() const;

signals:
    void error(QString errorStr);
    void downloadProgress(uint64_t byteReceived, uint64_t byteTotal);
    void downloadFinished();

public slots:
    void onReplyDataArrived();
    void onReplyFinished();
    void onReplyError(QNetworkReply::NetworkError errorCode);
    void onReplyProgress(uint64_t byteReceived, uint64_t byteTotal);

private slots:
    void onStallTimeout();

private:
    void fail(const QString &errorText);
    void abortTransfer(const QString &errorText);
    void checkStatus();
    QString cannotWriteText() const;

    QNetworkAccessManager *manager = nullptr;
    QNetworkReply *reply = nullptr;
    QString saveDir;
    QString fileName;
    QString url;
    QFile *file = nullptr;

public:
    /// True from startDownload() until the reply has finished; callers poll it.
    bool downloading = false;

private:
    QTimer stallTimer;
    bool finished = false;
    bool failed = false;
    bool abortedHere = false;
    QString firstError;
};

#endif // HTTPDOWNLOADFILE_H
