#include "httpdownloadfile.h"
#include "httpanswer.h"
#include "systemproxy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QSslError>
#include <QUrl>

#include <limits>
#include <utility>

namespace {
// Qt's network thread reads ahead of this thread without a limit, so an
// unbounded buffer grows with the file whenever writing lags behind.
constexpr qint64 readBufferLimit = 2 * 1024 * 1024;

bool isTransientStatus(int status)
{
    return status == 408 || status == 429 || (status >= 500 && status <= 599);
}

// Errors of the connection itself, below HTTP: refused, reset, cut short, timed
// out, also at a proxy. A certificate or a proxy's demand for credentials is
// no better on the next try.
bool isTransientNetworkError(QNetworkReply::NetworkError code)
{
    switch (code) {
    case QNetworkReply::OperationCanceledError:
    case QNetworkReply::SslHandshakeFailedError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return false;
    // An HTTP/2 server that stops taking streams on a connection (GOAWAY)
    // leaves the requests it did not take unanswered; Qt does not resend them.
    case QNetworkReply::ContentReSendError:
        return true;
    default:
        return code > QNetworkReply::NoError && code < QNetworkReply::ContentAccessDenied;
    }
}

// The answers that send the request elsewhere.
bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

QString certificateProblem(const QSslError &error)
{
    switch (error.error()) {
    case QSslError::CertificateExpired:
        return HttpDownloadFile::tr("its certificate has expired");
    case QSslError::CertificateNotYetValid:
        return HttpDownloadFile::tr("its certificate is not valid yet");
    case QSslError::HostNameMismatch:
        return HttpDownloadFile::tr("its certificate was issued for another host name");
    case QSslError::CertificateRevoked:
        return HttpDownloadFile::tr("its certificate has been revoked");
    case QSslError::SelfSignedCertificate:
    case QSslError::SelfSignedCertificateInChain:
    case QSslError::UnableToGetIssuerCertificate:
    case QSslError::UnableToGetLocalIssuerCertificate:
    case QSslError::UnableToVerifyFirstCertificate:
    case QSslError::CertificateUntrusted:
    case QSslError::CertificateRejected:
        return HttpDownloadFile::tr("its certificate was issued by an authority this computer does not trust");
    default:
        return error.errorString();
    }
}
} // namespace

HttpDownloadFile::HttpDownloadFile(QString fileName, QString url, QString saveDir,
                                   QObject *parent)
    : HttpDownloadFile(std::move(fileName), std::move(url), std::move(saveDir), nullptr, parent)
{
    manager = new QNetworkAccessManager(this);
    useSystemProxy(manager);
    ownsManager = true;
}

HttpDownloadFile::HttpDownloadFile(QString fileName, QString url, QString saveDir,
                                   QNetworkAccessManager *sharedManager, QObject *parent)
    : QObject(parent)
    , manager(sharedManager)
    , saveDir(std::move(saveDir))
    , fileName(std::move(fileName))
    , url(std::move(url))
    , ownsManager(false)
{
    stallTimer.setSingleShot(true);
    stallTimer.setInterval(defaultStallTimeout);
    connect(&stallTimer, &QTimer::timeout, this, &HttpDownloadFile::onStallTimeout);
}

HttpDownloadFile::~HttpDownloadFile()
{
    if (!downloading)
        return;
    // Aborting notifies synchronously; none of it may reach a half-destroyed object.
    reply->disconnect(this);
    reply->abort();
    if (!ownsManager)
        reply->deleteLater();
    delete file;
}

void HttpDownloadFile::reuseStaged(qint64 stagedBytes, qint64 fileLength, const QByteArray &validator)
{
    if (stagedBytes <= 0 || fileLength < stagedBytes || validator.isEmpty())
        return;
    this->stagedBytes = stagedBytes;
    stagedLength = fileLength;
    stagedValidator = validator;
}

