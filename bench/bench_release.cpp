// Whole updates, click to installed, against curl fetching the same files in
// one process and then sync, both from one nginx on loopback.
//
//   bench_release [--runs 3] [--small-files 2000] [--large-mib 512]
//                 [--many-files 20000] [--written-mib 256] [--busy 2]
//
// Releases: --small-files files of 10 KiB, one file of --large-mib MiB, and
// --many-files files of 1 KiB, each spread over 8 folders (0 leaves a release
// out). Each is run --runs times, the updater and curl taking turns, and
// every run starts from a fresh copy of release 1.0.0 whose files all have
// other sizes, so that a file left in place is caught: after each run every
// file's size is checked and a sample of them byte by byte.
//
// The large release is run once more while --busy processes spin, and one
// update of a --written-mib MiB file counts the bytes the updater passes to
// write() (wchar in /proc/self/io) per byte it installs.
//
// The updater runs in this process: an UpdateWindow on the offscreen
// platform, its "update" button clicked; the click returns once the
// installation is over.

#include "benchsetup.h"
#include "generatedrelease.h"
#include "loopbacknginx.h"
#include "stylesheet.h"
#include "windowupdate.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <tuple>
#include <vector>

namespace {

constexpr qint64 kibibyte = 1024;

// Processes that keep \a count cores busy while the object lives.
class BusyCores
{
public:
    explicit BusyCores(int count)
    {
        for (int i = 0; i < count; ++i) {
            spinners.push_back(std::make_unique<QProcess>());
            spinners.back()->start(QStringLiteral("sh"),
                                   {QStringLiteral("-c"), QStringLiteral("while :; do :; done")});
        }
    }

    ~BusyCores()
    {
        for (const auto &spinner : spinners) {
            spinner->kill();
            spinner->waitForFinished(5000);
        }
    }

    bool started() const
    {
        return std::all_of(spinners.begin(), spinners.end(), [](const auto &spinner) {
            return spinner->waitForStarted(5000);
        });
    }

private:
    std::vector<std::unique_ptr<QProcess>> spinners;
};

struct Samples
{
    QVector<double> updater;
    QVector<double> curl;
};

// The served tree, the work folders and the runs of the updater and curl.
class ReleaseBench
{
public:
    explicit ReleaseBench(const QString &workDir)
        : workDir(workDir), servedRoot(workDir + QStringLiteral("/www")),
          nginx(workDir, servedRoot)
    {
    }

    bool start() { return QDir().mkpath(servedRoot) && nginx.waitUntilServing(); }

    // Lays out \a release on the server and curl's list of its fetches.
    bool publish(const GeneratedRelease &release) const
    {
        return release.publish(servedDir())
            && writeFile(curlConfigPath(release),
                         release.curlConfig(nginx.url(GeneratedRelease::versionPath), curlDir(release)));
    }

    // Seconds from the click to the installation's end; negative on failure.
    double update(const GeneratedRelease &release, qint64 *written = nullptr) const
    {
        return updateThroughWindow(release, workDir + QStringLiteral("/app-") + release.key,
                                   nginx.url(GeneratedRelease::releasePath), servedDir(), written);
    }

    // Seconds for one curl run over the whole release and a sync; negative on failure.
    double fetchWithCurl(const GeneratedRelease &release) const
    {
        if (!QDir(curlDir(release)).removeRecursively() || !syncDisks())
            return fail(QStringLiteral("cannot empty curl's folder"));
        QElapsedTimer timer;
        timer.start();
        const int curlExit = QProcess::execute(
            QStringLiteral("curl"), {QStringLiteral("-sS"), QStringLiteral("--fail"),
                                     QStringLiteral("--create-dirs"), QStringLiteral("--config"),
                                     curlConfigPath(release)});
        const bool synced = syncDisks();
        const double seconds = timer.nsecsElapsed() / 1e9;
        if (curlExit != 0 || !synced)
            return fail(QStringLiteral("curl exited with %1").arg(curlExit));
        const QString wrong = release.wrongFile(curlDir(release), servedDir());
        return wrong.isEmpty() ? seconds : fail(QStringLiteral("curl: ") + wrong);
    }

    // \a runs of each, taking turns; false once one fails.
    bool compare(const GeneratedRelease &release, int runs, Samples *samples) const
    {
        for (int run = 0; run < runs; ++run) {
            samples->updater.append(update(release));
            samples->curl.append(fetchWithCurl(release));
            if (samples->updater.last() < 0 || samples->curl.last() < 0)
                return false;
        }
        return true;
    }

private:
    QString servedDir() const
    {
        return servedRoot + QLatin1Char('/') + GeneratedRelease::versionPath;
    }
    QString curlDir(const GeneratedRelease &release) const
    {
        return workDir + QStringLiteral("/curl-") + release.key + QLatin1Char('/');
    }
    QString curlConfigPath(const GeneratedRelease &release) const
    {
        return workDir + QStringLiteral("/curl-") + release.key + QStringLiteral(".conf");
    }

