#ifndef KEPTRELEASE_H
#define KEPTRELEASE_H

#include "applicationlayout.h"
#include "commitjournal.h"
#include "releasecommit.h"

#include <QByteArray>
#include <QString>

/// The release that the last update replaced, kept in the updater's own
/// folder of the application directory until the new one has started: the
/// files it replaced and how to put it back, as the plan of a commit (its
/// version, its manifest, the files to take back in, the new release's own
/// files to take away). Putting it back is a commit like any other, with
/// its journal in the kept folder, so that a power cut leaves one release.
class KeptRelease
{
public:
    explicit KeptRelease(const ApplicationLayout &layout);

    /// Keeps the backups of the commit \a done, which replaced the release
    /// whose manifest was \a previousManifest, in place of an older copy.
    bool keep(const CommitJournal &done, const QByteArray &previousManifest) const;
    bool exists() const;
    /// The kept release's version; empty when none is kept.
    QString version() const;

    /// Where the kept copy belongs to the updater that asked for the update,
    /// not to whoever may ask the side that keeps it: only \a trialKey, of
    /// which a digest is kept, may have it put back or dropped.
    bool claim(const QByteArray &trialKey) const;
    bool isClaimedBy(const QByteArray &trialKey) const;

    /// Puts the kept release back, whole or not at all; it is gone after.
    /// Blocks: the caller runs it on a worker thread.
    bool restore();
    /// Finishes or undoes a restore that an earlier run left, and puts the
    /// kept release back where the installed one failed its trial and a
    /// restore had not begun; what it did, empty when nothing.
    QString recover();
    void remove() const;

    QString errorString() const { return error; }
    /// What a test makes of each step of the restore (ReleaseCommit's).
    void setStepHook(ReleaseCommit::StepHook hook) { stepHook = std::move(hook); }

private:
    bool readPlan(CommitJournal *plan) const;
    void removeAddedFolders(const CommitJournal &plan) const;

    const ApplicationLayout layout;     // of the application
    const ApplicationLayout keptLayout; // the kept copy as a staged release
    QString error;
    ReleaseCommit::StepHook stepHook;
};

#endif // KEPTRELEASE_H
