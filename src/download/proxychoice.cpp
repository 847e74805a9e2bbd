#include "proxychoice.h"

#include <curl/curl.h>

static_assert(CURLPROXY_HTTP == 0 && CURLAUTH_NONE == 0, "ProxyChoice's defaults");

namespace {

constexpr unsigned long byPassword = CURLAUTH_BASIC | CURLAUTH_DIGEST;
constexpr unsigned long asLoggedOnUser = CURLAUTH_NEGOTIATE | CURLAUTH_NTLM;

bool isUsable(const QNetworkProxy &proxy)
{
    return proxy.type() == QNetworkProxy::HttpProxy || proxy.type() == QNetworkProxy::Socks5Proxy;
}

QByteArray proxyAddress(const QNetworkProxy &proxy)
{
    QUrl address;
    // socks5h: the proxy resolves the host name, as Qt's SOCKS5 proxy does.
    address.setScheme(proxy.type() == QNetworkProxy::Socks5Proxy ? QStringLiteral("socks5h")
                                                                  : QStringLiteral("http"));
    address.setHost(proxy.hostName());
    address.setPort(proxy.port());
    return address.toEncoded();
}

} // namespace

ProxyChoice ProxyChoice::fromSystem(const QList<QNetworkProxy> &systemAnswer, const QByteArray &noProxy)
{
    ProxyChoice choice;
    for (const QNetworkProxy &proxy : systemAnswer) {
        if (!isUsable(proxy))
            continue;
        choice.proxy = proxyAddress(proxy);
        choice.proxyType = proxy.type() == QNetworkProxy::Socks5Proxy ? CURLPROXY_SOCKS5_HOSTNAME : CURLPROXY_HTTP;
        choice.noProxy = noProxy;
        choice.name = QStringLiteral("%1:%2").arg(proxy.hostName()).arg(proxy.port());
        if (proxy.user().isEmpty())
            return choice.withCredentials(QString(), QString());
        return choice.withCredentials(proxy.user(), proxy.password());
    }
    return choice;
}

QByteArray ProxyChoice::systemNoProxy()
{
#ifdef Q_OS_WIN
    return QByteArray();
#else
    return qEnvironmentVariableIsSet("no_proxy") ? qgetenv("no_proxy") : qgetenv("NO_PROXY");
#endif
}

ProxyChoice ProxyChoice::withCredentials(const QString &userName, const QString &password) const
{
    ProxyChoice choice = *this;
    // Empty credentials tell libcurl to sign on as the logged-on user.
    choice.authMask = userName.isEmpty() ? asLoggedOnUser : byPassword;
    choice.userName = userName.toUtf8();
    choice.password = password.toUtf8();
    return choice;
}

bool ProxyChoice::needsCredentials(unsigned long offered) const
{
    return usesProxy() && userName.isEmpty() && (offered & byPassword) && !(offered & asLoggedOnUser);
}
