#ifndef COMMITSTEP_H
#define COMMITSTEP_H

#include "applicationlayout.h"
#include "releasecommit.h"
#include "releaseplan.h"
#include "updateerror.h"

#include <QFutureWatcher>
#include <QObject>

/// The last step of an update: the staged release committed whole
/// (ReleaseCommit) on a worker thread, so that the window stays live while
/// a file that another program holds is waited for. A commit once begun is
/// never left half-way: destroying the step waits for it.
class CommitStep : public QObject
{
    Q_OBJECT

public:
    CommitStep(const ApplicationLayout &layout, int heldFileLimit, QObject *parent = nullptr);
    ~CommitStep() override;

    void start(const ReleasePlan &plan);
    const UpdateError &error() const { return failure; }

    /// How the failed \a commit in \a layout ended, in an update's terms.
    static UpdateError errorOf(const ReleaseCommit &commit, const ApplicationLayout &layout);

signals:
    /// What the commit waits for, in words for the user; empty when it goes on.
    void waiting(const QString &reason);
    void finished();

private:
    UpdateError run(const ReleasePlan &plan);
    void onWaitReport(const QString &file, const QString &program);

    const ApplicationLayout layout;
    const int heldFileLimit;
    QFutureWatcher<UpdateError> watcher;
    UpdateError failure;
};

#endif // COMMITSTEP_H
