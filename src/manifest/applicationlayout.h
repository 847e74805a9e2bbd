#ifndef APPLICATIONLAYOUT_H
#define APPLICATIONLAYOUT_H

#include <QString>

/// Where everything lies in the application directory: the installed release
/// and its manifest, Brenvoth.exe, the updater's lock, and the download
/// directory in which a release is staged and committed. The download
/// directory is the updater's own: it goes at the end of every update.
class ApplicationLayout
{
public:
    /// \a applicationDir without a trailing slash.
    explicit ApplicationLayout(const QString &applicationDir);
    /// A release staged in \a stagingDir, outside the application folder.
    ApplicationLayout(const QString &applicationDir, const QString &stagingDir);
    /// Where a side that may write the folder when its user may not keeps
    /// what it does in \a ownDir: the release it takes in, its journal, the
    /// release it replaced and the record of one that failed.
    static ApplicationLayout appliedFrom(const QString &applicationDir, const QString &ownDir);
    /// A folder its user may not write: the user stages the release in the
    /// download folder of \a userDir, under a lock there, and the side in
    /// \a applyingDir applies it, whose records the user only reads.
    static ApplicationLayout stagedByUser(const QString &applicationDir, const QString &userDir,
                                          const QString &applyingDir);

    bool appliedForUser() const { return forUser; }

    QString applicationDir() const { return appDir; }
    QString localManifest() const;
    QString program() const;
    QString lockFile() const;

    QString downloadDir() const { return stagingDir; }
    QString downloadedManifest() const;
    QString signature() const;
    /// The commit's journal, backups and what staging remembers.
    QString bookkeepingDir() const;
    QString journal() const;
    QString backupDir() const;
    QString stagingRecords() const;
    QString partsDir() const;

    /// The updater's own folder, which outlives an update (in the
    /// application directory, or the applying side's): the release an update
    /// replaced, kept until the new one has started, and the record of a
    /// release that did not start here.
    QString keptReleaseDir() const;
    QString failedReleaseRecord() const;

    /// Where the file \a dir + \a name of a release is staged, goes, and is
    /// kept during its commit.
    QString stagedPath(const QString &dir, const QString &name) const;
    QString destinationPath(const QString &dir, const QString &name) const;
    QString backupPath(const QString &dir, const QString &name) const;

    /// The names above, relative to the application directory.
    static QString localManifestName();
    static QString programName();
    static QString lockName();
    static QString downloadFolderName();
    static QString bookkeepingFolderName();

private:
    QString appDir;
    QString stagingDir;
    QString lock;
    QString ownDir;
    bool forUser = false;
};

#endif // APPLICATIONLAYOUT_H
