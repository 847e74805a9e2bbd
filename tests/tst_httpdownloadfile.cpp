#include "filewriter.h"
#include "httpanswer.h"
#include "httpdownloadfile.h"
#include "scriptedhttpserver.h"
#include "sha256.h"
#include "testcertificates.h"
#include "testfiles.h"
#include "testwaits.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSemaphore>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

#include <limits>
#include <memory>
#include <utility>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

const QByteArray dataPath = "/files/data.bin";
const QByteArray lastModified = "Tue, 08 Dec 2026 10:00:00 GMT";
// Paths and what the server answers for each.
using Script = QList<QPair<QByteArray, ScriptedResponse>>;
constexpr uint64_t unknownTotal = std::numeric_limits<uint64_t>::max();

QByteArray patternBody(int size)
{
    QByteArray body(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        body[i] = char('a' + i % 23);
    return body;
}

#ifdef Q_OS_LINUX
bool isOpenInThisProcess(const QString &path)
{
    const QString wanted = QFileInfo(path).absoluteFilePath();
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    const auto entries =
        descriptors.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (QFileInfo(descriptors.filePath(entry)).symLinkTarget() == wanted)
            return true;
    }
    return false;
}
#endif

// One downloader in a session of its own, with a record of everything it
// reports: each error and the end, in order, with the flag as it stood at
// that moment, and every progress report.
class Transfer
{
public:
    Transfer(const QString &fileName, const QString &url, const QString &saveDir)
        : session(new HttpSession)
        , downloader(new HttpDownloadFile(fileName, url, saveDir, session.get(), nullptr))
        , progress(downloader.get(), &HttpDownloadFile::downloadProgress)
    {
        HttpDownloadFile *watched = downloader.get();
        QObject::connect(watched, &HttpDownloadFile::error, [this, watched](const QString &text) {
            events << QStringLiteral("error \"%1\" while %2").arg(text, state(watched));
        });
        QObject::connect(watched, &HttpDownloadFile::downloadFinished, [this, watched] {
            events << QStringLiteral("finished while %1").arg(state(watched));
        });
        QObject::connect(watched, &HttpDownloadFile::downloadProgress, [this] {
            if (!events.isEmpty() && events.last().startsWith(QLatin1String("finished")))
                events << QStringLiteral("progress after the end");
        });
    }

    static QString state(const HttpDownloadFile *watched)
    {
        return watched->downloading ? QStringLiteral("downloading") : QStringLiteral("idle");
    }

    uint64_t reportedReceived(int report) const
    {
        return progress.at(report).at(0).value<uint64_t>();
    }

    uint64_t reportedTotal(int report) const
    {
        return progress.at(report).at(1).value<uint64_t>();
    }

    std::unique_ptr<HttpSession> session;
    QStringList events;
    std::unique_ptr<HttpDownloadFile> downloader;
    QSignalSpy progress;
};

const QString endEvent = QStringLiteral("finished while idle");

QString errorEvent(const QString &text)
{
    return QStringLiteral("error \"%1\" while downloading").arg(text);
}

QString cannotWrite(const QString &target)
{
    return QStringLiteral("can not write file ") + target;
}

// Restores the working directory however the test leaves.
class WorkingDirectoryGuard
{
public:
    explicit WorkingDirectoryGuard(const QString &path) { QDir::setCurrent(path); }
    ~WorkingDirectoryGuard() { QDir::setCurrent(saved); }

private:
    const QString saved = QDir::currentPath();
};

// nginx over TLS and HTTP/2 on a free loopback port, serving a folder of its
// own; it ends each connection after \a requestsPerConnection requests with a
// GOAWAY, and logs each request's connection number.
class LoopbackNginx
{
public:
    explicit LoopbackNginx(int requestsPerConnection)
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        port = probe.serverPort();
        probe.close();
        // nginx's workers run as another user; they must reach the files.
        QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ReadOther | QFile::ExeOther);
        QDir(dir.path()).mkdir(QStringLiteral("files"));
        const QByteArray folder = dir.path().toUtf8();
        writeFile(dir.filePath("nginx.conf"),
                  "worker_processes 1;\npid " + folder + "/nginx.pid;\nerror_log " + folder + "/error.log;\n"
                  "events { worker_connections 1024; }\nhttp {\n"
                  "    log_format connections '$connection $request';\n"
                  "    access_log " + folder + "/access.log connections;\n"
                  "    client_body_temp_path " + folder + "/body;\n    proxy_temp_path " + folder + "/proxy;\n"
                  "    fastcgi_temp_path " + folder + "/fastcgi;\n    uwsgi_temp_path " + folder + "/uwsgi;\n"
                  "    scgi_temp_path " + folder + "/scgi;\n"
                  "    server {\n        listen 127.0.0.1:" + QByteArray::number(port) + " ssl http2;\n"
                  "        ssl_certificate " + testCertificate("localhost").toUtf8() + ";\n"
                  "        ssl_certificate_key " + testKey("localhost").toUtf8() + ";\n"
                  "        keepalive_requests " + QByteArray::number(requestsPerConnection) + ";\n"
                  "        root " + folder + "/files;\n    }\n}\n");
    }
    ~LoopbackNginx()
    {
        process.terminate();
        process.waitForFinished();
    }

    static bool installed() { return !QStandardPaths::findExecutable("nginx", {"/usr/sbin", "/usr/bin"}).isEmpty(); }
    bool start()
    {
        process.start(QStandardPaths::findExecutable("nginx", {"/usr/sbin", "/usr/bin"}),
                      {"-c", dir.filePath("nginx.conf"), "-p", dir.path() + "/", "-e", dir.filePath("error.log"),
                       "-g", "daemon off;"});
        return process.waitForStarted() && QTest::qWaitFor([this] {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, port);
            return probe.waitForConnected(100);
        }, awaitCeilingMsecs);
    }
    QString url(const QString &name) const { return QStringLiteral("https://localhost:%1/%2").arg(port).arg(name); }
    QString filePath(const QString &name) const { return dir.filePath("files/" + name); }
    QString errors() const { return QString::fromUtf8(contentOf(dir.filePath("error.log"))); }
    /// How many connections the logged requests came on.
    int connectionsUsed() const
    {
        QSet<QByteArray> connections;
        for (const QByteArray &line : contentOf(dir.filePath("access.log")).split('\n')) {
            if (!line.isEmpty())
                connections.insert(line.left(line.indexOf(' ')));
        }
        return connections.size();
    }

