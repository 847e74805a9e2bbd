#ifndef ARRIVINGANSWER_H
#define ARRIVINGANSWER_H

// One download's answer, taken as libcurl's callbacks hand it over. Private
// to the download library.

#include "httpdownloadfile.h"

#include <QByteArray>
#include <QString>

#include <cstddef>

class CurlRequest;
class FileWriter;

/// The head of the answer at the end (where its body goes, its validator and
/// length) and the body, passed to the file's writer. A callback may stop
/// the transfer; the download reads what arrived, and why it stopped, once
/// libcurl has returned (HttpSession::Transfer::onArrivals), for a receiver
/// of its signals may end it.
class ArrivingAnswer
{
public:
    /// What the download asked for, which its answer is read against: the
    /// copy staged earlier as reuseStaged() took it (an empty validator:
    /// none), and the file's size or the most it may have (-1: any).
    struct Asked
    {
        qint64 stagedBytes = 0;
        qint64 stagedLength = -1;
        QByteArray stagedValidator;
        qint64 expectedSize = -1;
        qint64 maximumSize = -1;
    };

    /// Reads the answer to \a request; tells \a session of each arrival for \a transfer.
    ArrivingAnswer(const CurlRequest &request, HttpSession &session, HttpSession::Transfer &transfer, Asked asked);

    /// Before the transfer starts: where the body goes. Without a writer it
    /// is counted and dropped, as if read.
    void writeTo(FileWriter *fileWriter) { writer = fileWriter; }

    /// libcurl's header and write callbacks; \a self is the ArrivingAnswer.
    static size_t onHeader(char *data, size_t size, size_t count, void *self);
    static size_t onBody(char *data, size_t size, size_t count, void *self);

    /// Whether the head has arrived since last asked, unless a callback
    /// stopped the transfer over it.
    bool takeHeadNews();
    /// Whether the write callback paused the transfer; from now on it counts as resumed.
    bool takePause();

    // The running answer as libcurl hands it over.
    int status = 0;
    QByteArray reason;
    bool headTaken = false;      // of the answer at the end
    qint64 bodyReceived = 0;     // of the answer at the end
    qint64 replyLength = -1;     // its Content-Length

    // What the response turned out to be, once its head has arrived.
    QByteArray serverValidator;
    qint64 announcedLength = -1;
    bool overHttp2 = false;
    qint64 bodyOffset = 0;       // bytes of the file before the body: the staged part kept
    bool keepsStagedWhole = false;

    // Why a callback stopped the transfer; empty while none did.
    QString stopText;
    HttpDownloadFile::Problem stopKind = HttpDownloadFile::Problem::None;
    bool stopTransient = false;

private:
    using Problem = HttpDownloadFile::Problem;

    bool onHeadEnd();
    bool refusesRedirect();
    bool takeHead();
    bool startBody();
    size_t takeBody(const char *data, size_t bytes);
    void stop(const QString &errorText, Problem kind, bool transient = false);
    bool asksForRange() const;
    bool proxyAsks() const;

    const CurlRequest &request;
    HttpSession &session;
    HttpSession::Transfer &transfer;
    const Asked asked;
    FileWriter *writer = nullptr;
    bool headNews = false;       // taken, not yet told
    bool paused = false;
    bool writesBody = true;
};

#endif // ARRIVINGANSWER_H
