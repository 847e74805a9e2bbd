#ifndef TRANSFERFAILURE_H
#define TRANSFERFAILURE_H

// How a failed transfer is told: libcurl's result or the server's status
// turned into the downloader's words, its kind of problem and whether it may
// pass when tried again. Private to the download library: it includes curl.h.

#include "curlhandles.h"
#include "httpdownloadfile.h"

#include <QByteArray>
#include <QString>

struct TransferFailure
{
    QString text;
    HttpDownloadFile::Problem kind = HttpDownloadFile::Problem::None;
    bool transient = false;
    QString detail;
    /// A proxy refused for want of credentials.
    bool proxyAsks = false;
};

/// Where the failed transfer stood.
struct TransferRoute
{
    QString proxyName;       // host:port; empty without a proxy
    int stallSeconds = 0;    // the stall limit
};

/// libcurl ended the transfer of \a easy with \a result, not CURLE_OK, in
/// \a curlWords (its error buffer; may be empty).
TransferFailure failureOfResult(CURL *easy, CURLcode result, const TransferRoute &route, const QString &curlWords);
/// The transfer ended well with the answer \a status \a reason, which is not
/// the file; a failure of kind None for a 2xx status.
TransferFailure failureOfStatus(int status, const QByteArray &reason, const TransferRoute &route);

#endif // TRANSFERFAILURE_H
