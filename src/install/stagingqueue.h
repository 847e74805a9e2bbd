#ifndef STAGINGQUEUE_H
#define STAGINGQUEUE_H

#include "filestaging.h"
#include "releaseplan.h"
#include "updateerror.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QVector>

#include <memory>

class ProxySignOn;
class ReleaseProgress;

/// Stages every file of a release, several at once and started in the
/// manifest's order: 6, one per connection, until the server has shown that
/// it multiplexes them over HTTP/2, then 100. The first failure stops the
/// others. A file that a proxy refused for want of credentials waits for
/// the user's answer (ProxySignOn), and so does one that was on its way
/// before it came; then they start again. finished() comes once none runs.
class StagingQueue : public QObject
{
    Q_OBJECT

public:
    /// HTTP/1.1 carries one request per connection at a time: as many files
    /// at once as browsers open connections to one host.
    static constexpr int connectionsPerHost = 6;
    /// HTTP/2 carries them all on one connection, as many as its streams.
    static constexpr int mostInFlight = 100;

    StagingQueue(const FileStaging::Context &context, const ApplicationLayout &layout, ProxySignOn *signOn,
                 QObject *parent = nullptr);
    ~StagingQueue() override;

    /// Stages \a plan's files from the release folder at \a releaseUrl.
    void start(const ReleasePlan &plan, const QString &releaseUrl);
    const UpdateError &error() const { return failure; }

signals:
    /// The share of the release's bytes staged, 0 to 99.
    void progressChanged(int value);
    void finished();

private:
    void startMore();
    void startStaging(int index);
    void onStagingFinished(int index, FileStaging *staging);
    bool awaitsSignOn(int index, const FileStaging &staging);
    void onSignOnAnswered();
    void fail(const UpdateError &error);
    void finishWhenIdle();
    int inFlightLimit() const { return multiplexed ? mostInFlight : connectionsPerHost; }

    const FileStaging::Context context;
    const ApplicationLayout layout;
    ProxySignOn *const signOn;
    QVector<PendingFile> files;
    QString releaseUrl;
    std::unique_ptr<ReleaseProgress> progress;
    int lastProgress = -1;
    int next = 0;
    QHash<int, FileStaging *> running;
    QVector<int> awaitingSignOn;
    QSet<int> startedBeforeAnswer;
    bool multiplexed = false;
    bool ended = false;
    UpdateError failure;
};

#endif // STAGINGQUEUE_H
