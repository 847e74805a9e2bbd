#ifndef HTTPDOWNLOADFILE_H
#define HTTPDOWNLOADFILE_H

#include "httpsession.h"
#include "sha256.h"

#include <QHash>
#include <QNetworkReply>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <cstdint>
#include <memory>

QT_BEGIN_NAMESPACE
class QFile;
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
/// - "Network error : <code>": the transfer failed with what Qt names
///   QNetworkReply::NetworkError <code>, in decimal (a 404 gives 203, a body
///   cut short of its Content-Length or of its last chunk gives 2);
/// - "Server answered with HTTP status <code> <reason>": the status is not
///   2xx although the network layer saw no error (a 3xx that is not followed);
/// - "No data received for <s> s": the transfer stalled for the stall limit
///   (30 s unless setStallTimeout() says otherwise) and was aborted;
/// - "the server's identity could not be verified: <why>": its certificate
///   has expired, is for another host name, or comes from an authority the
///   system does not trust; never ignored, never retried;
/// - a redirect loop, more than maximumRedirects redirects, one from https
///   to http or one to anything but an http or https address with a host,
///   naming the address;
///   never retried;
/// - a proxy that refuses the connection or asks for credentials, naming it.
/// Any failure through a proxy names the proxy. errorDetail() keeps libcurl's
/// own words for the log. A file left by a failed transfer is kept; succeeded()
/// is false for it.
///
/// Redirects (301, 302, 303, 307, 308) are followed, up to maximumRedirects,
/// never from https to http and only to http or https; a range request
/// keeps its range, and the validator and length are those of the answer at
/// the end.
/// The request asks for the identity encoding, so the file is saved exactly
/// as the server stores it and its Content-Length is checked.
///
/// Destroying the object while the transfer runs aborts it, closes the file
/// and emits nothing more.
///
/// For the installation it can also continue a file staged by an earlier
/// attempt (reuseStaged()), check the content against a size and SHA-256
/// (expectContent()) and share one HttpSession with other downloads.
///
/// A request that got no answer at all on a connection that had served
/// others (a server ending it, as an HTTP/2 GOAWAY does) is sent again, a few
/// times at most. Memory stays bounded when writing lags behind the line:
/// the transfer pauses while more than bufferLimit bytes wait for the file.
class HttpDownloadFile : public QObject, private HttpSession::Transfer
{
    Q_OBJECT

public:
    static constexpr int defaultStallTimeout = 30000;
    static constexpr int maximumRedirects = 5;
    static constexpr qint64 bufferLimit = 256 * 1024;

    HttpDownloadFile(QString fileName, QString url, QString saveDir, QObject *parent);
    /// Sends the request through \a sharedSession, which must outlive the
    /// transfer, so that files reuse its connections.
    HttpDownloadFile(QString fileName, QString url, QString saveDir,
                     HttpSession *sharedSession, QObject *parent);
    ~HttpDownloadFile() override;

    /// Before startDownload(): the target already holds the first \a stagedBytes
    /// of a file of \a fileLength bytes whose copy on the server had \a validator
    /// (an ETag or a Last-Modified date). A partial copy is continued with a
    /// range request guarded by If-Range; a whole one is kept when the server
    /// answers "304 Not Modified". Whatever else the server sends replaces it.
    void reuseStaged(qint64 stagedBytes, qint64 fileLength, const QByteArray &validator);
    /// Before startDownload(): the file must be \a size bytes long (-1: any) and
    /// have the SHA-256 digest \a sha256 (empty: any). A body that goes past
    /// the size is stopped at once.
    void expectContent(qint64 size, const QByteArray &sha256);
    /// Before startDownload(): a body that goes past \a bytes is stopped at once.
    void setMaximumSize(qint64 bytes) { maximumSize = bytes; }
    /// Before startDownload(): asks with HEAD for the answer's head alone and
    /// writes no file; fileLength() then tells the file's length.
    void askHeadOnly() { headOnly = true; }

    /// Issues the request and opens the target, whose path then is in
    /// `fileName`. Ignored while a transfer runs and once it has finished.
    void startDownload();

