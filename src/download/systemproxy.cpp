#include "systemproxy.h"

#include <QNetworkAccessManager>

QList<QNetworkProxy> SystemProxyFactory::queryProxy(const QNetworkProxyQuery &query)
{
    const QString key = query.protocolTag() + QLatin1Char('\n') + query.peerHostName() + QLatin1Char('\n')
        + QString::number(query.peerPort());
    auto found = known.constFind(key);
    if (found == known.constEnd())
        found = known.insert(key, systemProxyForQuery(query));
    QList<QNetworkProxy> proxies = found.value();
    for (QNetworkProxy &proxy : proxies) {
        if (!signOnProxy.isEmpty() && QStringLiteral("%1:%2").arg(proxy.hostName()).arg(proxy.port()) == signOnProxy) {
            proxy.setUser(signOnUser);
            proxy.setPassword(signOnPassword);
        }
    }
    return proxies;
}

void SystemProxyFactory::signOn(const QString &proxyName, const QString &userName, const QString &password)
{
    signOnProxy = proxyName;
    signOnUser = userName;
    signOnPassword = password;
}

SystemProxyFactory *useSystemProxy(QNetworkAccessManager *manager)
{
    auto *factory = new SystemProxyFactory;
    manager->setProxyFactory(factory);
    return factory;
}
