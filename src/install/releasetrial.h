#ifndef RELEASETRIAL_H
#define RELEASETRIAL_H

#include <QObject>
#include <QProcess>
#include <QString>
#include <QTimer>

/// Brenvoth started as the hand-over starts it and watched for a while: a
/// release that cannot start, or whose program crashes within the trial
/// time, failed it; any other end, or still running at the end, passed.
/// A crash is a Windows error status (an access violation, a DLL not
/// found, a bad image), elsewhere a signal. Brenvoth runs on after the
/// trial and after the updater.
class ReleaseTrial : public QObject
{
    Q_OBJECT

public:
    /// Long enough for a missing library or a crash at start-up to show,
    /// short enough not to keep an updater that has nothing left to show.
    static constexpr int defaultTrialTime = 30000;

    explicit ReleaseTrial(QObject *parent = nullptr);
    ~ReleaseTrial() override;

    /// Starts \a program with its own full path as its one argument.
    void start(const QString &program, int trialTime);
    /// After finished(): how the release failed, for the log and the user;
    /// empty when it passed.
    QString failure() const { return failed; }

signals:
    void finished();

private:
    void onErrorOccurred(QProcess::ProcessError error);
    void onProcessFinished(int exitCode, QProcess::ExitStatus status);
    void end(const QString &failure);

    /// A QProcess ends its program when it is destroyed, unless it takes
    /// the program for ended: that is how a running Brenvoth is let go.
    class WatchedProcess : public QProcess
    {
    public:
        void letGo() { setProcessState(QProcess::NotRunning); }
    };

    WatchedProcess process;
    QTimer trialTimer;
    QString failed;
    bool over = false;
};

#endif // RELEASETRIAL_H
