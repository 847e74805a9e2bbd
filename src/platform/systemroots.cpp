#include "systemroots.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>
#include <wincrypt.h>

#include <cstring>
#include <vector>

namespace {

bool isValidNow(const CERT_INFO *info)
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return CompareFileTime(&info->NotBefore, &now) <= 0 && CompareFileTime(&now, &info->NotAfter) <= 0;
}

// A key usage, where there is one, must allow signing certificates.
bool maySignCertificates(const CERT_CONTEXT *certificate)
{
    BYTE usage[2] = {};
    // Without the extension it fails and leaves the last error as it was.
    SetLastError(0);
    if (CertGetIntendedKeyUsage(certificate->dwCertEncodingType, certificate->pCertInfo, usage, sizeof usage))
        return usage[0] & CERT_KEY_CERT_SIGN_KEY_USAGE;
    return GetLastError() == 0;
}

// The extended key usages, from the certificate and from what the store
// says of it: none listed means any use, an empty list none at all.
bool mayIdentifyServers(const CERT_CONTEXT *certificate)
{
    DWORD size = 0;
    if (!CertGetEnhancedKeyUsage(certificate, 0, nullptr, &size))
        return false;
    std::vector<BYTE> buffer(size);
    auto *usage = reinterpret_cast<CERT_ENHKEY_USAGE *>(buffer.data());
    if (!CertGetEnhancedKeyUsage(certificate, 0, usage, &size))
        return false;
    if (usage->cUsageIdentifier == 0)
        return HRESULT(GetLastError()) == CRYPT_E_NOT_FOUND;
    for (DWORD i = 0; i < usage->cUsageIdentifier; ++i) {
        if (std::strcmp(usage->rgpszUsageIdentifier[i], szOID_PKIX_KP_SERVER_AUTH) == 0)
            return true;
    }
    return false;
}

} // namespace

// The choice libcurl makes for CURLSSLOPT_NATIVE_CA, done once for the process.
QList<QByteArray> trustedServerRoots()
{
    QList<QByteArray> roots;
    const HCERTSTORE store = CertOpenSystemStoreW(0, L"ROOT");
    if (!store)
        return roots;
    const CERT_CONTEXT *certificate = nullptr;
    while ((certificate = CertEnumCertificatesInStore(store, certificate))) {
        if ((certificate->dwCertEncodingType & X509_ASN_ENCODING) && isValidNow(certificate->pCertInfo)
            && maySignCertificates(certificate) && mayIdentifyServers(certificate))
            roots.append(QByteArray(reinterpret_cast<const char *>(certificate->pbCertEncoded),
                                    int(certificate->cbCertEncoded)));
    }
    CertCloseStore(store, 0);
    return roots;
}

#else

QList<QByteArray> trustedServerRoots()
{
    return {};
}

#endif
