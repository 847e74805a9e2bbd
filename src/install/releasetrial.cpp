#include "releasetrial.h"

namespace {

// How a process that ended crashed, in one line; empty when it did not.
QString crashOf(int exitCode, QProcess::ExitStatus status)
{
#ifdef Q_OS_WIN
    // Windows ends a crashed process with the error status that killed it:
    // both severity bits set, as 0xC0000005, 0xC0000135 or 0xC000007B.
    Q_UNUSED(status)
    const quint32 code = quint32(exitCode);
    if ((code & 0xC0000000u) != 0xC0000000u)
        return QString();
    return QStringLiteral("status 0x%1").arg(QString::number(code, 16).toUpper().rightJustified(8, QLatin1Char('0')));
#else
    if (status != QProcess::CrashExit)
        return QString();
    return QStringLiteral("signal %1").arg(exitCode);
#endif
}

} // namespace

ReleaseTrial::ReleaseTrial(QObject *parent)
    : QObject(parent)
{
    trialTimer.setSingleShot(true);
    connect(&trialTimer, &QTimer::timeout, this, [this] { end(QString()); });
    // Queued: a program that cannot start is told of within start(), before
    // its caller is ready to hear.
    connect(&process, &QProcess::errorOccurred, this, &ReleaseTrial::onErrorOccurred, Qt::QueuedConnection);
    connect(&process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            &ReleaseTrial::onProcessFinished);
}

// Brenvoth, still running, runs on after the trial and the updater.
ReleaseTrial::~ReleaseTrial()
{
    if (process.state() != QProcess::NotRunning) {
        process.disconnect(this);
        process.letGo();
    }
}

void ReleaseTrial::start(const QString &program, int trialTime)
{
    // Nothing ties Brenvoth to the updater's pipes, which go when it quits.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, QStringList{program});
    trialTimer.start(trialTime);
}

void ReleaseTrial::onErrorOccurred(QProcess::ProcessError error)
{
    if (error == QProcess::FailedToStart)
        end(QStringLiteral("cannot be started: %1").arg(process.errorString()));
}

void ReleaseTrial::onProcessFinished(int exitCode, QProcess::ExitStatus status)
{
    const QString crash = crashOf(exitCode, status);
    end(crash.isEmpty() ? QString() : QStringLiteral("ended with %1").arg(crash));
}

void ReleaseTrial::end(const QString &failure)
{
    if (over)
        return;
    over = true;
    trialTimer.stop();
    failed = failure;
    emit finished();
}
