#include "httpdownloadfile.h"
#include "curlhandles.h"
#include "httpanswer.h"
#include "tlstrust.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <openssl/x509_vfy.h>

#include <limits>
#include <utility>

namespace {

// A request that got no answer on a connection that had served others goes
// again this many times at most.
constexpr int mostResends = 3;

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
    default:
        return code > QNetworkReply::NoError && code < QNetworkReply::ContentAccessDenied;
    }
}

// The answers that send the request elsewhere.
bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The numbers callers and logs have always seen for a status, as Qt gave them.
QNetworkReply::NetworkError errorOfStatus(int status)
{
    switch (status) {
    case 400:
    case 418:
        return QNetworkReply::ProtocolInvalidOperationError;
    case 401:
        return QNetworkReply::AuthenticationRequiredError;
    case 403:
        return QNetworkReply::ContentAccessDenied;
    case 404:
        return QNetworkReply::ContentNotFoundError;
    case 405:
        return QNetworkReply::ContentOperationNotPermittedError;
    case 407:
        return QNetworkReply::ProxyAuthenticationRequiredError;
    case 409:
        return QNetworkReply::ContentConflictError;
    case 410:
        return QNetworkReply::ContentGoneError;
    case 500:
        return QNetworkReply::InternalServerError;
    case 501:
        return QNetworkReply::OperationNotImplementedError;
    case 503:
        return QNetworkReply::ServiceUnavailableError;
    default:
        return status > 500 ? QNetworkReply::UnknownServerError : QNetworkReply::UnknownContentError;
    }
}

QNetworkReply::NetworkError errorOfResult(CURLcode result)
{
    switch (result) {
    case CURLE_COULDNT_CONNECT:
        return QNetworkReply::ConnectionRefusedError;
    case CURLE_COULDNT_RESOLVE_HOST:
        return QNetworkReply::HostNotFoundError;
    case CURLE_COULDNT_RESOLVE_PROXY:
        return QNetworkReply::ProxyNotFoundError;
    case CURLE_OPERATION_TIMEDOUT:
        return QNetworkReply::TimeoutError;
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
        return QNetworkReply::RemoteHostClosedError;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
        return QNetworkReply::SslHandshakeFailedError;
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
        return QNetworkReply::ProtocolUnknownError;
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_BAD_CONTENT_ENCODING:
        return QNetworkReply::ProtocolFailure;
    default:
        return QNetworkReply::UnknownNetworkError;
    }
}

QString certificateProblem(long verifyResult)
{
    switch (verifyResult) {
    // libcurl checks the name itself once OpenSSL has accepted the chain,
    // and then reports "unspecified".
    case X509_V_OK:
    case X509_V_ERR_UNSPECIFIED:
    case X509_V_ERR_HOSTNAME_MISMATCH:
        return HttpDownloadFile::tr("its certificate was issued for another host name");
    case X509_V_ERR_CERT_HAS_EXPIRED:
        return HttpDownloadFile::tr("its certificate has expired");
    case X509_V_ERR_CERT_NOT_YET_VALID:
        return HttpDownloadFile::tr("its certificate is not valid yet");
    case X509_V_ERR_CERT_REVOKED:
        return HttpDownloadFile::tr("its certificate has been revoked");
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
    case X509_V_ERR_CERT_UNTRUSTED:
    case X509_V_ERR_CERT_REJECTED:
        return HttpDownloadFile::tr("its certificate was issued by an authority this computer does not trust");
    default:
        return QString::fromUtf8(X509_verify_cert_error_string(verifyResult));
    }
}

} // namespace

struct HttpDownloadFile::Curl
{
    CurlEasy easy{curl_easy_init()};
    CurlList headers;
    char errorText[CURL_ERROR_SIZE] = {};
};

