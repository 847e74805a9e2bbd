#include "stagingqueue.h"
#include "proxysignon.h"
#include "releaseprogress.h"
#include "stagingways.h"

#include <utility>

StagingQueue::StagingQueue(const FileStaging::Context &context, const ApplicationLayout &layout,
                           ProxySignOn *signOn, QObject *parent)
    : QObject(parent)
    , context(context)
    , layout(layout)
    , signOn(signOn)
{
}

StagingQueue::~StagingQueue() = default;

void StagingQueue::start(const ReleasePlan &plan, const QString &releaseUrl)
{
    files = plan.files;
    this->releaseUrl = releaseUrl;
    QVector<qint64> sizes;
    for (const PendingFile &file : qAsConst(files))
        sizes.append(file.integrity.size);
    progress.reset(new ReleaseProgress(sizes));
    connect(signOn, &ProxySignOn::answered, this, &StagingQueue::onSignOnAnswered);
    startMore();
    finishWhenIdle();
}

void StagingQueue::startMore()
{
    while (!failure.failed() && signOn->state() != ProxySignOn::State::Asking && next < files.size()
           && running.size() < inFlightLimit())
        startStaging(next++);
}

void StagingQueue::startStaging(int index)
{
    const PendingFile &file = files.at(index);
    auto *staging = new FileStaging(context, layout.stagedPath(file.dir, file.name), file.integrity,
                                    file.stagedSize, waysTo(file, layout, releaseUrl), this);
    running.insert(index, staging);
    connect(staging, &FileStaging::progressed, this, [this, index](qint64 received, qint64 total) {
        progress->setReceived(index, received, total);
        const int value = progress->value();
        if (value > lastProgress)
            emit progressChanged(lastProgress = value);
    });
    connect(staging, &FileStaging::multiplexed, this, [this] {
        multiplexed = true;
        startMore();
    });
    connect(staging, &FileStaging::finished, this, [this, index, staging] { onStagingFinished(index, staging); });
    staging->start();
}

void StagingQueue::onStagingFinished(int index, FileStaging *staging)
{
    running.remove(index);
    staging->deleteLater();
    if (staging->succeeded()) {
        progress->setStaged(index);
        const int value = progress->value();
        if (value > lastProgress)
            emit progressChanged(lastProgress = value);
    } else if (!staging->wasCancelled() && !awaitsSignOn(index, *staging)) {
        fail(UpdateError(UpdateError::Kind::NotInstalled, staging->cause(), staging->errorString(),
                         staging->errorDetails()));
    }
    startMore();
    finishWhenIdle();
}

// A file refused for want of credentials waits while the user is asked, and
// so does one that was on its way before the answer came.
bool StagingQueue::awaitsSignOn(int index, const FileStaging &staging)
{
    const QString proxy = staging.credentialsAskedBy();
    const bool sentBeforeAnswer = startedBeforeAnswer.remove(index);
    if (proxy.isEmpty() || failure.failed() || signOn->state() == ProxySignOn::State::Declined)
        return false;
    if (signOn->state() == ProxySignOn::State::Answered && !sentBeforeAnswer)
        return false;
    awaitingSignOn.append(index);
    signOn->ask(proxy, UpdateError(UpdateError::Kind::NotInstalled, staging.cause(), staging.errorString(),
                                   staging.errorDetails()));
    return true;
}

void StagingQueue::onSignOnAnswered()
{
    const QVector<int> waiting = std::exchange(awaitingSignOn, {});
    if (signOn->state() == ProxySignOn::State::Declined) {
        if (!waiting.isEmpty())
            fail(signOn->refusal());
    } else {
        const QList<int> inFlight = running.keys();
        startedBeforeAnswer = QSet<int>(inFlight.begin(), inFlight.end());
        for (int index : waiting) {
            if (!failure.failed())
                startStaging(index);
        }
        startMore();
    }
    finishWhenIdle();
}

// The first failure is the one reported; the others in flight stop.
void StagingQueue::fail(const UpdateError &error)
{
    if (failure.failed())
        return;
    failure = error;
    for (FileStaging *staging : qAsConst(running))
        staging->cancel();
}

void StagingQueue::finishWhenIdle()
{
    const bool allStaged = next == files.size() && awaitingSignOn.isEmpty();
    if (ended || !running.isEmpty() || !(failure.failed() || allStaged))
        return;
    ended = true;
    emit finished();
}
