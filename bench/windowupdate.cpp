#include "windowupdate.h"

#include "benchsetup.h"
#include "generatedrelease.h"
#include "manifest.h"
#include "updatecontroller.h"
#include "updatewindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QStringList>

#include <cstdio>

namespace {

// The updater's last few messages, shown when a run went wrong; one per
// installed file is printed by design, so none is printed as it comes.
QStringList updaterMessages;

void keepMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    updaterMessages.append(message);
    if (updaterMessages.size() > 3)
        updaterMessages.removeFirst();
}

double fail(const QString &reason)
{
    std::fprintf(stderr, "%s\n", qPrintable(reason));
    return -1;
}

} // namespace

void clickUpdateAndWait(UpdateWindow &window, UpdateController &controller)
{
    window.findChild<QPushButton *>(QStringLiteral("update"))->click();
    UpdateJob *job = controller.job();
    if (!job || job->isFinished())
        return;
    QEventLoop loop;
    QObject::connect(job, &UpdateJob::finished, &loop, &QEventLoop::quit);
    loop.exec();
}

double updateThroughWindow(const GeneratedRelease &release, const QString &appDir,
                           const QString &baseUrl, const QString &servedDir, qint64 *written)
{
    if (!QDir(appDir).removeRecursively() || !release.layOutApplication(appDir) || !syncDisks())
        return fail(QStringLiteral("cannot lay out the application directory"));
    UpdateController controller(appDir, baseUrl);
    UpdateWindow window(&controller);
    if (controller.pending().updateNames.size() != release.files)
        return fail(QStringLiteral("the window found %1 pending files, not %2")
                        .arg(controller.pending().updateNames.size()).arg(release.files));
    window.show();
    QCoreApplication::processEvents();

    updaterMessages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(keepMessage);
    const qint64 writtenBefore = procSelfCounter("io", "wchar:");
    QElapsedTimer timer;
    timer.start();
    clickUpdateAndWait(window, controller);
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (written)
        *written = procSelfCounter("io", "wchar:") - writtenBefore;
    qInstallMessageHandler(previous);

    const QString wrong = release.wrongFile(appDir + QLatin1Char('/'), servedDir);
    if (!wrong.isEmpty())
        return fail(QStringLiteral("the updater: %1; its last messages: %2")
                        .arg(wrong, updaterMessages.join(QStringLiteral(" | "))));
    const Manifest::Document local = Manifest::read(appDir + QStringLiteral("/version.xml"));
    if (local.root().attribute(QStringLiteral("curVersion"))
        != QLatin1String(GeneratedRelease::newVersion))
        return fail(QStringLiteral("the updater left a local manifest without curVersion %1")
                        .arg(QLatin1String(GeneratedRelease::newVersion)));
    return seconds;
}
