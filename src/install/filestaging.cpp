#include "filestaging.h"
#include "fileinstall.h"
#include "httpdownloadfile.h"
#include "stagingrecords.h"
#include "zstddecode.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

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
                         const Manifest::FileIntegrity &integrity, const QVector<Way> &ways,
                         QObject *parent)
    : QObject(parent)
    , context(context)
    , stagedPath(stagedPath)
    , integrity(integrity)
    , ways(ways)
{
    retryTimer.setSingleShot(true);
    connect(&retryTimer, &QTimer::timeout, this, &FileStaging::startAttempt);
}

FileStaging::~FileStaging()
{
    delete downloader;
}

void FileStaging::start()
{
    startAttempt();
}

void FileStaging::cancel()
{
    cancelled = true;
    retryTimer.stop();
    delete downloader;
    downloader = nullptr;
}

void FileStaging::startAttempt()
{
    const Way &way = ways.at(wayIndex);
    const QFileInfo target(way.path);
    downloader = new HttpDownloadFile(target.fileName(), way.url, target.path(), context.network, this);
    downloader->setStallTimeout(context.stallTimeout);
    downloader->expectContent(way.expected.size, way.expected.sha256);
    downloader->setMaximumSize(way.limit);
    const StagingRecords::Record record = context.records->find(way.url);
    downloader->reuseStaged(target.size(), record.length, record.validator);
    connect(downloader, &HttpDownloadFile::responseStarted, this, [this, url = way.url] {
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
    const Way &way = ways.at(wayIndex);
    const bool succeeded = downloader->succeeded();
    const bool transient = downloader->failureIsTransient();
    const QString reason = failureText(*downloader);
    const QString detail = downloader->errorDetail();
    status = downloader->statusCode();
    if (!succeeded)
        failureCause = FailureCause::ofDownload(*downloader, way.path);
    askingProxy = downloader->proxyWantsCredentials() ? downloader->credentialsAskedBy() : QString();
    delete downloader;
    downloader = nullptr;

    if (succeeded) {
        if (!way.compressed || decode(way))
            finish();
        return;
    }
    if (transient && attempt < context.retries) {
        const int wait = context.retryPause << attempt;
        ++attempt;
        qDebug().noquote() << QStringLiteral("%1: %2; trying again in %3 s")
                                  .arg(way.shownName, reason).arg(wait / 1000.0);
        retryTimer.start(wait);
        return;
    }
    errorDetail = detail;
    // A server that gave no answer will not have the next way either, nor
    // will a proxy that wants to know who asks.
    if (status == 0 || !askingProxy.isEmpty())
        finish(reason, detail);
    else
        tryNextWay(reason);
}

// The compressed bytes are decoded and checked beside the staged file, and
// only then take its place.
bool FileStaging::decode(const Way &way)
{
    const QString decoded = way.path + QStringLiteral(".decoded");
    QString reason;
    const bool ok = decodeZstd({way.path, way.reference, decoded, integrity.size, integrity.sha256},
                               keepWindowResponsive, &reason);
    QFile::remove(way.path);
    if (cancelled)
        return false;
    if (!ok) {
        failureCause = FailureCause(FailureCause::Kind::Damaged);
        tryNextWay(reason);
        return false;
    }
    QFile::remove(stagedPath);
    if (!QFile::rename(decoded, stagedPath)) {
        failureCause = FailureCause::ofWriteFailure(stagedPath);
        finish(QStringLiteral("cannot move the decoded file into %1").arg(stagedPath));
        return false;
    }
    return true;
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
    if (!failure.isEmpty())
        error = QStringLiteral("%1: %2").arg(ways.at(wayIndex).shownName, failure);
    errorDetail = detail;
    done = true;
    emit finished();
}
