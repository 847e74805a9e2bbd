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
    /// Serves \a root, which lies inside \a workDir.
    LoopbackNginx(const QString &workDir, const QString &root);
    ~LoopbackNginx();

    /// Waits up to 10 s for the port to accept connections.
    bool waitUntilServing();
    /// The address of \a path below the served root.
    QString url(const QString &path) const;

private:
    const quint16 port;
    QProcess server;
};

#endif // LOOPBACKNGINX_H
