#ifndef TESTCERTIFICATES_H
#define TESTCERTIFICATES_H

#include "httpsession.h"

#include <QFile>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QString>

// The certificates made at build time for the TLS tests: "localhost" (good),
// "wrong-host", "expired" and "unknown-issuer", all but the last issued by
// the test authority.

inline QString testCertificate(const QString &name)
{
    return QStringLiteral(BRENVOTH_TEST_CERTIFICATES "/") + name + QStringLiteral(".crt");
}

inline QString testKey(const QString &name)
{
    return QStringLiteral(BRENVOTH_TEST_CERTIFICATES "/") + name + QStringLiteral(".key");
}

/// Makes every TLS connection of this process, Qt's and the downloads',
/// trust the test authority, as if it were one of the system's.
inline bool trustTestAuthority()
{
    const QList<QSslCertificate> authority = QSslCertificate::fromPath(testCertificate(QStringLiteral("ca")));
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.addCaCertificates(authority);
    QSslConfiguration::setDefaultConfiguration(configuration);
    QFile pem(testCertificate(QStringLiteral("ca")));
    if (pem.open(QIODevice::ReadOnly))
        HttpSession::trustAlso(pem.readAll());
    return authority.size() == 1;
}

#endif // TESTCERTIFICATES_H
