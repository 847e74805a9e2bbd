#ifndef TLSTRUST_H
#define TLSTRUST_H

// Which TLS library libcurl uses and whose certificate authorities it trusts.
// Private to the download library: it includes curl.h.

#include "curlhandles.h"

/// Before curl_global_init(): OpenSSL 3, the one TLS path built and tested on
/// every platform, whatever CURL_SSL_BACKEND says.
void chooseTlsLibrary();

/// Has \a easy trust the system's authorities and only those: on Windows the
/// certificate store, on Linux the system bundle.
void trustSystemAuthorities(CURL *easy);

#endif // TLSTRUST_H
