#ifndef PROXYSIGNON_H
#define PROXYSIGNON_H

#include "updateerror.h"

#include <QObject>
#include <QString>

class HttpSession;

/// A proxy that takes only a user name and password, which nobody has
/// given, is asked about once an update: the first download it refuses
/// asks the user, and every download it refuses waits for the answer. The
/// credentials go to the session, in memory for this update only.
class ProxySignOn : public QObject
{
    Q_OBJECT

public:
    enum class State { NotAsked, Asking, Answered, Declined };

    explicit ProxySignOn(HttpSession *network, QObject *parent = nullptr);

    State state() const { return current; }
    /// Asks the user about \a proxy (host:port), unless asked already;
    /// \a refusal is the update's failure should the user decline.
    void ask(const QString &proxy, const UpdateError &refusal);
    /// What a declined question leaves the update with.
    const UpdateError &refusal() const { return refused; }

public slots:
    void useCredentials(const QString &userName, const QString &password);
    void decline();

signals:
    void credentialsNeeded(const QString &proxyName);
    /// The user answered, either way: what waits may go on or give up.
    void answered();

private:
    HttpSession *const network;
    State current = State::NotAsked;
    QString proxyName;
    UpdateError refused;
};

#endif // PROXYSIGNON_H