// libcurl's callbacks only take what arrives; the download acts on it once
// libcurl has returned (HttpSession::Transfer::onArrivals).
struct DownloadCallbacks
{
    static size_t onHeader(char *data, size_t size, size_t count, void *self)
    {
        auto *download = static_cast<HttpDownloadFile *>(self);
        const QByteArray line = QByteArray(data, int(size * count)).trimmed();
        download->stallTimer.start();
        if (line.startsWith("HTTP/")) {
            const QList<QByteArray> parts = line.split(' ');
            download->status = parts.value(1).toInt();
            download->reason = line.mid(parts.value(0).size() + parts.value(1).size() + 2).trimmed();
            download->overHttp2 = line.startsWith("HTTP/2");
            download->headers.clear();
            download->headComplete = false;
        } else if (line.isEmpty()) {
            // A 1xx answer is followed by the real one, and so is a proxy's
            // 407 that libcurl answers by signing on; a 407 that stays is
            // the transfer's end.
            download->headComplete = download->status >= 200 && !download->proxyAsks();
            download->session->noteArrival(download);
        } else {
            const int colon = line.indexOf(':');
            if (colon > 0)
                download->headers.insert(line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed());
        }
        return size * count;
    }

    // A body without a file is counted and dropped, as if read.
    static size_t onBody(char *data, size_t size, size_t count, void *self)
    {
        auto *download = static_cast<HttpDownloadFile *>(self);
        const qint64 bytes = qint64(size * count);
        download->stallTimer.start();
        // The proxy's page that asks who is there belongs to no file.
        if (download->proxyAsks())
            return size * count;
        if (download->file && download->pending.size() + bytes > HttpDownloadFile::bufferLimit
            && !download->pending.isEmpty()) {
            download->paused = true;
            download->session->noteArrival(download);
            return CURL_WRITEFUNC_PAUSE;
        }
        if (download->file)
            download->pending.append(data, int(bytes));
        download->mostPending = qMax(download->mostPending, qint64(download->pending.size()));
        download->bodyReceived += bytes;
        download->session->noteArrival(download);
        return size * count;
    }
};

HttpDownloadFile::HttpDownloadFile(QString fileName, QString url, QString saveDir,
                                   QObject *parent)
    : HttpDownloadFile(std::move(fileName), std::move(url), std::move(saveDir), nullptr, parent)
{
    session = new HttpSession(this);
    ownsSession = true;
}

HttpDownloadFile::HttpDownloadFile(QString fileName, QString url, QString saveDir,
                                   HttpSession *sharedSession, QObject *parent)
    : QObject(parent)
    , session(sharedSession)
    , saveDir(std::move(saveDir))
    , fileName(std::move(fileName))
    , url(std::move(url))
{
    stallTimer.setSingleShot(true);
    stallTimer.setInterval(defaultStallTimeout);
    connect(&stallTimer, &QTimer::timeout, this, &HttpDownloadFile::onStallTimeout);
}

HttpDownloadFile::~HttpDownloadFile()
{
    if (!downloading)
        return;
    session->stop(curl->easy.get());
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
    curl = std::make_unique<Curl>();
    setUpHandle();

    if (!headOnly) {
        if (fileName.isEmpty())
            fileName = QFileInfo(url).fileName();
        if (!saveDir.isEmpty()) {
            if (!QDir(saveDir).exists())
                QDir().mkdir(saveDir);
            fileName = saveDir + QLatin1Char('/') + fileName;
        }
        if (!openTarget())
            fail(cannotWriteText(), Problem::CannotWrite);
    }
    sendRequest(QUrl(url, QUrl::TolerantMode));
}

// What every hop shares. Redirects are followed here, not by libcurl: it
// would follow a 300 too, and could not say which address it refused.
void HttpDownloadFile::setUpHandle()
{
    CURL *easy = curl->easy.get();
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, curl->errorText);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &DownloadCallbacks::onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &DownloadCallbacks::onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    // Over TLS the server may choose HTTP/2 and carry many files on one
    // connection; in clear text it stays HTTP/1.1, as few servers take h2c.
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_2TLS));
    curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    if (headOnly)
        curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
    useProcessTrust(easy);
    setRequestHeaders();
}

