#ifndef TRIALHANDOVER_H
#define TRIALHANDOVER_H

#include "applicationlayout.h"
#include "releasetrial.h"

#include <QByteArray>
#include <QFutureWatcher>
#include <QObject>
#include <QString>

class MachineApply;

/// The hand-over after an update: the new Brenvoth on trial. A release that
/// passes loses its kept predecessor. One that fails is recorded as failed,
/// the kept release is put back whole, and its Brenvoth is started: here on
/// a worker thread, or for a folder its user may not write, by the side
/// that applied it (MachineApply), for the trial key of the update.
/// finished() once, then outcome() says what happened.
class TrialHandOver : public QObject
{
    Q_OBJECT

public:
    struct Outcome
    {
        QString failure;        // how the tried release failed; empty: it passed
        QString triedVersion;
        QString keptVersion;
        QString restoreError;   // empty: the kept release is back
        bool passed() const { return failure.isEmpty(); }
    };

    TrialHandOver(const ApplicationLayout &layout, int trialTime, const QByteArray &trialKey,
                  QObject *parent = nullptr);
    /// A restore once begun is never left half-way.
    ~TrialHandOver() override;

    void start();
    const Outcome &outcome() const { return result; }

signals:
    void finished();

private:
    void onTrialFinished();
    void dropKept();
    void restoreKept();
    void onRestored(const QString &error);

    const ApplicationLayout layout;
    const int trialTime;
    const QByteArray trialKey;
    ReleaseTrial trial;
    MachineApply *applyingSide = nullptr;
    QFutureWatcher<QString> restoring;
    Outcome result;
};

#endif // TRIALHANDOVER_H
