// Whole updates over an emulated wide-area line against curl over the same
// line, in the same run: many small files and one large file, over HTTP/1.1
// (plain http) and over HTTP/2 (https with TLS 1.3, HTTP/2 offered).
//
//   bench_line [--files 2000] [--large-mib 64] [--runs 1] [--delay-ms 25] [--rate-mbit 100]
//              [--keepalive-requests N]
//
// The line is this program run again with --line: a forwarder in a process
// of its own between the clients and nginx on loopback, which delivers every
// chunk --delay-ms later in each direction and sends the downstream of all
// connections together at --rate-mbit (DelayedLine). For each protocol and
// each of --runs runs, taking turns: the updater installing --files files of
// 10 KiB (an UpdateWindow in this process on the offscreen platform, its
// "update" button clicked), curl fetching them one after another in one
// process, curl six at a time, over HTTP/2 also curl with 100 streams at a
// time, curl fetching one file of the same bytes, then the updater and curl
// on one file of --large-mib MiB. Every copy is checked. nginx logs each
// request's protocol and connection, so each row says how the client
// fetched; with --keepalive-requests it ends each connection after N
// requests, as some servers and CDNs do. Each row also gives the CPU time of
// its client: this process's for the updater, curl's for curl.
//
//   bench_line --line SERVER-PORT DELAY-MS BITS-PER-SECOND [LISTEN-PORT]
//
// The line alone: prints the port it listens on (LISTEN-PORT, for a client
// whose server's port is built in, or a free one), forwards to SERVER-PORT
// until its standard input ends, then prints how late its deliveries were.

#include "benchsetup.h"
#include "delayedline.h"
#include "generatedrelease.h"
#include "loopbacknginx.h"
#include "stylesheet.h"
#include "windowupdate.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QUrl>

#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

namespace {

constexpr qint64 kibibyte = 1024;

int runLine(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The clients and nginx share the machine's cores; the line's timers go
    // first, in real time where allowed. It sleeps nearly all the time.
    sched_param realtime{};
    realtime.sched_priority = 1;
    if (sched_setscheduler(0, SCHED_FIFO, &realtime) != 0)
        setpriority(PRIO_PROCESS, 0, -10);
    DelayedLine line(quint16(atoi(argv[2])), atoi(argv[3]), atof(argv[4]));
    const quint16 port = line.listen(argc == 6 ? quint16(atoi(argv[5])) : 0);
    std::printf("%u\n", port);
    std::fflush(stdout);
    if (port == 0)
        return 1;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&app, &input] {
        char ignored[64];
        if (read(STDIN_FILENO, ignored, sizeof ignored) <= 0) {
            input.setEnabled(false);
            app.quit();
        }
    });
    app.exec();
    std::printf("%s\n", qPrintable(line.lateness()));
    return 0;
}

// The line in a process of its own: this program run again with --line.
class LineProcess
{
public:
    LineProcess(quint16 serverPort, int delayMsecs, double bitsPerSecond)
    {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QCoreApplication::applicationFilePath(),
                      {QStringLiteral("--line"), QString::number(serverPort),
                       QString::number(delayMsecs), QString::number(bitsPerSecond, 'f', 0)});
    }

    ~LineProcess()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

    // The port the line listens on; 0 when it did not start.
    quint16 waitForPort()
    {
        while (!process.canReadLine() && process.waitForReadyRead(10000)) {
        }
        return quint16(process.readLine().trimmed().toUInt());
    }

    // Ends the line; how late its deliveries were.
    QString finish()
    {
        process.closeWriteChannel();
        process.waitForFinished(10000);
        return QString::fromLocal8Bit(process.readAllStandardOutput().trimmed());
    }

private:
    QProcess process;
};

struct Protocol
{
    const char *label;
    QString scheme;
    quint16 serverPort = 0;
    QStringList curlOptions;
};

struct Row
{
    QString client;
    QVector<double> seconds;
    QVector<double> cpuSeconds;   // user and system, this process's and its reaped children's
    QString requests;   // how the last run fetched, from nginx's log
    QVector<double> peakMiB;      // the updater's anonymous memory at its highest
    bool failed = false;
};

