#include "proxysignon.h"
#include "httpsession.h"

#include <QDebug>

ProxySignOn::ProxySignOn(HttpSession *network, QObject *parent)
    : QObject(parent)
    , network(network)
{
}

void ProxySignOn::ask(const QString &proxy, const UpdateError &refusal)
{
    if (current != State::NotAsked)
        return;
    current = State::Asking;
    proxyName = proxy;
    refused = refusal;
    qDebug().noquote() << QStringLiteral("Asking for the user name and password of proxy %1").arg(proxy);
    emit credentialsNeeded(proxy);
}

void ProxySignOn::useCredentials(const QString &userName, const QString &password)
{
    if (current != State::Asking)
        return;
    network->signOn(proxyName, userName, password);
    current = State::Answered;
    emit answered();
}

void ProxySignOn::decline()
{
    if (current != State::Asking)
        return;
    current = State::Declined;
    emit answered();
}
