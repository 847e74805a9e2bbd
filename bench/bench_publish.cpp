// brenvoth-release making a release against the zstd command-line tool doing
// the same compressions, as many at once as cores: wall and CPU time, the
// sizes of what is kept, and peak memory.
//
//   bench_publish --old DIR --new DIR [--level 19] [--jobs N] [--one-job] [--label TEXT]
//
// DIR holds the files of one build, laid out as installed (for example two
// versions of the same Debian package, unpacked). Release 1.0.0 is published
// from --old at level 1 (only its copies matter: they are the patches'
// references), then 2.0.0 from --new is timed. The zstd tool then makes a
// .zst of every file of 2.0.0 and a patch of every file that differs from its
// 1.0.0 copy, with the same level and window, long-distance matching where
// ours has it, the .zst files in zstd's multithreaded mode and the patches in
// one piece, as ours; largest first, --jobs at a time. --one-job also times
// brenvoth-release with --jobs 1, as it ran before it used every core.

#include "manifest.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QDomNodeList>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <spawn.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

extern char **environ;

namespace {

const QString windowsPath = QStringLiteral("/www/brenvothDownload/windows");
constexpr qint64 longDistanceFrom = 8 * 1024 * 1024; // as brenvoth-release

// Processes run, with their wall time, CPU time and the largest peak memory
// of any one of them.
struct Measure
{
    double wall = 0;
    double cpu = 0;
    qint64 peakKiB = 0;
    bool ok = true;
};

double seconds(const timeval &time)
{
    return time.tv_sec + time.tv_usec / 1e6;
}

// Standard output is dropped, and standard error with \a quiet.
pid_t start(const QStringList &command, bool quiet)
{
    std::vector<QByteArray> arguments;
    for (const QString &argument : command)
        arguments.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (quiet)
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv.front(), &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Runs \a commands, \a jobs at a time, in the order given.
Measure run(const QVector<QStringList> &commands, int jobs, bool quiet = false)
{
    Measure measure;
    QElapsedTimer timer;
    timer.start();
    int next = 0;
    int running = 0;
    while (next < commands.size() || running > 0) {
        while (running < jobs && next < commands.size()) {
            if (start(commands.at(next++), quiet) < 0) {
                measure.ok = false;
                continue;
            }
            ++running;
        }
        int status = 0;
        rusage usage{};
        if (wait4(-1, &status, 0, &usage) < 0)
            break;
        --running;
        measure.ok = measure.ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        measure.cpu += seconds(usage.ru_utime) + seconds(usage.ru_stime);
        measure.peakKiB = std::max<qint64>(measure.peakKiB, usage.ru_maxrss);
    }
    measure.wall = timer.nsecsElapsed() / 1e9;
    return measure;
}

int windowLogFor(qint64 bytes)
{
    int log = 10;
    while ((qint64(1) << log) < bytes)
        ++log;
    return log;
}

// One compression the zstd tool makes, and what brenvoth-release kept of it.
struct Compression
{
    QString input;
    QString reference; // empty: a .zst
    QString output;
    qint64 span = 0;
    qint64 ours = -1; // -1: not kept
};

QStringList zstdCommand(const Compression &compression, int level)
{
    QStringList command{QStringLiteral("zstd"), QStringLiteral("-q"), QStringLiteral("-f"), QStringLiteral("--ultra"),
                        QStringLiteral("-%1").arg(level)};
    command << (compression.reference.isEmpty() ? QStringLiteral("-T1") : QStringLiteral("--single-thread"));
    if (compression.span > longDistanceFrom)
        command << QStringLiteral("--long=%1").arg(windowLogFor(compression.span));
    if (!compression.reference.isEmpty())
        command << QStringLiteral("--patch-from=") + compression.reference;
    return command << compression.input << QStringLiteral("-o") << compression.output;
}

// The compressions of release 2.0.0 as its manifest lists them, largest first.
QVector<Compression> compressionsOf(const QString &work)
{
    const QString windows = work + windowsPath;
    const Manifest::Document manifest = Manifest::read(windows + QStringLiteral("/version.xml"));
    const QDomNodeList files = Manifest::currentRelease(manifest.root(), QStringLiteral("2.0.0"))
                                   .elementsByTagName(QStringLiteral("file"));
    QVector<Compression> compressions;
    for (int i = 0; i < files.length(); ++i) {
        const QDomElement entry = files.at(i).toElement();
        const QString path = entry.attribute(QStringLiteral("dir")) + entry.attribute(QStringLiteral("name"));
        const QString input = windows + QStringLiteral("/v2.0.0/") + path;
        const QString output = work + QStringLiteral("/zstd/") + path;
        const Manifest::Delivery delivery = Manifest::readDelivery(entry);
        QDir().mkpath(QFileInfo(output).path());
        compressions.append({input, QString(), output + QStringLiteral(".zst"), QFileInfo(input).size(),
                             delivery.compressedSize});
        const QString old = windows + QStringLiteral("/v1.0.0/") + path;
        const qint64 oldSize = QFileInfo(old).size();
        if (!QFileInfo(old).isFile() || entry.attribute(QStringLiteral("version")) != QLatin1String("2.0.0"))
            continue;
        Compression patch{input, old, output + QStringLiteral(".patch.zst"), QFileInfo(input).size() + oldSize, -1};
        for (const Manifest::Delivery::Patch &offered : delivery.patches)
            patch.ours = offered.size;
        compressions.append(patch);
    }
    std::stable_sort(compressions.begin(), compressions.end(),
                     [](const Compression &a, const Compression &b) { return a.span > b.span; });
    return compressions;
}

// What brenvoth-release wrote for \a compression.
QString ourOutput(const Compression &compression)
{
    if (compression.reference.isEmpty())
        return compression.input + QStringLiteral(".zst");
    const QFileInfo input(compression.input);
    const QStringList patches = input.dir().entryList({input.fileName() + QStringLiteral(".from-*.zst")});
    return patches.isEmpty() ? QString() : input.dir().filePath(patches.first());
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString megabytes(qint64 bytes)
{
    return QString::number(bytes / 1e6, 'f', 1) + QStringLiteral(" MB");
}

void printRow(const char *what, const Measure &measure)
{
    std::printf("%-30s %8.1f %8.1f %10.1f MiB\n", what, measure.wall, measure.cpu, measure.peakKiB / 1024.0);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("old"), QStringLiteral("The files of the earlier release."), QStringLiteral("DIR")},
        {QStringLiteral("new"), QStringLiteral("The files of the release made."), QStringLiteral("DIR")},
        {QStringLiteral("level"), QStringLiteral("The zstd level."), QStringLiteral("level"), QStringLiteral("19")},
        {QStringLiteral("jobs"), QStringLiteral("Compressions at once; default one per core."), QStringLiteral("N")},
        {QStringLiteral("one-job"), QStringLiteral("Also time brenvoth-release with --jobs 1.")},
        {QStringLiteral("label"), QStringLiteral("What the two folders hold, for the report."), QStringLiteral("text")},
    });
    parser.process(app);
    if (!parser.isSet(QStringLiteral("old")) || !parser.isSet(QStringLiteral("new"))) {
        std::fprintf(stderr, "give --old and --new (see --help)\n");
        return 2;
    }
    const int jobs = parser.isSet(QStringLiteral("jobs")) ? parser.value(QStringLiteral("jobs")).toInt()
                                                          : QThread::idealThreadCount();
    const QString level = parser.value(QStringLiteral("level"));
    QTemporaryDir work;
    const QString notes = work.filePath(QStringLiteral("notes.txt"));
    QFile notesFile(notes);
    if (!notesFile.open(QIODevice::WriteOnly) || notesFile.write("A measured release.\n") < 0)
        return 1;
    notesFile.close();
    const QString tool = QStringLiteral(BRENVOTH_RELEASE_TOOL);
    const QString manifest = work.path() + windowsPath + QStringLiteral("/version.xml");
    const QStringList common{tool, QStringLiteral("--notes"), notes, QStringLiteral("--out"),
                             work.filePath(QStringLiteral("www"))};
    const QString oldDir = QFileInfo(parser.value(QStringLiteral("old"))).absoluteFilePath();
    const QString newDir = QFileInfo(parser.value(QStringLiteral("new"))).absoluteFilePath();
    const QStringList publishNew = common + QStringList{"--previous", manifest, "--version", "2.0.0", "--level", level};
    const auto unpublish = [&] {
        return QDir(work.path() + windowsPath + QStringLiteral("/v2.0.0")).removeRecursively()
            && QFile::remove(manifest) && QFile::copy(manifest + QStringLiteral(".1.0.0"), manifest);
    };
    if (!run({common + QStringList{"--version", "1.0.0", "--level", "1", oldDir}}, 1).ok
        || !QFile::copy(manifest, manifest + QStringLiteral(".1.0.0"))) {
        std::fprintf(stderr, "publishing 1.0.0 failed\n");
        return 1;
    }
    Measure oneJob;
    if (parser.isSet(QStringLiteral("one-job"))
        && (!(oneJob = run({publishNew + QStringList{"--jobs", "1", newDir}}, 1)).ok || !unpublish())) {
        std::fprintf(stderr, "publishing 2.0.0 with one job failed\n");
        return 1;
    }
    const Measure ours = run({publishNew + QStringList{"--jobs", QString::number(jobs), newDir}}, 1);
    if (!ours.ok) {
        std::fprintf(stderr, "publishing 2.0.0 failed\n");
        return 1;
    }
    const QVector<Compression> compressions = compressionsOf(work.path());
    QVector<QStringList> commands;
    for (const Compression &compression : compressions)
        commands << zstdCommand(compression, level.toInt());
    // Quiet: zstd says when --patch-from turns on long-distance matching.
    const Measure zstd = run(commands, jobs, true);
    if (!zstd.ok) {
        std::fprintf(stderr, "the zstd tool failed\n");
        return 1;
    }