// The CPU time, user and system, of this process and of its children that
// ended: the updater runs here, curl as a child.
double cpuSecondsSoFar()
{
    double seconds = 0;
    for (const int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        seconds += usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
            + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    return seconds;
}

// The clients whose rows the targets compare.
const QString updaterSmall = QStringLiteral("updater, many small files");
const QString curlSix = QStringLiteral("curl --parallel --parallel-max 6");
const QString curlHundred = QStringLiteral("curl --parallel --parallel-max 100");
const QString curlArchive = QStringLiteral("curl, one archive");
const QString updaterLarge = QStringLiteral("updater, one large file");
const QString curlLarge = QStringLiteral("curl, one large file");

// What a curl run printed with --write-out, and whether it succeeded.
struct CurlRun
{
    double seconds = -1;
    QList<QByteArray> written;
};

// The served files, the clients' folders and the runs over one line.
class LineBench
{
public:
    LineBench(const QString &workDir, int files, int largeMiB, int keepaliveRequests)
        : workDir(workDir), servedRoot(workDir + QStringLiteral("/www")),
          small("small", files, 10 * kibibyte), large("large", 1, largeMiB * mebibyte),
          nginx(workDir, servedRoot, LoopbackNginx::Tls::AlsoHttp2, LoopbackNginx::Log::Requests,
                keepaliveRequests)
    {
    }

    bool start()
    {
        return QDir().mkpath(servedRoot) && small.publish(servedDir()) && large.publish(servedDir())
            && writeGeneratedFile(archivePath(), small.bytes(), 0xA2C4)
            && nginx.waitUntilServing() && trustAuthority(nginx.authorityCertificate());
    }

    Protocol http1() const
    {
        return {"HTTP/1.1 (http)", QStringLiteral("http"), quint16(QUrl(nginx.url({})).port()),
                {QStringLiteral("--http1.1")}};
    }

    Protocol http2() const
    {
        return {"HTTP/2 (https)", QStringLiteral("https"), quint16(QUrl(nginx.secureUrl({})).port()),
                {QStringLiteral("--http2"), QStringLiteral("--cacert"), nginx.authorityCertificate()}};
    }

    QString smallLabel() const { return small.label; }
    QString largeLabel() const { return large.label; }
    double archiveMiB() const { return small.bytes() / double(mebibyte); }

    // The rows of \a runs runs over a line at \a lineUrl (scheme, host and
    // port). A client that failed is marked and the others still run: curl
    // itself fails now and then where nginx ends connections often.
    std::vector<Row> measure(const Protocol &protocol, const QString &lineUrl, int runs)
    {
        const QString versionUrl = lineUrl + GeneratedRelease::versionPath;
        const QString smallList = workDir + QStringLiteral("/small.conf");
        if (!writeFile(smallList, small.curlConfig(versionUrl, curlDir())))
            return {};
        const QStringList curlList = protocol.curlOptions
            + QStringList{QStringLiteral("--create-dirs"), QStringLiteral("--config"), smallList};
        const auto parallel = [](int transfers) {
            return QStringList{QStringLiteral("--parallel"), QStringLiteral("--parallel-max"),
                               QString::number(transfers)};
        };
        const QString largeUrl = versionUrl + large.path(0);
        std::vector<std::pair<QString, std::function<double()>>> steps{
            {updaterSmall, [&] { return update(small, lineUrl); }},
            {QStringLiteral("curl, one after another"), [&] { return fetchRelease(curlList); }},
            {curlSix, [&] { return fetchRelease(curlList + parallel(6)); }},
        };
        // Over HTTP/1.1 100 at a time would mean 100 connections, which no client opens.
        if (protocol.scheme == QLatin1String("https"))
            steps.emplace_back(curlHundred, [&] { return fetchRelease(curlList + parallel(100)); });
        steps.insert(steps.end(), {
            {curlArchive, [&] { return fetchOne(protocol, lineUrl + archiveName, archivePath()); }},
            {updaterLarge, [&] { return update(large, lineUrl); }},
            {curlLarge, [&] { return fetchOne(protocol, largeUrl, servedDir() + large.path(0)); }},
        });
        std::vector<Row> rows(steps.size());
        for (int run = 0; run < runs; ++run) {
            for (std::size_t i = 0; i < steps.size(); ++i) {
                const double cpuBefore = cpuSecondsSoFar();
                AnonymousMemoryPeak peak;
                const double seconds = steps[i].second();
                const double peakMiB = peak.finish() / 1024.0;
                const double cpuSeconds = cpuSecondsSoFar() - cpuBefore;
                Row &row = rows[i];
                row.client = steps[i].first;
                row.requests = takeRequestSummary();
                if (seconds < 0) {
                    fail(row.client + QStringLiteral(" failed"));
                    row.failed = true;
                    continue;
                }
                row.seconds.append(seconds);
                row.cpuSeconds.append(cpuSeconds);
                row.peakMiB.append(peakMiB);
            }
        }
        return rows;
    }

    // What curl saw of the line on its last single fetch: the time to the
    // first byte and the rate after it.
    QString lineCheck(const QString &scheme) const
    {
        if (lastSingle.written.size() != 3)
            return QStringLiteral("curl wrote no timings");
        const double firstByte = lastSingle.written.at(0).toDouble();
        const double total = lastSingle.written.at(1).toDouble();
        const double bytes = lastSingle.written.at(2).toDouble();
        // The forwarder's kernel completes the TCP handshake at once and the line
        // holds the first bytes back by the round trip instead: a new connection
        // answers after 2 round trips over http, 3 with TLS 1.3.
        const int roundTrips = scheme == QLatin1String("https") ? 3 : 2;
        return QStringLiteral("curl, last single file: first byte after %1 ms (%2 round trips on a "
                              "new connection), then %3 Mbit/s")
            .arg(firstByte * 1000, 0, 'f', 1).arg(roundTrips)
            .arg(bytes * 8 / (total - firstByte) / 1e6, 0, 'f', 1);
    }

private:
    static inline const QString archiveName = QStringLiteral("archive.bin");

    QString servedDir() const { return servedRoot + QLatin1Char('/') + GeneratedRelease::versionPath; }
    QString archivePath() const { return servedRoot + QLatin1Char('/') + archiveName; }
    QString curlDir() const { return workDir + QStringLiteral("/curl/"); }

    double update(const GeneratedRelease &release, const QString &lineUrl)
    {
        return updateThroughWindow(release, workDir + QStringLiteral("/app-") + release.key,
                                   lineUrl + GeneratedRelease::releasePath, servedDir());
    }

    double fetchRelease(const QStringList &arguments)
    {
        if (!QDir(curlDir()).removeRecursively() || !syncDisks())
            return fail(QStringLiteral("cannot empty curl's folder"));
        const CurlRun run = runCurl(arguments);
        if (run.seconds < 0)
            return -1;
        const QString wrong = small.wrongFile(curlDir(), servedDir());
        return wrong.isEmpty() ? run.seconds : fail(QStringLiteral("curl: ") + wrong);
    }

    double fetchOne(const Protocol &protocol, const QString &url, const QString &served)
    {
        const QString target = workDir + QStringLiteral("/single.bin");
        if ((QFile::exists(target) && !QFile::remove(target)) || !syncDisks())
            return fail(QStringLiteral("cannot remove curl's last file"));
        lastSingle = runCurl(protocol.curlOptions
                             + QStringList{QStringLiteral("--write-out"),
                                           QStringLiteral("%{time_starttransfer} %{time_total} "
                                                          "%{size_download}"),
                                           QStringLiteral("-o"), target, url});
        if (lastSingle.seconds < 0)
            return -1;
        return sha1Of(target) == sha1Of(served) ? lastSingle.seconds
                                                 : fail(url + QStringLiteral(" came with other bytes"));
    }

    static CurlRun runCurl(const QStringList &arguments)
    {
        QProcess curl;
        curl.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer timer;
        timer.start();
        // Not -s: curl 7.88 still draws its meter for --parallel with it.
        curl.start(QStringLiteral("curl"),
                   QStringList{QStringLiteral("--no-progress-meter"), QStringLiteral("--fail")}
                       + arguments);
        const bool ended = curl.waitForFinished(-1);
        const double seconds = timer.nsecsElapsed() / 1e9;
        if (!ended || curl.exitStatus() != QProcess::NormalExit || curl.exitCode() != 0) {
            fail(QStringLiteral("curl exited with %1").arg(curl.exitCode()));
            return {};
        }
        return {seconds, curl.readAllStandardOutput().split(' ')};
    }

    // What nginx logged since the last call: the requests by protocol, the
    // connections that carried them and how many failed.
    QString takeRequestSummary()
    {
        QFile log(nginx.requestLog());
        if (!log.open(QIODevice::ReadOnly) || !log.seek(logOffset))
            return QStringLiteral("no request log");
        QSet<QByteArray> connections;
        QMap<QByteArray, int> protocols;
        int failed = 0;
        for (QByteArray line = log.readLine(); !line.isEmpty(); line = log.readLine()) {
            const QList<QByteArray> fields = line.trimmed().split(' ');
            if (fields.size() != 3)
                continue;
            connections.insert(fields.at(0));
            ++protocols[fields.at(1)];
            failed += fields.at(2) != "200";
        }
        logOffset = log.pos();
        QStringList summary;
        for (auto each = protocols.cbegin(); each != protocols.cend(); ++each)
            summary.append(QStringLiteral("%1 x %2").arg(each.value()).arg(QLatin1String(each.key())));
        return QStringLiteral("%1 on %2 connection%3%4")
            .arg(summary.join(QStringLiteral(", "))).arg(connections.size())
            .arg(connections.size() == 1 ? "" : "s")
            .arg(failed ? QStringLiteral(", %1 not 200").arg(failed) : QString());
    }

    static double fail(const QString &reason)
    {
        std::fprintf(stderr, "%s\n", qPrintable(reason));
        return -1;
    }

    const QString workDir;
    const QString servedRoot;
    const GeneratedRelease small;
    const GeneratedRelease large;
    LoopbackNginx nginx;
    qint64 logOffset = 0;
    CurlRun lastSingle;
};

QString spread(const QVector<double> &seconds)
{
    if (seconds.isEmpty())
        return QStringLiteral("failed");
    const auto [least, most] = std::minmax_element(seconds.begin(), seconds.end());
    if (seconds.size() == 1)
        return QString::number(seconds.first(), 'f', 2);
    return QStringLiteral("%1 (%2-%3)").arg(median(seconds), 0, 'f', 2).arg(*least, 0, 'f', 2)
        .arg(*most, 0, 'f', 2);
}

const Row &rowOf(const std::vector<Row> &rows, const QString &client)
{
    return *std::find_if(rows.begin(), rows.end(),
                         [&client](const Row &row) { return row.client == client; });
}

void printTarget(const QString &what, const Row &updater, const Row &peer, double limit)
{
    if (updater.failed || peer.failed) {
        std::printf("target updater within %.3gx of %s: not measured, a client failed\n", limit,
                    qPrintable(what));
        return;
    }
    const double ratio = median(updater.seconds) / median(peer.seconds);
    std::printf("target updater within %.3gx of %s: %.2fx, %s\n", limit, qPrintable(what), ratio,
                ratio <= limit ? "met" : "MISSED");
}

void printCpu(const QString &what, const Row &updater, const Row &peer)
{
    if (updater.failed || peer.failed)
        return;
    std::printf("CPU: updater %.2f s, %s %.2f s, %.2fx; the updater's peak anonymous memory %.1f MiB\n",
                median(updater.cpuSeconds), qPrintable(what), median(peer.cpuSeconds),
                median(updater.cpuSeconds) / median(peer.cpuSeconds), median(updater.peakMiB));
}

// The rows of \a protocol and its targets; false when a client failed.
bool report(LineBench &bench, const Protocol &protocol, int delayMsecs, double mbit, int runs,
            const QString &keepalive)
{
    LineProcess line(protocol.serverPort, delayMsecs, mbit * 1e6);
    const quint16 linePort = line.waitForPort();
    if (linePort == 0) {
        std::fprintf(stderr, "the line did not start\n");
        return false;
    }
    const std::vector<Row> rows = bench.measure(
        protocol, QStringLiteral("%1://127.0.0.1:%2/").arg(protocol.scheme).arg(linePort), runs);
    const QString lateness = line.finish();
    if (rows.empty())
        return false;
    std::printf("\n%s over the line, nginx %s, %d run%s; seconds%s\n", protocol.label,
                qPrintable(keepalive), runs, runs == 1 ? "" : "s",
                runs == 1 ? "" : ", median (min-max)");
    std::printf("small files: %s; one archive: %.1f MiB; one large file: %s\n",
                qPrintable(bench.smallLabel()), bench.archiveMiB(), qPrintable(bench.largeLabel()));
    std::printf("%-36s %-20s %-8s %s\n", "client", "seconds", "CPU s", "requests nginx served");
    for (const Row &row : rows)
        std::printf("%-36s %-20s %-8s %s\n", qPrintable(row.client),
                    qPrintable(spread(row.seconds)),
                    qPrintable(row.failed ? QStringLiteral("-")
                                          : QString::number(median(row.cpuSeconds), 'f', 2)),
                    qPrintable(row.requests));
    const Row &updater = rowOf(rows, updaterSmall);
    if (protocol.scheme == QLatin1String("http")) {
        printTarget(curlSix, updater, rowOf(rows, curlSix), 1.1);
        printCpu(curlSix, updater, rowOf(rows, curlSix));
    } else {
        printTarget(curlHundred, updater, rowOf(rows, curlHundred), 1.2);
        printTarget(curlArchive, updater, rowOf(rows, curlArchive), 1.5);
        printCpu(curlHundred, updater, rowOf(rows, curlHundred));
    }
    printTarget(curlLarge, rowOf(rows, updaterLarge), rowOf(rows, curlLarge), 1.15);
    printCpu(curlLarge, rowOf(rows, updaterLarge), rowOf(rows, curlLarge));
    std::printf("line check: %s\nline: %s\n", qPrintable(bench.lineCheck(protocol.scheme)),
                qPrintable(lateness));
    std::fflush(stdout);
    return std::none_of(rows.begin(), rows.end(), [](const Row &row) { return row.failed; });
}

} // namespace

