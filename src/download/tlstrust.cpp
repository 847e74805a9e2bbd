#include "tlstrust.h"
#include "systemroots.h"

#include <QMutex>
#include <QMutexLocker>

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>

namespace {

// Built on first use and kept for the life of the process: reading and
// parsing the system's authorities for each connection cost more than the
// files it fetched. Never freed, for OpenSSL may be cleaned up before it.
struct ProcessTrust
{
    QMutex mutex;
    X509_STORE *store = nullptr;
    QByteArray added;   // before the store was built
};

ProcessTrust &processTrust()
{
    static ProcessTrust trust;
    return trust;
}

void addCertificate(X509_STORE *store, X509 *certificate)
{
    if (!certificate)
        return;
    X509_STORE_add_cert(store, certificate);
    X509_free(certificate);
}

void addPem(X509_STORE *store, const QByteArray &pem)
{
    BIO *input = BIO_new_mem_buf(pem.constData(), pem.size());
    while (X509 *certificate = PEM_read_bio_X509(input, nullptr, nullptr, nullptr))
        addCertificate(store, certificate);
    BIO_free(input);
}

// On Windows its store, as CURLSSLOPT_NATIVE_CA would import it; libcurl's
// bundle and folder compiled in are Unix paths, which Windows reads on the
// current drive (C:\etc\ssl\certs\...), where any user may create them and
// plant a root. Elsewhere the bundle and folder libcurl would read itself.
void addSystemAuthorities(X509_STORE *store)
{
#ifdef Q_OS_WIN
    for (const QByteArray &der : trustedServerRoots()) {
        auto *bytes = reinterpret_cast<const unsigned char *>(der.constData());
        addCertificate(store, d2i_X509(nullptr, &bytes, der.size()));
    }
#else
    const CurlEasy fresh{curl_easy_init()};
    char *bundle = nullptr;
    char *folder = nullptr;
    curl_easy_getinfo(fresh.get(), CURLINFO_CAINFO, &bundle);
    curl_easy_getinfo(fresh.get(), CURLINFO_CAPATH, &folder);
    if (bundle)
        X509_STORE_load_file(store, bundle);
    // Looked up by hash when a chain needs it, each found one kept.
    if (folder)
        X509_STORE_load_path(store, folder);
#endif
}

X509_STORE *sharedStore()
{
    ProcessTrust &trust = processTrust();
    QMutexLocker lock(&trust.mutex);
    if (trust.store)
        return trust.store;
    trust.store = X509_STORE_new();
    addSystemAuthorities(trust.store);
    addPem(trust.store, trust.added);
    // What libcurl sets on the stores it makes: the store's own authorities
    // are tried first, and an intermediate in it is an anchor too.
    X509_STORE_set_flags(trust.store, X509_V_FLAG_TRUSTED_FIRST | X509_V_FLAG_PARTIAL_CHAIN);
    // What failed to load (the end of a PEM reads as an error) must not
    // show in the next handshake's error.
    ERR_clear_error();
    return trust.store;
}

CURLcode onSslContext(CURL *, void *sslContext, void *)
{
    X509_STORE *store = sharedStore();
    X509_STORE_up_ref(store);
    SSL_CTX_set_cert_store(static_cast<SSL_CTX *>(sslContext), store);
    return CURLE_OK;
}

} // namespace

// The Windows libcurl also has Schannel, but wine's offers no ALPN, so the
// HTTP/2 that is tested there would not be the path shipped.
void chooseTlsLibrary()
{
    curl_global_sslset(CURLSSLBACKEND_OPENSSL, nullptr, nullptr);
}

// No bundle, folder or Windows store of libcurl's own, for proxies neither,
// and no cache of one: the store given to each TLS context is the only one.
void useProcessTrust(CURL *easy)
{
    curl_easy_setopt(easy, CURLOPT_CAINFO, nullptr);
    curl_easy_setopt(easy, CURLOPT_CAPATH, nullptr);
    curl_easy_setopt(easy, CURLOPT_PROXY_CAINFO, nullptr);
    curl_easy_setopt(easy, CURLOPT_PROXY_CAPATH, nullptr);
    curl_easy_setopt(easy, CURLOPT_CA_CACHE_TIMEOUT, 0L);
    curl_easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, &onSslContext);
}

void addToProcessTrust(const QByteArray &pemCertificates)
{
    ProcessTrust &trust = processTrust();
    QMutexLocker lock(&trust.mutex);
    if (trust.store) {
        addPem(trust.store, pemCertificates);
        ERR_clear_error();
    } else {
        trust.added += pemCertificates;
    }
}
