// Throughput and peak memory of HttpDownloadFile against curl, both fetching
// the same file from an nginx started on a free loopback port.
//
//   bench_download [--size-mib 512] [--runs 3]
//
// Each client fetches the file --runs times; the best run counts. A file of an
// eighth of the size is fetched first, so that the peak memory after it and
// after the full-size file show whether memory grows with the file.

#include "benchsetup.h"
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

#include <algorithm>
#include <functional>

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

// The process's peak resident memory in MiB, from /proc/self/status.
double peakMemoryMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

using Fetch = std::function<bool(const QString &url, const QString &target)>;

bool fetchWithCurl(const QString &url, const QString &target)
{
    QProcess curl;
    curl.start(QStringLiteral("curl"), {QStringLiteral("-s"), QStringLiteral("-o"), target, url});
    return curl.waitForFinished(-1) && curl.exitStatus() == QProcess::NormalExit
        && curl.exitCode() == 0;
}

// Waits the way a plain Qt caller does: in an event loop until the end signal.
bool fetchInEventLoop(const QString &url, const QString &target)
{
    const QFileInfo info(target);
    HttpDownloadFile downloader(info.fileName(), url, info.path(), nullptr);
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
    HttpDownloadFile downloader(info.fileName(), url, info.path(), nullptr);
    downloader.startDownload();
    while (downloader.downloading)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    return downloader.succeeded();
}

// Best throughput in MiB/s over \a runs fetches, each checked against the source;
// 0 when a fetch fails or brings other bytes.
double bestThroughput(const Fetch &fetch, const QString &url, const QString &target,
                      qint64 size, const QByteArray &sourceHash, int runs)
{
    double best = 0;
    for (int run = 0; run < runs; ++run) {
        QFile::remove(target);
        QElapsedTimer timer;
        timer.start();
        const bool fetched = fetch(url, target);
        const double seconds = timer.nsecsElapsed() / 1e9;
        const bool intact = fetched && QFileInfo(target).size() == size
            && (run > 0 || sha1Of(target) == sourceHash);
        QFile::remove(target);
        if (!intact)
            return 0;
        best = std::max(best, size / double(mebibyte) / seconds);
    }
    return best;
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

    LoopbackNginx nginx(work.path(), root);
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
    const double curl = bestThroughput(fetchWithCurl, url, target, size, largeHash, runs);
    if (small <= 0 || inEventLoop <= 0 || spinning <= 0 || curl <= 0) {
        out() << "a fetch failed or brought other bytes\n";
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
    return 0;
}
