#include "transferfailure.h"

#include <QNetworkReply>
#include <QUrl>

#include <openssl/x509_vfy.h>

namespace {

using Problem = HttpDownloadFile::Problem;

bool isTransientStatus(int status)
{
    return status == 408 || status == 429 || (status >= 500 && status <= 599);
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

// The same for libcurl's results, with the kind of problem each one is.
struct ResultMeaning
{
    QNetworkReply::NetworkError error;
    Problem kind;
    bool transient;
};

ResultMeaning meaningOfResult(CURLcode result)
{
    switch (result) {
    case CURLE_COULDNT_CONNECT:
        return {QNetworkReply::ConnectionRefusedError, Problem::Unreachable, true};
    case CURLE_COULDNT_RESOLVE_HOST:
        return {QNetworkReply::HostNotFoundError, Problem::Unreachable, true};
    case CURLE_COULDNT_RESOLVE_PROXY:
        return {QNetworkReply::ProxyNotFoundError, Problem::Proxy, true};
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
        return {QNetworkReply::RemoteHostClosedError, Problem::Unreachable, true};
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
        return {QNetworkReply::SslHandshakeFailedError, Problem::Untrusted, false};
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
        return {QNetworkReply::ProtocolUnknownError, Problem::ServerTrouble, false};
    // A stream the server reset may go through on another connection.
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
        return {QNetworkReply::ProtocolFailure, Problem::ServerTrouble, true};
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_BAD_CONTENT_ENCODING:
        return {QNetworkReply::ProtocolFailure, Problem::ServerTrouble, false};
    default:
        return {QNetworkReply::UnknownNetworkError, Problem::Other, true};
    }
}

// The one place that words an error by its number.
QString networkErrorText(QNetworkReply::NetworkError error, const TransferRoute &route)
{
    const QString text = HttpDownloadFile::tr("Network error : %1").arg(int(error));
    return route.proxyName.isEmpty() ? text
                                     : HttpDownloadFile::tr("%1 (through the proxy %2)").arg(text, route.proxyName);
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

QString handshakeProblem(CURL *easy, CURLcode result)
{
    if (result != CURLE_PEER_FAILED_VERIFICATION) {
        char *address = nullptr;
        curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &address);
        return HttpDownloadFile::tr("no secure connection could be made with %1")
            .arg(QUrl::fromEncoded(address).authority());
    }
    long verifyResult = X509_V_OK;
    curl_easy_getinfo(easy, CURLINFO_SSL_VERIFYRESULT, &verifyResult);
    return HttpDownloadFile::tr("the server's identity could not be verified: %1").arg(certificateProblem(verifyResult));
}

// What libcurl stopped at: its stall limit, or the redirect past the last.
bool failureOfLimit(CURL *easy, CURLcode result, const TransferRoute &route, TransferFailure *failure)
{
    if (result == CURLE_OPERATION_TIMEDOUT) {
        failure->text = HttpDownloadFile::tr("No data received for %1 s").arg(route.stallSeconds);
        failure->kind = Problem::Stalled;
        failure->transient = true;
        return true;
    }
    if (result == CURLE_TOO_MANY_REDIRECTS) {
        char *next = nullptr;
        curl_easy_getinfo(easy, CURLINFO_REDIRECT_URL, &next);
        failure->text = HttpDownloadFile::tr("the server redirected more than %1 times, last to %2")
                            .arg(HttpDownloadFile::maximumRedirects)
                            .arg(QUrl::fromEncoded(next).toString());
        failure->kind = Problem::Redirect;
        return true;
    }
    return false;
}

// Through a proxy, a refused connection is the proxy's, and so is any
// answer to CONNECT but 200.
bool failureOfProxy(CURL *easy, CURLcode result, const TransferRoute &route, TransferFailure *failure)
{
    long connectStatus = 0;
    curl_easy_getinfo(easy, CURLINFO_HTTP_CONNECTCODE, &connectStatus);
    const QString &proxy = route.proxyName;
    if (proxy.isEmpty())
        return false;
    failure->kind = Problem::Proxy;
    failure->transient = true;
    if (connectStatus == 407) {
        failure->text = HttpDownloadFile::tr("the proxy %1 asks for a user name and password").arg(proxy);
        failure->transient = false;
        failure->proxyAsks = true;
    } else if (connectStatus >= 300 || result == CURLE_COULDNT_RESOLVE_PROXY) {
        failure->text = HttpDownloadFile::tr("the proxy %1 failed: %2").arg(proxy, failure->detail);
    } else if (result == CURLE_COULDNT_CONNECT) {
        failure->text = HttpDownloadFile::tr("the proxy %1 refused the connection").arg(proxy);
    } else {
        failure->kind = Problem::None;
        failure->transient = false;
    }
    return failure->kind != Problem::None;
}

} // namespace

TransferFailure failureOfResult(CURL *easy, CURLcode result, const TransferRoute &route, const QString &curlWords)
{
    TransferFailure failure;
    if (failureOfLimit(easy, result, route, &failure))
        return failure;
    failure.detail = curlWords.isEmpty() ? QString::fromUtf8(curl_easy_strerror(result)) : curlWords;
    if (failureOfProxy(easy, result, route, &failure))
        return failure;
    const ResultMeaning meaning = meaningOfResult(result);
    failure.kind = meaning.kind;
    failure.transient = meaning.transient;
    if (meaning.kind == Problem::Untrusted) {
        failure.text = handshakeProblem(easy, result);
        failure.detail = HttpDownloadFile::tr("SSL handshake failed; %1").arg(failure.detail);
    } else {
        failure.text = networkErrorText(meaning.error, route);
    }
    return failure;
}

TransferFailure failureOfStatus(int status, const QByteArray &reason, const TransferRoute &route)
{
    TransferFailure failure;
    failure.transient = isTransientStatus(status);
    if (status >= 200 && status <= 299)
        return failure;
    failure.kind = status == 404 || status == 410 ? Problem::MissingFile : Problem::ServerTrouble;
    const QString phrase = QString::fromUtf8(reason);
    // A 3xx that is not followed is no error of the network's.
    if (status < 400) {
        const QString text = HttpDownloadFile::tr("Server answered with HTTP status %1 %2").arg(status).arg(phrase).trimmed();
        failure.text = route.proxyName.isEmpty()
                           ? text
                           : HttpDownloadFile::tr("%1 (through the proxy %2)").arg(text, route.proxyName);
        return failure;
    }
    failure.detail = HttpDownloadFile::tr("the server replied: %1 %2").arg(status).arg(phrase).trimmed();
    if (status == 407) {
        failure.kind = Problem::Proxy;
        failure.proxyAsks = true;
        failure.text = HttpDownloadFile::tr("the proxy %1 asks for a user name and password").arg(route.proxyName);
        return failure;
    }
    failure.text = networkErrorText(errorOfStatus(status), route);
    return failure;
}
