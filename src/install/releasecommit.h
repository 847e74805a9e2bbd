#ifndef RELEASECOMMIT_H
#define RELEASECOMMIT_H

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
/// finished or undone by recover() at the next start.
class ReleaseCommit
{
public:
    struct File
    {
        QString dir;    // as in the manifest: empty or ending in "/"
        QString name;
    };

    /// What a test makes of the next step: go on, fail it, or stop dead
    /// there as a killed process would.
    enum class StepAction { Continue, Fail, Stop };
    using StepHook = std::function<StepAction(int step)>;

    explicit ReleaseCommit(const QString &applicationDir);

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
    /// After a failed commit: whether some file could not be put back, so
    /// that the journal stays for recover() to finish the work.
    bool isUnfinished() const { return unfinished; }

    void setStepHook(StepHook hook) { stepHook = std::move(hook); }

private:
    struct Plan
    {
        QString version;
        QVector<File> files;
        QVector<bool> existed;
        QStringList createdDirs;   // relative, outermost first
        QByteArray localManifest;
    };

    bool writeJournal(const Plan &plan);
    bool readJournal(Plan *plan) const;
    bool runForward(const Plan &plan);
    bool rollBack(const Plan &plan);
    bool finish();
    bool canGoForward(const Plan &plan) const;
    bool perform(const std::function<bool()> &operation);
    bool moveFile(const QString &from, const QString &to);
    bool fail(const QString &text);
    bool failOn(const QString &path, const QString &text);

    QString staged(const File &file) const;
    QString destination(const File &file) const;
    QString backup(const File &file) const;
    QString journalPath() const;
    QString bookkeepingPath() const;

    const QString applicationDir;
    const QString downloadDir;
    QString error;
    QString blocked;
    StepHook stepHook;
    QSet<QString> knownFolders;
    int stepCount = 0;
    bool stopped = false;
    bool unfinished = false;
};

#endif // RELEASECOMMIT_H
