#include "scriptedhttpserver.h"

#include <QFile>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>

#include <functional>
#include <utility>

ScriptedResponse ScriptedResponse::ok(const QByteArray &body)
{
    return withStatus(200, "OK", body);
}

ScriptedResponse ScriptedResponse::withStatus(int status, const QByteArray &reason,
                                              const QByteArray &body)
{
    ScriptedResponse response;
    response.status = status;
    response.reason = reason;
    response.body = body;
    return response;
}

ScriptedResponse ScriptedResponse::silence()
{
    ScriptedResponse response;
    response.answers = false;
    return response;
}

ScriptedResponse &ScriptedResponse::framedBy(Framing framing)
{
    this->framing = framing;
    return *this;
}

ScriptedResponse &ScriptedResponse::withHeader(const QByteArray &name, const QByteArray &value)
{
    headers.append({name, value});
    return *this;
}

ScriptedResponse &ScriptedResponse::inPieces(int size, int intervalMs)
{
    pieceSize = size;
    pieceInterval = intervalMs;
    return *this;
}

ScriptedResponse &ScriptedResponse::truncatedAfter(qint64 bytes)
{
    truncateAfter = bytes;
    return *this;
}

ScriptedResponse &ScriptedResponse::heldUntil(std::function<bool()> ready)
{
    holdUntil = std::move(ready);
    return *this;
}

ScriptedResponse &ScriptedResponse::stalledAfter(qint64 bytes)
{
    stallAfter = bytes;
    return *this;
}

namespace {

QByteArray responseHead(const ScriptedResponse &response)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' '
        + response.reason + "\r\n";
    switch (response.framing) {
    case ScriptedResponse::Framing::ContentLength:
        head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
        break;
    case ScriptedResponse::Framing::Chunked:
        head += "Transfer-Encoding: chunked\r\n";
        break;
    case ScriptedResponse::Framing::CloseDelimited:
        head += "Connection: close\r\n";
        break;
    }
    for (const auto &header : response.headers)
        head += header.first + ": " + header.second + "\r\n";
    return head + "\r\n";
}

// Serves the requests of one connection one after another.
class ScriptedConnection : public QObject
{
public:
    using Lookup = std::function<ScriptedResponse(const QByteArray &requestHead)>;

    ScriptedConnection(QTcpSocket *socket, Lookup lookup, ScriptedHttpServer::Tally *tally)
        : QObject(socket)
        , socket(socket)
        , lookup(std::move(lookup))
        , tally(tally)
    {
        pieceTimer.setSingleShot(true);
        connect(socket, &QTcpSocket::disconnected, this, [this] { setAnswering(false); });
        connect(socket, &QTcpSocket::readyRead, this, &ScriptedConnection::onReadyRead);
        connect(&pieceTimer, &QTimer::timeout, this, &ScriptedConnection::sendNextPiece);
        holdTimer.setInterval(10);
        connect(&holdTimer, &QTimer::timeout, this, &ScriptedConnection::answerIfReady);
    }

private:
    void onReadyRead()
    {
        received += socket->readAll();
        answerNextRequest();
    }

    void answerNextRequest()
    {
        const int headEnd = received.indexOf("\r\n\r\n");
        if (answering || headEnd < 0)
            return;
        const QByteArray requestHead = received.left(headEnd);
        received.remove(0, headEnd + 4);
        setAnswering(true);
        response = lookup(requestHead);
        headOnly = requestHead.startsWith("HEAD ");
        if (response.answers)
            answerIfReady();
    }

    void answerIfReady()
    {
        if (response.holdUntil && !response.holdUntil()) {
            holdTimer.start();
            return;
        }
        holdTimer.stop();
        socket->write(responseHead(response));
        // A HEAD is answered with the head alone.
        unsent = headOnly ? QByteArray() : response.body.left(bodyBytesToSend());
        sendNextPiece();
    }

    qint64 bodyBytesToSend() const
    {
        if (response.truncateAfter >= 0)
            return response.truncateAfter;
        if (response.stallAfter >= 0)
            return response.stallAfter;
        return response.body.size();
    }

    void sendNextPiece()
    {
        const int size = response.pieceSize > 0 ? response.pieceSize : unsent.size();
        const QByteArray piece = unsent.left(size);
        unsent.remove(0, piece.size());
        if (!piece.isEmpty())
            socket->write(framed(piece));
        tally->bodyBytes += piece.size();
        socket->flush();
        if (unsent.isEmpty())
            endResponse();
        else
            pieceTimer.start(response.pieceInterval);
    }