private:
    QTemporaryDir dir;
    quint16 port = 0;
    QProcess process;
};

// Holds every thread of Qt's pool, as a disk that takes its time would hold
// the writes, until release().
class BusyPool
{
public:
    BusyPool()
    {
        for (int i = 0; i < threads; ++i)
            QThreadPool::globalInstance()->start([gate = gate, started = started] {
                started->release();
                gate->acquire();
            });
        started->acquire(threads);
    }
    ~BusyPool() { release(); }
    void release() { gate->release(threads - std::exchange(released, threads)); }

private:
    const int threads = QThreadPool::globalInstance()->maxThreadCount();
    int released = 0;
    std::shared_ptr<QSemaphore> gate = std::make_shared<QSemaphore>();
    std::shared_ptr<QSemaphore> started = std::make_shared<QSemaphore>();
};

ScriptedResponse redirectTo(int status, const QByteArray &location)
{
    return ScriptedResponse::withStatus(status, "Moved", "see elsewhere").withHeader("Location", location);
}

} // namespace

Q_DECLARE_METATYPE(Script)
Q_DECLARE_METATYPE(ScriptedHttpServer *)

class tst_HttpDownloadFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void completeBody_data();
    void completeBody();
    void failedTransfer_data();
    void failedTransfer();
    void redirects_data();
    void redirects();
    void contentRange_data();
    void contentRange();
    void validator_data();
    void validator();
    void secureRedirects_data();
    void secureRedirects();
    void unopenableTarget_data();
    void unopenableTarget();
    void targetPath_data();
    void targetPath();
    void emptySaveDirUsesWorkingDirectory();
    void writeErrorAbortsTransfer();
    void restartIgnored();
    void destruction_data();
    void destruction();
    void serverEndsConnections_data();
    void serverEndsConnections();
    void writerKeepsToItsLimit();
    void slowDisk_data();
    void slowDisk();

private:
    ScriptedHttpServer server;
    ScriptedHttpServer secureServer;
    ScriptedHttpServer otherSecureServer;
};

void tst_HttpDownloadFile::initTestCase()
{
    qRegisterMetaType<uint64_t>("uint64_t");
    QVERIFY2(server.listen(), "the scripted server cannot listen on the loopback address");
    QVERIFY2(trustTestAuthority(), "the test authority's certificate is missing");
    for (ScriptedHttpServer *tlsServer : {&secureServer, &otherSecureServer}) {
        QVERIFY2(tlsServer->listenTls(testCertificate("localhost"), testKey("localhost")),
                 "a TLS server cannot listen on the loopback address");
    }
}

void tst_HttpDownloadFile::completeBody_data()
{
    QTest::addColumn<ScriptedResponse>("response");
    QTest::addColumn<QByteArray>("expectedContent");
    QTest::addColumn<uint64_t>("expectedTotal");

    const QByteArray body = patternBody(64 * 1024);
    QTest::newRow("body in one write") << ScriptedResponse::ok(body) << body << uint64_t(body.size());
    QTest::newRow("body in several pieces")
        << ScriptedResponse::ok(body).inPieces(4096, 10) << body << uint64_t(body.size());
    // 4 s in all, longer than the stall limit, each gap 30 times shorter than it.
    QTest::newRow("slow pieces, each within the stall limit")
        << ScriptedResponse::ok(body.left(4000)).inPieces(100, 100) << body.left(4000)
        << uint64_t(4000);
    QTest::newRow("empty body") << ScriptedResponse::ok({}) << QByteArray() << uint64_t(0);
    const QByteArray large = patternBody(5 * 1024 * 1024);
    QTest::newRow("body larger than the reply's read buffer")
        << ScriptedResponse::ok(large) << large << uint64_t(large.size());
    QTest::newRow("chunked body")
        << ScriptedResponse::ok(body).framedBy(ScriptedResponse::Framing::Chunked).inPieces(5000, 10)
        << body << unknownTotal;
    QTest::newRow("length-less body ended by closing")
        << ScriptedResponse::ok(body)
               .framedBy(ScriptedResponse::Framing::CloseDelimited)
               .inPieces(5000, 10)
        << body << unknownTotal;
    // Decoding it would drop its length, and with it the check for a cut-off body.
    const QByteArray deflated = qCompress(body).mid(4);
    QTest::newRow("deflate-encoded body, saved as sent")
        << ScriptedResponse::ok(deflated).withHeader("Content-Encoding", "deflate") << deflated
        << uint64_t(deflated.size());
}

