#ifndef FAILURECAUSE_H
#define FAILURECAUSE_H

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

/// Why an update was not installed, in words a person can act on. This is
/// the one place that turns what failed (an HTTP status, a network error, a
/// file that cannot be written, a refused manifest) into the sentence the
/// window leads with; the technical detail stays beside it, in parentheses.
class HttpDownloadFile;
class QDataStream;

class FailureCause
{
    Q_DECLARE_TR_FUNCTIONS(FailureCause)

public:
    enum class Kind {
        None,
        Other,
        MissingFile,      // the server does not have a file of the release
        ServerTrouble,    // the server answered, but not with the file
        Unreachable,      // no connection to the server
        Stalled,          // the download received nothing for too long
        Damaged,          // a file arrived other than the manifest describes it
        Untrusted,        // the server's certificate
        Proxy,
        Redirect,
        NoSpace,
        CannotWrite,      // the staging area or the folder may not be written
        InUse,            // an installed file cannot be replaced, and no program is known to hold it
        Held,             // another program held a file past the limit
        FolderInTheWay,
        BadManifest,      // the release's own description is unusable
        NotVerified,      // no publisher's signature vouches for it
        Older,            // a release published before the installed one
        NotWritable,      // a folder or file the user may not change for good
        Expired,          // the manifest went stale on the server or its mirror
    };

    FailureCause() = default;
    /// \a subject is the file or folder (relative to the application
    /// directory; empty for NotWritable: the directory itself) or,
    /// for Older, the release, for Expired, when it expired; \a amount is the bytes missing for NoSpace
    /// and the milliseconds of a stall.
    explicit FailureCause(Kind kind, const QString &subject = QString(), qint64 amount = 0)
        : what(kind), subject(subject), amount(amount) {}

    /// A failed \a download into \a path.
    static FailureCause ofDownload(const HttpDownloadFile &download, const QString &path);
    /// A write into \a path failed: a full disk or a folder that may not be written.
    static FailureCause ofWriteFailure(const QString &path);
    /// \a file stayed in use by \a program (a file name like Backup.exe;
    /// empty when unknown).
    static FailureCause ofHeldFile(const QString &file, const QString &program);

    Kind kind() const { return what; }
    /// What went wrong and what the user can do, as a clause without a full
    /// stop, starting in lower case.
    QString plainWords() const;

    /// As the side applying a release for the updater hands it over.
    friend QDataStream &operator<<(QDataStream &out, const FailureCause &cause);
    friend QDataStream &operator>>(QDataStream &in, FailureCause &cause);

private:
    Kind what = Kind::None;
    QString subject;
    qint64 amount = 0;
    QString program;
};

#endif // FAILURECAUSE_H