// A compressed answer would be decoded and lose its length, and with it the
// check for a cut-off one: the file comes as stored. Every hop of a redirect
// asks the same, a range and its condition included.
void HttpDownloadFile::setRequestHeaders()
{
    curl_slist *list = curl_slist_append(nullptr, "Accept-Encoding: identity");
    if (!stagedValidator.isEmpty()) {
        const bool isEtag = stagedValidator.startsWith('"');
        if (stagedBytes == stagedLength) {
            list = curl_slist_append(list, ((isEtag ? "If-None-Match: " : "If-Modified-Since: ") + stagedValidator).constData());
        } else {
            list = curl_slist_append(list, ("Range: bytes=" + QByteArray::number(stagedBytes) + '-').constData());
            list = curl_slist_append(list, ("If-Range: " + stagedValidator).constData());
        }
    }
    curl->headers.reset(list);
    curl_easy_setopt(curl->easy.get(), CURLOPT_HTTPHEADER, list);
}

// The proxy's credentials go to its own options alone, never to
// CURLOPT_USERPWD: no server and no redirect's target gets them.
void HttpDownloadFile::setProxy(const QUrl &target)
{
    proxyChoice = session->proxyFor(target);
    CURL *easy = curl->easy.get();
    // Empty: no proxy, whatever libcurl would read from the environment itself.
    curl_easy_setopt(easy, CURLOPT_PROXY, proxyChoice.proxy.constData());
    curl_easy_setopt(easy, CURLOPT_NOPROXY, proxyChoice.noProxy.constData());
    if (!proxyChoice.usesProxy())
        return;
    curl_easy_setopt(easy, CURLOPT_PROXYTYPE, proxyChoice.proxyType);
    curl_easy_setopt(easy, CURLOPT_PROXYAUTH, proxyChoice.authMask);
    curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, proxyChoice.userName.constData());
    curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, proxyChoice.password.constData());
}

// What a refusal for want of credentials leaves to a person: only when no
// scheme the logged-on user could pass is offered.
void HttpDownloadFile::noteProxyRefusal(QNetworkReply::NetworkError error)
{
    if (failed || error != QNetworkReply::ProxyAuthenticationRequiredError)
        return;
    long offered = CURLAUTH_NONE;
    curl_easy_getinfo(curl->easy.get(), CURLINFO_PROXYAUTH_AVAIL, &offered);
    if (proxyChoice.needsCredentials(static_cast<unsigned long>(offered)))
        askingProxy = proxyChoice.proxyName();
}

