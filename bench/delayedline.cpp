#include "delayedline.h"

#include <QTcpSocket>

#include <sys/socket.h>

#include <algorithm>
#include <limits>

namespace {

constexpr qint64 nsecsPerMsec = 1000000;
// A line hands over packets, not whole reads: a chunk this size holds the
// shared queue for 1.3 ms at 100 Mbit/s.
constexpr qint64 chunkBytes = 16 * 1024;
// How far the servers may fill the shared queue ahead of what it has sent;
// beyond that their bytes wait in the kernel and TCP holds them back.
constexpr qint64 queueAhead = 20 * nsecsPerMsec;
// Qt's timers count whole milliseconds: what falls due within half of one
// goes now, so that deliveries are on time on average.
constexpr qint64 tolerance = nsecsPerMsec / 2;

void closeBothWhenEnded(QTcpSocket *one, QTcpSocket *other)
{
    if (one->state() == QAbstractSocket::UnconnectedState
        && other->state() == QAbstractSocket::UnconnectedState) {
        one->deleteLater();
        other->deleteLater();
    }
}

} // namespace

DelayedLine::DelayedLine(quint16 serverPort, int delayMsecs, double bitsPerSecond)
    : serverPort(serverPort), delay(delayMsecs * nsecsPerMsec), nsecsPerByte(8e9 / bitsPerSecond)
{
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &DelayedLine::onTimerTimeout);
    connect(&listener, &QTcpServer::newConnection, this, &DelayedLine::onNewConnection);
    clock.start();
}

quint16 DelayedLine::listen(quint16 port)
{
    return listener.listen(QHostAddress::LocalHost, port) ? listener.serverPort() : 0;
}

QString DelayedLine::lateness() const
{
    return QStringLiteral("%1 deliveries, %2 ms after their time on average (early ones count "
                          "negative), at most %3 ms late, %4 more than 1 ms late")
        .arg(delivered).arg(delivered ? offsetSum / 1e6 / delivered : 0.0, 0, 'f', 3)
        .arg(latenessMax / 1e6, 0, 'f', 2).arg(lateOverMsec);
}

void DelayedLine::onNewConnection()
{
    while (QTcpSocket *client = listener.nextPendingConnection())
        open(client);
}

void DelayedLine::open(QTcpSocket *client)
{
    auto *server = new QTcpSocket(this);
    client->setParent(this);
    const Route up{client, server};
    const Route down{server, client};
    // The local kernel completed the client's handshake at once; over the
    // line its first bytes could leave only a round trip after it began.
    const qint64 handshakeDone = clock.nsecsElapsed() + 2 * delay;
    // What the line has not taken stays in the kernel, where TCP holds the server back.
    server->setReadBufferSize(4 * chunkBytes);
    // Small writes must leave at once, not wait for an acknowledgement.
    client->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(server, &QTcpSocket::connected, server,
            [server] { server->setSocketOption(QAbstractSocket::LowDelayOption, 1); });
    connect(client, &QTcpSocket::readyRead, this,
            [=] { sendUpstream(up, client->readAll(), handshakeDone); });
    connect(client, &QTcpSocket::disconnected, this, [=] {
        sendUpstream(up, {}, handshakeDone);
        closeBothWhenEnded(client, server);
    });
    connect(server, &QTcpSocket::readyRead, this, [=] { onServerReadyRead(down); });
    connect(server, &QTcpSocket::disconnected, this, [=] { onServerDisconnected(down); });
    server->connectToHost(QHostAddress::LocalHost, serverPort);
}

// Upstream is not shaped: every chunk is only delayed, no earlier than the
// handshake allows; an empty one closes the server's side.
void DelayedLine::sendUpstream(const Route &route, const QByteArray &bytes, qint64 handshakeDone)
{
    const qint64 due = std::max(clock.nsecsElapsed(), handshakeDone) + delay;
    inFlight.emplace(due, Chunk{route.to, bytes});
    scheduleNext();
}

