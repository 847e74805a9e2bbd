#include "filestaging.h"
#include "durablefiles.h"
#include "httpdownloadfile.h"
#include "sha256.h"
#include "stagingrecords.h"
#include "zstdframe.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QtConcurrent>

#include <algorithm>

namespace {

// "Network error : 203" does not say which status it was.
QString failureText(const HttpDownloadFile &download)
{
    const QString reason = download.errorString();
    const HttpDownloadFile::Problem kind = download.problem();
    if (download.statusCode() < 400
        || (kind != HttpDownloadFile::Problem::MissingFile && kind != HttpDownloadFile::Problem::ServerTrouble))
        return reason;
    return QStringLiteral("HTTP %1, %2").arg(download.statusCode()).arg(reason);
}

} // namespace

FileStaging::FileStaging(const Context &context, const QString &stagedPath,
                         const Manifest::FileIntegrity &integrity, qint64 stagedSize, const QVector<StagingWay> &ways,
                         QObject *parent)
    : QObject(parent)
    , context(context)
    , stagedPath(stagedPath)
    , integrity(integrity)
    , stagedSize(stagedSize)
    , ways(ways)
{
    retryTimer.setSingleShot(true);
    connect(&retryTimer, &QTimer::timeout, this, &FileStaging::startAttempt);
    connect(&examining, &QFutureWatcher<Examination>::finished, this, &FileStaging::onExamined);
    connect(&decoding, &QFutureWatcher<Decoding>::finished, this, &FileStaging::onDecoded);
}

// Work on a worker thread is never left behind: it writes into the staging area.
FileStaging::~FileStaging()
{
    delete downloader;
    examining.waitForFinished();
    decoding.waitForFinished();
}

// Most files have nothing on disk to look at: they start at once.
void FileStaging::start()
{
    const auto patch = std::find_if(ways.cbegin(), ways.cend(), [](const StagingWay &way) { return !way.from.isEmpty(); });
    const bool mayBeStaged = integrity.isComplete() && stagedSize == integrity.size;
    if (!mayBeStaged && patch == ways.cend())
        return startAttempt();
    working = true;
    examining.setFuture(QtConcurrent::run(&FileStaging::examine, stagedPath, integrity, stagedSize,
                                          patch == ways.cend() ? QString() : patch->reference));
}

void FileStaging::cancel()
{
    if (done || cancelled)
        return;
    cancelled = true;
    retryTimer.stop();
    delete downloader;
    downloader = nullptr;
    if (!working)
        QMetaObject::invokeMethod(this, [this] { finish(); }, Qt::QueuedConnection);
}

// A copy staged whole by an earlier run, as the signed manifest describes
// it, need not be fetched again. A patch applies only to the copy it was
// made from, which is hashed here and never taken on the local manifest's word.
FileStaging::Examination FileStaging::examine(const QString &stagedPath, const Manifest::FileIntegrity &integrity,
                                              qint64 stagedSize, const QString &reference)
{
    Examination found;
    if (integrity.isComplete() && stagedSize == integrity.size && sha256OfFile(stagedPath) == integrity.sha256) {
        found.stagedWhole = flushAsStaged(stagedPath);
        return found;
    }
    if (!reference.isEmpty() && QFileInfo(reference).isFile())
        found.referenceDigest = sha256OfFile(reference);
    return found;
}

void FileStaging::onExamined()
{
    working = false;
    const Examination found = examining.result();
    if (cancelled || found.stagedWhole)
        return finish();
    // The first patch from the installed copy, if any, then the other ways.
    bool patchChosen = false;
    ways.erase(std::remove_if(ways.begin(), ways.end(),
                              [&](const StagingWay &way) {
                                  if (way.from.isEmpty())
                                      return false;
                                  const bool applies = !patchChosen && way.from == found.referenceDigest;
                                  patchChosen = patchChosen || applies;
                                  return !applies;
                              }),
               ways.end());
    startAttempt();
}