void tst_HttpDownloadFile::completeBody()
{
    QFETCH(ScriptedResponse, response);
    QFETCH(QByteArray, expectedContent);
    QFETCH(uint64_t, expectedTotal);
    QTemporaryDir dir;
    server.setResponse(dataPath, response);
    const int requestsBefore = server.requestLines().size();

    Transfer transfer(QStringLiteral("data.bin"), server.url(dataPath), dir.path());
    // Far above any gap a busy machine makes in these answers.
    transfer.downloader->setStallTimeout(3000);
    transfer.downloader->startDownload();
    QTRY_VERIFY2(!transfer.downloader->downloading, "the transfer never ended");

    QCOMPARE(transfer.events, QStringList{endEvent});
    QVERIFY2(transfer.downloader->succeeded(), qPrintable(transfer.downloader->errorString()));
    QCOMPARE(contentOf(dir.filePath("data.bin")), expectedContent);
    QCOMPARE(server.requestLines().mid(requestsBefore),
             QList<QByteArray>{"GET " + dataPath + " HTTP/1.1"});
    // Qt closes an unknown total with one last report of the final count as total.
    const int last = transfer.progress.size() - 1;
    QVERIFY2(last >= (expectedTotal == unknownTotal ? 1 : 0), "too few progress reports");
    for (int report = 0; report < last; ++report) {
        QCOMPARE(transfer.reportedTotal(report), expectedTotal);
        QVERIFY2(transfer.reportedReceived(report + 1) >= transfer.reportedReceived(report),
                 "the received count went back");
    }
    QCOMPARE(transfer.reportedReceived(last), uint64_t(expectedContent.size()));
    QCOMPARE(transfer.reportedTotal(last), uint64_t(expectedContent.size()));
}

void tst_HttpDownloadFile::failedTransfer_data()
{
    QTest::addColumn<ScriptedResponse>("response");
    QTest::addColumn<QString>("expectedError");
    QTest::addColumn<QByteArray>("expectedContent");
    // The limit is long, so that no answer is cut on a busy machine, but
    // where the server goes silent for good: there the limit is what ends it.
    QTest::addColumn<int>("stallLimit");

    const int long_ = 30000;
    const QByteArray body = patternBody(2000);
    QTest::newRow("404 not found") << ScriptedResponse::withStatus(404, "Not Found", "no such file")
                                   << "Network error : 203" << QByteArray("no such file") << long_;
    QTest::newRow("500 internal server error")
        << ScriptedResponse::withStatus(500, "Internal Server Error", "broken")
        << "Network error : 401" << QByteArray("broken") << long_;
    // One with a Location would be followed.
    QTest::newRow("300 multiple choices, not followed")
        << ScriptedResponse::withStatus(300, "Multiple Choices", "choose")
        << "Server answered with HTTP status 300 Multiple Choices" << QByteArray("choose") << long_;
    QTest::newRow("body cut short of its length")
        << ScriptedResponse::ok(body).truncatedAfter(700) << "Network error : 2" << body.left(700) << long_;
    QTest::newRow("connection closed right after the head")
        << ScriptedResponse::ok(body).truncatedAfter(0) << "Network error : 2" << QByteArray() << long_;
    QTest::newRow("chunked body cut short")
        << ScriptedResponse::ok(body).framedBy(ScriptedResponse::Framing::Chunked).truncatedAfter(700)
        << "Network error : 2" << body.left(700) << long_;
    const QByteArray deflated = qCompress(body).mid(4);
    QTest::newRow("deflate-encoded body cut short")
        << ScriptedResponse::ok(deflated).withHeader("Content-Encoding", "deflate").truncatedAfter(20)
        << "Network error : 2" << deflated.left(20) << long_;
    QTest::newRow("stall in the body")
        << ScriptedResponse::ok(body).stalledAfter(700) << "No data received for 2 s" << body.left(700) << 2000;
    QTest::newRow("206 to a request without a range")
        << ScriptedResponse::withStatus(206, "Partial Content", body.mid(700))
               .withHeader("Content-Range", "bytes 700-1999/2000")
        << "The server sent another part of the file than was asked for" << QByteArray() << long_;
    QTest::newRow("no answer at all")
        << ScriptedResponse::silence() << "No data received for 1 s" << QByteArray() << 1000;
}

