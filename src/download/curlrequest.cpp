#include "curlrequest.h"
#include "httpdownloadfile.h"
#include "proxychoice.h"
#include "tlstrust.h"

#include <QUrl>

// Redirects are libcurl's to follow, never from https to http; stalls are
// its to notice (a transfer that the writer paused is not counted).
void CurlRequest::setUp(const QUrl &address, int stallSeconds, bool headOnly, const Receiver &receiver)
{
    CURL *easy = handle();
    curl_easy_setopt(easy, CURLOPT_URL, address.toEncoded().constData());
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, receiver.onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, receiver.data);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, receiver.onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, receiver.data);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, long(HttpDownloadFile::maximumRedirects));
    const bool secure = address.scheme() == QLatin1String("https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
    // Over TLS the server may choose HTTP/2 and carry many files on one
    // connection; in clear text it stays HTTP/1.1, as few servers take h2c.
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_2TLS));
    curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, long(stallSeconds));
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, long(stallSeconds) * 1000);
    if (headOnly)
        curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
    useProcessTrust(easy);
}

// A compressed answer would be decoded and lose its length, and with it the
// check for a cut-off one: the file comes as stored. libcurl asks the same
// of every redirect's target, a range and its condition included.
void CurlRequest::setRequestHeaders(qint64 stagedBytes, qint64 stagedLength, const QByteArray &stagedValidator)
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
    headers.reset(list);
    curl_easy_setopt(handle(), CURLOPT_HTTPHEADER, list);
}

// The proxy's credentials go to its own options alone, never to
// CURLOPT_USERPWD: no server and no redirect's target gets them. The proxy
// chosen for the address asked also carries the redirects libcurl follows;
// the hosts reached directly are told apart at each one.
void CurlRequest::setProxy(const ProxyChoice &proxyChoice)
{
    CURL *easy = handle();
    // Empty: no proxy, whatever libcurl would read from the environment itself.
    curl_easy_setopt(easy, CURLOPT_PROXY, proxyChoice.proxy.constData());
    curl_easy_setopt(easy, CURLOPT_NOPROXY, proxyChoice.noProxy.constData());
    throughProxy = proxyChoice.usesProxy();
    if (!throughProxy)
        return;
    curl_easy_setopt(easy, CURLOPT_PROXYTYPE, proxyChoice.proxyType);
    curl_easy_setopt(easy, CURLOPT_PROXYAUTH, proxyChoice.authMask);
    curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, proxyChoice.userName.constData());
    curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, proxyChoice.password.constData());
}

QByteArray CurlRequest::header(const char *name) const
{
    curl_header *found = nullptr;
    if (curl_easy_header(easy.get(), name, 0, CURLH_HEADER, -1, &found) != CURLHE_OK)
        return QByteArray();
    return QByteArray(found->value);
}

long CurlRequest::info(CURLINFO what) const
{
    long value = 0;
    curl_easy_getinfo(easy.get(), what, &value);
    return value;
}