void FileStaging::startAttempt()
{
    const StagingWay &way = ways.at(wayIndex);
    const QFileInfo target(way.path);
    downloader = new HttpDownloadFile(target.fileName(), way.url, target.path(), context.network, this);
    downloader->setStallTimeout(context.stallTimeout);
    downloader->expectContent(way.expected.size, way.expected.sha256);
    downloader->setMaximumSize(way.limit);
    const StagingRecords::Record record = context.records ? context.records->find(way.url) : StagingRecords::Record();
    downloader->reuseStaged(target.size(), record.length, record.validator);
    connect(downloader, &HttpDownloadFile::responseStarted, this, [this, url = way.url] {
        if (context.records)
            context.records->remember(url, downloader->validator(), downloader->fileLength());
        if (downloader->usedHttp2())
            emit multiplexed();
    });
    connect(downloader, &HttpDownloadFile::downloadProgress, this,
            [this, size = way.expected.size](uint64_t received, uint64_t total) {
                const bool known = total > 0 && total != uint64_t(-1);
                emit progressed(qint64(received), known ? qint64(total) : qMax<qint64>(size, 0));
            });
    // The handler deletes the downloader, which must not happen inside its own signal.
    connect(downloader, &HttpDownloadFile::downloadFinished, this, &FileStaging::onAttemptEnded,
            Qt::QueuedConnection);
    downloader->startDownload();
}

void FileStaging::onAttemptEnded()
{
    if (cancelled || !downloader)
        return;
    const StagingWay way = ways.at(wayIndex);
    const bool fetched = downloader->succeeded();
    const bool transient = downloader->failureIsTransient();
    const QString reason = failureText(*downloader);
    const QString detail = downloader->errorDetail();
    status = downloader->statusCode();
    if (!fetched)
        failureCause = FailureCause::ofDownload(*downloader, way.path);
    askingProxy = downloader->proxyWantsCredentials() ? downloader->credentialsAskedBy() : QString();
    delete downloader;
    downloader = nullptr;

    if (fetched && way.compressed) {
        working = true;
        decoding.setFuture(QtConcurrent::run(&FileStaging::decode, way, stagedPath, integrity));
        return;
    }
    if (fetched)
        return finish();
    if (transient && attempt < context.retries) {
        const int wait = context.retryPause << attempt;
        ++attempt;
        qDebug().noquote() << QStringLiteral("%1: %2; trying again in %3 s").arg(way.shownName, reason).arg(wait / 1000.0);
        retryTimer.start(wait);
        return;
    }
    // A server that gave no answer will not have the next way either, nor
    // will a proxy that wants to know who asks.
    if (status == 0 || !askingProxy.isEmpty())
        finish(reason, detail);
    else
        tryNextWay(reason);
}

// The compressed bytes are decoded and checked beside the staged file, and
// only then take its place.
FileStaging::Decoding FileStaging::decode(const StagingWay &way, const QString &stagedPath,
                                          const Manifest::FileIntegrity &integrity)
{
    Decoding result;
    const QString decoded = way.path + QStringLiteral(".decoded");
    result.decoded = readZstdFrame({way.path, way.reference, decoded, integrity.size, integrity.sha256},
                                   &result.problem);
    QFile::remove(way.path);
    if (!result.decoded)
        return result;
    QFile::remove(stagedPath);
    result.moved = QFile::rename(decoded, stagedPath) && flushAsStaged(stagedPath);
    if (!result.moved)
        result.problem = QStringLiteral("cannot move the decoded file into %1").arg(stagedPath);
    return result;
}

void FileStaging::onDecoded()
{
    working = false;
    const Decoding result = decoding.result();
    if (cancelled || (result.decoded && result.moved))
        return finish();
    if (!result.decoded) {
        failureCause = FailureCause(FailureCause::Kind::Damaged);
        return tryNextWay(result.problem);
    }
    failureCause = FailureCause::ofWriteFailure(stagedPath);
    finish(result.problem);
}

void FileStaging::tryNextWay(const QString &reason)
{
    const QString failure = QStringLiteral("%1: %2").arg(ways.at(wayIndex).shownName, reason);
    if (wayIndex + 1 == ways.size()) {
        error = failure;
        done = true;
        emit finished();
        return;
    }
    ++wayIndex;
    attempt = 0;
    errorDetail.clear();
    qDebug().noquote() << QStringLiteral("%1; fetching %2 instead").arg(failure, ways.at(wayIndex).shownName);
    startAttempt();
}

void FileStaging::finish(const QString &failure, const QString &detail)
{
    if (done)
        return;
    if (!failure.isEmpty())
        error = QStringLiteral("%1: %2").arg(ways.at(wayIndex).shownName, failure);
    errorDetail = detail;
    done = true;
    emit finished();
}
