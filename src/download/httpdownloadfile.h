#ifndef HTTPDOWNLOADFILE_H
#define HTTPDOWNLOADFILE_H

#include "filewriter.h"
#include "httpsession.h"
#include "proxychoice.h"

#include <QObject>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

class ArrivingAnswer;
class CurlRequest;

/// Fetches one file by HTTP GET and streams the body into a file in a
/// directory. One object serves exactly one download.
///
/// A caller connects to the signals, calls startDownload() and keeps the event
/// loop running until `downloading` is false; succeeded() then tells whether
/// the file is complete. Each failure emits error(), before `downloading`
/// turns false; errorString() keeps the first. The texts:
/// - "can not write file <target path>": the target cannot be opened, or a
///   write into it failed (the transfer is then aborted);
/// - "Network error : <code>": the transfer failed with what Qt names
///   QNetworkReply::NetworkError <code>, in decimal (a 404 gives 203, a body
///   cut short of its Content-Length or of its last chunk gives 2);
/// - "Server answered with HTTP status <code> <reason>": the status is not
///   2xx although the network layer saw no error (a 3xx that is not followed);
/// - "No data received for <s> s": nothing arrived for the stall limit
///   (30 s unless setStallTimeout() says otherwise) and the transfer was aborted;
/// - "the server's identity could not be verified: <why>": its certificate
///   has expired, is for another host name, or comes from an authority the
///   system does not trust; never ignored, never retried;
/// - more than maximumRedirects redirects, one from https to http or one to
///   anything but an http or https address with a host, naming the address;
///   never retried;
/// - a proxy that refuses the connection or asks for credentials, naming it.
/// Any failure through a proxy names the proxy. errorDetail() keeps libcurl's
/// own words for the log. A file left by a failed transfer is kept; succeeded()
/// is false for it.
///
/// libcurl follows redirects, up to maximumRedirects; a range request keeps
/// its range, and the validator and length are those of the answer at the
/// end. It sends again by itself a request that a server ended unanswered (an
/// HTTP/2 GOAWAY, a kept-alive connection closed). The request asks for the
/// identity encoding, so the file is saved exactly as the server stores it
/// and its Content-Length is checked.
///
/// The file is written, hashed and closed on Qt's thread pool (FileWriter);
/// every signal comes on the thread that started the download. The transfer
/// pauses while more than bufferLimit bytes wait for the file. Destroying the
/// object while the transfer runs aborts it, closes the file and emits
/// nothing more.
///
/// For the installation it can also continue a file staged by an earlier
/// attempt (reuseStaged()) and check the content against a size and SHA-256
/// (expectContent()).
class HttpDownloadFile : public QObject, private HttpSession::Transfer
{
    Q_OBJECT

public:
    static constexpr int defaultStallTimeout = 30000;
    static constexpr int maximumRedirects = 5;
    static constexpr qint64 bufferLimit = 256 * 1024;

    /// What kind of failure the first error was, so that it can be told in
    /// plain words.
    enum class Problem {
        None,
        MissingFile,     // 404 or 410
        ServerTrouble,   // any other refusing status, or an answer not understood
        Unreachable,     // no connection, or one that broke
        Stalled,
        Damaged,         // a file other than expected
        Untrusted,       // the server's certificate
        Proxy,
        Redirect,
        CannotWrite,
        Other
    };

    /// Sends the request through \a session, which must outlive the
    /// transfer, so that files reuse its connections.
    HttpDownloadFile(QString fileName, QString url, QString saveDir, HttpSession *session, QObject *parent);
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

    /// Before startDownload(): milliseconds, counted in whole seconds
    /// (rounded up), without any arrival after which the transfer is aborted;
    /// also the most a connection may take to be made.
    void setStallTimeout(int msecs);
    /// True once the transfer has finished with a 2xx status, the whole body
    /// and every byte of it written to the target.
    bool succeeded() const;
    /// The first error text reported, empty while none was.
    QString errorString() const { return firstError; }
    /// libcurl's own words for the first network failure, for the log; may be empty.
    QString errorDetail() const { return firstErrorDetail; }
    Problem problem() const { return firstProblem; }
    /// With Stalled: how long nothing came, in milliseconds.
    int stalledFor() const { return stallSeconds * 1000; }
    /// Whether the failure may pass when tried again: the connection refused,
    /// reset or cut short, a stall, or HTTP 408, 429 or 5xx.
    bool failureIsTransient() const { return failed && transient; }
    /// The server's validator for its copy, a strong ETag or else the
    /// Last-Modified date, once the response has begun; empty without one.
    QByteArray validator() const;
    /// The whole file's length as the response announced it, or -1.
    qint64 fileLength() const;
    /// Whether the answer came over HTTP/2, once the response has begun.
    bool usedHttp2() const;
    /// The HTTP status of the last answer, once the transfer has finished; 0 without one.
    int statusCode() const { return finalStatus; }
    /// Whether the proxy refused the request for want of a user name and
    /// password, which a person could give.
    bool proxyWantsCredentials() const { return !askingProxy.isEmpty(); }
    /// With proxyWantsCredentials(): the proxy, as host:port.
    QString credentialsAskedBy() const { return askingProxy; }

signals:
    void error(QString errorStr);
    void downloadProgress(uint64_t byteReceived, uint64_t byteTotal);
    void downloadFinished();
    /// The response's head has arrived: validator() and fileLength() are known.
    void responseStarted();

private:
    void onArrivals() override;
    void onTransferDone(int result) override;
    void onWriterFailed();
    void onWriterResumable();
    void onWriterFinished(FileWriter::Outcome outcome, qint64 length);
    void setUpHandle();
    bool openTarget();
    void tellHead();
    void noteProxyRefusal();
    void reportProgress(bool last = false);
    void endWriting();
    void finishTransfer();
    void fail(const QString &errorText, Problem kind, bool transient = false, const QString &detail = QString());
    void abortTransfer(const QString &errorText, Problem kind);
    QString cannotWriteText() const;

    HttpSession *session = nullptr;
    std::unique_ptr<CurlRequest> curl;
    std::unique_ptr<ArrivingAnswer> answer;
    std::unique_ptr<FileWriter> writer;
    QString saveDir;
    QString fileName;
    QString url;

public:
    /// True from startDownload() until the transfer and the file have
    /// finished; callers poll it.
    bool downloading = false;

private:
    int stallSeconds = defaultStallTimeout / 1000;
    bool headOnly = false;
    bool finished = false;
    bool failed = false;
    bool transient = false;
    bool transferEnded = false;   // libcurl is done with it
    QString firstError;
    QString firstErrorDetail;
    Problem firstProblem = Problem::None;
    ProxyChoice proxyChoice;
    QString askingProxy;
    qint64 reportedReceived = -1;
    int finalStatus = 0;

    qint64 stagedBytes = 0;
    qint64 stagedLength = -1;
    QByteArray stagedValidator;
    qint64 expectedSize = -1;
    qint64 maximumSize = -1;
    QByteArray expectedSha256;
};

#endif // HTTPDOWNLOADFILE_H
