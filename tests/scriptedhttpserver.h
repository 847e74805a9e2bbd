#ifndef SCRIPTEDHTTPSERVER_H
#define SCRIPTEDHTTPSERVER_H

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMetaType>
#include <QPair>
#include <QString>
#include <QTcpServer>

#include <functional>

/// What the server answers for one path. The limits count body bytes only,
/// not chunk framing. Chainable: ScriptedResponse::ok(body).inPieces(4, 20).
struct ScriptedResponse
{
    enum class Framing { ContentLength, Chunked, CloseDelimited };

    static ScriptedResponse ok(const QByteArray &body);
    static ScriptedResponse withStatus(int status, const QByteArray &reason,
                                       const QByteArray &body = {});
    /// Reads the request and never answers.
    static ScriptedResponse silence();

    ScriptedResponse &framedBy(Framing framing);
    ScriptedResponse &withHeader(const QByteArray &name, const QByteArray &value);
    /// Sends the body in pieces of \a size bytes, \a intervalMs apart.
    ScriptedResponse &inPieces(int size, int intervalMs);
    /// Closes the connection after \a bytes of the body, length still announced in full.
    ScriptedResponse &truncatedAfter(qint64 bytes);
    /// Goes silent after \a bytes of the body and keeps the connection open.
    ScriptedResponse &stalledAfter(qint64 bytes);
    /// Answers only once \a ready returns true, asked every few milliseconds:
    /// for an answer that must come after something the client has done.
    ScriptedResponse &heldUntil(std::function<bool()> ready);

    int status = 200;
    QByteArray reason = "OK";
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    Framing framing = Framing::ContentLength;
    int pieceSize = 0;
    int pieceInterval = 0;
    qint64 truncateAfter = -1;
    qint64 stallAfter = -1;
    bool answers = true;
    std::function<bool()> holdUntil;
};
Q_DECLARE_METATYPE(ScriptedResponse)

/// An HTTP/1.1 server on 127.0.0.1 that answers each request path with its
/// scripted responses, one after another, the last one for every further
/// request; unscripted paths get a 404. Keeps connections alive between
/// complete answers and records every request it receives.
class ScriptedHttpServer : public QObject
{
    Q_OBJECT

public:
    /// What the connections count together.
    struct Tally
    {
        qint64 bodyBytes = 0;
        int answering = 0;
        int mostAnswering = 0;
    };

    explicit ScriptedHttpServer(QObject *parent = nullptr);
    ~ScriptedHttpServer() override;

    /// Listens on a free loopback port.
    bool listen();
    /// Listens on a free loopback port for TLS, identified by the PEM
    /// certificate and key at \a certificatePath and \a keyPath.
    bool listenTls(const QString &certificatePath, const QString &keyPath);
    /// "http://127.0.0.1:<port>" (https with TLS) followed by \a path.
    QString url(const QByteArray &path) const;
    /// \a path as it appears in the request line, e.g. "/v2/app.dll".
    void setResponse(const QByteArray &path, const ScriptedResponse &response);
    void setResponses(const QByteArray &path, const QList<ScriptedResponse> &responses);

    /// "GET /path HTTP/1.1" for every request so far, in order of arrival.
    QList<QByteArray> requestLines() const;
    /// The request line and the headers of every request so far.
    QList<QByteArray> requestHeads() const { return receivedHeads; }
    int openConnections() const;
    /// Body bytes sent so far, framing not counted.
    qint64 bodyBytesSent() const { return tally.bodyBytes; }
    /// The most requests that were being answered at one moment.
    int mostAnswersAtOnce() const { return tally.mostAnswering; }
    /// Every connection accepted so far, whether its TLS handshake succeeded or not.
    int acceptedConnections() const { return accepted; }

signals:
    void requestReceived(const QByteArray &requestLine);

private:
    void onNewConnection();
    ScriptedResponse responseFor(const QByteArray &requestLine);

    bool listenOn(QTcpServer *server);

    QTcpServer *tcpServer = nullptr;
    QHash<QByteArray, QList<ScriptedResponse>> responses;
    QList<QByteArray> receivedLines;
    QList<QByteArray> receivedHeads;
    int connections = 0;
    int accepted = 0;
    Tally tally;
    bool tls = false;
};

#endif // SCRIPTEDHTTPSERVER_H
