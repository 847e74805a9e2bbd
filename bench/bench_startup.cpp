// Time from the launch of a process to its window exposed on screen: the
// updater's window, with the application style sheet and a pair of manifests
// (100 files each unless --files says otherwise), against a bare QFrame of
// the same size.
//
//   bench_startup [--runs 20] [--files 100]...
//
// --files may be given more than once; each count gets its own row, and every
// run launches each of them and the bare frame once.
//
// The bench launches itself as the child each time and passes the launch
// instant (CLOCK_MONOTONIC) on the child's command line, so process creation,
// library loading and Qt's set-up all count. The child reports how long after
// that instant its window was exposed. Runs on xcb when DISPLAY is set, else
// on the offscreen platform.

#include "benchsetup.h"
#include "stylesheet.h"
#include "updatecontroller.h"
#include "updatewindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QFrame>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

const char childMode[] = "--child";
const QString updaterKind = QStringLiteral("window");
const QString frameKind = QStringLiteral("frame");

qint64 monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Shows \a widget and prints the milliseconds from \a launched to its first expose.
int reportExposure(QWidget &widget, qint64 launched)
{
    widget.show();
    bool timedOut = false;
    QTimer::singleShot(10000, [&timedOut] { timedOut = true; });
    while (!widget.windowHandle()->isExposed() && !timedOut)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (timedOut) {
        std::fprintf(stderr, "the window was not exposed within 10 s\n");
        return 1;
    }
    std::printf("%.3f\n", (monotonicNanoseconds() - launched) / 1e6);
    return 0;
}

// argv: --child <kind> <launch instant in ns> <application directory> <files>
int runChild(int argc, char **argv)
{
    const qint64 launched = QByteArray(argv[3]).toLongLong();
    const int manifestFiles = QByteArray(argv[5]).toInt();
    QApplication app(argc, argv);
    if (QLatin1String(argv[2]) == frameKind) {
        QFrame frame;
        frame.resize(639, 365);
        return reportExposure(frame, launched);
    }
    QFile styleFile(QStringLiteral(":/qss/style.qss"));
    app.setStyleSheet(readStyleSheet(styleFile));
    UpdateController controller(QString::fromLocal8Bit(argv[4]),
                                QStringLiteral("http://127.0.0.1/brenvothDownload/windows/"));
    UpdateWindow window(&controller);
    if (controller.pending().updateNames.size() != manifestFiles / 2) {
        std::fprintf(stderr, "the window found %d pending files, not %d\n",
                     int(controller.pending().updateNames.size()), manifestFiles / 2);
        return 1;
    }
    return reportExposure(window, launched);
}

// Milliseconds from launch to exposure of one child, or a negative number.
double launchChild(const QString &kind, const QString &appDir, int files,
                   const QProcessEnvironment &environment)
{
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QString::fromLatin1(childMode), kind,
                 QString::number(monotonicNanoseconds()), appDir, QString::number(files)});
    if (!child.waitForFinished(30000) || child.exitStatus() != QProcess::NormalExit
        || child.exitCode() != 0)
        return -1;
    bool reported = false;
    const double milliseconds = child.readAllStandardOutput().trimmed().toDouble(&reported);
    return reported ? milliseconds : -1;
}

void printRow(const QString &window, const QVector<double> &samples)
{
    std::printf("%-52s %9.1f %7.1f\n", qPrintable(window), median(samples),
                *std::min_element(samples.begin(), samples.end()));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 6 && std::strcmp(argv[1], childMode) == 0)
        return runChild(argc, argv);

    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("runs"), QStringLiteral("Launches of each window."),
                      QStringLiteral("count"), QStringLiteral("20")});
    parser.addOption({QStringLiteral("files"), QStringLiteral("Files in each manifest."),
                      QStringLiteral("count"), QStringLiteral("100")});
    parser.process(app);
    const int runs = std::max(1, parser.value(QStringLiteral("runs")).toInt());
    QVector<int> fileCounts;
    for (const QString &value : parser.values(QStringLiteral("files")))
        fileCounts.append(std::max(2, value.toInt()));

    // One application directory per count, named by it.
    QTemporaryDir work;
    for (const int files : qAsConst(fileCounts)) {
        const QString appDir = work.filePath(QString::number(files));
        if (!work.isValid()
            || !writeFile(appDir + QStringLiteral("/version.xml"), generatedManifest(files, false))
            || !writeFile(appDir + QStringLiteral("/download/version.xml"),
                          generatedManifest(files, true))) {
            std::fprintf(stderr, "cannot lay out the application directory\n");
            return 1;
        }
    }

    const QByteArray display = qgetenv("DISPLAY");
    const QString platform = display.isEmpty() ? QStringLiteral("offscreen") : QStringLiteral("xcb");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    // A desktop session has a runtime directory; without one Qt warns at every start.
    QTemporaryDir runtimeDir;
    if (!environment.contains(QStringLiteral("XDG_RUNTIME_DIR")))
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.path());

    QVector<QVector<double>> updater(fileCounts.size());
    QVector<double> frame;
    // The first launch of each brings the libraries into the page cache; it does not count.
    for (int run = -1; run < runs; ++run) {
        for (int i = 0; i < fileCounts.size(); ++i) {
            const int files = fileCounts.at(i);
            const double updaterMs =
                launchChild(updaterKind, work.filePath(QString::number(files)), files, environment);
            if (updaterMs < 0) {
                std::fprintf(stderr, "the updater window failed to show\n");
                return 1;
            }
            if (run >= 0)
                updater[i].append(updaterMs);
        }
        const double frameMs = launchChild(frameKind, work.path(), 0, environment);
        if (frameMs < 0) {
            std::fprintf(stderr, "the bare frame failed to show\n");
            return 1;
        }
        if (run >= 0)
            frame.append(frameMs);
    }

    const QString where = display.isEmpty()
        ? platform
        : QStringLiteral("%1 (DISPLAY %2)").arg(platform, QString::fromLocal8Bit(display));
    std::printf("platform %s, %d launches each, process launch to window exposed\n",
                qPrintable(where), runs);
    std::printf("%-52s %9s %7s\n", "window", "median ms", "min ms");
    for (int i = 0; i < fileCounts.size(); ++i) {
        printRow(QStringLiteral("updater window (style sheet, %1-file manifests)")
                     .arg(fileCounts.at(i)), updater.at(i));
    }
    printRow(QStringLiteral("bare QFrame 639x365"), frame);
    for (int i = 0; i < fileCounts.size(); ++i) {
        std::printf("with %d-file manifests the updater window adds %.1f ms (median) to the "
                    "bare frame\n", fileCounts.at(i), median(updater.at(i)) - median(frame));
    }
    return 0;
}
