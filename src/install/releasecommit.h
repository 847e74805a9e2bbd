#ifndef RELEASECOMMIT_H
#define RELEASECOMMIT_H

#include "applicationlayout.h"
#include "commitjournal.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

/// Puts a wholly staged release in place so that an interruption at any
/// moment leaves the application with one release, the old or the new.
///
/// Before the first file moves, a journal in the download directory records
/// the release, its files, whether each one existed, the folders to create
/// and the local manifest to write. Each installed file is renamed aside into
/// a backup, then its staged copy is renamed into its place; last the local
/// manifest is replaced. A failure puts everything back; an interruption is
/// finished or undone by recover() at the next start. A file that another
/// program holds for a moment is waited for, up to a limit; a kill during
/// the wait is just an interruption like any other. It blocks: an update
/// runs it on a worker thread. A file marked removed is moved aside with
/// nothing in its place, as putting back a release that lacked it needs.
class ReleaseCommit
{
public:
    using File = CommitJournal::File;

    /// What a test makes of the next step: go on, fail it, stop dead there
    /// as a killed process would, or, for a move, fail it as a file that
    /// another program holds would (asked again at each retry).
    enum class StepAction { Continue, Fail, Stop, Hold };
    using StepHook = std::function<StepAction(int step)>;
    /// Told when a move starts waiting for \a file (relative to the
    /// application directory), which \a program (empty: unknown) holds, and
    /// with an empty file when the wait is over.
    using WaitReport = std::function<void(const QString &file, const QString &program)>;

    /// How long a move waits for a file that another program holds: long
    /// enough for a virus scanner, an indexer or a backup to let go of a
    /// file it just opened, short enough for a user watching the window.
    static constexpr int defaultHeldFileLimit = 30000;

    explicit ReleaseCommit(const ApplicationLayout &layout);

    /// Moves \a files, staged at download/<dir><name>, into the application
    /// directory and writes \a localManifest as its version.xml. On failure
    /// nothing has changed and errorString() names the file that blocked.
    bool commit(const QString &version, const QVector<File> &files, const QByteArray &localManifest);

    /// Finishes a commit that an earlier run left unfinished, when every
    /// file of it is staged or in place, and undoes it otherwise; deletes
    /// backups left behind. Returns what it did, empty when nothing.
    QString recover();

    QString errorString() const { return error; }
    /// After a failed commit: the file that could not be moved, if one was the cause.
    QString blockedFile() const { return blocked; }
    /// After a failed commit: whether another program held the blocked file
    /// past the limit, and that program's name where Windows could tell.
    bool wasBlockedByHolder() const { return blockedByHolder; }
    QString blockingProgram() const { return blockingHolder; }
    /// After a failed commit: whether some file could not be put back, so
    /// that the journal stays for recover() to finish the work.
    bool isUnfinished() const { return unfinished; }

    void setStepHook(StepHook hook) { stepHook = std::move(hook); }
    void setWaitReport(WaitReport report) { waitReport = std::move(report); }
    void setHeldFileLimit(int msecs) { heldFileLimit = msecs; }
    /// Keeps the replaced release (KeptRelease) instead of deleting it at the
    /// end of a commit, until the new one has started.
    void setKeepPrevious(bool keep) { keepPrevious = keep; }

private:
    bool runForward(const CommitJournal &plan, bool resuming);
    bool rollBack(const CommitJournal &plan);
    bool finish(const CommitJournal &plan);
    bool canGoForward(const CommitJournal &plan) const;
    bool perform(const std::function<bool()> &operation);
    bool moveFile(const QString &from, const QString &to, int step = -1);
    bool attemptMove(const QString &from, const QString &to, int step);
    QString holderOf(const QString &from, const QString &to) const;
    bool fail(const QString &text);
    bool failOn(const QString &path, const QString &text);

    QString staged(const File &file) const;
    QString destination(const File &file) const;
    QString backup(const File &file) const;

    const ApplicationLayout layout;
    const QString applicationDir;
    QString error;
    QString blocked;
    StepHook stepHook;
    WaitReport waitReport;
    int heldFileLimit = defaultHeldFileLimit;
    unsigned long lastError = 0;   // of the last move, the system's code
    bool held = false;             // the last move failed on a held file
    QString holder;
    bool blockedByHolder = false;
    QString blockingHolder;
    QSet<QString> knownFolders;
    int stepCount = 0;
    bool stopped = false;
    bool unfinished = false;
    bool keepPrevious = false;
    QByteArray previousManifest;   // of the release being replaced, when it is kept
};

#endif // RELEASECOMMIT_H
