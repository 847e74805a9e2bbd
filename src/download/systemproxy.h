#ifndef SYSTEMPROXY_H
#define SYSTEMPROXY_H

#include <QHash>
#include <QList>
#include <QNetworkProxy>
#include <QNetworkProxyFactory>
#include <QString>

QT_BEGIN_NAMESPACE
class QNetworkAccessManager;
QT_END_NAMESPACE

/// The proxies the system configures: on Windows the user's Internet
/// settings, PAC scripts included; elsewhere http_proxy, https_proxy and
/// no_proxy. Asked once per scheme, host and port: a PAC script is run for
/// each question, and a release asks for every file.
class SystemProxyFactory : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override;
    /// From now on the proxy \a proxyName (host:port) is signed on to with
    /// \a userName and \a password, kept in memory only.
    void signOn(const QString &proxyName, const QString &userName, const QString &password);

private:
    QHash<QString, QList<QNetworkProxy>> known;
    QString signOnProxy;
    QString signOnUser;
    QString signOnPassword;
};

/// Makes \a manager go through the system's proxies; the manager owns the factory.
SystemProxyFactory *useSystemProxy(QNetworkAccessManager *manager);

#endif // SYSTEMPROXY_H