// Every failure ends like a success: the error first, while downloading, then the
// end. The existing target is gone from the start, whatever the transfer then brings.
void tst_HttpDownloadFile::failedTransfer()
{
    QFETCH(ScriptedResponse, response);
    QFETCH(QString, expectedError);
    QFETCH(QByteArray, expectedContent);
    QTemporaryDir dir;
    const QString target = dir.filePath("data.bin");
    QVERIFY(writeFile(target, "old content of the installed release"));
    server.setResponse(dataPath, response);

    QFETCH(int, stallLimit);

    Transfer transfer(QString(), server.url(dataPath), dir.path());
    transfer.downloader->setStallTimeout(stallLimit);
    transfer.downloader->startDownload();
    QCOMPARE(contentOf(target), QByteArray());
    QTRY_VERIFY2(!transfer.downloader->downloading, "the transfer never ended");

    QCOMPARE(transfer.events, (QStringList{errorEvent(expectedError), endEvent}));
    QVERIFY2(!transfer.downloader->succeeded(), "a failed transfer claims success");
    QCOMPARE(transfer.downloader->errorString(), expectedError);
    QCOMPARE(contentOf(target), expectedContent);
}

void tst_HttpDownloadFile::redirects_data()
{
    QTest::addColumn<Script>("script");
    QTest::addColumn<QString>("expectedError");
    QTest::addColumn<int>("expectedRequests");

    const ScriptedResponse file = ScriptedResponse::ok("the file").withHeader("ETag", "\"final\"");
    QTest::newRow("302 to an absolute address")
        << Script{{dataPath, redirectTo(302, server.url("/cdn/data.bin").toUtf8())}, {"/cdn/data.bin", file}}
        << QString() << 2;
    QTest::newRow("301 with a relative Location")
        << Script{{dataPath, redirectTo(301, "../cdn/data.bin")}, {"/cdn/data.bin", file}} << QString() << 2;
    Script fiveHops{{dataPath, redirectTo(303, "/hop1")}};
    for (int hop = 1; hop < 5; ++hop)
        fiveHops.append({"/hop" + QByteArray::number(hop), redirectTo(hop % 2 ? 307 : 308, "/hop" + QByteArray::number(hop + 1))});
    QTest::newRow("five redirects followed") << (Script(fiveHops) << qMakePair(QByteArray("/hop5"), file))
                                             << QString() << 6;
    QTest::newRow("a sixth redirect refused")
        << (Script(fiveHops) << qMakePair(QByteArray("/hop5"), redirectTo(302, "/hop6")) << qMakePair(QByteArray("/hop6"), file))
        << "the server redirected more than 5 times, last to " + server.url("/hop6") << 6;
    QTest::newRow("a redirect to a local file refused")
        << Script{{dataPath, redirectTo(302, "file:///etc/hostname")}}
        << "the server redirected to file:///etc/hostname, which is not a web address" << 1;
    QTest::newRow("a redirect to an address without a host refused")
        << Script{{dataPath, redirectTo(302, "http:///cdn/data.bin")}}
        << "the server redirected to http:///cdn/data.bin, which is not a web address" << 1;
    QTest::newRow("a redirect to a host name that is not UTF-8 refused")
        << Script{{dataPath, redirectTo(302, "https://mirror.br\xa5nvoth.com/core.dll")}}
        << QString::fromUtf8("the server redirected to https://mirror.br\xa5nvoth.com/core.dll, which is not a web address") << 1;
    QTest::newRow("a loop refused") << Script{{dataPath, redirectTo(302, dataPath)}}
                                    << "the server redirected more than 5 times, last to " + server.url(dataPath) << 6;
}

// The file is what the last address answers; a loop ends with no retry.
void tst_HttpDownloadFile::redirects()
{
    QFETCH(Script, script);
    QFETCH(QString, expectedError);
    QFETCH(int, expectedRequests);
    QTemporaryDir dir;
    for (const auto &step : script)
        server.setResponse(step.first, step.second);
    const int requestsBefore = server.requestLines().size();

    Transfer transfer(QString(), server.url(dataPath), dir.path());
    transfer.downloader->startDownload();
    QTRY_VERIFY2(!transfer.downloader->downloading, "the transfer never ended");

    QCOMPARE(transfer.downloader->errorString(), expectedError);
    QCOMPARE(server.requestLines().size() - requestsBefore, expectedRequests);
    if (!expectedError.isEmpty()) {
        QVERIFY2(!transfer.downloader->failureIsTransient(), "a redirect failure would be tried again");
        return;
    }
    QVERIFY(transfer.downloader->succeeded());
    QCOMPARE(contentOf(dir.filePath("data.bin")), QByteArray("the file"));
    QCOMPARE(transfer.downloader->validator(), QByteArray("\"final\""));
}