void HttpDownloadFile::sendRequest(const QUrl &target)
{
    address = target;
    status = 0;
    reason.clear();
    headers.clear();
    headComplete = false;
    headTaken = false;
    pending.clear();
    bodyReceived = 0;
    curl_easy_setopt(curl->easy.get(), CURLOPT_URL, target.toEncoded().constData());
    setProxy(target);
    curl->errorText[0] = 0;
    stallTimer.start(answerLimit >= 0 ? answerLimit : stallLimit);
    session->start(curl->easy.get(), this);
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
    delete file;
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

void HttpDownloadFile::onArrivals()
{
    if (!takeHead() || !writePending())
        return;
    reportProgress();
    if (paused) {
        paused = false;
        session->resume(curl->easy.get());
    }
}

// False once the transfer has ended over what the head said.
bool HttpDownloadFile::takeHead()
{
    if (!headComplete || headTaken)
        return true;
    headTaken = true;
    if (isRedirect(status) && !header("location").isEmpty()) {
        followRedirect();
        return downloading;
    }
    if (headHandled)
        return true;
    handleHead();
    return downloading;
}

void HttpDownloadFile::handleHead()
{
    headHandled = true;
    stallTimer.start(stallLimit);
    // An error page's validator says nothing about the file.
    if ((status >= 200 && status <= 299) || status == 304)
        serverValidator = HttpAnswer::validator(header("etag"), header("last-modified"));
    const bool reusing = !stagedValidator.isEmpty();
    bool lengthKnown = false;
    replyLength = header("content-length").toLongLong(&lengthKnown);
    if (!lengthKnown)
        replyLength = -1;
    announcedLength = replyLength;

    if (reusing && status == 304 && stagedBytes == stagedLength) {
        keepsStagedWhole = true;
        writesBody = false;
        announcedLength = stagedLength;
    } else if (status == 206) {
        qint64 first = -1;
        if (!asksForRange() || !HttpAnswer::parseContentRange(header("content-range"), &first, &announcedLength)
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

// False once the transfer has ended over a write or a limit.
bool HttpDownloadFile::writePending()
{
    const QByteArray data = std::exchange(pending, QByteArray());
    if (data.isEmpty() || !writesBody || redirecting || !file)
        return true;
    const qint64 limit = expectedSize >= 0 ? expectedSize : maximumSize;
    if (limit >= 0 && bodyOffset + bytesWritten + data.size() > limit) {
        abortTransfer(tr("The file is longer than the %1 bytes it may have").arg(limit), Problem::Damaged);
        return false;
    }
    if (!expectedSha256.isEmpty())
        sha256.addData(data);
    bytesWritten += data.size();
    if (file->write(data) != data.size() || !file->flush()) {
        abortTransfer(cannotWriteText(), Problem::CannotWrite);
        return false;
    }
    return true;
}

// A continued file's progress counts the part kept from earlier too. The
// last report of a length-less answer gives the count as the total.
void HttpDownloadFile::reportProgress(bool last)
{
    if (!headHandled || redirecting || (bodyReceived == reportedReceived && !last))
        return;
    reportedReceived = bodyReceived;
    uint64_t received = uint64_t(bodyOffset + bodyReceived);
    uint64_t total = replyLength >= 0 ? uint64_t(bodyOffset + replyLength)
                                      : (last ? received : std::numeric_limits<uint64_t>::max());
    emit downloadProgress(received, total);
}

void HttpDownloadFile::onTransferDone(int result)
{
    const CURLcode code = CURLcode(result);
    if (!takeHead() || !writePending())
        return;
    if (code == CURLE_OK && redirecting && !failed) {
        redirecting = false;
        ++redirects;
        sendRequest(redirectTarget);
        return;
    }
    if (code != CURLE_OK && resendsUnanswered(code))
        return;
    finalStatus = status;
    if (code != CURLE_OK)
        failOnResult(code);
    else if (status >= 400)
        failOnStatus();
    if (!failed)
        checkStatus();
    if (!failed)
        checkContent();
    if (code == CURLE_OK || headHandled)
        reportProgress(code == CURLE_OK);
    finishTransfer();
}

// A connection that had served other requests may end before it answers
// this one (an HTTP/2 GOAWAY, or a kept-alive connection the server closed):
// the request never reached the server's work, so it goes again.
bool HttpDownloadFile::resendsUnanswered(int result)
{
    long newConnections = 0;
    curl_easy_getinfo(curl->easy.get(), CURLINFO_NUM_CONNECTS, &newConnections);
    const bool streamRefused = result == CURLE_HTTP2 || result == CURLE_HTTP2_STREAM;
    const bool connectionLost = result == CURLE_SEND_ERROR || result == CURLE_RECV_ERROR || result == CURLE_GOT_NOTHING;
    if (status != 0 || resends == mostResends || !(streamRefused || (connectionLost && newConnections == 0)))
        return false;
    ++resends;
    sendRequest(address);
    return true;
}

void HttpDownloadFile::failOnResult(int result)
{
    const CURLcode code = CURLcode(result);
    const QString detail = curl->errorText[0] ? QString::fromUtf8(curl->errorText)
                                              : QString::fromUtf8(curl_easy_strerror(code));
    QNetworkReply::NetworkError error = errorOfResult(code);
    long connectStatus = 0;
    curl_easy_getinfo(curl->easy.get(), CURLINFO_HTTP_CONNECTCODE, &connectStatus);
    if (!proxyName().isEmpty()) {
        if (connectStatus == 407)
            error = QNetworkReply::ProxyAuthenticationRequiredError;
        else if (connectStatus >= 300)
            error = QNetworkReply::UnknownProxyError;
        else if (error == QNetworkReply::ConnectionRefusedError)
            // Plain http through a proxy connects to the proxy alone.
            error = QNetworkReply::ProxyConnectionRefusedError;
    }
    const bool transientFailure = isTransientNetworkError(error) || code == CURLE_HTTP2 || code == CURLE_HTTP2_STREAM;
    noteProxyRefusal(error);
    if (!failed)
        firstNetworkError = error;
    if (error == QNetworkReply::SslHandshakeFailedError)
        fail(handshakeProblem(code), Problem::Network, false, tr("SSL handshake failed; %1").arg(detail));
    else
        fail(describeNetworkError(error, detail), Problem::Network, transientFailure, detail);
}

void HttpDownloadFile::failOnStatus()
{
    const QNetworkReply::NetworkError error = errorOfStatus(status);
    const QString detail = tr("the server replied: %1 %2").arg(status).arg(QString::fromUtf8(reason)).trimmed();
    noteProxyRefusal(error);
    if (!failed)
        firstNetworkError = error;
    fail(describeNetworkError(error, detail), Problem::Network,
         isTransientStatus(status) || isTransientNetworkError(error), detail);
}

void HttpDownloadFile::finishTransfer()
{
    stallTimer.stop();
    if (ownsSession)
        session->deleteLater();
    if (file) {
        file->close();
        delete file;
    }
    file = nullptr;
    finished = true;
    downloading = false;
    emit downloadFinished();
}

QString HttpDownloadFile::describeNetworkError(QNetworkReply::NetworkError errorCode, const QString &detail) const
{
    const QString proxyAddress = proxyName();
    switch (errorCode) {
    case QNetworkReply::ProxyConnectionRefusedError:
        return tr("the proxy %1 refused the connection").arg(proxyAddress);
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return tr("the proxy %1 asks for a user name and password").arg(proxyAddress);
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::UnknownProxyError:
        return tr("the proxy %1 failed: %2").arg(proxyAddress, detail);
    default:
        break;
    }
    const QString text = tr("Network error : %1").arg(int(errorCode));
    return proxyAddress.isEmpty() ? text : tr("%1 (through the proxy %2)").arg(text, proxyAddress);
}

QString HttpDownloadFile::handshakeProblem(int result) const
{
    if (result != CURLE_PEER_FAILED_VERIFICATION)
        return tr("no secure connection could be made with %1").arg(address.authority());
    long verifyResult = X509_V_OK;
    curl_easy_getinfo(curl->easy.get(), CURLINFO_SSL_VERIFYRESULT, &verifyResult);
    return tr("the server's identity could not be verified: %1").arg(certificateProblem(verifyResult));
}

// The proxy that the request went through, as host:port; empty without one.
QString HttpDownloadFile::proxyName() const
{
    return proxyChoice.proxyName();
}

// Sends the same request to the address a redirect names once its answer has ended.
void HttpDownloadFile::followRedirect()
{
    redirectTarget = HttpAnswer::redirectTarget(address, header("location"));
    const HttpAnswer::RedirectRefusal refusal = HttpAnswer::checkRedirect(address, redirectTarget);
    if (redirects == maximumRedirects) {
        abortTransfer(tr("the server redirected more than %1 times, last to %2")
                          .arg(maximumRedirects).arg(redirectTarget.toString()), Problem::Redirect);
    } else if (refusal == HttpAnswer::RedirectRefusal::NotWebAddress) {
        // What is no address at all is named as the server wrote it.
        const QString named = redirectTarget.isValid() ? redirectTarget.toString()
                                                       : QString::fromUtf8(header("location"));
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

// Ends the transfer at once, the way it ends by itself.
void HttpDownloadFile::abortTransfer(const QString &errorText, Problem kind, bool transientFailure)
{
    fail(errorText, kind, transientFailure);
    session->stop(curl->easy.get());
    finalStatus = status;
    if (headHandled && !redirecting)
        reportProgress();
    finishTransfer();
}

// A 3xx answer that is not followed is not the file either.
void HttpDownloadFile::checkStatus()
{
    if ((status >= 200 && status <= 299) || (status == 304 && keepsStagedWhole))
        return;
    const QString text = tr("Server answered with HTTP status %1 %2").arg(status).arg(QString::fromUtf8(reason)).trimmed();
    const QString proxyAddress = proxyName();
    fail(proxyAddress.isEmpty() ? text : tr("%1 (through the proxy %2)").arg(text, proxyAddress), Problem::HttpStatus,
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
