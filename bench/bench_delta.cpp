// A real two-release update, published with brenvoth-release: the bytes the
// updater fetches with patches and .zst files against the raw bytes of the
// changed files, its time from click to installed against curl fetching
// those raw files, its peak anonymous memory, and the bytes it writes.
//
//   bench_delta --old DIR --new DIR [--runs 3] [--rate BYTES_PER_SECOND]... [--level N] [--label TEXT]
//
// DIR holds the files of one build, laid out as installed (for example two
// versions of the same Debian package, unpacked). Release 1.0.0 is published
// from --old and installed, 2.0.0 from --new; scripts/serve-release serves
// them, unthrottled for --rate 0 (the default) and throttled for every other
// --rate. The updater runs in this process: an UpdateWindow on the offscreen
// platform, its "update" button clicked.

#include "benchsetup.h"
#include "manifest.h"
#include "updatecontroller.h"
#include "updatewindow.h"
#include "windowupdate.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QDomNodeList>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

const QString windowsPath = QStringLiteral("/brenvothDownload/windows");

// What one update took.
struct UpdateRun
{
    double seconds = 0;
    qint64 idleAnonKiB = 0;
    qint64 peakAnonKiB = 0;
    qint64 passedToWrite = 0;   // bytes given to write()
    qint64 dirtied = 0;         // bytes of pages dirtied for storage, mapped ones included
};

struct ChangedFile
{
    QString path;   // dir + name
    qint64 raw = 0;
    qint64 zst = 0;        // the .zst, or the raw size without one
    qint64 patched = 0;    // the patch from the installed copy, else as zst
};

QString fail(const QString &reason)
{
    std::fprintf(stderr, "%s\n", qPrintable(reason));
    return reason;
}

bool runProgram(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    process.closeWriteChannel();
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(source, target))
            return false;
    }
    return true;
}

bool sameFile(const QString &path, const QString &otherPath)
{
    return QFileInfo(path).size() == QFileInfo(otherPath).size() && sha1Of(path) == sha1Of(otherPath);
}

class DeltaBench
{
public:
    DeltaBench(const QString &workDir, const QString &oldDir, const QString &newDir)
        : work(workDir), oldDir(QFileInfo(oldDir).absoluteFilePath()), newDir(QFileInfo(newDir).absoluteFilePath())
    {
    }

    // Publishes both releases; the seconds brenvoth-release took for the second.
    double publish(int level)
    {
        const QString notes = work + QStringLiteral("/notes.txt");
        const QString manifest = work + QStringLiteral("/www") + windowsPath + QStringLiteral("/version.xml");
        const QStringList common{QStringLiteral("--notes"), notes, QStringLiteral("--out"),
                                 work + QStringLiteral("/www"), QStringLiteral("--level"), QString::number(level)};
        if (!writeFile(notes, "A measured release.\n")
            || !runProgram(QStringLiteral(BRENVOTH_RELEASE_TOOL), common + QStringList{"--version", "1.0.0", oldDir})
            || !QFile::copy(manifest, oldManifest()))
            return -1;
        QElapsedTimer timer;
        timer.start();
        if (!runProgram(QStringLiteral(BRENVOTH_RELEASE_TOOL),
                 common + QStringList{"--previous", manifest, "--version", "2.0.0", newDir}))
            return -1;
        const double seconds = timer.nsecsElapsed() / 1e9;
        return readChanges(manifest) ? seconds : -1;
    }

    const QVector<ChangedFile> &changed() const { return changes; }

    // One update from the server at \a port; empty on success, else what went wrong.
    QString update(quint16 port, UpdateRun *run)
    {
        const QString app = work + QStringLiteral("/app");
        if (!QDir(app).removeRecursively() || !copyTree(oldDir, app) || !QFile::copy(oldManifest(), app + "/version.xml")
            || !QDir().mkpath(app + "/download")
            || !QFile::copy(work + QStringLiteral("/www") + windowsPath + "/version.xml", app + "/download/version.xml")
            || !runProgram(QStringLiteral("sync"), {}))
            return fail(QStringLiteral("cannot lay out the application directory"));
        UpdateController controller(app, QStringLiteral("http://127.0.0.1:%1%2/").arg(port).arg(windowsPath));
        UpdateWindow window(&controller);
        if (controller.pending().updateNames.size() != changes.size())
            return fail(QStringLiteral("the window found %1 pending files, not %2")
                            .arg(controller.pending().updateNames.size()).arg(changes.size()));
        window.show();
        QCoreApplication::processEvents();
        run->idleAnonKiB = procSelfCounter("status", "RssAnon:");
        const qint64 passedBefore = procSelfCounter("io", "wchar:");
        const qint64 dirtiedBefore = procSelfCounter("io", "write_bytes:");
        AnonymousMemoryPeak peak;
        QElapsedTimer timer;
        timer.start();
        clickUpdateAndWait(window, controller);
        run->seconds = timer.nsecsElapsed() / 1e9;
        run->peakAnonKiB = peak.finish();
        run->passedToWrite = procSelfCounter("io", "wchar:") - passedBefore;
        run->dirtied = procSelfCounter("io", "write_bytes:") - dirtiedBefore;
        for (const ChangedFile &file : changes) {
            if (!sameFile(app + QLatin1Char('/') + file.path, newDir + QLatin1Char('/') + file.path))
                return fail(file.path + QStringLiteral(" was not installed as released"));
        }
        return QString();
    }