void tst_HttpDownloadFile::contentRange_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<qint64>("expectedFirst");   // -1: refused
    QTest::addColumn<qint64>("expectedLength");

    QTest::newRow("the rest of the file") << QByteArray("bytes 700-1999/2000") << qint64(700) << qint64(2000);
    QTest::newRow("blanks around the numbers") << QByteArray("bytes  700 - 1999 / 2000") << qint64(700) << qint64(2000);
    QTest::newRow("unknown length") << QByteArray("bytes 700-1999/*") << qint64(-1) << qint64(-1);
    QTest::newRow("last byte before the first") << QByteArray("bytes 700-3/2000") << qint64(-1) << qint64(-1);
    QTest::newRow("last byte beyond the length") << QByteArray("bytes 700-1999/1000") << qint64(-1) << qint64(-1);
    QTest::newRow("negative length") << QByteArray("bytes 700-1999/-7") << qint64(-1) << qint64(-1);
    QTest::newRow("last byte not a number") << QByteArray("bytes 3000-49\xff\xff" "99/5000") << qint64(-1) << qint64(-1);
    QTest::newRow("signed first byte") << QByteArray("bytes +700-1999/2000") << qint64(-1) << qint64(-1);
}

// A range the server made up must not decide where the body is written.
void tst_HttpDownloadFile::contentRange()
{
    QFETCH(QByteArray, header);
    QFETCH(qint64, expectedFirst);
    QFETCH(qint64, expectedLength);
    qint64 first = -1, length = -1;
    const bool read = HttpAnswer::parseContentRange(header, &first, &length);
    QCOMPARE(read, expectedFirst >= 0);
    if (read) {
        QCOMPARE(first, expectedFirst);
        QCOMPARE(length, expectedLength);
    }
}

void tst_HttpDownloadFile::validator_data()
{
    QTest::addColumn<QByteArray>("etag");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("strong ETag") << QByteArray("\"5f1c-7d0\"") << QByteArray("\"5f1c-7d0\"");
    QTest::newRow("weak ETag") << QByteArray("W/\"5f1c-7d0\"") << lastModified;
    QTest::newRow("no ETag") << QByteArray() << lastModified;
    QTest::newRow("a lone quote") << QByteArray("\"") << lastModified;
    QTest::newRow("ETag without its closing quote") << QByteArray("\"5f1c-7d0") << lastModified;
    QTest::newRow("two ETags in one") << QByteArray("\"a\", \"b\"") << lastModified;
}

// The validator goes back to the server in If-Range or If-None-Match.
void tst_HttpDownloadFile::validator()
{
    QFETCH(QByteArray, etag);
    QFETCH(QByteArray, expected);
    QCOMPARE(HttpAnswer::validator(etag, lastModified), expected);
}

void tst_HttpDownloadFile::secureRedirects_data()
{
    QTest::addColumn<ScriptedHttpServer *>("target");
    QTest::addColumn<QString>("expectedError");

    QTest::newRow("https to https on another port") << &otherSecureServer << QString();
    QTest::newRow("https to http refused")
        << &server << "the server redirected to " + server.url("/cdn/data.bin") + ", which is not a secure address";
}

void tst_HttpDownloadFile::secureRedirects()
{
    QFETCH(ScriptedHttpServer *, target);
    QFETCH(QString, expectedError);
    QTemporaryDir dir;
    secureServer.setResponse(dataPath, redirectTo(302, target->url("/cdn/data.bin").toUtf8()));
    target->setResponse("/cdn/data.bin", ScriptedResponse::ok("the file"));
    const int requestsBefore = target->requestLines().size();

    Transfer transfer(QString(), secureServer.url(dataPath), dir.path());
    transfer.downloader->startDownload();
    QTRY_VERIFY2(!transfer.downloader->downloading, "the transfer never ended");

    QCOMPARE(transfer.downloader->errorString(), expectedError);
    if (expectedError.isEmpty()) {
        QCOMPARE(contentOf(dir.filePath("data.bin")), QByteArray("the file"));
        return;
    }
    QCOMPARE(target->requestLines().size(), requestsBefore);
    QVERIFY2(!transfer.downloader->failureIsTransient(), "a refused redirect would be tried again");
}

void tst_HttpDownloadFile::unopenableTarget_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("urlPath");
    QTest::addColumn<QString>("saveDirBelowTemp");
    QTest::addColumn<QString>("targetBelowTemp");

    QTest::newRow("saveDir two levels below an existing directory")
        << "data.bin" << dataPath << "/missing/deeper" << "/missing/deeper/data.bin";
    QTest::newRow("empty file name, address ending in a slash")
        << QString() << QByteArray("/files/") << QString() << "/";
    QTest::newRow("a directory in the way") << "data.bin" << dataPath << QString() << "/data.bin";
}

