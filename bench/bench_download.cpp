// Throughput and peak memory of HttpDownloadFile against curl, both fetching
// the same file from an nginx started on a free loopback port; then both
// again over https from the same nginx, each fetch followed by flushing the
// file to disk as the installation does before it commits, with the CPU
// time each client took and the peak memory after the updater's fetches.
//
//   bench_download [--size-mib 512] [--runs 3]
//
// Each client fetches the file --runs times; the best run counts, and the
// least CPU time of a run. A file of an eighth of the size is fetched first,
// so that the peak memory after it and after the full-size file show whether
// memory grows with the file.

#include "benchsetup.h"
#include "durablefiles.h"
#include "httpdownloadfile.h"
#include "loopbacknginx.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

#include <algorithm>
#include <functional>

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

// The process's peak resident memory in MiB.
double peakMemoryMiB()
{
    return procSelfCounter("status", "VmHWM:") / 1024.0;
}

using Fetch = std::function<bool(const QString &url, const QString &target)>;

// curl, given \a options.
Fetch curlWith(const QStringList &options)
{
    return [options](const QString &url, const QString &target) {
        QProcess curl;
        curl.start(QStringLiteral("curl"),
                   options + QStringList{QStringLiteral("-s"), QStringLiteral("-o"), target, url});
        return curl.waitForFinished(-1) && curl.exitStatus() == QProcess::NormalExit
            && curl.exitCode() == 0;
    };
}

// Waits the way a plain Qt caller does: in an event loop until the end signal.
bool fetchInEventLoop(const QString &url, const QString &target)
{
    const QFileInfo info(target);
    HttpSession session;
    HttpDownloadFile downloader(info.fileName(), url, info.path(), &session, nullptr);
    QEventLoop loop;
    QObject::connect(&downloader, &HttpDownloadFile::downloadFinished, &loop, &QEventLoop::quit);
    downloader.startDownload();
    if (downloader.downloading)
        loop.exec();
    return downloader.succeeded();
}

// Waits without ever sleeping: processing events until the flag drops.
bool fetchSpinningOnFlag(const QString &url, const QString &target)
{
    const QFileInfo info(target);
    HttpSession session;
    HttpDownloadFile downloader(info.fileName(), url, info.path(), &session, nullptr);
    downloader.startDownload();
    while (downloader.downloading)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    return downloader.succeeded();
}

// User and system CPU seconds of this process (RUSAGE_SELF) or of its
// children that have ended (RUSAGE_CHILDREN).
double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Fetches
{
    double mibPerSecond = 0;   // the fastest run's; 0 when a fetch failed
    double cpuSeconds = 0;     // the least of the runs
};

// \a runs fetches, each checked against the source; \a who tells whose CPU
// time the fetch takes, this process's or a child's.
Fetches bestOf(const Fetch &fetch, int who, const QString &url, const QString &target, qint64 size,
               const QByteArray &sourceHash, int runs)
{
    Fetches best;
    for (int run = 0; run < runs; ++run) {
        QFile::remove(target);
        const double cpuBefore = cpuSeconds(who);
        QElapsedTimer timer;
        timer.start();
        const bool fetched = fetch(url, target);
        const double seconds = timer.nsecsElapsed() / 1e9;
        const double cpu = cpuSeconds(who) - cpuBefore;
        const bool intact = fetched && QFileInfo(target).size() == size
            && (run > 0 || sha1Of(target) == sourceHash);
        QFile::remove(target);
        if (!intact)
            return {};
        best.mibPerSecond = std::max(best.mibPerSecond, size / double(mebibyte) / seconds);
        best.cpuSeconds = run == 0 ? cpu : std::min(best.cpuSeconds, cpu);
    }
    return best;
}

// \a fetch, then the fetched file flushed to disk, timed together.
Fetch thenFlushed(const Fetch &fetch)
{
    return [fetch](const QString &url, const QString &target) {
        const QFileInfo info(target);
        return fetch(url, target) && flushToDisk(info.path(), {target});
    };
}

double bestThroughput(const Fetch &fetch, const QString &url, const QString &target, qint64 size,
                      const QByteArray &sourceHash, int runs)
{
    return bestOf(fetch, RUSAGE_SELF, url, target, size, sourceHash, runs).mibPerSecond;
}

