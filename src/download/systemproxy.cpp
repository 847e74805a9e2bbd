#include "systemproxy.h"

QList<QNetworkProxy> SystemProxyFactory::queryProxy(const QNetworkProxyQuery &query)
{
    const QString key = query.protocolTag() + QLatin1Char('\n') + query.peerHostName() + QLatin1Char('\n')
        + QString::number(query.peerPort());
    auto found = known.constFind(key);
    if (found == known.constEnd())
        found = known.insert(key, systemProxyForQuery(query));
    return found.value();
}
