#ifndef PROXYCHOICE_H
#define PROXYCHOICE_H

#include <QByteArray>
#include <QList>
#include <QNetworkProxy>
#include <QString>

/// How libcurl reaches one address: the proxy that the system names for it
/// and how to sign on to that proxy, as the values of libcurl's options.
///
/// A proxy address that carries a user name and password signs on with them
/// (Basic or Digest); any other proxy signs on as the logged-on user
/// (Negotiate or NTLM, through SSPI on Windows and GSS-API elsewhere). The
/// credentials are the proxy's alone: they go to CURLOPT_PROXYUSERNAME and
/// CURLOPT_PROXYPASSWORD, never to a server or a redirect's target.
class ProxyChoice
{
public:
    /// The first proxy of \a systemAnswer that libcurl can use, or none;
    /// \a noProxy is the system's list of hosts reached directly, which
    /// libcurl also applies to a redirect's target.
    static ProxyChoice fromSystem(const QList<QNetworkProxy> &systemAnswer, const QByteArray &noProxy);

    /// The hosts the system reaches directly, as no_proxy lists them; on
    /// Windows none, for WinHTTP applies its own list in its answer.
    static QByteArray systemNoProxy();

    /// The same proxy, signing on with a user name and password given for it.
    ProxyChoice withCredentials(const QString &userName, const QString &password) const;

    bool usesProxy() const { return !proxy.isEmpty(); }
    /// host:port, for messages; empty without a proxy.
    QString proxyName() const { return name; }
    /// Whether a 407 whose offered schemes are \a offered
    /// (CURLINFO_PROXYAUTH_AVAIL) can be answered only with a user name and
    /// password that nobody has given yet.
    bool needsCredentials(unsigned long offered) const;

    QByteArray proxy;                            // CURLOPT_PROXY; empty: none, not even the environment's
    // libcurl's values, without curl.h: on Windows it brings windows.h,
    // whose UpdateWindow() would hide the window's class wherever this is
    // included. Zero is CURLPROXY_HTTP and CURLAUTH_NONE.
    long proxyType = 0;                          // CURLOPT_PROXYTYPE
    unsigned long authMask = 0;                  // CURLOPT_PROXYAUTH
    QByteArray userName;                         // CURLOPT_PROXYUSERNAME
    QByteArray password;                         // CURLOPT_PROXYPASSWORD
    QByteArray noProxy = "*";                    // CURLOPT_NOPROXY

private:
    QString name;
};

#endif // PROXYCHOICE_H