void HttpDownloadFile::expectContent(qint64 size, const QByteArray &sha256)
{
    expectedSize = size;
    expectedSha256 = sha256;
}

void HttpDownloadFile::startDownload()
{
    if (downloading || finished)
        return;
    downloading = true;

    sendRequest(QUrl(url, QUrl::TolerantMode));
    if (headOnly)
        return;

    if (fileName.isEmpty())
        fileName = QFileInfo(url).fileName();
    if (!saveDir.isEmpty()) {
        if (!QDir(saveDir).exists())
            QDir().mkdir(saveDir);
        fileName = saveDir + QLatin1Char('/') + fileName;
    }
    if (openTarget()) {
        reply->setReadBufferSize(readBufferLimit);
        return;
    }
    // Without a file nothing drains the reply: a bounded buffer would stall it.
    fail(cannotWriteText(), Problem::CannotWrite);
}

void HttpDownloadFile::sendRequest(const QUrl &address)
{
    reply = headOnly ? manager->head(buildRequest(address)) : manager->get(buildRequest(address));
    connect(reply, &QIODevice::readyRead, this, &HttpDownloadFile::onReplyDataArrived);
    connect(reply, &QNetworkReply::finished, this, &HttpDownloadFile::onReplyFinished);
    connect(reply, &QNetworkReply::errorOccurred, this, &HttpDownloadFile::onReplyError);
    connect(reply, &QNetworkReply::downloadProgress, this, &HttpDownloadFile::onReplyProgress);
    connect(reply, &QNetworkReply::metaDataChanged, this, &HttpDownloadFile::onReplyMetaDataChanged);
    connect(reply, &QNetworkReply::sslErrors, this, &HttpDownloadFile::onReplySslErrors);
    if (file)
        reply->setReadBufferSize(readBufferLimit);
    stallTimer.start(answerLimit >= 0 ? answerLimit : stallLimit);
}

// Qt decodes the compressed answers it asks for by default, drops their length
// and so saves a cut-off one as complete; the file comes as stored. Every hop
// of a redirect asks the same, a range and its condition included.
QNetworkRequest HttpDownloadFile::buildRequest(const QUrl &address) const
{
    QNetworkRequest request(address);
    request.setRawHeader("Accept-Encoding", "identity");
    // Over TLS the server may choose HTTP/2 and carry many files on one
    // connection; in clear text Qt would send an h2c upgrade few servers take.
    if (address.scheme() == QLatin1String("https"))
        request.setAttribute(QNetworkRequest::Http2AllowedAttribute, true);
    if (stagedValidator.isEmpty())
        return request;
    const bool isEtag = stagedValidator.startsWith('"');
    if (stagedBytes == stagedLength) {
        request.setRawHeader(isEtag ? "If-None-Match" : "If-Modified-Since", stagedValidator);
    } else {
        request.setRawHeader("Range", "bytes=" + QByteArray::number(stagedBytes) + '-');
        request.setRawHeader("If-Range", stagedValidator);
    }
    return request;
}

// A staged part is kept until the answer shows whether it is continued.
bool HttpDownloadFile::openTarget()
{
    const bool reusing = !stagedValidator.isEmpty();
    if (!reusing && QFile::exists(fileName))
        QFile::remove(fileName);
    file = new QFile(fileName);
    if (file->open(reusing ? QIODevice::ReadWrite : QIODevice::WriteOnly))
        return true;
    file->close();
    file->deleteLater();
    file = nullptr;
    return false;
}

void HttpDownloadFile::setStallTimeout(int msecs)
{
    stallLimit = msecs;
    stallTimer.setInterval(msecs);
}

bool HttpDownloadFile::succeeded() const
{
    return finished && !failed;
}

QString HttpDownloadFile::errorString() const
{
    return firstError;
}

bool HttpDownloadFile::failureIsTransient() const
{
    return failed && transient;
}

QString HttpDownloadFile::errorDetail() const
{
    return firstErrorDetail;
}