void tst_HttpDownloadFile::unopenableTarget()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, urlPath);
    QFETCH(QString, saveDirBelowTemp);
    QFETCH(QString, targetBelowTemp);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("data.bin"));
    // Slow enough that the unread arrivals must keep the stall limit off (3.6 s
    // in all, each gap 40 times shorter than the limit), and larger than a
    // read buffer that nobody drains could hold.
    server.setResponse(urlPath,
                       ScriptedResponse::ok(patternBody(3 * 1024 * 1024)).inPieces(64 * 1024, 75));
    const int requestsBefore = server.requestLines().size();
    const QString target = dir.path() + targetBelowTemp;

    Transfer transfer(fileName, server.url(urlPath), dir.path() + saveDirBelowTemp);
    transfer.downloader->setStallTimeout(3000);
    transfer.downloader->startDownload();
    QCOMPARE(transfer.events, QStringList{errorEvent(cannotWrite(target))});
    QVERIFY(transfer.downloader->downloading);
    QTRY_VERIFY2(!transfer.downloader->downloading, "the transfer never ended");

    QCOMPARE(transfer.events, (QStringList{errorEvent(cannotWrite(target)), endEvent}));
    QVERIFY2(!transfer.downloader->succeeded(), "a transfer without a file claims success");
    QCOMPARE(server.requestLines().size(), requestsBefore + 1);
    QVERIFY2(!transfer.progress.isEmpty(), "no progress was reported");
    QVERIFY2(!QFileInfo::exists(dir.filePath("missing")), "a directory two levels deep was created");
}

void tst_HttpDownloadFile::targetPath_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("urlPath");
    QTest::addColumn<QString>("saveDirBelowTemp");
    QTest::addColumn<bool>("targetExists");
    QTest::addColumn<QString>("targetBelowTemp");

    QTest::newRow("given file name, not the address's")
        << "local.bin" << QByteArray("/v2/remote.bin") << QString() << false << "/local.bin";
    QTest::newRow("empty file name takes the address's last segment")
        << QString() << QByteArray("/v2/sub/remote.bin") << QString() << false << "/remote.bin";
    QTest::newRow("missing saveDir created, one level")
        << "local.bin" << QByteArray("/v2/remote.bin") << "/new" << false << "/new/local.bin";
    QTest::newRow("existing longer target replaced")
        << "local.bin" << QByteArray("/v2/remote.bin") << QString() << true << "/local.bin";
}

void tst_HttpDownloadFile::targetPath()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, urlPath);
    QFETCH(QString, saveDirBelowTemp);
    QFETCH(bool, targetExists);
    QFETCH(QString, targetBelowTemp);
    QTemporaryDir dir;
    const QString target = dir.path() + targetBelowTemp;
    if (targetExists)
        QVERIFY(writeFile(target, patternBody(5000)));
    const QByteArray body = "new release " + urlPath;
    server.setResponse(urlPath, ScriptedResponse::ok(body));

    Transfer transfer(fileName, server.url(urlPath), dir.path() + saveDirBelowTemp);
    transfer.downloader->startDownload();
    QTRY_VERIFY2(!transfer.downloader->downloading, "the transfer never ended");

    QVERIFY2(transfer.downloader->succeeded(), qPrintable(transfer.downloader->errorString()));
    QCOMPARE(contentOf(target), body);
}

void tst_HttpDownloadFile::emptySaveDirUsesWorkingDirectory()
{
    QTemporaryDir dir;
    const WorkingDirectoryGuard guard(dir.path());
    server.setResponse(dataPath, ScriptedResponse::ok("relative"));

    Transfer transfer(QStringLiteral("local.bin"), server.url(dataPath), QString());
    transfer.downloader->startDownload();
    QTRY_VERIFY2(!transfer.downloader->downloading, "the transfer never ended");

    QVERIFY2(transfer.downloader->succeeded(), qPrintable(transfer.downloader->errorString()));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{"local.bin"});
    QCOMPARE(contentOf(dir.filePath("local.bin")), QByteArray("relative"));
}

void tst_HttpDownloadFile::writeErrorAbortsTransfer()
{
#ifdef Q_OS_UNIX
    // A file size limit makes the writes fail the way a full disk does.
    QTemporaryDir dir;
    const QString target = dir.filePath("data.bin");
    server.setResponse(dataPath, ScriptedResponse::ok(patternBody(64 * 1024)).inPieces(4096, 50));
    rlimit saved {};
    QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);

    Transfer transfer(QString(), server.url(dataPath), dir.path());
    transfer.downloader->startDownload();
    const bool ended = QTest::qWaitFor([&] { return !transfer.downloader->downloading; }, awaitCeilingMsecs);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);

    QVERIFY2(ended, "the transfer never ended");
    QCOMPARE(transfer.events, (QStringList{errorEvent(cannotWrite(target)), endEvent}));
    QVERIFY2(!transfer.downloader->succeeded(), "a transfer with a failed write claims success");
    QTRY_COMPARE(server.openConnections(), 0);
    QVERIFY2(transfer.reportedReceived(transfer.progress.size() - 1) < 64 * 1024,
             "the whole body was fetched after the write failed");
#else
    QSKIP("needs a file size limit to make writes fail");
#endif
}

