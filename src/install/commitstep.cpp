#include "commitstep.h"
#include "runningprograms.h"
#include "updatejob.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QtConcurrent>

CommitStep::CommitStep(const ApplicationLayout &layout, int heldFileLimit, QObject *parent)
    : QObject(parent)
    , layout(layout)
    , heldFileLimit(heldFileLimit)
{
    connect(&watcher, &QFutureWatcher<UpdateError>::finished, this, [this] {
        failure = watcher.result();
        emit finished();
    });
}

CommitStep::~CommitStep()
{
    watcher.waitForFinished();
}

void CommitStep::start(const ReleasePlan &plan)
{
    watcher.setFuture(QtConcurrent::run([this, plan] { return run(plan); }));
}

// On the worker thread.
UpdateError CommitStep::run(const ReleasePlan &plan)
{
    QVector<ReleaseCommit::File> files;
    for (const PendingFile &file : plan.files)
        files.append({file.dir, file.name});
    ReleaseCommit commit(layout);
    commit.setHeldFileLimit(heldFileLimit);
    // The replaced release stays until the new one has started (TrialHandOver).
    commit.setKeepPrevious(true);
    commit.setWaitReport([this](const QString &file, const QString &program) {
        QMetaObject::invokeMethod(this, [=] { onWaitReport(file, program); }, Qt::QueuedConnection);
    });
    if (commit.commit(plan.version, files, plan.localManifest))
        return UpdateError();
    return errorOf(commit, layout);
}

UpdateError CommitStep::errorOf(const ReleaseCommit &commit, const ApplicationLayout &layout)
{
    const QString blocked = QDir(layout.applicationDir()).relativeFilePath(commit.blockedFile());
    QString program = commit.blockingProgram();
    // Where Windows cannot tell who holds it, Brenvoth still running is the likely one.
    if (program.isEmpty() && WindowsFiles::isRunning(layout.program()))
        program = ApplicationLayout::programName();
    const FailureCause cause = commit.blockedFile().isEmpty() ? FailureCause::ofWriteFailure(layout.applicationDir())
                               : commit.wasBlockedByHolder()   ? FailureCause::ofHeldFile(blocked, program)
                                                               : FailureCause(FailureCause::Kind::InUse, blocked);
    return UpdateError(commit.isUnfinished() ? UpdateError::Kind::Unfinished : UpdateError::Kind::NotInstalled, cause,
                       commit.errorString());
}

void CommitStep::onWaitReport(const QString &file, const QString &program)
{
    if (file.isEmpty())
        return emit waiting(QString());
    qDebug().noquote() << QStringLiteral("Waiting for %1, held by %2")
                              .arg(file, program.isEmpty() ? QStringLiteral("another program") : program);
    emit waiting(UpdateJob::heldFileWords(file, program));
}