    static double fail(const QString &reason)
    {
        std::fprintf(stderr, "%s\n", qPrintable(reason));
        return -1;
    }

    const QString workDir;
    const QString servedRoot;
    LoopbackNginx nginx;
};

QString spread(const QVector<double> &seconds)
{
    const auto [least, most] = std::minmax_element(seconds.begin(), seconds.end());
    return QStringLiteral("%1 (%2-%3)").arg(median(seconds), 0, 'f', 2).arg(*least, 0, 'f', 2)
        .arg(*most, 0, 'f', 2);
}

void printRow(const QString &label, const Samples &samples, const char *target, double limit)
{
    const double ratio = median(samples.updater) / median(samples.curl);
    const char *verdict = limit <= 0 ? "" : ratio <= limit ? ": met" : ": MISSED";
    std::printf("%-34s %-22s %-22s %6.2f  %s%s\n", qPrintable(label),
                qPrintable(spread(samples.updater)), qPrintable(spread(samples.curl)), ratio,
                target, verdict);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A desktop session has a runtime directory; without one Qt warns at start.
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const auto addCount = [&parser](const char *name, const char *description, const char *value) {
        parser.addOption({QString::fromLatin1(name), QString::fromLatin1(description),
                          QStringLiteral("count"), QString::fromLatin1(value)});
    };
    addCount("runs", "Runs of the updater and of curl for each release.", "3");
    addCount("small-files", "Files of 10 KiB in the release of small files.", "2000");
    addCount("large-mib", "Size of the release of one large file, in MiB.", "512");
    addCount("many-files", "Files of 1 KiB in the release of many files.", "20000");
    addCount("written-mib", "Size of the file whose bytes written are counted, in MiB.", "256");
    addCount("busy", "Spinning processes while the large release runs again.", "2");
    parser.process(app);
    const auto count = [&parser](const char *name) {
        return std::max(0, parser.value(QString::fromLatin1(name)).toInt());
    };
    const int runs = std::max(1, count("runs"));
    const GeneratedRelease small("small", count("small-files"), 10 * kibibyte);
    const GeneratedRelease large("large", count("large-mib") > 0 ? 1 : 0,
                                 count("large-mib") * mebibyte);
    const GeneratedRelease many("many", count("many-files"), kibibyte);
    const GeneratedRelease written("written", count("written-mib") > 0 ? 1 : 0,
                                   count("written-mib") * mebibyte);
    const int busy = count("busy");

    QFile styleFile(QStringLiteral(":/qss/style.qss"));
    app.setStyleSheet(readStyleSheet(styleFile));
    QTemporaryDir work;
    ReleaseBench bench(work.path());
    if (!work.isValid() || !bench.start()) {
        std::fprintf(stderr, "nginx did not start\n");
        return 1;
    }
    for (const GeneratedRelease &each : {small, large, many, written}) {
        if (!bench.publish(each)) {
            std::fprintf(stderr, "cannot lay out release %s\n", qPrintable(each.label));
            return 1;
        }
    }

    struct Row
    {
        QString label;
        Samples samples;
        const char *target;
        double limit;
    };
    std::vector<Row> rows;
    for (const auto &[each, target, limit] :
         {std::make_tuple(small, "within 2x", 2.0), std::make_tuple(large, "within 1.1x", 1.1),
          std::make_tuple(many, "none", 0.0)}) {
        if (each.files == 0)
            continue;
        rows.push_back({each.label, {}, target, limit});
        if (!bench.compare(each, runs, &rows.back().samples))
            return 1;
    }
    if (large.files > 0 && busy > 0) {
        rows.push_back({QStringLiteral("%1, %2 processes spinning").arg(large.label).arg(busy),
                        {}, "none", 0});
        const BusyCores spinners(busy);
        if (!spinners.started() || !bench.compare(large, runs, &rows.back().samples))
            return 1;
    }
    qint64 bytesPassed = 0;
    if (written.files > 0 && bench.update(written, &bytesPassed) < 0)
        return 1;

    std::printf("releases from nginx on loopback; %d runs each, the updater and curl taking turns; "
                "seconds, median (min-max)\n", runs);
    std::printf("%-34s %-22s %-22s %6s  %s\n", "release", "updater, click to end",
                "curl in one run + sync", "ratio", "target");
    for (const Row &row : rows)
        printRow(row.label, row.samples, row.target, row.limit);
    if (written.files > 0) {
        const double perByte = double(bytesPassed) / written.bytes();
        std::printf("bytes passed to write() per byte installed, %s: %.2f (target about 1.0: %s)\n",
                    qPrintable(written.label), perByte, perByte <= 1.1 ? "met" : "MISSED");
    }
    return 0;
}
