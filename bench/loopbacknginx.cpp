#include "loopbacknginx.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextStream>
#include <QThread>

namespace {

quint16 freeLoopbackPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

} // namespace

LoopbackNginx::LoopbackNginx(const QString &workDir, const QString &root)
    : port(freeLoopbackPort())
{
    // nginx's workers may run as another user; they must reach the files.
    const QFile::Permissions reachable = QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
        | QFile::ExeOther;
    QFile file(workDir + QStringLiteral("/nginx.conf"));
    if (!QFile::setPermissions(workDir, QFile::permissions(workDir) | reachable)
        || !file.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    QTextStream(&file) << QStringLiteral(
        "worker_processes 1;\n"
        "pid %1/nginx.pid;\n"
        "error_log %1/error.log;\n"
        "events { worker_connections 64; }\n"
        "http {\n"
        "    access_log off;\n"
        "    sendfile on;\n"
        "    client_body_temp_path %1/body;\n"
        "    proxy_temp_path %1/proxy;\n"
        "    fastcgi_temp_path %1/fastcgi;\n"
        "    uwsgi_temp_path %1/uwsgi;\n"
        "    scgi_temp_path %1/scgi;\n"
        "    server { listen 127.0.0.1:%2; root %3; }\n"
        "}\n").arg(workDir).arg(port).arg(root);
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
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (socket.waitForConnected(200))
            return true;
        QThread::msleep(50);
    }
    return false;
}

QString LoopbackNginx::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(port).arg(path);
}
