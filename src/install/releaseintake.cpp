#include "releaseintake.h"
#include "policies.h"
#include "durablefiles.h"
#include "linkfreefile.h"
#include "minisign.h"
#include "pendingupdate.h"
#include "serverlayout.h"
#include "sha256.h"

#include <QDir>
#include <QFileInfo>

namespace {

UpdateError refusal(const QString &reason)
{
    return UpdateError(UpdateError::Kind::NotVerified, FailureCause(FailureCause::Kind::NotVerified), reason);
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

ReleaseIntake::ReleaseIntake(const QString &stagedDir, const ApplicationLayout &target, const QByteArray &publicKeys)
    : stagedDir(stagedDir)
    , target(target)
    , publicKeys(publicKeys)
{
}

bool ReleaseIntake::take(ReleasePlan *plan, UpdateError *error)
{
    if (publicKeys.isEmpty()) {
        *error = refusal(QStringLiteral("this build has no publisher's key to check a release for all users against"));
        return false;
    }
    QDir staging(target.downloadDir());
    if (!staging.removeRecursively() || !QDir().mkpath(staging.path())) {
        *error = UpdateError(UpdateError::Kind::NotInstalled,
                             FailureCause(FailureCause::Kind::CannotWrite, target.downloadDir()),
                             QStringLiteral("%1 cannot be emptied").arg(target.downloadDir()));
        return false;
    }
    if (!readPlan(plan, error))
        return false;
    for (const PendingFile &file : plan->files) {
        if (!copyFile(file, error))
            return false;
    }
    return true;
}

// The manifest and its signature are copied first and only the copies are
// read, so that what the signature vouches for is what decides.
bool ReleaseIntake::readPlan(ReleasePlan *plan, UpdateError *error)
{
    QByteArray unused;
    qint64 size = 0;
    if (!copyIn(ServerLayout::manifestName(), target.downloadedManifest(), Manifest::maxBytes, &unused, &size, error)
        || !copyIn(ServerLayout::signatureName(), target.signature(), signatureLimit, &unused, &size, error))
        return false;
    QString reason;
    if (!Minisign::verify(publicKeys, contentOf(target.downloadedManifest()), contentOf(target.signature()), &reason)) {
        *error = refusal(reason);
        return false;
    }
    // The administrator's policies hold here too, read afresh: only
    // administrators can write them, and anyone may start this side.
    const Policies policies = Policies::ofThisMachine();
    if (policies.updatesDisabled) {
        *error = refusal(QStringLiteral("updates are disabled by the administrator's policy"));
        return false;
    }
    const PendingUpdate pending = compareManifests(target.downloadedManifest(), target.localManifest(), QLocale(),
                                                   policies.target);
    if (pending.status != Manifest::Status::Read) {
        *error = refusal(pending.failureLine());
        return false;
    }
    if (pending.updateDirs.isEmpty()) {
        *error = UpdateError(UpdateError::Kind::NotInstalled, FailureCause(FailureCause::Kind::Other),
                             QStringLiteral("no file of release %1 differs from the installed one").arg(pending.newVersion));
        return false;
    }
    if (!readReleasePlan(target, pending.newVersion, pending.updateDirs, pending.updateNames, true, plan, error))
        return false;
    if (const PendingFile *file = unverifiableFile(*plan)) {
        *error = refusal(QStringLiteral("%1%2 has no size and sha256 in the manifest").arg(file->dir, file->name));
        return false;
    }
    return true;
}

bool ReleaseIntake::copyFile(const PendingFile &file, UpdateError *error)
{
    const QString copy = target.stagedPath(file.dir, file.name);
    QByteArray digest;
    qint64 size = 0;
    if (!QDir().mkpath(QFileInfo(copy).path())
        || !copyIn(file.dir + file.name, copy, file.integrity.size, &digest, &size, error))
        return false;
    if (size == file.integrity.size && digest == file.integrity.sha256)
        return true;
    *error = refusal(QStringLiteral("%1%2 differs from the signed manifest").arg(file.dir, file.name));
    return false;
}

// Reads the staged file once, at most one byte past \a limit, and hashes
// the bytes as they are written: the copy is what is checked and used.
bool ReleaseIntake::copyIn(const QString &relativePath, const QString &to, qint64 limit, QByteArray *digest,
                           qint64 *size, UpdateError *error)
{
    LinkFreeFile staged;
    if (!staged.open(stagedDir, relativePath)) {
        *error = refusal(staged.errorString());
        return false;
    }
    QFile copy(to);
    if (!copy.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        *error = UpdateError(UpdateError::Kind::NotInstalled, FailureCause(FailureCause::Kind::CannotWrite, to),
                             QStringLiteral("%1: %2").arg(to, copy.errorString()));
        return false;
    }
    Sha256 hash;
    *size = 0;
    QByteArray chunk;
    while (*size <= limit) {
        chunk = staged.file().read(qMin<qint64>(1024 * 1024, limit + 1 - *size));
        if (chunk.isEmpty())
            break;
        hash.addData(chunk);
        *size += chunk.size();
        if (copy.write(chunk) != chunk.size())
            break;
    }
    const bool whole = staged.file().error() == QFileDevice::NoError && copy.error() == QFileDevice::NoError
                       && flushAsStaged(copy);
    *digest = hash.result();
    if (!whole) {
        *error = UpdateError(UpdateError::Kind::NotInstalled, FailureCause(FailureCause::Kind::CannotWrite, to),
                             QStringLiteral("%1 cannot be copied: %2").arg(relativePath, copy.errorString()));
        return false;
    }
    if (*size > limit) {
        *error = refusal(QStringLiteral("%1 is larger than it may be").arg(relativePath));
        return false;
    }
    return true;
}