    // curl fetching the changed files raw, then sync; seconds, negative on failure.
    double fetchWithCurl(quint16 port) const
    {
        QByteArray config;
        for (const ChangedFile &file : changes) {
            config += "url = \"http://127.0.0.1:" + QByteArray::number(port) + windowsPath.toUtf8() + "/v2.0.0/"
                + file.path.toUtf8() + "\"\noutput = \"" + (work + "/curl/" + file.path).toUtf8() + "\"\n";
        }
        if (!QDir(work + "/curl").removeRecursively() || !writeFile(work + "/curl.conf", config)
            || !runProgram(QStringLiteral("sync"), {}))
            return -1;
        QElapsedTimer timer;
        timer.start();
        const bool fetched = runProgram(QStringLiteral("curl"), {"-sS", "--fail", "--create-dirs", "--config", work + "/curl.conf"})
            && runProgram(QStringLiteral("sync"), {});
        return fetched ? timer.nsecsElapsed() / 1e9 : -1;
    }

private:
    QString oldManifest() const { return work + QStringLiteral("/version-1.0.0.xml"); }

    // The files whose version changed, with what the manifest offers for each.
    bool readChanges(const QString &manifestPath)
    {
        const Manifest::Document manifest = Manifest::read(manifestPath);
        const QDomNodeList files = Manifest::currentRelease(manifest.root(), QStringLiteral("2.0.0"))
                                       .elementsByTagName(QStringLiteral("file"));
        for (int i = 0; i < files.length(); ++i) {
            const QDomElement entry = files.at(i).toElement();
            if (entry.attribute(QStringLiteral("version")) != QLatin1String("2.0.0"))
                continue;
            ChangedFile file;
            file.path = entry.attribute(QStringLiteral("dir")) + entry.attribute(QStringLiteral("name"));
            file.raw = entry.attribute(QStringLiteral("size")).toLongLong();
            const Manifest::Delivery delivery = Manifest::readDelivery(entry);
            file.zst = delivery.compressedSize >= 0 ? delivery.compressedSize : file.raw;
            file.patched = file.zst;
            const QByteArray installed = sha256Of(oldDir + QLatin1Char('/') + file.path);
            for (const Manifest::Delivery::Patch &patch : delivery.patches) {
                if (patch.from == installed)
                    file.patched = patch.size;
            }
            changes.append(file);
        }
        return !changes.isEmpty();
    }

    static QByteArray sha256Of(const QString &path)
    {
        QFile file(path);
        QCryptographicHash hash(QCryptographicHash::Sha256);
        return file.open(QIODevice::ReadOnly) && hash.addData(&file) ? hash.result() : QByteArray();
    }

    const QString work;
    const QString oldDir;
    const QString newDir;
    QVector<ChangedFile> changes;
};

// scripts/serve-release on a free port, counting the body bytes it sends.
class Server
{
public:
    Server(const QString &root, qint64 rate, const QString &logPath)
        : log(logPath)
    {
        process.setStandardErrorFile(logPath);
        process.start(QStringLiteral(BRENVOTH_SOURCE_DIR "/scripts/serve-release"),
                      {root, QStringLiteral("--rate"), QString::number(rate)});
        if (process.waitForReadyRead(10000))
            port = quint16(process.readLine().trimmed().toUInt());
        log.open(QIODevice::ReadOnly);
    }
    ~Server()
    {
        process.kill();
        process.waitForFinished();
    }
    quint16 listening() const { return port; }
    // Body bytes sent since the last call; the server logs each body just after sending it.
    qint64 takeBytesSent()
    {
        QThread::msleep(300);
        qint64 sent = 0;
        for (QByteArray line = log.readLine(); !line.isEmpty(); line = log.readLine()) {
            if (line.startsWith("sent "))
                sent += line.split(' ').value(1).toLongLong();
        }
        return sent;
    }

private:
    QProcess process;
    QFile log;
    quint16 port = 0;
};

