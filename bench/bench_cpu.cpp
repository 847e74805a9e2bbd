// CPU time the updater spends while a throttled download runs through the
// real installation, against a bare HttpDownloadFile waited on by spinning.
//
//   bench_cpu [--size-mib 48] [--rate 8000000] [--runs 3]
//
// scripts/serve-release sends the file at --rate bytes per second, so both
// waits last about as long; what differs is how much of a core each burns.
// Each row shows the run with the median CPU share and the spread over runs.

#include "benchsetup.h"
#include "httpdownloadfile.h"
#include "stylesheet.h"
#include "updatecontroller.h"
#include "updatewindow.h"
#include "windowupdate.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

namespace {

const QByteArray fileDir = "data/";
const QByteArray fileName = "world.pak";
const QString releasePath = QStringLiteral("brenvothDownload/windows/");

// scripts/serve-release on a free loopback port.
class ReleaseServer
{
public:
    ReleaseServer(const QString &root, qint64 bytesPerSecond)
    {
        server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server.start(QStringLiteral(BRENVOTH_SOURCE_DIR "/scripts/serve-release"),
                     {root, QStringLiteral("--rate"), QString::number(bytesPerSecond)});
        while (!server.canReadLine() && server.waitForReadyRead(10000)) {
        }
        port = server.readLine().trimmed().toUShort();
    }

    ~ReleaseServer()
    {
        server.terminate();
        if (!server.waitForFinished(5000))
            server.kill();
        server.waitForFinished(5000);
    }

    bool isServing() const { return port != 0; }
    QString url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(port).arg(path);
    }

private:
    QProcess server;
    quint16 port = 0;
};

double seconds(const timeval &time)
{
    return double(time.tv_sec) + time.tv_usec / 1e6;
}

struct Usage
{
    double wallSeconds = 0;
    double userSeconds = 0;
    double systemSeconds = 0;
    long sleeps = 0;   // voluntary context switches: how often the process waited
    double percentOfCore() const { return 100 * (userSeconds + systemSeconds) / wallSeconds; }
};

// All threads of this process count; the server's time is its own.
template <typename Work>
Usage measure(Work &&work)
{
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    QElapsedTimer wall;
    wall.start();
    work();
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    return {wall.nsecsElapsed() / 1e9, seconds(after.ru_utime) - seconds(before.ru_utime),
            seconds(after.ru_stime) - seconds(before.ru_stime), after.ru_nvcsw - before.ru_nvcsw};
}

// Release 1.0.0 installed in \a appDir, the manifest of 2.0.0 downloaded next to it.
bool prepareApplication(const QString &appDir)
{
    return writeFile(appDir + QStringLiteral("/version.xml"),
                     manifestXml("1.0.0", {{fileDir, fileName, "1.0.0"}}))
        && writeFile(appDir + QLatin1Char('/') + fileDir + fileName, "world data 1.0.0\n")
        && writeFile(appDir + QStringLiteral("/download/version.xml"),
                     manifestXml("2.0.0", {{fileDir, fileName, "2.0.0"}}));
}

Usage installThroughWindow(const QString &appDir, const QString &baseUrl)
{
    UpdateController controller(appDir, baseUrl);
    UpdateWindow window(&controller);
    window.show();
    QCoreApplication::processEvents();
    // The installation names each installed file; that line is no result.
    const QtMessageHandler previous = qInstallMessageHandler(discardMessage);
    const Usage usage = measure([&] { clickUpdateAndWait(window, controller); });
    qInstallMessageHandler(previous);
    return usage;
}

Usage downloadSpinning(const QString &url, const QString &saveDir)
{
    return measure([&] {
        HttpSession session;
        HttpDownloadFile download(QString::fromLatin1(fileName), url, saveDir, &session, nullptr);
        download.startDownload();
        while (download.downloading)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
    });
}

bool lessCpuShare(const Usage &a, const Usage &b)
{
    return a.percentOfCore() < b.percentOfCore();
}

