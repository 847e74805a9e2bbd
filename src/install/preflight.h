#ifndef PREFLIGHT_H
#define PREFLIGHT_H

#include "releaseplan.h"

#include <QFutureWatcher>
#include <QObject>

/// The first step of an update: everything that can be known before the
/// first download, so that a release with one bad entry fetches nothing.
/// Reads the plan (ReleasePlan), then tries each folder the commit will
/// write in and each file it will replace (a folder the user may not write,
/// as Program Files without elevation, or a read-only file would fail the
/// commit after the whole download, and no retry would help), checks that
/// the release fits on the disk, and makes the staging folders. The file
/// work runs on a worker thread; finished() comes on this one.
class Preflight : public QObject
{
    Q_OBJECT

public:
    Preflight(const ApplicationLayout &layout, bool keyed, QObject *parent = nullptr);

    void start(const QString &version, const QStringList &dirs, const QStringList &names);

    const ReleasePlan &plan() const { return result.plan; }
    const UpdateError &error() const { return result.error; }

    /// Room beyond the release's files: the journal, the manifest, the bookkeeping.
    static constexpr qint64 spaceMargin = 4 * 1024 * 1024;
    /// How many compressed files may lie beside their decoded copies at once.
    static constexpr int mostCompressedAtOnce = 100;

signals:
    void finished();

private:
    struct Result
    {
        ReleasePlan plan;
        UpdateError error;
    };
    static Result run(const ApplicationLayout &layout, bool keyed, const QString &version, const QStringList &dirs,
                      const QStringList &names);

    const ApplicationLayout layout;
    const bool keyed;
    Result result;
    QFutureWatcher<Result> watcher;
};

#endif // PREFLIGHT_H
