#ifndef DELAYEDLINE_H
#define DELAYEDLINE_H

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTimer>

#include <deque>
#include <map>

class QTcpSocket;

/// A wide-area line on loopback: a TCP forwarder that clients connect to as
/// if it were the server. Every chunk read is delivered to the other side a
/// fixed delay later, in both directions; the downstream (server to client)
/// of all connections together also passes one queue that sends at a fixed
/// rate, the delay adding to the time a chunk waits there. A server's close
/// reaches the client as the end of its sending side only, and what the
/// client still sends is read and dropped, as a lingering server does. TLS
/// passes through untouched. Meant to run in a process of its own, so that a busy
/// client cannot hold up its timers.
class DelayedLine : public QObject
{
    Q_OBJECT

public:
    DelayedLine(quint16 serverPort, int delayMsecs, double bitsPerSecond);

    /// Listens on loopback, on \a port or a free one; the port, or 0 when it cannot.
    quint16 listen(quint16 port = 0);
    /// How far from their time the deliveries were, in one line.
    QString lateness() const;

private slots:
    void onNewConnection();
    void onTimerTimeout();

private:
    struct Chunk
    {
        QPointer<QTcpSocket> to;
        QByteArray bytes;   // none: the sender closed
        bool downstream = false;   // to the client
    };

    struct Route
    {
        QPointer<QTcpSocket> from;
        QPointer<QTcpSocket> to;
    };

    void open(QTcpSocket *client);
    void sendUpstream(const Route &route, const QByteArray &bytes, qint64 handshakeDone);
    void onServerReadyRead(const Route &route);
    void onServerDisconnected(const Route &route);
    void takeDownstream();
    void queueDownstream(const Route &route, const QByteArray &bytes);
    void deliverDue();
    void scheduleNext();
    void deliver(const Chunk &chunk);
    void endSending(QTcpSocket *client);

    const quint16 serverPort;
    const qint64 delay;
    const double nsecsPerByte;
    QTcpServer listener;
    QElapsedTimer clock;
    QTimer timer;
    std::multimap<qint64, Chunk> inFlight;   // by the time each is due, in nanoseconds
    std::deque<Route> serversWithData;   // taking turns on the shared queue
    qint64 queueFreeAt = 0;   // when the shared downstream has sent all it took

    qint64 delivered = 0;
    qint64 offsetSum = 0;
    qint64 latenessMax = 0;
    qint64 lateOverMsec = 0;
};

#endif // DELAYEDLINE_H
