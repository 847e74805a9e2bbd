#include "machineapply.h"
#include "applyrequest.h"
#include "applyresult.h"
#include "elevatedstart.h"
#include "machineinstall.h"
#include "servicestart.h"

#include <QDebug>
#include <QDir>
#include <QFile>

namespace {

// What the user can act on is today's: the folder needs an administrator.
UpdateError notApplied(const QString &technical)
{
    return UpdateError(UpdateError::Kind::NotInstalled, FailureCause(FailureCause::Kind::NotWritable), technical);
}

} // namespace

MachineApply::MachineApply(const ApplicationLayout &layout, QObject *parent)
    : QObject(parent)
    , layout(layout)
    , service(new ServiceStart(this))
    , elevated(new ElevatedStart(this))
{
    connect(service, &ServiceStart::finished, this, &MachineApply::onServiceFinished);
    connect(elevated, &ElevatedStart::finished, this, &MachineApply::onElevatedFinished);
}

void MachineApply::start()
{
    key = ApplyRequest::newToken();
    send(ApplyRequest{QDir::toNativeSeparators(layout.downloadDir()), {}, ApplyRequest::Kind::Apply, key}, true);
}

void MachineApply::restorePrevious(const QByteArray &trialKey)
{
    send(ApplyRequest{{}, {}, ApplyRequest::Kind::Restore, trialKey}, true);
}

void MachineApply::dropPrevious(const QByteArray &trialKey)
{
    send(ApplyRequest{{}, {}, ApplyRequest::Kind::Passed, trialKey}, false);
}

// A command-line argument as much as a service's: base64 needs no quoting.
void MachineApply::send(ApplyRequest asked, bool askForApproval)
{
    kind = asked.kind;
    mayAskForApproval = askForApproval;
    nonce = ApplyRequest::newToken();
    asked.nonce = nonce;
    request = QString::fromLatin1(asked.toBytes().toBase64());
    service->start(MachineInstall::serviceName(), request);
}

void MachineApply::onServiceFinished()
{
    switch (service->outcome()) {
    case ServiceStart::Outcome::Stopped:
        return finishWithResult(service->exitCode());
    case ServiceStart::Outcome::NotInstalled:
        if (!mayAskForApproval)
            return finish(notApplied(QStringLiteral("no update service: %1").arg(service->errorString())));
        qDebug().noquote() << QStringLiteral("No update service (%1): asking for administrator rights")
                                  .arg(service->errorString());
        return elevated->start(layout.applicationDir() + QLatin1Char('/') + MachineInstall::programName(),
                               {QStringLiteral("apply"), request});
    case ServiceStart::Outcome::Failed:
        return finish(notApplied(QStringLiteral("the update service failed: %1").arg(service->errorString())));
    }
}

void MachineApply::onElevatedFinished()
{
    switch (elevated->outcome()) {
    case ElevatedStart::Outcome::Ended:
        return finishWithResult(elevated->exitCode());
    case ElevatedStart::Outcome::Declined:
        return finish(notApplied(QStringLiteral("administrator rights were declined: nothing changed")));
    case ElevatedStart::Outcome::Failed:
        return finish(notApplied(QStringLiteral("neither the update service nor administrator rights: %1")
                                     .arg(elevated->errorString())));
    }
}

// The result lies in the applying side's own folder, which no user may
// write, and repeats this request's nonce: another request's result is
// none. The exit code only goes to the log: wine's service manager does
// not keep a service's own.
void MachineApply::finishWithResult(quint32 exitCode)
{
    QFile file(MachineInstall::resultFile());
    UpdateError result;
    QByteArray repeated;
    if (!file.open(QIODevice::ReadOnly) || !ApplyResult::parse(file.read(64 * 1024), &result, &repeated)
        || repeated != nonce)
        return finish(notApplied(QStringLiteral("the applying side ended with %1 and left no result in %2")
                                     .arg(exitCode).arg(file.fileName())));
    qDebug().noquote() << QStringLiteral("The applying side ended with %1").arg(exitCode);
    if (!result.failed() && kind == ApplyRequest::Kind::Apply)
        QDir(layout.downloadDir()).removeRecursively();
    finish(result);
}

void MachineApply::finish(const UpdateError &error)
{
    failure = error;
    emit finished();
}
