#include "updatejob.h"
#include "closingwait.h"
#include "commitstep.h"
#include "httpsession.h"
#include "machineapply.h"
#include "preflight.h"
#include "proxysignon.h"
#include "serverlayout.h"
#include "signaturecheck.h"
#include "stagingqueue.h"
#include "stagingrecords.h"

#include <QDebug>

UpdateJob::UpdateJob(const ApplicationLayout &layout, const QString &downloadBaseUrl, const QByteArray &publicKeys,
                     const Limits &limits, QObject *parent)
    : QObject(parent)
    , layout(layout)
    , downloadBaseUrl(downloadBaseUrl)
    , publicKeys(publicKeys)
    , limits(limits)
    , network(std::make_unique<HttpSession>())
    , signOn(new ProxySignOn(network.get(), this))
    , closingWait(new ClosingWait(layout.program(), limits.closingLimit, this))
{
    connect(signOn, &ProxySignOn::credentialsNeeded, this, &UpdateJob::proxyCredentialsNeeded);
    connect(closingWait, &ClosingWait::waiting, this, &UpdateJob::waiting);
    connect(closingWait, &ClosingWait::finished, this, &UpdateJob::onClosed);
}

UpdateJob::~UpdateJob()
{
    // The steps go before the session their downloads run in.
    const QObjectList steps = children();
    qDeleteAll(steps);
}

QString UpdateJob::closingWords()
{
    return tr("Waiting for Brenvoth to close…");
}

QString UpdateJob::heldFileWords(const QString &file, const QString &program)
{
    return program.isEmpty() ? tr("Waiting for %1, which another program is using…").arg(file)
                             : tr("Waiting for %1, which %2 is using…").arg(file, program);
}

void UpdateJob::start(const QString &version, const QStringList &dirs, const QStringList &names)
{
    this->version = version;
    // The "v" is part of the server's paths, never translated.
    releaseUrl = downloadBaseUrl + ServerLayout::releaseFolder(version);
    closingWait->noteIfRunning();
    preflight = new Preflight(layout, !publicKeys.isEmpty(), this);
    connect(preflight, &Preflight::finished, this, &UpdateJob::onPreflightDone);
    preflight->start(version, dirs, names);
}

void UpdateJob::useProxyCredentials(const QString &userName, const QString &password)
{
    signOn->useCredentials(userName, password);
}

void UpdateJob::declineProxyCredentials()
{
    signOn->decline();
}

void UpdateJob::onPreflightDone()
{
    if (preflight->error().failed())
        return finish(preflight->error());
    records.reset(new StagingRecords(layout.stagingRecords()));
    const FileStaging::Context context{network.get(), records.get(), limits.stallTimeout, limits.retryPause,
                                       limits.retries};
    stagingQueue = new StagingQueue(context, layout, signOn, this);
    connect(stagingQueue, &StagingQueue::progressChanged, this, &UpdateJob::progressChanged);
    connect(stagingQueue, &StagingQueue::finished, this, &UpdateJob::onStaged);
    if (publicKeys.isEmpty())
        return stagingQueue->start(preflight->plan(), releaseUrl);
    signatureCheck = new SignatureCheck(context, layout, publicKeys, signOn, this);
    connect(signatureCheck, &SignatureCheck::finished, this, &UpdateJob::onSignatureChecked);
    // In the folder of the release the manifest names current, whichever is installed.
    signatureCheck->start(preflight->plan(),
                          downloadBaseUrl + ServerLayout::releaseFolder(preflight->plan().manifestVersion));
}

void UpdateJob::onSignatureChecked()
{
    if (signatureCheck->error().failed())
        return finish(signatureCheck->error());
    stagingQueue->start(preflight->plan(), releaseUrl);
}

void UpdateJob::onStaged()
{
    if (stagingQueue->error().failed())
        return finish(stagingQueue->error());
    closingWait->start();
}

void UpdateJob::onClosed()
{
    // Windows deletes no open file: the staging records go with download/.
    records.reset();
    if (layout.appliedForUser()) {
        machineApply = new MachineApply(layout, this);
        connect(machineApply, &MachineApply::finished, this, &UpdateJob::onApplied);
        return machineApply->start();
    }
    commitStep = new CommitStep(layout, limits.heldFileLimit, this);
    connect(commitStep, &CommitStep::waiting, this, &UpdateJob::waiting);
    connect(commitStep, &CommitStep::finished, this, &UpdateJob::onCommitted);
    commitStep->start(preflight->plan());
}

void UpdateJob::onCommitted()
{
    if (commitStep->error().failed())
        return finish(commitStep->error());
    emit progressChanged(100);
    finish(UpdateError());
}

void UpdateJob::onApplied()
{
    if (machineApply->error().failed())
        return finish(machineApply->error());
    emit progressChanged(100);
    finish(UpdateError());
}

QByteArray UpdateJob::trialKey() const
{
    return machineApply ? machineApply->trialKey() : QByteArray();
}

void UpdateJob::finish(const UpdateError &error)
{
    failure = error;
    ended = true;
    if (error.failed())
        qDebug().noquote() << QStringLiteral("Update to %1 not installed: %2%3")
                                  .arg(version, error.technical,
                                       error.detail.isEmpty() ? QString() : QStringLiteral(" [%1]").arg(error.detail));
    emit finished();
}
