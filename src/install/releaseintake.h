#ifndef RELEASEINTAKE_H
#define RELEASEINTAKE_H

#include "applicationlayout.h"
#include "releaseplan.h"
#include "updateerror.h"

#include <QByteArray>
#include <QString>

/// How the applying side of a per-machine install, which runs with more
/// rights than the user, takes in a release that the user downloaded and
/// staged: it trusts nothing the user can write. It copies the downloaded
/// manifest, its signature and each pending file once, opening none through
/// a link, into the staging folder of the target layout, which only it may
/// write, and checks the copies, never the user's files: the signature
/// against the built-in keys, a release not older than the installed one,
/// each entry's name and place, each file's size and SHA-256. A commit of
/// the plan then puts the copies in place. It blocks.
class ReleaseIntake
{
public:
    /// A minisign signature is a few hundred bytes; nothing larger is read.
    static constexpr qint64 signatureLimit = 64 * 1024;

    /// From \a stagedDir, laid out as an application folder's download
    /// folder, into \a target's staging folder, for its application folder.
    ReleaseIntake(const QString &stagedDir, const ApplicationLayout &target, const QByteArray &publicKeys);

    /// Empties the target's staging folder and takes the release in; on
    /// success \a plan is what to commit. Recovery must have run before:
    /// an unfinished commit's journal lies in that folder.
    bool take(ReleasePlan *plan, UpdateError *error);

private:
    bool readPlan(ReleasePlan *plan, UpdateError *error);
    bool copyFile(const PendingFile &file, UpdateError *error);
    bool copyIn(const QString &relativePath, const QString &to, qint64 limit, QByteArray *digest, qint64 *size,
                UpdateError *error);

    const QString stagedDir;
    const ApplicationLayout target;
    const QByteArray publicKeys;
};

#endif // RELEASEINTAKE_H