void HttpDownloadFile::onReplyMetaDataChanged()
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (isRedirect(status) && reply->hasRawHeader("Location")) {
        followRedirect();
        return;
    }
    if (headHandled)
        return;
    headHandled = true;
    stallTimer.start(stallLimit);
    overHttp2 = reply->attribute(QNetworkRequest::Http2WasUsedAttribute).toBool();
    // An error page's validator says nothing about the file.
    if ((status >= 200 && status <= 299) || status == 304)
        serverValidator = HttpAnswer::validator(reply->rawHeader("ETag"), reply->rawHeader("Last-Modified"));
    const bool reusing = !stagedValidator.isEmpty();
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    announcedLength = length.isValid() ? length.toLongLong() : -1;

    if (reusing && status == 304 && stagedBytes == stagedLength) {
        keepsStagedWhole = true;
        writesBody = false;
        announcedLength = stagedLength;
    } else if (status == 206) {
        qint64 first = -1;
        if (!asksForRange() || !HttpAnswer::parseContentRange(reply->rawHeader("Content-Range"), &first, &announcedLength)
            || first != stagedBytes) {
            if (file)
                file->resize(0);
            abortTransfer(tr("The server sent another part of the file than was asked for"), Problem::Damaged, true);
            return;
        }
        if (file && !startFromStagedPart(first))
            return;
    } else if (status >= 200 && status <= 299) {
        if (file && reusing && !file->resize(0)) {
            abortTransfer(cannotWriteText(), Problem::CannotWrite);
            return;
        }
    } else {
        // An error page must not land on top of a staged part.
        writesBody = !reusing;
    }
    if (expectedSize >= 0 && announcedLength >= 0 && announcedLength != expectedSize) {
        abortTransfer(tr("The server's file is %1 bytes long, the manifest says %2")
                          .arg(announcedLength).arg(expectedSize), Problem::Damaged);
        return;
    }
    emit responseStarted();
}

bool HttpDownloadFile::startFromStagedPart(qint64 firstByte)
{
    if (!file->resize(firstByte) || !hashStagedBytes(firstByte) || !file->seek(firstByte)) {
        abortTransfer(cannotWriteText(), Problem::CannotWrite);
        return false;
    }
    bodyOffset = firstByte;
    return true;
}

// The digest covers the whole file, so the part kept from earlier is read once.
bool HttpDownloadFile::hashStagedBytes(qint64 count)
{
    if (expectedSha256.isEmpty())
        return true;
    if (!file->seek(0))
        return false;
    while (count > 0) {
        const QByteArray block = file->read(qMin<qint64>(count, 1 << 20));
        if (block.isEmpty())
            return false;
        sha256.addData(block);
        count -= block.size();
    }
    return true;
}

void HttpDownloadFile::onReplyDataArrived()
{
    // Every arrival counts against a stall, also the ones left unread.
    stallTimer.start();
    if (!file && !redirecting)
        return;
    const QByteArray data = reply->readAll();
    if (!writesBody || redirecting)
        return;
    const qint64 limit = expectedSize >= 0 ? expectedSize : maximumSize;
    if (limit >= 0 && bodyOffset + bytesWritten + data.size() > limit) {
        abortTransfer(tr("The file is longer than the %1 bytes it may have").arg(limit), Problem::Damaged);
        return;
    }
    if (!expectedSha256.isEmpty())
        sha256.addData(data);
    bytesWritten += data.size();
    if (file->write(data) != data.size() || !file->flush())
        abortTransfer(cannotWriteText(), Problem::CannotWrite);
}

void HttpDownloadFile::onReplyFinished()
{
    if (redirecting && !failed) {
        redirecting = false;
        ++redirects;
        reply->deleteLater();
        sendRequest(redirectTarget);
        return;
    }
    stallTimer.stop();
    finalStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (!failed)
        checkStatus();
    if (!failed)
        checkContent();

    if (ownsManager)
        manager->deleteLater();
    reply->deleteLater();
    if (file) {
        file->close();
        file->deleteLater();
    }
    manager = nullptr;
    reply = nullptr;
    file = nullptr;
    finished = true;
    downloading = false;
    emit downloadFinished();
}

