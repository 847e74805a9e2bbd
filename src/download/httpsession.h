#ifndef HTTPSESSION_H
#define HTTPSESSION_H

#include "proxychoice.h"
#include "systemproxy.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QNetworkProxy>
#include <QObject>
#include <QPair>
#include <QSet>
#include <QTimer>

class QSocketNotifier;
class QUrl;

/// One libcurl multi handle that the downloads of an installation share, so
/// that they reuse connections and multiplex on HTTP/2: up to 100 streams on
/// one connection. HTTP/1.1 gets one connection per transfer in flight: the
/// caller bounds how many it starts (six is what browsers keep to one host).
///
/// It runs in the thread's event loop: a socket notifier per socket that
/// libcurl watches and one timer for its time-outs, as libcurl's multi socket
/// interface expects.
class HttpSession : public QObject
{
    Q_OBJECT

public:
    /// What the session tells the download that owns a transfer, always
    /// outside libcurl's callbacks, so that it may start, stop or resume
    /// transfers and emit signals.
    class Transfer
    {
    public:
        virtual ~Transfer() = default;
        /// libcurl has handed it data since the last time.
        virtual void onArrivals() = 0;
        /// libcurl has ended the transfer with the CURLcode \a result; the
        /// handle is out of the session again.
        virtual void onTransferDone(int result) = 0;
    };

    explicit HttpSession(QObject *parent = nullptr);
    ~HttpSession() override;

    /// Runs the easy handle \a easy (a CURL *) for \a transfer until it is done or stopped.
    void start(void *easy, Transfer *transfer);
    /// Takes \a easy out of the session; nothing more is told about it.
    void stop(void *easy);
    /// Called from the transfer's libcurl callbacks: tell it once they are over.
    void noteArrival(Transfer *transfer);
    /// Lets a transfer paused by its write callback go on.
    void resume(void *easy);

    /// The system's proxy for \a url and how to sign on to it.
    ProxyChoice proxyFor(const QUrl &url);
    /// From now on the proxy \a proxyName (host:port) is signed on to with
    /// \a userName and \a password, kept in memory only.
    void signOn(const QString &proxyName, const QString &userName, const QString &password);

    /// Certificate authorities (PEM) that every session of the process
    /// trusts besides the system's, for servers that tests start on loopback.
    static void trustAlso(const QByteArray &pemCertificates);

private:
    struct Watch
    {
        QSocketNotifier *read = nullptr;
        QSocketNotifier *write = nullptr;
    };

    friend struct SessionCallbacks;
    void watch(qintptr socket, int what);
    void forget(Watch &watch);
    void act(qintptr socket, int events);
    void collectDone();
    void tellTransfers();

    void *multi = nullptr;   // CURLM *
    QTimer timer;
    QHash<qintptr, Watch> watches;
    QHash<void *, Transfer *> running;
    QList<Transfer *> arrived;
    QList<QPair<Transfer *, int>> done;
    SystemProxyFactory proxies;
    QString signOnProxy;
    QString signOnUser;
    QString signOnPassword;
};

#endif // HTTPSESSION_H