    QByteArray framed(const QByteArray &piece) const
    {
        if (response.framing != ScriptedResponse::Framing::Chunked)
            return piece;
        return QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n";
    }

    void endResponse()
    {
        if (response.stallAfter >= 0)
            return;
        const bool complete = response.truncateAfter < 0;
        if (complete && response.framing == ScriptedResponse::Framing::Chunked)
            socket->write("0\r\n\r\n");
        if (!complete || response.framing == ScriptedResponse::Framing::CloseDelimited) {
            socket->disconnectFromHost();
            return;
        }
        setAnswering(false);
        answerNextRequest();
    }

    void setAnswering(bool now)
    {
        if (now == answering)
            return;
        answering = now;
        tally->answering += now ? 1 : -1;
        tally->mostAnswering = qMax(tally->mostAnswering, tally->answering);
    }

    QTcpSocket *socket;
    Lookup lookup;
    ScriptedHttpServer::Tally *tally;
    QTimer pieceTimer;
    QTimer holdTimer;
    QByteArray received;
    ScriptedResponse response;
    QByteArray unsent;
    bool headOnly = false;
    bool answering = false;
};

// Starts the server's side of a TLS handshake on every connection it accepts.
class TlsServer : public QTcpServer
{
public:
    TlsServer(const QSslCertificate &certificate, const QSslKey &key, QObject *parent)
        : QTcpServer(parent)
        , certificate(certificate)
        , key(key)
    {
    }

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto *socket = new QSslSocket(this);
        socket->setSocketDescriptor(descriptor);
        socket->setLocalCertificate(certificate);
        socket->setPrivateKey(key);
        socket->startServerEncryption();
        addPendingConnection(socket);
    }

private:
    const QSslCertificate certificate;
    const QSslKey key;
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

ScriptedHttpServer::ScriptedHttpServer(QObject *parent)
    : QObject(parent)
{
}

ScriptedHttpServer::~ScriptedHttpServer()
{
    // The sockets go with tcpServer, after this object's other members.
    if (tcpServer) {
        for (QTcpSocket *socket : tcpServer->findChildren<QTcpSocket *>())
            socket->disconnect(this);
    }
}

bool ScriptedHttpServer::listen()
{
    return listenOn(new QTcpServer(this));
}

bool ScriptedHttpServer::listenTls(const QString &certificatePath, const QString &keyPath)
{
    const QSslCertificate certificate(readAll(certificatePath));
    const QSslKey key(readAll(keyPath), QSsl::Ec);
    tls = true;
    return !certificate.isNull() && !key.isNull() && listenOn(new TlsServer(certificate, key, this));
}

bool ScriptedHttpServer::listenOn(QTcpServer *server)
{
    tcpServer = server;
    connect(tcpServer, &QTcpServer::newConnection, this, &ScriptedHttpServer::onNewConnection);
    return tcpServer->listen(QHostAddress::LocalHost);
}

QString ScriptedHttpServer::url(const QByteArray &path) const
{
    return QStringLiteral("%1://127.0.0.1:%2").arg(tls ? "https" : "http").arg(tcpServer->serverPort())
        + QString::fromUtf8(path);
}

void ScriptedHttpServer::setResponse(const QByteArray &path, const ScriptedResponse &response)
{
    responses.insert(path, {response});
}

void ScriptedHttpServer::setResponses(const QByteArray &path, const QList<ScriptedResponse> &scripted)
{
    responses.insert(path, scripted);
}

QList<QByteArray> ScriptedHttpServer::requestLines() const
{
    return receivedLines;
}

int ScriptedHttpServer::openConnections() const
{
    return connections;
}

void ScriptedHttpServer::onNewConnection()
{
    while (QTcpSocket *socket = tcpServer->nextPendingConnection()) {
        ++connections;
        ++accepted;
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            --connections;
            socket->deleteLater();
        });
        new ScriptedConnection(socket, [this](const QByteArray &requestHead) {
            const QByteArray requestLine = requestHead.left(requestHead.indexOf("\r\n"));
            receivedLines.append(requestLine);
            receivedHeads.append(requestHead);
            emit requestReceived(requestLine);
            return responseFor(requestLine);
        }, &tally);
    }
}

ScriptedResponse ScriptedHttpServer::responseFor(const QByteArray &requestLine)
{
    QList<ScriptedResponse> &scripted = responses[requestLine.split(' ').value(1)];
    if (scripted.isEmpty())
        return ScriptedResponse::withStatus(404, "Not Found", "no such file");
    return scripted.size() > 1 ? scripted.takeFirst() : scripted.first();
}
