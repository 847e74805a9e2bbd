#include "trialhandover.h"
#include "failedrelease.h"
#include "keptrelease.h"
#include "manifest.h"

#include <QDebug>
#include <QProcess>
#include <QtConcurrent>

TrialHandOver::TrialHandOver(const ApplicationLayout &layout, int trialTime, QObject *parent)
    : QObject(parent)
    , layout(layout)
    , trialTime(trialTime)
{
    connect(&trial, &ReleaseTrial::finished, this, &TrialHandOver::onTrialFinished);
    connect(&restoring, &QFutureWatcher<QString>::finished, this, &TrialHandOver::onRestored);
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
        KeptRelease(layout).remove();
        return emit finished();
    }
    qDebug().noquote() << QStringLiteral("Trial of %1 failed: Brenvoth %2").arg(result.triedVersion, result.failure);
    // Recorded first: a release put back by the next start's recovery is not offered again either.
    if (!FailedRelease::record(layout, result.triedVersion))
        qDebug().noquote() << QStringLiteral("The failed release cannot be recorded");
    const ApplicationLayout kept = layout;
    restoring.setFuture(QtConcurrent::run([kept] {
        KeptRelease release(kept);
        return release.restore() ? QString() : release.errorString();
    }));
}

void TrialHandOver::onRestored()
{
    result.restoreError = restoring.result();
    if (result.restoreError.isEmpty()) {
        qDebug().noquote() << QStringLiteral("Restored %1").arg(result.keptVersion);
        const QString program = layout.program();
        QProcess::startDetached(program, QStringList{program});
    } else {
        qDebug().noquote() << QStringLiteral("%1 cannot be restored: %2").arg(result.keptVersion, result.restoreError);
    }
    emit finished();
}