QString megabytes(qint64 bytes)
{
    return QString::number(bytes / 1e6, 'f', 1) + QStringLiteral(" MB");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("old"), QStringLiteral("The files of the installed release."), QStringLiteral("DIR")},
        {QStringLiteral("new"), QStringLiteral("The files of the next release."), QStringLiteral("DIR")},
        {QStringLiteral("runs"), QStringLiteral("Runs of the updater and of curl at each rate."), QStringLiteral("count"),
         QStringLiteral("3")},
        {QStringLiteral("rate"), QStringLiteral("A serving rate in bytes per second, 0 for unthrottled; repeatable."),
         QStringLiteral("bytes")},
        {QStringLiteral("level"), QStringLiteral("brenvoth-release's zstd level."), QStringLiteral("level"),
         QStringLiteral("19")},
        {QStringLiteral("label"), QStringLiteral("What the two folders hold, for the report."), QStringLiteral("text")},
    });
    parser.process(app);
    QList<qint64> rates;
    for (const QString &rate : parser.values(QStringLiteral("rate")))
        rates << rate.toLongLong();
    if (rates.isEmpty())
        rates << 0;
    const int runs = std::max(1, parser.value(QStringLiteral("runs")).toInt());
    if (!parser.isSet(QStringLiteral("old")) || !parser.isSet(QStringLiteral("new"))) {
        std::fprintf(stderr, "give --old and --new (see --help)\n");
        return 2;
    }
    qInstallMessageHandler(discardMessage);

    QTemporaryDir work;
    DeltaBench bench(work.path(), parser.value(QStringLiteral("old")), parser.value(QStringLiteral("new")));
    const double publishSeconds = bench.publish(parser.value(QStringLiteral("level")).toInt());
    if (publishSeconds < 0) {
        std::fprintf(stderr, "publishing failed\n");
        return 1;
    }
    qint64 raw = 0, zst = 0, patched = 0, largest = 0;
    for (const ChangedFile &file : bench.changed()) {
        raw += file.raw;
        zst += file.zst;
        patched += file.patched;
        largest = std::max(largest, file.raw);
    }
    if (parser.isSet(QStringLiteral("label")))
        std::printf("%s\n", qPrintable(parser.value(QStringLiteral("label"))));
    std::printf("%d changed files, %s raw (largest %s); published at level %s in %.1f s\n",
                int(bench.changed().size()), qPrintable(megabytes(raw)), qPrintable(megabytes(largest)),
                qPrintable(parser.value(QStringLiteral("level"))), publishSeconds);
    std::printf("offered: .zst %s (%.1f %% of raw), patched %s (%.1f %% of raw; target <= 20 %%: %s)\n",
                qPrintable(megabytes(zst)), 100.0 * zst / raw, qPrintable(megabytes(patched)),
                100.0 * patched / raw, patched * 5 <= raw ? "met" : "MISSED");

    std::printf("%-12s %-16s %-16s %6s %10s %14s %9s %9s\n", "rate", "updater, click", "curl raw + sync",
                "ratio", "fetched", "anon peak-idle", "write()/B", "dirtied/B");
    for (const qint64 rate : rates) {
        Server server(work.path() + QStringLiteral("/www"), rate, work.path() + QStringLiteral("/server.log"));
        if (!server.listening()) {
            std::fprintf(stderr, "serve-release did not start\n");
            return 1;
        }
        QVector<double> updater, curl;
        qint64 fetched = 0, anonGrowth = 0;
        UpdateRun last;
        for (int run = 0; run < runs; ++run) {
            server.takeBytesSent();
            if (!bench.update(server.listening(), &last).isEmpty())
                return 1;
            fetched = server.takeBytesSent();
            anonGrowth = std::max(anonGrowth, last.peakAnonKiB - last.idleAnonKiB);
            updater << last.seconds;
            curl << bench.fetchWithCurl(server.listening());
            if (curl.last() < 0)
                return 1;
        }
        const QString label = rate == 0 ? QStringLiteral("unthrottled")
                                        : QStringLiteral("%1 Mbit/s").arg(rate * 8 / 1e6, 0, 'f', 0);
        std::printf("%-12s %-16.2f %-16.2f %6.2f %10s %10.1f MiB %9.2f %9.2f\n", qPrintable(label), median(updater),
                    median(curl), median(updater) / median(curl), qPrintable(megabytes(fetched)),
                    anonGrowth / 1024.0, double(last.passedToWrite) / raw, double(last.dirtied) / raw);
    }
    std::printf("seconds: medians of %d runs; fetched: body bytes the server sent in the last run; anon: the largest\n"
                "RssAnon growth over the idle window; write()/B: bytes given to write() per byte installed, dirtied/B:\n"
                "bytes of pages dirtied for storage (the decoded files are written through a mapping) per byte installed\n",
                runs);
    return 0;
}
