#include "loopbacknginx.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextStream>
#include <QThread>

namespace {

// A port free now, other than \a taken.
quint16 freeLoopbackPort(quint16 taken = 0)
{
    for (;;) {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        if (probe.serverPort() != taken)
            return probe.serverPort();
    }
}

bool acceptsConnections(quint16 port)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(200);
}

} // namespace

LoopbackNginx::LoopbackNginx(const QString &workDir, const QString &root, Tls tls, Log log,
                             int keepaliveRequests)
    : workDir(workDir), port(freeLoopbackPort()),
      securePort(tls != Tls::Off ? freeLoopbackPort(port) : 0)
{
    // nginx's workers may run as another user; they must reach the files.
    const QFile::Permissions reachable = QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
        | QFile::ExeOther;
    QFile file(workDir + QStringLiteral("/nginx.conf"));
    if (!QFile::setPermissions(workDir, QFile::permissions(workDir) | reachable)
        || (securePort && !makeCertificates())
        || !file.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    // TLS 1.3 as servers offer it today (nginx 1.22 would stop at 1.2 by default).
    const QString secureListener = !securePort ? QString() : QStringLiteral(
        "        listen 127.0.0.1:%1 ssl%3;\n"
        "        ssl_protocols TLSv1.2 TLSv1.3;\n"
        "        ssl_certificate %2/certificates/localhost.crt;\n"
        "        ssl_certificate_key %2/certificates/localhost.key;\n").arg(securePort).arg(workDir)
        .arg(tls == Tls::AlsoHttp2 ? QStringLiteral(" http2") : QString());
    const QString accessLog = log == Log::Off ? QStringLiteral("off")
                                              : requestLog() + QStringLiteral(" requests");
    const QString keepalive = keepaliveRequests <= 0 ? QString()
        : QStringLiteral("    keepalive_requests %1;\n").arg(keepaliveRequests);
    QTextStream(&file) << QStringLiteral(
        "worker_processes 1;\n"
        "pid %1/nginx.pid;\n"
        "error_log %1/error.log;\n"
        // Room for clients that open a new connection at every GOAWAY.
        "events { worker_connections 1024; }\n"
        "http {\n"
        "    log_format requests '$connection $server_protocol $status';\n"
        "    access_log %5;\n"
        "%6"
        "    sendfile on;\n"
        "    client_body_temp_path %1/body;\n"
        "    proxy_temp_path %1/proxy;\n"
        "    fastcgi_temp_path %1/fastcgi;\n"
        "    uwsgi_temp_path %1/uwsgi;\n"
        "    scgi_temp_path %1/scgi;\n"
        "    server {\n"
        "        listen 127.0.0.1:%2;\n"
        "%4"
        "        root %3;\n"
        "    }\n"
        "}\n").arg(workDir).arg(port).arg(root, secureListener, accessLog, keepalive);
    file.close();
    server.start(QStringLiteral("nginx"),
                 {QStringLiteral("-c"), file.fileName(), QStringLiteral("-p"),
                  workDir + QLatin1Char('/'), QStringLiteral("-g"), QStringLiteral("daemon off;")});
}

LoopbackNginx::~LoopbackNginx()
{
    server.terminate();
    if (!server.waitForFinished(5000))
        server.kill();
    server.waitForFinished(5000);
}

bool LoopbackNginx::waitUntilServing()
{
    QElapsedTimer waited;
    waited.start();
    while (server.state() != QProcess::NotRunning && waited.elapsed() < 10000) {
        if (acceptsConnections(port) && (!securePort || acceptsConnections(securePort)))
            return true;
        QThread::msleep(50);
    }
    return false;
}

QString LoopbackNginx::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(port).arg(path);
}

QString LoopbackNginx::secureUrl(const QString &path) const
{
    return QStringLiteral("https://127.0.0.1:%1/%2").arg(securePort).arg(path);
}

QString LoopbackNginx::authorityCertificate() const
{
    return workDir + QStringLiteral("/certificates/ca.crt");
}

QString LoopbackNginx::requestLog() const
{
    return workDir + QStringLiteral("/requests.log");
}

// The tests' certificates, made afresh by their script.
bool LoopbackNginx::makeCertificates()
{
    QProcess script;
    script.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    script.start(QStringLiteral(BRENVOTH_SOURCE_DIR "/tests/tls/make-test-certificates.sh"),
                 {workDir + QStringLiteral("/certificates")});
    return script.waitForFinished(60000) && script.exitStatus() == QProcess::NormalExit
        && script.exitCode() == 0;
}