int main(int argc, char **argv)
{
    if ((argc == 5 || argc == 6) && qstrcmp(argv[1], "--line") == 0)
        return runLine(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A desktop session has a runtime directory; without one Qt warns at start.
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const auto addNumber = [&parser](const char *name, const char *description, const char *value) {
        parser.addOption({QString::fromLatin1(name), QString::fromLatin1(description),
                          QStringLiteral("number"), QString::fromLatin1(value)});
    };
    addNumber("files", "Files of 10 KiB in the release of small files.", "2000");
    addNumber("large-mib", "Size of the one large file, in MiB.", "64");
    addNumber("runs", "Runs of every client over each protocol.", "1");
    addNumber("delay-ms", "Delay of the line in each direction, in ms.", "25");
    addNumber("rate-mbit", "Rate of the line's shared downstream, in Mbit/s.", "100");
    addNumber("keepalive-requests",
              "Requests after which nginx ends a connection; 0 for its default (1,000).", "0");
    parser.process(app);
    const auto number = [&parser](const char *name) {
        return std::max(1, parser.value(QString::fromLatin1(name)).toInt());
    };
    const int runs = number("runs");
    const int delayMsecs = number("delay-ms");
    const double mbit = number("rate-mbit");

    QFile styleFile(QStringLiteral(":/qss/style.qss"));
    app.setStyleSheet(readStyleSheet(styleFile));
    QTemporaryDir work;
    const int keepaliveRequests = parser.value(QStringLiteral("keepalive-requests")).toInt();
    const QString keepalive = keepaliveRequests > 0
        ? QStringLiteral("ending each connection after %1 requests").arg(keepaliveRequests)
        : QStringLiteral("with its defaults");
    LineBench bench(work.path(), number("files"), number("large-mib"), keepaliveRequests);
    if (!work.isValid() || !bench.start()) {
        std::fprintf(stderr, "cannot lay out the files or start nginx\n");
        return 1;
    }
    std::printf("line: %d ms each way (%d ms round trip), downstream %.0f Mbit/s shared by all "
                "connections; nginx on loopback behind it\n", delayMsecs, 2 * delayMsecs, mbit);
    bool allRan = true;
    for (const Protocol &protocol : {bench.http1(), bench.http2()})
        allRan = report(bench, protocol, delayMsecs, mbit, runs, keepalive) && allRan;
    return allRan ? 0 : 1;
}