// One object, one download: neither a second start while it runs nor a start
// after its end issues a request or a signal.
void tst_HttpDownloadFile::restartIgnored()
{
    QTemporaryDir dir;
    server.setResponse(dataPath, ScriptedResponse::ok("once"));
    const int requestsBefore = server.requestLines().size();

    Transfer transfer(QString(), server.url(dataPath), dir.path());
    transfer.downloader->startDownload();
    transfer.downloader->startDownload();
    QVERIFY(transfer.events.isEmpty());
    QTRY_VERIFY2(!transfer.downloader->downloading, "the transfer never ended");
    transfer.downloader->startDownload();
    QVERIFY2(!transfer.downloader->downloading, "a finished downloader started again");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    transfer.downloader->startDownload();

    QCOMPARE(transfer.events, QStringList{endEvent});
    QVERIFY(transfer.downloader->succeeded());
    QCOMPARE(server.requestLines().size(), requestsBefore + 1);
    QCOMPARE(contentOf(dir.filePath("data.bin")), QByteArray("once"));
}

enum class Moment { BeforeStart, MidBody, MidBodyWithoutFile, RightAfterEnd, AfterDeferredDeletes };
Q_DECLARE_METATYPE(Moment)

void tst_HttpDownloadFile::destruction_data()
{
    QTest::addColumn<Moment>("moment");

    QTest::newRow("before the start") << Moment::BeforeStart;
    QTest::newRow("while the body arrives") << Moment::MidBody;
    QTest::newRow("while the body arrives, without a file") << Moment::MidBodyWithoutFile;
    QTest::newRow("right after the end") << Moment::RightAfterEnd;
    QTest::newRow("after the end's deferred deletes") << Moment::AfterDeferredDeletes;
}

void tst_HttpDownloadFile::destruction()
{
    QFETCH(Moment, moment);
    QTemporaryDir dir;
    const QString target = dir.filePath("data.bin");
    const bool midBody = moment == Moment::MidBody || moment == Moment::MidBodyWithoutFile;
    const QByteArray body = patternBody(2000);
    server.setResponse(dataPath, midBody ? ScriptedResponse::ok(body).stalledAfter(700)
                                         : ScriptedResponse::ok(body));
    if (moment == Moment::MidBodyWithoutFile)
        QVERIFY(QDir(dir.path()).mkdir("data.bin"));

    Transfer transfer(QString(), server.url(dataPath), dir.path());
    if (moment != Moment::BeforeStart)
        transfer.downloader->startDownload();
    if (moment == Moment::MidBody)
        QTRY_COMPARE(contentOf(target).size(), 700);
    if (moment == Moment::MidBodyWithoutFile) {
        // Without a file the arrived bytes are counted, not kept.
        QTRY_VERIFY2(!transfer.progress.isEmpty() && transfer.reportedReceived(transfer.progress.size() - 1) == 700,
                     "the first 700 bytes were not reported");
    }
    if (!midBody && moment != Moment::BeforeStart)
        QTRY_VERIFY2(!transfer.downloader->downloading, "the transfer never ended");
    if (moment == Moment::AfterDeferredDeletes)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QStringList eventsBefore = transfer.events;

    transfer.downloader.reset();

    QCOMPARE(transfer.events, eventsBefore);
    // A transfer cut short leaves no connection to use again.
    if (midBody)
        QTRY_COMPARE(server.openConnections(), 0);
    transfer.session.reset();
    QTRY_COMPARE(server.openConnections(), 0);
    if (moment == Moment::MidBody) {
        QCOMPARE(contentOf(target), body.left(700));
#ifdef Q_OS_LINUX
        QVERIFY2(!isOpenInThisProcess(target), "the file stayed open");
#endif
        QVERIFY2(QFile::remove(target), "the file cannot be removed");
    }
}

void tst_HttpDownloadFile::serverEndsConnections_data()
{
    QTest::addColumn<int>("requestsPerConnection");
    QTest::addColumn<int>("files");

    QTest::newRow("one request per connection") << 1 << 30;
    QTest::newRow("seven requests per connection") << 7 << 60;
    QTest::newRow("nginx's default of 1000 requests per connection") << 1000 << 1100;
}

