#ifndef TLSTRUST_H
#define TLSTRUST_H

// Which TLS library libcurl uses and whose certificate authorities it trusts.
// Private to the download library: it includes curl.h.

#include "curlhandles.h"

#include <QByteArray>

/// Before curl_global_init(): OpenSSL 3, the one TLS path built and tested on
/// every platform, whatever CURL_SSL_BACKEND says.
void chooseTlsLibrary();

/// Has every TLS connection of \a easy checked against the process's one
/// store of authorities, and libcurl read none of its own.
void useProcessTrust(CURL *easy);

/// Adds the authorities in \a pemCertificates to the process's store.
void addToProcessTrust(const QByteArray &pemCertificates);

#endif // TLSTRUST_H
