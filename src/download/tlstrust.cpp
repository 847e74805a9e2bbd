#include "tlstrust.h"

#include <QtGlobal>

// The Windows libcurl also has Schannel, but wine's offers no ALPN, so the
// HTTP/2 that is tested there would not be the path shipped.
void chooseTlsLibrary()
{
    curl_global_sslset(CURLSSLBACKEND_OPENSSL, nullptr, nullptr);
}

// On Windows the store decides, company roots included. libcurl's bundle
// and folder compiled in are Unix paths, which Windows reads on the current
// drive (C:\etc\ssl\certs\...), where any user may create them and plant a
// root: they are switched off, for proxies too.
void trustSystemAuthorities(CURL *easy)
{
#ifdef Q_OS_WIN
    curl_easy_setopt(easy, CURLOPT_CAINFO, nullptr);
    curl_easy_setopt(easy, CURLOPT_CAPATH, nullptr);
    curl_easy_setopt(easy, CURLOPT_PROXY_CAINFO, nullptr);
    curl_easy_setopt(easy, CURLOPT_PROXY_CAPATH, nullptr);
    curl_easy_setopt(easy, CURLOPT_SSL_OPTIONS, long(CURLSSLOPT_NATIVE_CA));
    curl_easy_setopt(easy, CURLOPT_PROXY_SSL_OPTIONS, long(CURLSSLOPT_NATIVE_CA));
#else
    Q_UNUSED(easy)
#endif
}