// Many files over one session, as an installation fetches them: six at once
// until the server is seen to multiplex, then a hundred. Every GOAWAY leaves
// requests that the server did not take; each must still arrive, none
// waiting out the stall limit.
void tst_HttpDownloadFile::serverEndsConnections()
{
    QFETCH(int, requestsPerConnection);
    QFETCH(int, files);
    if (!LoopbackNginx::installed())
        SKIP_WHERE_MISSING("nginx is not installed");
    LoopbackNginx nginx(requestsPerConnection);
    for (int i = 0; i < files; ++i)
        QVERIFY(writeFile(nginx.filePath(QString::number(i)), patternBody(1000 + i)));
    QVERIFY2(nginx.start(), "nginx did not start");
    QTemporaryDir dir;
    HttpSession session;
    std::vector<std::unique_ptr<HttpDownloadFile>> downloads;
    int running = 0;
    bool multiplexed = false;
    int next = 0;
    QStringList failures;
    while (next < files || running > 0) {
        while (next < files && running < (multiplexed ? 100 : 6)) {
            const QString name = QString::number(next++);
            downloads.emplace_back(new HttpDownloadFile(name, nginx.url(name), dir.path(), &session, nullptr));
            HttpDownloadFile *download = downloads.back().get();
            QObject::connect(download, &HttpDownloadFile::downloadFinished, [&, download, name] {
                --running;
                multiplexed = multiplexed || download->usedHttp2();
                if (!download->succeeded())
                    failures << name + ": " + download->errorString();
            });
            ++running;
            download->startDownload();
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n') + nginx.errors()));
    QVERIFY2(multiplexed, "the files did not come over HTTP/2");
    for (int i = 0; i < files; ++i)
        QCOMPARE(contentOf(dir.filePath(QString::number(i))), patternBody(1000 + i));
    QVERIFY2(nginx.connectionsUsed() >= (files + requestsPerConnection - 1) / requestsPerConnection,
             "nginx did not end its connections");
}

// A writer that lags behind the line takes what fits in its limit, refuses
// more until it has caught up, and writes it all in order.
void tst_HttpDownloadFile::writerKeepsToItsLimit()
{
    QTemporaryDir dir;
    auto file = std::make_unique<QFile>(dir.filePath("data.bin"));
    QVERIFY(file->open(QIODevice::WriteOnly));
    const QByteArray body = patternBody(3000);
    Sha256 digest;
    digest.addData(body);
    FileWriter writer(std::move(file), {body.size(), digest.result()}, 1000);
    QSignalSpy resumable(&writer, &FileWriter::resumable);
    QSignalSpy finished(&writer, &FileWriter::finished);
    BusyPool pool;

    QVERIFY(writer.append(body.constData(), 600));
    QVERIFY(writer.append(body.constData() + 600, 400));
    QVERIFY2(!writer.append(body.constData() + 1000, 1), "more than the limit was taken while nothing was written");
    pool.release();
    QTRY_COMPARE(resumable.size(), 1);
    QVERIFY2(writer.append(body.constData() + 1000, 2000), "the writer refused what came once it had caught up");
    writer.finish(true);

    QTRY_COMPARE(finished.size(), 1);
    QCOMPARE(finished.first().at(0).value<FileWriter::Outcome>(), FileWriter::Outcome::Complete);
    QCOMPARE(contentOf(dir.filePath("data.bin")), body);
}

void tst_HttpDownloadFile::slowDisk_data()
{
    QTest::addColumn<bool>("http2");

    QTest::newRow("HTTP/1.1") << false;
    QTest::newRow("HTTP/2") << true;
}

// A file written more slowly than the line brings it: the transfer waits for
// the writes, holding no more than the limit meanwhile, and the wait is no
// stall. A second transfer, silent after its first bytes, shows when one
// would have been noticed: its limit is longer, its last byte later.
void tst_HttpDownloadFile::slowDisk()
{
    QFETCH(bool, http2);
    const QByteArray body = patternBody(24 * 1024 * 1024);
    std::unique_ptr<LoopbackNginx> nginx;
    QString url = server.url(dataPath);
    if (http2) {
        if (!LoopbackNginx::installed())
            SKIP_WHERE_MISSING("nginx is not installed");
        nginx.reset(new LoopbackNginx(1000));
        QVERIFY(writeFile(nginx->filePath("large.bin"), body));
        QVERIFY2(nginx->start(), "nginx did not start");
        url = nginx->url("large.bin");
    } else {
        server.setResponse(dataPath, ScriptedResponse::ok(body));
    }
    server.setResponse("/silent", ScriptedResponse::ok(patternBody(2000)).stalledAfter(700));
    QTemporaryDir dir;
    Transfer transfer(QStringLiteral("data.bin"), url, dir.path());
    Transfer control(QStringLiteral("control.bin"), server.url("/silent"), dir.path());
    transfer.downloader->setStallTimeout(1000);
    control.downloader->setStallTimeout(2000);
    BusyPool pool;

    transfer.downloader->startDownload();
    QTRY_VERIFY2(!transfer.progress.isEmpty()
                     && transfer.reportedReceived(transfer.progress.size() - 1) >= HttpDownloadFile::bufferLimit / 2,
                 "the body did not begin");
    control.downloader->startDownload();
    QTRY_COMPARE(control.downloader->problem(), HttpDownloadFile::Problem::Stalled);
    QVERIFY2(transfer.downloader->errorString().isEmpty(), qPrintable(transfer.downloader->errorString()));
    const uint64_t held = transfer.reportedReceived(transfer.progress.size() - 1);
    QVERIFY2(held <= uint64_t(HttpDownloadFile::bufferLimit),
             qPrintable(QStringLiteral("%1 bytes were taken while none could be written").arg(held)));
    pool.release();
    QTRY_VERIFY2(!transfer.downloader->downloading, "the transfer never ended");

    QVERIFY2(transfer.downloader->succeeded(), qPrintable(transfer.downloader->errorString()));
    QCOMPARE(transfer.downloader->usedHttp2(), http2);
    QVERIFY2(contentOf(dir.filePath("data.bin")) == body, "the file is not what the server sent");
}

QTEST_GUILESS_MAIN(tst_HttpDownloadFile)
#include "tst_httpdownloadfile.moc"
