#ifndef SYSTEMPROXY_H
#define SYSTEMPROXY_H

#include <QHash>
#include <QList>
#include <QNetworkProxy>
#include <QNetworkProxyFactory>
#include <QString>

/// The proxies the system configures: on Windows the user's Internet
/// settings, PAC scripts included; elsewhere http_proxy, https_proxy and
/// no_proxy. Asked once per scheme, host and port: a PAC script is run for
/// each question, and a release asks for every file.
class SystemProxyFactory : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override;

private:
    QHash<QString, QList<QNetworkProxy>> known;
};

#endif // SYSTEMPROXY_H
