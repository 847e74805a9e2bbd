// Times pending-update detection on generated manifests: the indexed lookup
// that the updater uses, against re-parsing the local manifest for every file.
//
//   bench_detection [--per-file-max 10000]
//
// The re-parse grows with the square of the files (minutes at 10,000);
// it runs only at the sizes up to --per-file-max.

#include "benchsetup.h"
#include "perfiledetection.h"
#include "pendingupdate.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QScopedPointer>
#include <QTemporaryDir>
#include <cstdio>

namespace {

struct Timing
{
    double milliseconds = 0;
    QStringList names;
};

Timing timeIndexed(const QString &downloaded, const QString &local, int runs)
{
    Timing best;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        best.names = compareManifests(downloaded, local).updateNames;
        const double elapsed = timer.nsecsElapsed() / 1e6;
        if (run == 0 || elapsed < best.milliseconds)
            best.milliseconds = elapsed;
    }
    return best;
}

Timing timePerFile(const QString &downloaded, const QString &local)
{
    QElapsedTimer timer;
    timer.start();
    const PerFileDetection result = detectPerFile(downloaded, local);
    return {timer.nsecsElapsed() / 1e6, result.names};
}

void printRow(int files, const char *method, double milliseconds, double ratio)
{
    std::printf("%8d  %-22s %12.1f %10.2f\n", files, method, milliseconds, ratio);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("per-file-max"),
                      QStringLiteral("Largest size at which the per-file re-parse runs."),
                      QStringLiteral("files"), QStringLiteral("10000")});
    parser.process(app);
    const int perFileMaxFiles = parser.value(QStringLiteral("per-file-max")).toInt();

    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;

    std::printf("ratio: indexed rows, time per file relative to 1,000 files (1.00 = linear);\n"
                "       per-file rows, times slower than indexed at the same size\n\n");
    std::printf("%8s  %-22s %12s %10s\n", "files", "method", "milliseconds", "ratio");
    double indexedPerFileAt1000 = 0;
    for (const int files : {1000, 10000, 50000}) {
        const QString downloaded = dir.filePath(QStringLiteral("download-%1.xml").arg(files));
        const QString local = dir.filePath(QStringLiteral("local-%1.xml").arg(files));
        if (!writeFile(downloaded, generatedManifest(files, true))
            || !writeFile(local, generatedManifest(files, false)))
            return 1;

        const Timing indexed = timeIndexed(downloaded, local, 5);
        if (indexed.names.size() != files / 2) {
            std::fprintf(stderr, "indexed detection found %d pending files, not %d\n",
                         int(indexed.names.size()), files / 2);
            return 1;
        }
        if (files == 1000)
            indexedPerFileAt1000 = indexed.milliseconds / files;
        printRow(files, "indexed", indexed.milliseconds,
                 indexed.milliseconds / files / indexedPerFileAt1000);

        if (files > perFileMaxFiles)
            continue;
        const Timing perFile = timePerFile(downloaded, local);
        if (perFile.names != indexed.names) {
            std::fprintf(stderr, "per-file detection disagrees at %d files\n", files);
            return 1;
        }
        printRow(files, "per-file re-parse", perFile.milliseconds,
                 perFile.milliseconds / indexed.milliseconds);
    }
    return 0;
}