    /// Milliseconds without any arrival after which the transfer is aborted.
    void setStallTimeout(int msecs);
    /// Milliseconds the server may take to begin its answer to each request;
    /// the stall limit unless set.
    void setAnswerTimeout(int msecs) { answerLimit = msecs; }
    /// True once the transfer has finished with a 2xx status, the whole body
    /// and every byte of it written to the target.
    bool succeeded() const;
    /// The first error text reported, empty while none was.
    QString errorString() const;
    /// libcurl's own words for the first network failure, for the log; may be empty.
    QString errorDetail() const;
    /// What kind of failure the first error was, so that it can be told in
    /// plain words; with Network, networkError() says which.
    enum class Problem { None, Network, HttpStatus, Stalled, CannotWrite, Damaged, Redirect };
    Problem problem() const { return firstProblem; }
    /// With Stalled: how long nothing came, in milliseconds.
    int stalledFor() const { return stalledMsecs; }
    /// Qt's error for a Network problem; a connection that a proxy refused
    /// counts as ProxyConnectionRefusedError.
    QNetworkReply::NetworkError networkError() const { return firstNetworkError; }
    /// Whether the failure may pass when tried again: the connection refused,
    /// reset or cut short, a stall, or HTTP 408, 429 or 5xx.
    bool failureIsTransient() const;
    /// The server's validator for its copy, a strong ETag or else the
    /// Last-Modified date, once the response has begun; empty without one.
    QByteArray validator() const { return serverValidator; }
    /// The whole file's length as the response announced it, or -1.
    qint64 fileLength() const { return announcedLength; }
    /// Whether the answer came over HTTP/2, once the response has begun.
    bool usedHttp2() const { return overHttp2; }
    /// The HTTP status of the last answer, once the transfer has finished; 0 without one.
    int statusCode() const { return finalStatus; }
    /// The most body bytes that were held at once between the line and the file.
    qint64 mostBuffered() const { return mostPending; }

signals:
    void error(QString errorStr);
    void downloadProgress(uint64_t byteReceived, uint64_t byteTotal);
    void downloadFinished();
    /// The response's head has arrived: validator() and fileLength() are known.
    void responseStarted();

private:
    struct Curl;
    friend struct DownloadCallbacks;

    void onArrivals() override;
    void onTransferDone(int result) override;
    void onStallTimeout();
    void sendRequest(const QUrl &address);
    void setUpHandle();
    void setRequestHeaders();
    void setProxy(const QUrl &address);
    bool takeHead();
    void handleHead();
    bool writePending();
    void reportProgress(bool last = false);
    bool resendsUnanswered(int result);
    void failOnResult(int result);
    void failOnStatus();
    void finishTransfer();
    void followRedirect();
    bool asksForRange() const;
    bool openTarget();
    bool startFromStagedPart(qint64 firstByte);
    bool hashStagedBytes(qint64 count);
    void fail(const QString &errorText, Problem kind, bool transient = false, const QString &detail = QString());
    void abortTransfer(const QString &errorText, Problem kind, bool transient = false);
    void checkStatus();
    void checkContent();
    QString cannotWriteText() const;
    QString describeNetworkError(QNetworkReply::NetworkError errorCode, const QString &detail) const;
    QString handshakeProblem(int result) const;
    QString proxyName() const;
    QByteArray header(const QByteArray &lowerCaseName) const { return headers.value(lowerCaseName); }

    HttpSession *session = nullptr;
    std::unique_ptr<Curl> curl;
    QString saveDir;
    QString fileName;
    QString url;
    QFile *file = nullptr;

public:
    /// True from startDownload() until the reply has finished; callers poll it.
    bool downloading = false;

private:
    QTimer stallTimer;
    int stallLimit = defaultStallTimeout;
    int answerLimit = -1;
    int stalledMsecs = 0;
    bool ownsSession = false;
    bool headOnly = false;
    bool finished = false;
    bool failed = false;
    bool transient = false;
    bool abortedHere = false;
    QString firstError;
    QString firstErrorDetail;
    Problem firstProblem = Problem::None;
    QNetworkReply::NetworkError firstNetworkError = QNetworkReply::NoError;
    QUrl address;                // of the running request
    QNetworkProxy proxy;         // that the running request goes through
    QUrl redirectTarget;
    int redirects = 0;
    int resends = 0;
    bool redirecting = false;   // the running answer is a redirect's; the next one follows

    // The running request's answer as libcurl hands it over.
    int status = 0;
    QByteArray reason;
    QHash<QByteArray, QByteArray> headers;
    bool headComplete = false;
    bool headTaken = false;      // of this answer
    QByteArray pending;          // body bytes not yet written
    qint64 mostPending = 0;
    bool paused = false;
    qint64 bodyReceived = 0;     // of the final answer
    qint64 replyLength = -1;     // its Content-Length
    qint64 reportedReceived = -1;

    qint64 stagedBytes = 0;
    qint64 stagedLength = -1;
    QByteArray stagedValidator;
    qint64 expectedSize = -1;
    qint64 maximumSize = -1;
    QByteArray expectedSha256;
    Sha256 sha256;

    // What the response turned out to be, once its head has arrived.
    QByteArray serverValidator;
    qint64 announcedLength = -1;
    int finalStatus = 0;
    bool overHttp2 = false;
    qint64 bodyOffset = 0;       // bytes of the file before the body: the staged part kept
    qint64 bytesWritten = 0;     // of the body
    bool headHandled = false;
    bool keepsStagedWhole = false;
    bool writesBody = true;
};

#endif // HTTPDOWNLOADFILE_H