void HttpDownloadFile::onReplyError(QNetworkReply::NetworkError errorCode)
{
    // After our own abort the reply's cancel error only echoes the reported cause.
    if (abortedHere)
        return;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    QStringList details{reply->errorString()};
    for (const QSslError &sslError : qAsConst(sslErrors))
        details << sslError.errorString();
    const bool proxyRefused = errorCode == QNetworkReply::ConnectionRefusedError && !proxyName().isEmpty();
    if (!failed) {
        firstNetworkError = proxyRefused ? QNetworkReply::ProxyConnectionRefusedError : errorCode;
        if (errorCode == QNetworkReply::ProxyAuthenticationRequiredError)
            askingProxy = proxyName();
    }
    fail(describeNetworkError(errorCode), Problem::Network,
         isTransientStatus(status) || isTransientNetworkError(errorCode), details.join(QStringLiteral("; ")));
}

void HttpDownloadFile::onReplySslErrors(const QList<QSslError> &errors)
{
    // Never ignored: a server that cannot prove who it is gets no request.
    sslErrors = errors;
}

QString HttpDownloadFile::describeNetworkError(QNetworkReply::NetworkError errorCode) const
{
    const QString proxy = proxyName();
    switch (errorCode) {
    case QNetworkReply::SslHandshakeFailedError:
        return handshakeProblem();
    case QNetworkReply::ConnectionRefusedError:
        // Plain http through a proxy connects to the proxy alone.
        if (proxy.isEmpty())
            break;
        Q_FALLTHROUGH();
    case QNetworkReply::ProxyConnectionRefusedError:
        return tr("the proxy %1 refused the connection").arg(proxy);
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return tr("the proxy %1 asks for a user name and password").arg(proxy);
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::UnknownProxyError:
        return tr("the proxy %1 failed: %2").arg(proxy, reply->errorString());
    default:
        break;
    }
    const QString text = tr("Network error : %1").arg(int(errorCode));
    return proxy.isEmpty() ? text : tr("%1 (through the proxy %2)").arg(text, proxy);
}

QString HttpDownloadFile::handshakeProblem() const
{
    if (sslErrors.isEmpty())
        return tr("no secure connection could be made with %1").arg(reply->url().authority());
    QStringList problems;
    for (const QSslError &sslError : qAsConst(sslErrors)) {
        const QString problem = certificateProblem(sslError);
        if (!problems.contains(problem))
            problems << problem;
    }
    return tr("the server's identity could not be verified: %1").arg(problems.join(QStringLiteral("; ")));
}

// The proxy that the request went through, as host:port; empty without one.
QString HttpDownloadFile::proxyName() const
{
    QNetworkProxyFactory *factory = manager ? manager->proxyFactory() : nullptr;
    const QNetworkProxy proxy = factory ? factory->queryProxy(QNetworkProxyQuery(reply->url())).value(0)
                                        : QNetworkProxy(QNetworkProxy::NoProxy);
    if (proxy.type() != QNetworkProxy::HttpProxy && proxy.type() != QNetworkProxy::Socks5Proxy)
        return QString();
    return QStringLiteral("%1:%2").arg(proxy.hostName()).arg(proxy.port());
}

void HttpDownloadFile::onReplyProgress(uint64_t byteReceived, uint64_t byteTotal)
{
    if (redirecting)
        return;
    // A continued file's progress counts the part kept from earlier too.
    if (bodyOffset > 0) {
        byteReceived += uint64_t(bodyOffset);
        if (byteTotal != std::numeric_limits<uint64_t>::max())
            byteTotal += uint64_t(bodyOffset);
    }
    emit downloadProgress(byteReceived, byteTotal);
}

