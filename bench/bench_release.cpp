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
#include "loopbacknginx.h"
#include "manifest.h"
#include "stylesheet.h"
#include "updatewindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <tuple>
#include <vector>

namespace {

const QString releasePath = QStringLiteral("brenvothDownload/windows/");
const QByteArray newVersion = "2.0.0";
constexpr int folders = 8;
constexpr qint64 kibibyte = 1024;

struct Release
{
    QString label;
    QString key;   // the release's own folder in the served tree and the work directory
    int files = 0;
    qint64 fileSize = 0;

    QByteArray dir(int i) const
    {
        return key.toLatin1() + "/part" + QByteArray::number(i % folders) + '/';
    }
    QByteArray name(int i) const { return "file" + QByteArray::number(i) + ".bin"; }
    QString path(int i) const { return QString::fromLatin1(dir(i) + name(i)); }
    qint64 bytes() const { return files * fileSize; }

    QVector<ManifestEntry> entries(const QByteArray &version) const
    {
        QVector<ManifestEntry> list;
        list.reserve(files);
        for (int i = 0; i < files; ++i)
            list.append({dir(i), name(i), version});
        return list;
    }
};

Release release(const char *key, int files, qint64 fileSize)
{
    const QString size = fileSize < mebibyte ? QStringLiteral("%1 KiB").arg(fileSize / kibibyte)
                                              : QStringLiteral("%1 MiB").arg(fileSize / mebibyte);
    return {QStringLiteral("%1 x %2").arg(files).arg(size), QString::fromLatin1(key), files,
            fileSize};
}

// Writes \a size bytes, different for every seed and every MiB.
bool writeGeneratedFile(const QString &path, qint64 size, quint32 seed)
{
    QFile file(path);
    if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly))
        return false;
    QRandomGenerator generator(seed);
    QByteArray block(int(std::min(size, mebibyte)), Qt::Uninitialized);
    for (qint64 left = size; left > 0; left -= block.size()) {
        generator.fillRange(reinterpret_cast<quint32 *>(block.data()), block.size() / 4);
        const qint64 length = std::min<qint64>(left, block.size());
        if (file.write(block.constData(), length) != length)
            return false;
    }
    return true;
}

// The same bytes at the start, the middle and the end of both files (all of
// them for files up to 1 MiB).
bool sameSample(const QString &path, const QString &otherPath, qint64 size)
{
    QFile file(path);
    QFile other(otherPath);
    if (!file.open(QIODevice::ReadOnly) || !other.open(QIODevice::ReadOnly))
        return false;
    const qint64 block = std::min(size, mebibyte);
    for (const qint64 offset : {qint64(0), (size - block) / 2, size - block}) {
        if (!file.seek(offset) || !other.seek(offset) || file.read(block) != other.read(block))
            return false;
    }
    return true;
}

// Bytes this process has passed to write() and its kin so far.
qint64 bytesWritten()
{
    return procSelfCounter("io", "wchar:");
}

// Flushes what earlier steps left dirty, so that no timed step pays for it.
bool syncDisks()
{
    return QProcess::execute(QStringLiteral("sync"), {}) == 0;
}

// The updater's last few messages, shown when a run went wrong; one per
// installed file is printed by design, so none is printed as it comes.
QStringList updaterMessages;

void keepMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    updaterMessages.append(message);
    if (updaterMessages.size() > 3)
        updaterMessages.removeFirst();
}

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
    bool publish(const Release &release) const
    {
        QByteArray curlConfig;
        for (int i = 0; i < release.files; ++i) {
            const QString path = release.path(i);
            if (!writeGeneratedFile(servedDir() + path, release.fileSize, quint32(i + 1)))
                return false;
            curlConfig += "url = \"" + nginx.url(releasePath + versionFolder() + path).toUtf8()
                + "\"\noutput = \"" + (curlDir(release) + path).toUtf8() + "\"\n";
        }
        return writeFile(curlConfigPath(release), curlConfig);
    }

    // Seconds from the click to the installation's end; negative on failure.
    double update(const Release &release, qint64 *written = nullptr) const
    {
        const QString appDir = workDir + QStringLiteral("/app-") + release.key;
        if (!QDir(appDir).removeRecursively() || !prepareApplication(release, appDir)
            || !syncDisks())
            return fail(QStringLiteral("cannot lay out the application directory"));
        UpdateWindow window(appDir, nginx.url(releasePath));
        if (window.pendingNames().size() != release.files)
            return fail(QStringLiteral("the window found %1 pending files, not %2")
                            .arg(window.pendingNames().size()).arg(release.files));
        window.show();
        QCoreApplication::processEvents();
        auto *update = window.findChild<QPushButton *>(QStringLiteral("update"));

        updaterMessages.clear();
        const QtMessageHandler previous = qInstallMessageHandler(keepMessage);
        const qint64 writtenBefore = bytesWritten();
        QElapsedTimer timer;
        timer.start();
        update->click();
        const double seconds = timer.nsecsElapsed() / 1e9;
        if (written)
            *written = bytesWritten() - writtenBefore;
        qInstallMessageHandler(previous);

        const QString wrong = wrongFile(release, appDir + QLatin1Char('/'));
        if (!wrong.isEmpty())
            return fail(QStringLiteral("the updater: %1; its last messages: %2")
                            .arg(wrong, updaterMessages.join(QStringLiteral(" | "))));
        const Manifest::Document local = Manifest::read(appDir + QStringLiteral("/version.xml"));
        if (local.root().attribute(QStringLiteral("curVersion")) != QLatin1String(newVersion))
            return fail(QStringLiteral("the updater left a local manifest without curVersion %1")
                            .arg(QLatin1String(newVersion)));
        return seconds;
    }

    // Seconds for one curl run over the whole release and a sync; negative on failure.
    double fetchWithCurl(const Release &release) const
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
        const QString wrong = wrongFile(release, curlDir(release));
        return wrong.isEmpty() ? seconds : fail(QStringLiteral("curl: ") + wrong);
    }

    // \a runs of each, taking turns; false once one fails.
    bool compare(const Release &release, int runs, Samples *samples) const
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
    QString versionFolder() const
    {
        return QStringLiteral("v") + QLatin1String(newVersion) + QLatin1Char('/');
    }
    QString servedDir() const
    {
        return servedRoot + QLatin1Char('/') + releasePath + versionFolder();
    }
    QString curlDir(const Release &release) const
    {
        return workDir + QStringLiteral("/curl-") + release.key + QLatin1Char('/');
    }
    QString curlConfigPath(const Release &release) const
    {
        return workDir + QStringLiteral("/curl-") + release.key + QStringLiteral(".conf");
    }

    // Release 1.0.0, every file of another size than in 2.0.0, whose manifest
    // has been downloaded next to it.
    static bool prepareApplication(const Release &release, const QString &appDir)
    {
        for (int i = 0; i < release.files; ++i) {
            if (!writeFile(appDir + QLatin1Char('/') + release.path(i),
                           release.name(i) + " 1.0.0\n"))
                return false;
        }
        return writeFile(appDir + QStringLiteral("/version.xml"),
                         manifestXml("1.0.0", release.entries("1.0.0")))
            && writeFile(appDir + QStringLiteral("/download/version.xml"),
                         manifestXml(newVersion, release.entries(newVersion)));
    }

    // What is wrong with the copy of \a release below \a dir, or the empty text.
    QString wrongFile(const Release &release, const QString &dir) const
    {
        const int step = std::max(1, release.files / 32);
        for (int i = 0; i < release.files; ++i) {
            const QFileInfo copy(dir + release.path(i));
            if (copy.size() != release.fileSize) {
                return QStringLiteral("%1 has %2 bytes, not %3")
                    .arg(copy.filePath()).arg(copy.size()).arg(release.fileSize);
            }
            if ((i % step == 0 || i == release.files - 1)
                && !sameSample(copy.filePath(), servedDir() + release.path(i), release.fileSize))
                return copy.filePath() + QStringLiteral(" differs from the served file");
        }
        return {};
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
    const Release small = release("small", count("small-files"), 10 * kibibyte);
    const Release large = release("large", count("large-mib") > 0 ? 1 : 0,
                                  count("large-mib") * mebibyte);
    const Release many = release("many", count("many-files"), kibibyte);
    const Release written = release("written", count("written-mib") > 0 ? 1 : 0,
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
    for (const Release &each : {small, large, many, written}) {
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
