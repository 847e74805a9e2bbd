#ifndef TRIALHANDOVER_H
#define TRIALHANDOVER_H

#include "applicationlayout.h"
#include "releasetrial.h"

#include <QFutureWatcher>
#include <QObject>
#include <QString>

/// The hand-over after an update: the new Brenvoth on trial. A release that
/// passes loses its kept predecessor. One that fails is recorded as failed
/// here, the kept release is put back whole on a worker thread, and its
/// Brenvoth is started. finished() once, then outcome() says what happened.
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

    TrialHandOver(const ApplicationLayout &layout, int trialTime, QObject *parent = nullptr);
    /// A restore once begun is never left half-way.
    ~TrialHandOver() override;

    void start();
    const Outcome &outcome() const { return result; }

signals:
    void finished();

private:
    void onTrialFinished();
    void onRestored();

    const ApplicationLayout layout;
    const int trialTime;
    ReleaseTrial trial;
    QFutureWatcher<QString> restoring;
    Outcome result;
};

#endif // TRIALHANDOVER_H