// The run with the median CPU share.
Usage medianRun(QVector<Usage> runs)
{
    std::sort(runs.begin(), runs.end(), lessCpuShare);
    return runs.at(runs.size() / 2);
}

void printRow(const char *wait, const QVector<Usage> &runs, qint64 bytes)
{
    const Usage median = medianRun(runs);
    const auto [least, most] = std::minmax_element(runs.begin(), runs.end(), lessCpuShare);
    std::printf("%-38s %6.2f %6.2f %6.2f %6ld %5.2f %10.1f  %.1f-%.1f\n", wait,
                median.wallSeconds, median.userSeconds, median.systemSeconds, median.sleeps,
                bytes / median.wallSeconds / 1e6, median.percentOfCore(), least->percentOfCore(),
                most->percentOfCore());
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("size-mib"), QStringLiteral("Size of the file."),
                      QStringLiteral("MiB"), QStringLiteral("48")});
    parser.addOption({QStringLiteral("rate"), QStringLiteral("Bytes per second the server sends."),
                      QStringLiteral("bytes"), QStringLiteral("8000000")});
    parser.addOption({QStringLiteral("runs"), QStringLiteral("Runs of each wait."),
                      QStringLiteral("count"), QStringLiteral("3")});
    parser.process(app);
    const int sizeMiB = std::max(1, parser.value(QStringLiteral("size-mib")).toInt());
    const qint64 rate = std::max(1LL, parser.value(QStringLiteral("rate")).toLongLong());

    const int runs = std::max(1, parser.value(QStringLiteral("runs")).toInt());
    QFile styleFile(QStringLiteral(":/qss/style.qss"));
    app.setStyleSheet(readStyleSheet(styleFile));

    QTemporaryDir work;
    const QString www = work.filePath(QStringLiteral("www"));
    const QString bareDir = work.filePath(QStringLiteral("bare"));
    const QString filePath = releasePath + QStringLiteral("v2.0.0/") + fileDir + fileName;
    const QByteArray sourceHash = work.isValid()
        ? writeSourceFile(www + QLatin1Char('/') + filePath, sizeMiB) : QByteArray();
    if (sourceHash.isEmpty() || !QDir().mkpath(bareDir)) {
        std::fprintf(stderr, "cannot lay out the release in a temporary directory\n");
        return 1;
    }
    ReleaseServer server(www, rate);
    if (!server.isServing()) {
        std::fprintf(stderr, "scripts/serve-release did not start\n");
        return 1;
    }

    QVector<Usage> installations;
    QVector<Usage> spinning;
    for (int run = 0; run < runs; ++run) {
        const QString appDir = work.filePath(QStringLiteral("app%1").arg(run));
        if (!prepareApplication(appDir)) {
            std::fprintf(stderr, "cannot lay out the application directory\n");
            return 1;
        }
        installations.append(installThroughWindow(appDir, server.url(releasePath)));
        if (sha1Of(appDir + QLatin1Char('/') + fileDir + fileName) != sourceHash) {
            std::fprintf(stderr, "the installation did not install the served file\n");
            return 1;
        }
        spinning.append(downloadSpinning(server.url(filePath), bareDir));
        if (sha1Of(bareDir + QLatin1Char('/') + fileName) != sourceHash) {
            std::fprintf(stderr, "the bare download did not bring the served file\n");
            return 1;
        }
    }

    const qint64 bytes = sizeMiB * mebibyte;
    std::printf("file %d MiB served by scripts/serve-release at %lld bytes/s on loopback, "
                "%d runs each\n", sizeMiB, static_cast<long long>(rate), runs);
    std::printf("%-38s %6s %6s %6s %6s %5s %10s  %s\n", "wait", "wall s", "user s", "sys s",
                "sleeps", "MB/s", "CPU % core", "range");
    printRow("window installation (update clicked)", installations, bytes);
    printRow("bare download, spinning on the flag", spinning, bytes);
    std::printf("target window installation < 5%% of one core (median run): %s\n",
                medianRun(installations).percentOfCore() < 5 ? "met" : "MISSED");
    return 0;
}