// Sends the same request to the address a redirect names once its answer has
// ended. Followed by hand: Qt's own following now and then sends a request
// twice and mixes the headers of both answers into one.
void HttpDownloadFile::followRedirect()
{
    redirectTarget = HttpAnswer::redirectTarget(reply->url(), reply->rawHeader("Location"));
    const HttpAnswer::RedirectRefusal refusal = HttpAnswer::checkRedirect(reply->url(), redirectTarget);
    if (redirects == maximumRedirects) {
        abortTransfer(tr("the server redirected more than %1 times, last to %2")
                          .arg(maximumRedirects).arg(redirectTarget.toString()), Problem::Redirect);
    } else if (refusal == HttpAnswer::RedirectRefusal::NotWebAddress) {
        // What is no address at all is named as the server wrote it.
        const QString named = redirectTarget.isValid() ? redirectTarget.toString()
                                                       : QString::fromUtf8(reply->rawHeader("Location"));
        abortTransfer(tr("the server redirected to %1, which is not a web address").arg(named), Problem::Redirect);
    } else if (refusal == HttpAnswer::RedirectRefusal::NotSecure) {
        abortTransfer(tr("the server redirected to %1, which is not a secure address").arg(redirectTarget.toString()),
                      Problem::Redirect);
    } else {
        redirecting = true;
        stallTimer.start();
    }
}

bool HttpDownloadFile::asksForRange() const
{
    return !stagedValidator.isEmpty() && stagedBytes < stagedLength;
}

void HttpDownloadFile::onStallTimeout()
{
    stalledMsecs = stallTimer.interval();
    abortTransfer(tr("No data received for %1 s").arg(stalledMsecs / 1000.0), Problem::Stalled, true);
}

void HttpDownloadFile::fail(const QString &errorText, Problem kind, bool transientFailure, const QString &detail)
{
    if (!failed) {
        firstError = errorText;
        firstProblem = kind;
        firstErrorDetail = detail;
        transient = transientFailure;
    }
    failed = true;
    emit error(errorText);
}

void HttpDownloadFile::abortTransfer(const QString &errorText, Problem kind, bool transientFailure)
{
    fail(errorText, kind, transientFailure);
    abortedHere = true;
    reply->abort();
}

// Qt sees no error in a 3xx answer it does not follow, which is not the file either.
void HttpDownloadFile::checkStatus()
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if ((status >= 200 && status <= 299) || (status == 304 && keepsStagedWhole))
        return;
    const QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    const QString text = tr("Server answered with HTTP status %1 %2").arg(status).arg(reason).trimmed();
    const QString proxy = proxyName();
    fail(proxy.isEmpty() ? text : tr("%1 (through the proxy %2)").arg(text, proxy), Problem::HttpStatus,
         isTransientStatus(status));
}

// A failed check empties the file, so that no later attempt continues it.
void HttpDownloadFile::checkContent()
{
    if (!file || (expectedSize < 0 && expectedSha256.isEmpty()))
        return;
    const qint64 length = keepsStagedWhole ? file->size() : bodyOffset + bytesWritten;
    QString problem;
    Problem kind = Problem::Damaged;
    if (expectedSize >= 0 && length != expectedSize) {
        problem = tr("The file is %1 bytes long, the manifest says %2").arg(length).arg(expectedSize);
    } else if (keepsStagedWhole && !hashStagedBytes(length)) {
        problem = cannotWriteText();
        kind = Problem::CannotWrite;
    } else if (!expectedSha256.isEmpty() && sha256.result() != expectedSha256) {
        problem = tr("The file does not match the SHA-256 digest the manifest gives");
    }
    if (problem.isEmpty())
        return;
    file->resize(0);
    fail(problem, kind);
}

QString HttpDownloadFile::cannotWriteText() const
{
    return tr("can not write file %d").replace(QLatin1String("%d"), fileName);
}
