#include "trialhandover.h"
#include "failedrelease.h"
#include "keptrelease.h"
#include "machineapply.h"
#include "manifest.h"

#include <QDebug>
#include <QProcess>
#include <QtConcurrent>

TrialHandOver::TrialHandOver(const ApplicationLayout &layout, int trialTime, const QByteArray &trialKey,
                             QObject *parent)
    : QObject(parent)
    , layout(layout)
    , trialTime(trialTime)
    , trialKey(trialKey)
{
    connect(&trial, &ReleaseTrial::finished, this, &TrialHandOver::onTrialFinished);
    connect(&restoring, &QFutureWatcher<QString>::finished, this, [this] { onRestored(restoring.result()); });
}

TrialHandOver::~TrialHandOver()
{
    restoring.waitForFinished();
}

void TrialHandOver::start()
{
    result.triedVersion = Manifest::offeredVersion(Manifest::read(layout.localManifest()).root());
    result.keptVersion = KeptRelease(layout).version();
    qDebug().noquote() << QStringLiteral("Trial of %1 started").arg(result.triedVersion);
    trial.start(layout.program(), trialTime);
}

void TrialHandOver::onTrialFinished()
{
    result.failure = trial.failure();
    if (result.passed()) {
        qDebug().noquote() << QStringLiteral("Trial of %1 passed").arg(result.triedVersion);
        return dropKept();
    }
    qDebug().noquote() << QStringLiteral("Trial of %1 failed: Brenvoth %2").arg(result.triedVersion, result.failure);
    restoreKept();
}

void TrialHandOver::dropKept()
{
    if (!layout.appliedForUser()) {
        KeptRelease(layout).remove();
        return emit finished();
    }
    applyingSide = new MachineApply(layout, this);
    connect(applyingSide, &MachineApply::finished, this, [this] {
        if (applyingSide->error().failed())
            qDebug().noquote() << QStringLiteral("The kept release stays until the next update: %1")
                                      .arg(applyingSide->error().technical);
        emit finished();
    });
    applyingSide->dropPrevious(trialKey);
}

void TrialHandOver::restoreKept()
{
    // The applying side records the failure itself: its records are not the user's to write.
    if (layout.appliedForUser()) {
        applyingSide = new MachineApply(layout, this);
        connect(applyingSide, &MachineApply::finished, this, [this] {
            onRestored(applyingSide->error().failed() ? applyingSide->error().technical : QString());
        });
        return applyingSide->restorePrevious(trialKey);
    }
    // Recorded first: a release put back by the next start's recovery is not offered again either.
    if (!FailedRelease::record(layout, result.triedVersion))
        qDebug().noquote() << QStringLiteral("The failed release cannot be recorded");
    const ApplicationLayout kept = layout;
    restoring.setFuture(QtConcurrent::run([kept] {
        KeptRelease release(kept);
        return release.restore() ? QString() : release.errorString();
    }));
}

void TrialHandOver::onRestored(const QString &error)
{
    result.restoreError = error;
    if (result.restoreError.isEmpty()) {
        qDebug().noquote() << QStringLiteral("Restored %1").arg(result.keptVersion);
        const QString program = layout.program();
        QProcess::startDetached(program, QStringList{program});
    } else {
        qDebug().noquote() << QStringLiteral("%1 cannot be restored: %2").arg(result.keptVersion, result.restoreError);
    }
    emit finished();
}
