#include "applyforuser.h"
#include "applyrequest.h"
#include "applyresult.h"
#include "machineinstall.h"
#include "programfolders.h"
#include "releaseapplication.h"
#include "servicesetup.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

UpdateError refused(const QString &reason)
{
    return UpdateError(UpdateError::Kind::NotInstalled, FailureCause(FailureCause::Kind::Other),
                       QStringLiteral("request refused: %1").arg(reason));
}

// Only one plain folder, and only the one where the asking user's updater
// stages: whatever else a caller names is not read at all.
UpdateError applyStaged(ReleaseApplication &application, const ApplyRequest &request, const QString &applicationDir)
{
    qInfo().noquote() << QStringLiteral("Request to apply the release staged in %1 to %2")
                             .arg(request.stagedDir, QDir::toNativeSeparators(applicationDir));
    const QString expected = MachineInstall::stagedDirOfProfile(ProgramFolders::userProfiles(), request.stagedDir);
    if (expected.isEmpty() || !request.names(expected))
        return refused(QStringLiteral("%1 is not where a user's updater stages").arg(request.stagedDir));
    return application.apply(QDir::fromNativeSeparators(request.stagedDir), request.trialKey);
}

UpdateError carryOut(const QString &applicationDir, const QString &encodedRequest, const QByteArray &publicKeys,
                     QByteArray *nonce)
{
    QString reason;
    if (applicationDir.isEmpty())
        return refused(QStringLiteral("no application folder under Program Files is set for it"));
    if (!ServiceSetup::secureStateFolder(&reason))
        return refused(reason);
    ApplyRequest request;
    if (!ApplyRequest::parse(QByteArray::fromBase64(encodedRequest.toLatin1()), &request, &reason))
        return refused(reason);
    *nonce = request.nonce;
    ReleaseApplication application(applicationDir, MachineInstall::stateDir(), publicKeys);
    UpdateError error;
    switch (request.kind) {
    case ApplyRequest::Kind::Apply:
        error = applyStaged(application, request, applicationDir);
        break;
    case ApplyRequest::Kind::Restore:
        qInfo().noquote() << QStringLiteral("Request to put back the release kept in %1, after a failed trial")
                                 .arg(QDir::toNativeSeparators(applicationDir));
        error = application.restorePrevious(request.trialKey);
        break;
    case ApplyRequest::Kind::Passed:
        qInfo().noquote() << QStringLiteral("Request to drop the release kept in %1, after a passed trial")
                                 .arg(QDir::toNativeSeparators(applicationDir));
        error = application.dropPrevious(request.trialKey);
        break;
    }
    if (!application.recovered().isEmpty())
        qInfo().noquote() << QStringLiteral("Recovery: %1").arg(application.recovered());
    return error;
}

} // namespace

quint32 applyForUser(const QString &applicationDir, const QString &encodedRequest, const QByteArray &publicKeys)
{
    // No result of an earlier request may stand for this one.
    QFile::remove(MachineInstall::resultFile());
    QByteArray nonce;
    const UpdateError error = carryOut(applicationDir, encodedRequest, publicKeys, &nonce);
    if (error.failed())
        qWarning().noquote() << QStringLiteral("Not applied: %1%2").arg(
            error.technical, error.detail.isEmpty() ? QString() : QStringLiteral(" [%1]").arg(error.detail));
    else
        qInfo().noquote() << "Applied";
    QSaveFile result(MachineInstall::resultFile());
    if (!result.open(QIODevice::WriteOnly) || result.write(ApplyResult::toBytes(error, nonce)) < 0 || !result.commit())
        qWarning().noquote() << QStringLiteral("The result could not be written: %1").arg(result.errorString());
    return quint32(error.kind);
}