void DelayedLine::onServerReadyRead(const Route &route)
{
    const bool waiting = std::any_of(serversWithData.begin(), serversWithData.end(),
                                     [&route](const Route &other) { return other.from == route.from; });
    if (!waiting)
        serversWithData.push_back(route);
    takeDownstream();
}

// Bytes the server sent before it closed are still to be taken; the close follows them.
void DelayedLine::onServerDisconnected(const Route &route)
{
    if (route.from->bytesAvailable() == 0)
        queueDownstream(route, {});
    closeBothWhenEnded(route.from, route.to);
    scheduleNext();
}

// The servers take turns, a chunk each, while the shared queue has room.
void DelayedLine::takeDownstream()
{
    while (!serversWithData.empty() && queueFreeAt - clock.nsecsElapsed() < queueAhead + tolerance) {
        const Route route = serversWithData.front();
        serversWithData.pop_front();
        if (!route.from)
            continue;
        const QByteArray bytes = route.from->read(chunkBytes);
        if (!bytes.isEmpty())
            queueDownstream(route, bytes);
        if (route.from->bytesAvailable() > 0)
            serversWithData.push_back(route);
        else if (route.from->state() == QAbstractSocket::UnconnectedState)
            queueDownstream(route, {});
    }
    scheduleNext();
}

// The chunk leaves the shared queue once everything before it has been sent,
// and arrives the delay later.
void DelayedLine::queueDownstream(const Route &route, const QByteArray &bytes)
{
    queueFreeAt = std::max(queueFreeAt, clock.nsecsElapsed()) + qint64(bytes.size() * nsecsPerByte);
    inFlight.emplace(queueFreeAt + delay, Chunk{route.to, bytes, true});
}

void DelayedLine::onTimerTimeout()
{
    deliverDue();
    takeDownstream();
}

void DelayedLine::deliverDue()
{
    const qint64 now = clock.nsecsElapsed();
    while (!inFlight.empty() && inFlight.begin()->first <= now + tolerance) {
        const auto first = inFlight.begin();
        const qint64 late = now - first->first;
        ++delivered;
        offsetSum += late;
        latenessMax = std::max(latenessMax, late);
        lateOverMsec += late > nsecsPerMsec;
        const Chunk chunk = first->second;
        inFlight.erase(first);
        deliver(chunk);
    }
}

void DelayedLine::deliver(const Chunk &chunk)
{
    // What a client sends after its server closed is dropped, as by the server.
    if (!chunk.to || !chunk.to->isOpen())
        return;
    if (!chunk.bytes.isEmpty())
        chunk.to->write(chunk.bytes);
    else if (chunk.downstream)
        endSending(chunk.to);
    else
        chunk.to->disconnectFromHost();
}

// A server that closes lingers, as nginx does: it ends its side and reads
// until the client closes. Closing with the client's bytes unread would
// reset the connection, and the client could lose the last answers the
// line delivered, which no real line does.
void DelayedLine::endSending(QTcpSocket *client)
{
    client->flush();
    if (client->bytesToWrite() == 0) {
        ::shutdown(int(client->socketDescriptor()), SHUT_WR);
        return;
    }
    connect(client, &QTcpSocket::bytesWritten, this, [this, client] {
        if (client->bytesToWrite() > 0)
            return;
        disconnect(client, &QTcpSocket::bytesWritten, this, nullptr);
        ::shutdown(int(client->socketDescriptor()), SHUT_WR);
    });
}

// One timer: for the next delivery, or for when the shared queue has room
// again for a server that waits.
void DelayedLine::scheduleNext()
{
    qint64 next = std::numeric_limits<qint64>::max();
    if (!inFlight.empty())
        next = inFlight.begin()->first;
    if (!serversWithData.empty())
        next = std::min(next, queueFreeAt - queueAhead);
    if (next == std::numeric_limits<qint64>::max()) {
        timer.stop();
        return;
    }
    const qint64 wait = std::max<qint64>(0, next - clock.nsecsElapsed());
    timer.start(int((wait + nsecsPerMsec / 2) / nsecsPerMsec));
}