    qint64 oursKept = 0, theirs = 0, raw = 0;
    int patches = 0, kept = 0, identical = 0;
    double worst = 0;
    QString worstOutput;
    for (const Compression &compression : compressions) {
        patches += compression.reference.isEmpty() ? 0 : 1;
        raw += compression.reference.isEmpty() ? compression.span : 0;
        if (compression.ours < 0)
            continue;
        const qint64 size = QFileInfo(compression.output).size();
        ++kept;
        oursKept += compression.ours;
        theirs += size;
        if (std::abs(double(compression.ours) / size - 1) > worst) {
            worst = std::abs(double(compression.ours) / size - 1);
            worstOutput = QStringLiteral("%1 (%2 bytes against %3)")
                              .arg(QFileInfo(ourOutput(compression)).fileName()).arg(compression.ours).arg(size);
        }
        identical += contentOf(ourOutput(compression)) == contentOf(compression.output) ? 1 : 0;
    }
    if (parser.isSet(QStringLiteral("label")))
        std::printf("%s\n", qPrintable(parser.value(QStringLiteral("label"))));
    std::printf("%d files, %s; %d compressions (%d .zst, %d patches) at level %s, %d at a time, %d cores\n",
                int(compressions.size() - patches), qPrintable(megabytes(raw)), int(compressions.size()),
                int(compressions.size() - patches), patches, qPrintable(level), jobs, QThread::idealThreadCount());
    std::printf("%-30s %8s %8s %14s\n", "", "wall s", "CPU s", "peak RSS");
    if (parser.isSet(QStringLiteral("one-job")))
        printRow("brenvoth-release --jobs 1", oneJob);
    printRow(qPrintable(QStringLiteral("brenvoth-release --jobs %1").arg(jobs)), ours);
    printRow(qPrintable(QStringLiteral("zstd tool, %1 at a time").arg(jobs)), zstd);
    const double ratio = ours.wall / zstd.wall;
    std::printf("wall time ratio %.2f (target <= 1.10: %s)\n", ratio, ratio <= 1.1 ? "met" : "MISSED");
    std::printf("kept: %d outputs, ours %s, the zstd tool's for the same %s, %+.2f %% (target within 1 %%: %s); "
                "largest difference of one output %.2f %%, %s\n",
                kept, qPrintable(megabytes(oursKept)), qPrintable(megabytes(theirs)),
                100.0 * (double(oursKept) / theirs - 1), std::abs(double(oursKept) / theirs - 1) <= 0.01 ? "met" : "MISSED",
                100.0 * worst, qPrintable(worstOutput));
    std::printf("byte-identical to the zstd tool's: %d of the %d kept\n", identical, kept);
    std::printf("peak RSS: of brenvoth-release's one process; of the zstd tool, its largest process (up to %d ran "
                "at once)\n", jobs);
    return 0;
}
