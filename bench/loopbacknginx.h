#ifndef LOOPBACKNGINX_H
#define LOOPBACKNGINX_H

#include <QProcess>
#include <QString>

/// nginx serving a folder on a free loopback port, in the foreground, with a
/// configuration of its own and no access log: everything it writes stays in
/// the work directory, and it stops with the object.
class LoopbackNginx
{
public:
    /// With AlsoHttps the same folder is served over https on a second port,
    /// with a certificate for 127.0.0.1 issued by a test authority made in
    /// the work directory; with AlsoHttp2 that port offers HTTP/2 too.
    enum class Tls { Off, AlsoHttps, AlsoHttp2 };
    /// With Requests every request is logged to requestLog(), one line each:
    /// its connection's number, its protocol and its status.
    enum class Log { Off, Requests };

    /// Serves \a root, which lies inside \a workDir. With \a keepaliveRequests
    /// above 0 nginx ends each connection after that many requests (a GOAWAY
    /// on HTTP/2); otherwise after its default of 1,000.
    LoopbackNginx(const QString &workDir, const QString &root, Tls tls = Tls::Off,
                  Log log = Log::Off, int keepaliveRequests = 0);
    ~LoopbackNginx();

    /// Waits up to 10 s for the ports to accept connections.
    bool waitUntilServing();
    /// The address of \a path below the served root.
    QString url(const QString &path) const;
    /// The https address of \a path; with Tls::AlsoHttps only.
    QString secureUrl(const QString &path) const;
    /// The test authority's certificate, for the clients to trust; with Tls::AlsoHttps only.
    QString authorityCertificate() const;
    QString requestLog() const;

private:
    bool makeCertificates();

    const QString workDir;
    const quint16 port;
    const quint16 securePort = 0;
    QProcess server;
};

#endif // LOOPBACKNGINX_H
