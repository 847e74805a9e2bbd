#ifndef CURLREQUEST_H
#define CURLREQUEST_H

// One download's request as libcurl takes it. Private to the download
// library: it includes curl.h.

#include "curlhandles.h"

#include <QByteArray>
#include <QString>

class ProxyChoice;
class QUrl;

/// The easy handle, set up with the options, the request headers, the proxy
/// and its sign-on and the process's trust; then what libcurl tells of the
/// answer so far.
class CurlRequest
{
public:
    /// Where libcurl hands the answer's header lines and its body, with \a data.
    struct Receiver
    {
        curl_write_callback onHeader = nullptr;
        curl_write_callback onBody = nullptr;
        void *data = nullptr;
    };

    /// Asks for \a address, giving up after \a stallSeconds without an
    /// arrival; only its head when \a headOnly.
    void setUp(const QUrl &address, int stallSeconds, bool headOnly, const Receiver &receiver);
    /// Asks for the file as stored; for a copy staged earlier with
    /// \a stagedValidator (none: empty), for what follows its first
    /// \a stagedBytes of \a stagedLength, or for nothing new when it is whole.
    void setRequestHeaders(qint64 stagedBytes, qint64 stagedLength, const QByteArray &stagedValidator);
    void setProxy(const ProxyChoice &proxyChoice);
    /// Whether the request goes through a proxy, once setProxy() has chosen.
    bool usesProxy() const { return throughProxy; }

    CURL *handle() const { return easy.get(); }
    /// The header \a name of the last answer so far; empty without one.
    QByteArray header(const char *name) const;
    long info(CURLINFO what) const;
    /// libcurl's own words for a failure, from its error buffer; may be empty.
    QString errorWords() const { return QString::fromUtf8(errorText); }

private:
    CurlEasy easy{curl_easy_init()};
    CurlList headers;
    char errorText[CURL_ERROR_SIZE] = {};
    bool throughProxy = false;
};

#endif // CURLREQUEST_H
