#ifndef CLOSINGWAIT_H
#define CLOSINGWAIT_H

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

/// Brenvoth, closing after it started the updater, may still hold its files,
/// and "OK" must not start a second one beside it: before the commit, the
/// update waits for it to end, up to a limit that runs from when it was first
/// seen, and never ends it itself. After the limit the commit goes on and
/// waits for its files.
class ClosingWait : public QObject
{
    Q_OBJECT

public:
    /// How often a closing Brenvoth is looked for.
    static constexpr int poll = 200;

    ClosingWait(const QString &program, int limitMsecs, QObject *parent = nullptr);

    /// Starts the limit if \a program runs now: its time to close runs
    /// while the release is staged.
    void noteIfRunning();
    /// Waits; finished() once it has ended or the limit has passed.
    void start();

signals:
    /// What the update waits for, in words for the user; empty when it goes on.
    void waiting(const QString &reason);
    void finished();

private:
    void onPoll();
    void end();

    const QString program;
    const int limit;
    QElapsedTimer seen;
    QTimer timer;
};

#endif // CLOSINGWAIT_H