QString verdict(bool met)
{
    return met ? QStringLiteral("met") : QStringLiteral("MISSED");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("size-mib"), QStringLiteral("Size of the file."),
                      QStringLiteral("MiB"), QStringLiteral("512")});
    parser.addOption({QStringLiteral("runs"), QStringLiteral("Fetches per client."),
                      QStringLiteral("count"), QStringLiteral("3")});
    parser.process(app);
    const int sizeMiB = std::max(8, parser.value(QStringLiteral("size-mib")).toInt());
    const int runs = std::max(1, parser.value(QStringLiteral("runs")).toInt());
    const int smallSizeMiB = sizeMiB / 8;

    QTemporaryDir work;
    const QString root = work.filePath(QStringLiteral("www"));
    const QString downloads = work.filePath(QStringLiteral("downloads"));
    if (!work.isValid() || !QDir().mkdir(root) || !QDir().mkdir(downloads)) {
        out() << "cannot prepare a temporary directory\n";
        return 1;
    }
    const QByteArray smallHash = writeSourceFile(root + QStringLiteral("/small.bin"), smallSizeMiB);
    const QByteArray largeHash = writeSourceFile(root + QStringLiteral("/large.bin"), sizeMiB);
    if (smallHash.isEmpty() || largeHash.isEmpty()) {
        out() << "cannot write the files to serve\n";
        return 1;
    }

    LoopbackNginx nginx(work.path(), root, LoopbackNginx::Tls::AlsoHttps);
    if (!nginx.waitUntilServing()) {
        out() << "nginx did not start; see " << work.filePath(QStringLiteral("error.log")) << '\n';
        work.setAutoRemove(false);
        return 1;
    }

    const QString target = downloads + QStringLiteral("/fetched.bin");
    const double baseline = peakMemoryMiB();
    const double small = bestThroughput(fetchInEventLoop, nginx.url(QStringLiteral("small.bin")),
                                        target, smallSizeMiB * mebibyte, smallHash, 1);
    const double peakAfterSmall = peakMemoryMiB();
    const qint64 size = sizeMiB * mebibyte;
    const QString url = nginx.url(QStringLiteral("large.bin"));
    const double inEventLoop = bestThroughput(fetchInEventLoop, url, target, size, largeHash, runs);
    const double spinning = bestThroughput(fetchSpinningOnFlag, url, target, size, largeHash, runs);
    const double peakAfterLarge = peakMemoryMiB();
    const double curl = bestThroughput(curlWith({}), url, target, size, largeHash, runs);
    if (small <= 0 || inEventLoop <= 0 || spinning <= 0 || curl <= 0) {
        out() << "a fetch failed or brought other bytes\n";
        return 1;
    }

    const QString secureUrl = nginx.secureUrl(QStringLiteral("large.bin"));
    const QString authority = nginx.authorityCertificate();
    const Fetch curlTrusting = thenFlushed(curlWith({QStringLiteral("--cacert"), authority}));
    const Fetches secureCurl = bestOf(curlTrusting, RUSAGE_CHILDREN, secureUrl, target, size, largeHash, runs);
    const Fetches secureUpdater = trustAuthority(authority)
        ? bestOf(thenFlushed(fetchInEventLoop), RUSAGE_SELF, secureUrl, target, size, largeHash, runs)
        : Fetches{};
    const double peakAfterSecure = peakMemoryMiB();
    if (secureCurl.mibPerSecond <= 0 || secureUpdater.mibPerSecond <= 0) {
        out() << "a fetch over https failed or brought other bytes\n";
        return 1;
    }

    const double ratio = std::min(inEventLoop, spinning) / curl;
    out() << QStringLiteral("file %1 MiB from nginx on loopback, best of %2 runs each\n")
                 .arg(sizeMiB).arg(runs)
          << QStringLiteral("curl                                  %1 MiB/s\n").arg(curl, 0, 'f', 1)
          << QStringLiteral("HttpDownloadFile, event loop          %1 MiB/s  (%2% of curl)\n")
                 .arg(inEventLoop, 0, 'f', 1).arg(100 * inEventLoop / curl, 0, 'f', 1)
          << QStringLiteral("HttpDownloadFile, spinning on flag    %1 MiB/s  (%2% of curl)\n")
                 .arg(spinning, 0, 'f', 1).arg(100 * spinning / curl, 0, 'f', 1)
          << QStringLiteral("peak memory (VmHWM): %1 MiB before, %2 MiB after the %3 MiB file, "
                            "%4 MiB after the %5 MiB file\n")
                 .arg(baseline, 0, 'f', 1).arg(peakAfterSmall, 0, 'f', 1).arg(smallSizeMiB)
                 .arg(peakAfterLarge, 0, 'f', 1).arg(sizeMiB)
          << QStringLiteral("target >= 90% of curl: %1; peak < 64 MiB: %2; "
                            "growth %3 MiB for %4x the size\n")
                 .arg(verdict(ratio >= 0.9)).arg(verdict(peakAfterLarge < 64))
                 .arg(peakAfterLarge - peakAfterSmall, 0, 'f', 1).arg(sizeMiB / smallSizeMiB);

    const auto secureLine = [sizeMiB](const char *client, const Fetches &fetches) {
        return QStringLiteral("%1 %2 MiB/s  %3 s, CPU %4 s\n")
            .arg(QLatin1String(client), -37).arg(fetches.mibPerSecond, 0, 'f', 1)
            .arg(sizeMiB / fetches.mibPerSecond, 0, 'f', 2).arg(fetches.cpuSeconds, 0, 'f', 2);
    };
    const double timeRatio = secureCurl.mibPerSecond / secureUpdater.mibPerSecond;
    out() << QStringLiteral("the same file over https from the same nginx, both trusting its test "
                            "authority, each fetch followed by flushing the file to disk; best of %1 "
                            "runs, least CPU (user + system) of a run (curl's, without the flush)\n").arg(runs)
          << secureLine("curl --cacert, then flushed", secureCurl)
          << secureLine("HttpDownloadFile, then flushed", secureUpdater)
          << QStringLiteral("HttpDownloadFile against curl over https: time %1x, CPU %2x; "
                            "target time within 1.0x: %3; peak memory (VmHWM) after: %4 MiB\n")
                 .arg(timeRatio, 0, 'f', 2).arg(secureUpdater.cpuSeconds / secureCurl.cpuSeconds, 0, 'f', 2)
                 .arg(verdict(timeRatio <= 1.0)).arg(peakAfterSecure, 0, 'f', 1);
    return 0;
}
