#include "installation.h"
#include "entrycheck.h"
#include "fileinstall.h"
#include "httpdownloadfile.h"
#include "httpsession.h"
#include "releaseprogress.h"
#include "minisign.h"
#include "releasecommit.h"
#include "serverlayout.h"
#include "stagingrecords.h"
#include "windowsfiles.h"
#include "writeprobe.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QDomNodeList>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>

#include <algorithm>
#include <functional>
#include <utility>

namespace {

// A minisign signature is a few hundred bytes; nothing larger is fetched.
constexpr qint64 signatureLimit = 64 * 1024;
// HTTP/1.1 carries one request per connection at a time: as many files at
// once as browsers open connections to one host.
constexpr int connectionsPerHost = 6;
// HTTP/2 carries them all on one connection, as many as its streams.
constexpr int mostInFlight = 100;
// Room beyond the release's files: the journal, the manifest, the bookkeeping.
constexpr qint64 spaceMargin = 4 * 1024 * 1024;
// How often a closing Brenvoth is looked for.
constexpr int closingPoll = 200;

} // namespace

Installation::Installation(const QString &applicationDir, const QString &downloadBaseUrl,
                           QObject *parent)
    : QObject(parent)
    , applicationDir(applicationDir)
    , downloadDir(ApplicationLayout(applicationDir).downloadDir())
    , downloadBaseUrl(downloadBaseUrl)
    , network(std::make_unique<HttpSession>())
    , layout(applicationDir)
    , entryCheck(layout)
{
}

Installation::~Installation() = default;

const int Installation::defaultStallTimeout = HttpDownloadFile::defaultStallTimeout;

void Installation::recoverInterrupted(const QString &applicationDir)
{
    const QString done = ReleaseCommit(applicationDir).recover();
    if (!done.isEmpty())
        qDebug().noquote() << QStringLiteral("Recovery: %1").arg(done);
}

void Installation::run(const QString &version, const QStringList &dirs, const QStringList &names)
{
    // Its time to close runs while the release is staged.
    if (WindowsFiles::isRunning(applicationProgram()))
        applicationSeen.start();
    const bool succeeded = prepare(version, dirs, names) && (publicKey.isEmpty() || verifySignature())
                           && stageAll() && commit(version);
    if (succeeded)
        emit progressChanged(100);
    emit finished(succeeded);
}

// Everything that can be known before the first download is checked first,
// so that a release with one bad entry fetches nothing.
bool Installation::prepare(const QString &version, const QStringList &dirs, const QStringList &names)
{
    offeredVersion = version;
    urlPrefix = downloadBaseUrl + ServerLayout::releaseFolder(version);
    // The bytes that are checked against the signature are the bytes used.
    QFile manifestFile(layout.downloadedManifest());
    QDomDocument document;
    if (manifestFile.open(QIODevice::ReadOnly) && manifestFile.size() <= Manifest::maxBytes) {
        downloadedManifest = manifestFile.readAll();
        QBuffer buffer(&downloadedManifest);
        buffer.open(QIODevice::ReadOnly);
        Manifest::parse(&buffer, &document);
    }
    QDomElement root = document.documentElement();
    if (root.tagName() != QLatin1String("filelist"))
        return refuseManifest({}, tr("the downloaded manifest can no longer be read"));
    if (!isNotOlderThanInstalled(root))
        return false;
    if (!readIntegrities(Manifest::currentRelease(root, version), dirs, names) || !mayWriteEverywhere()
        || !hasRoomForRelease())
        return false;
    root.setAttribute(QStringLiteral("curVersion"), version);
    localManifest = Manifest::rewrittenOrCopied(document, downloadedManifest);
    records.reset(new StagingRecords(layout.stagingRecords()));
    return true;
}

// A signed manifest of an older release, served again, would take the user
// back to it: the publication times may only grow. Without a key nothing is
// signed, so only a manifest with a time is held to it.
bool Installation::isNotOlderThanInstalled(const QDomElement &downloadedRoot)
{
    qint64 offered = -1;
    qint64 installed = -1;
    if (!Manifest::readPublished(downloadedRoot, &offered))
        return refuseManifest({}, tr("the downloaded manifest's publication time \"%1\" is not a whole number of seconds")
                            .arg(downloadedRoot.attribute(QStringLiteral("published"))));
    const Manifest::Document local = Manifest::read(layout.localManifest());
    if (local.status != Manifest::Status::Read || !Manifest::readPublished(local.root(), &installed)
        || installed < 0)
        return true;
    if (offered < 0 && !publicKey.isEmpty())
        return refuseOlder(tr("it has no publication time, and the installed release has one"));
    if (offered >= 0 && offered < installed)
        return refuseOlder(tr("it was published on %1, the installed one on %2")
                               .arg(Manifest::publishedText(offered), Manifest::publishedText(installed)));
    return true;
}

// The pending files are the release's entries in document order, with some
// left out; each is matched to its entry for the size and digest it gives.
bool Installation::readIntegrities(const QDomElement &release, const QStringList &dirs,
                                   const QStringList &names)
{
    const QDomNodeList entries = release.elementsByTagName(QStringLiteral("file"));
    QSet<QString> seen;
    int next = 0;
    for (int i = 0; i < dirs.size() && i < names.size(); ++i) {
        PendingFile file{dirs.at(i), names.at(i), {}, {}};
        QDomElement entry;
        while (next < entries.length() && entry.isNull()) {
            const QDomElement candidate = entries.at(next++).toElement();
            if (candidate.attribute(QStringLiteral("dir")) == file.dir
                && candidate.attribute(QStringLiteral("name")) == file.name)
                entry = candidate;
        }
        QString reason;
        if (entry.isNull())
            return refuseManifest(file, tr("the downloaded manifest changed after it was read"));
        if (!entryCheck.allows(file.dir, file.name, &reason) || !Manifest::readIntegrity(entry, &file.integrity, &reason))
            return refuseManifest(file, reason);
        file.delivery = Manifest::readDelivery(entry);
        // The same file listed twice is fetched and installed once.
        const QString key = pathKey(stagedPath(file));
        if (!seen.contains(key)) {
            seen.insert(key);
            files.append(file);
        }
    }
    return true;
}

// A folder the user may not write, as Program Files without elevation, or a
// read-only file would fail the commit after the whole download, and no
// retry would help: each folder the commit writes in (the nearest existing
// one for a new folder) and each file it replaces is tried first.
bool Installation::mayWriteEverywhere()
{
    QStringList folders{applicationDir, downloadDir};
    QStringList replaced;
    for (const PendingFile &file : qAsConst(files)) {
        const QString destination = destinationPath(file);
        QString folder = QFileInfo(destination).path();
        while (!QFileInfo(folder).isDir() && folder.size() > applicationDir.size())
            folder = QFileInfo(folder).path();
        if (!folders.contains(folder))
            folders << folder;
        if (QFileInfo(destination).isFile())
            replaced << destination;
    }
    QString reason;
    for (const QString &folder : qAsConst(folders)) {
        if (!canCreateFileIn(folder, &reason))
            return failNotWritable(folder, reason);
    }
    for (const QString &path : qAsConst(replaced)) {
        if (!mayReplaceFile(path, &reason))
            return failNotWritable(path, reason);
    }
    return true;
}

bool Installation::failNotWritable(const QString &path, const QString &reason)
{
    const QString relative = QDir(applicationDir).relativeFilePath(path);
    return fail({}, reason, FailureCause(FailureCause::Kind::NotWritable,
                                         relative == QLatin1String(".") ? QString() : relative));
}

// A disk that fills up half-way fails the update after the whole download; a
// release that cannot fit is not fetched at all. What an earlier run staged
// counts as there, and each compressed copy in flight lies beside its decoded
// file for a moment.
bool Installation::hasRoomForRelease()
{
    qint64 needed = spaceMargin;
    QVector<qint64> compressed;
    for (const PendingFile &file : qAsConst(files)) {
        if (file.integrity.size < 0)
            continue;
        needed += file.integrity.size - qBound<qint64>(0, QFileInfo(stagedPath(file)).size(), file.integrity.size);
        qint64 largest = file.delivery.compressedSize;
        for (const Manifest::Delivery::Patch &patch : file.delivery.patches)
            largest = qMax(largest, patch.size);
        if (largest > 0)
            compressed.append(largest);
    }
    std::sort(compressed.begin(), compressed.end(), std::greater<qint64>());
    for (int i = 0; i < compressed.size() && i < mostInFlight; ++i)
        needed += compressed.at(i);
    const QStorageInfo volume(applicationDir);
    if (!volume.isValid() || volume.bytesAvailable() >= needed)
        return true;
    return fail({}, tr("the release needs %1 bytes, %2 are free on %3")
                        .arg(needed).arg(volume.bytesAvailable()).arg(volume.rootPath()),
                FailureCause(FailureCause::Kind::NoSpace, QString(), needed - volume.bytesAvailable()));
}

// The signature protects the files only through their sizes and digests.
bool Installation::verifySignature()
{
    for (const PendingFile &file : qAsConst(files)) {
        if (!file.integrity.isComplete())
            return refuse(tr("%1%2 has no size and sha256 in the manifest").arg(file.dir, file.name));
    }
    int status = 0;
    if (!fetchSignature(&status)) {
        // A server that answers without the signature cannot vouch for the
        // release; one that cannot be reached is a failed download.
        // A proxy's 407 is no answer of the server's.
        if (status >= 400 && status <= 499 && status != 407)
            return refuse(tr("the signature cannot be fetched: %1").arg(error));
        return false;
    }
    QFile signatureFile(layout.signature());
    QString reason;
    if (!signatureFile.open(QIODevice::ReadOnly)
        || !Minisign::verify(publicKey, downloadedManifest, signatureFile.read(signatureLimit), &reason))
        return refuse(reason.isEmpty() ? signatureFile.errorString() : reason);
    return true;
}

bool Installation::fetchSignature(int *status)
{
    const PendingFile signature{QString(), ServerLayout::signatureName(), {}, {}};
    FileStaging::Way way = rawWay(signature, urlPrefix + signature.name, stagedPath(signature));
    way.limit = signatureLimit;
    FileStaging staging(stagingContext(), way.path, {}, {way});
    connect(&staging, &FileStaging::finished, this, wakeResponsiveWait);
    staging.start();
    waitResponsively([&staging] { return staging.isFinished(); });
    *status = staging.statusCode();
    if (staging.succeeded())
        return true;
    if (!staging.credentialsAskedBy().isEmpty() && signOn == SignOn::NotAsked) {
        askForSignOn(staging);
        waitResponsively([this] { return signOn != SignOn::Asking; });
        if (signOn == SignOn::Answered)
            return fetchSignature(status);
    }
    failed = Failure::NotInstalled;
    error = staging.errorString();
    errorDetail = staging.errorDetails();
    failureCause = staging.cause();
    return false;
}

QString Installation::stagedPath(const PendingFile &file) const
{
    return layout.stagedPath(file.dir, file.name);
}

// Up to inFlightLimit() files are staged at once, started in manifest order.
// Starting one may hash a file; that, and deleting the finished ones,
// happens here rather than in a handler, which may run nested in another
// staging's decoding.
bool Installation::stageAll()
{
    progress.reset(new ReleaseProgress([this] {
        QVector<qint64> sizes;
        for (const PendingFile &file : qAsConst(files))
            sizes.append(file.integrity.size);
        return sizes;
    }()));
    QDir().mkpath(QFileInfo(partPath(urlPrefix)).path());
    int next = 0;
    while (!running.isEmpty() || !awaitingSignOn.isEmpty() || (failed == Failure::None && next < files.size())) {
        stateChanged = false;
        const bool asking = signOn == SignOn::Asking;
        if (!asking)
            resumeAfterSignOn();
        while (!asking && failed == Failure::None && next < files.size() && running.size() < inFlightLimit()) {
            if (!startStaging(next++))
                cancelStagings();
        }
        if (!running.isEmpty() || asking)
            waitResponsively([this] { return stateChanged; });
        qDeleteAll(ended);
        ended.clear();
    }
    return failed == Failure::None;
}

// Each transfer in flight gets a connection of its own until the server is
// known to multiplex: a transfer never waits in libcurl for a connection
// while its stall timer runs.
int Installation::inFlightLimit() const
{
    return multiplexed ? mostInFlight : connectionsPerHost;
}

bool Installation::startStaging(int index)
{
    const PendingFile &file = files.at(index);
    const QString saveDir = QFileInfo(stagedPath(file)).path();
    QString reason;
    if (!stagingFolders.contains(saveDir)) {
        if (!makeFolderInside(downloadDir, saveDir, &reason))
            return fail(file, reason);
        stagingFolders.insert(saveDir);
    }
    if (isStagedAlready(file)) {
        progress->setStaged(index);
        reportProgress();
        return true;
    }
    const QVector<FileStaging::Way> ways = waysTo(file);
    // Hashing let the others run; one of them may have failed meanwhile.
    if (failed != Failure::None)
        return true;
    auto *staging = new FileStaging(stagingContext(), stagedPath(file), file.integrity, ways, this);
    running.insert(index, staging);
    connect(staging, &FileStaging::progressed, this, [this, index](qint64 received, qint64 total) {
        progress->setReceived(index, received, total);
        reportProgress();
    });
    connect(staging, &FileStaging::multiplexed, this, [this] { multiplexed = true; });
    connect(staging, &FileStaging::finished, this, [this, index, staging] { onStagingFinished(index, staging); });
    staging->start();
    return true;
}

void Installation::onStagingFinished(int index, FileStaging *staging)
{
    noteStateChanged();
    running.remove(index);
    ended.append(staging);
    if (staging->succeeded()) {
        progress->setStaged(index);
        reportProgress();
        return;
    }
    if (awaitSignOn(index, *staging))
        return;
    // The first failure is the one reported; the others in flight stop.
    if (failed == Failure::None) {
        failed = Failure::NotInstalled;
        error = staging->errorString();
        errorDetail = staging->errorDetails();
        failureCause = staging->cause();
        cancelStagings();
    }
}

// A file refused for want of credentials waits while the user is asked, and
// so does one that was on its way before the answer came.
bool Installation::awaitSignOn(int index, const FileStaging &staging)
{
    const QString proxy = staging.credentialsAskedBy();
    const bool sentBeforeAnswer = startedBeforeSignOn.remove(index);
    if (proxy.isEmpty() || failed != Failure::None || signOn == SignOn::Declined)
        return false;
    if (signOn == SignOn::Answered && !sentBeforeAnswer)
        return false;
    awaitingSignOn.append(index);
    if (signOn == SignOn::NotAsked)
        askForSignOn(staging);
    return true;
}

void Installation::askForSignOn(const FileStaging &refused)
{
    signOn = SignOn::Asking;
    signOnProxy = refused.credentialsAskedBy();
    refusal = refused.errorString();
    refusalDetail = refused.errorDetails();
    refusalCause = refused.cause();
    qDebug().noquote() << QStringLiteral("Asking for the user name and password of proxy %1").arg(signOnProxy);
    emit proxyCredentialsNeeded(signOnProxy);
}

void Installation::useProxyCredentials(const QString &userName, const QString &password)
{
    if (signOn != SignOn::Asking)
        return;
    network->signOn(signOnProxy, userName, password);
    signOn = SignOn::Answered;
    const QList<int> inFlight = running.keys();
    startedBeforeSignOn = QSet<int>(inFlight.begin(), inFlight.end());
    noteStateChanged();
}

void Installation::declineProxyCredentials()
{
    if (signOn != SignOn::Asking)
        return;
    signOn = SignOn::Declined;
    noteStateChanged();
}

void Installation::resumeAfterSignOn()
{
    if (awaitingSignOn.isEmpty())
        return;
    const QVector<int> waiting = std::exchange(awaitingSignOn, {});
    if (signOn == SignOn::Declined) {
        if (failed == Failure::None) {
            failed = Failure::NotInstalled;
            error = refusal;
            errorDetail = refusalDetail;
            failureCause = refusalCause;
            cancelStagings();
        }
        return;
    }
    for (int index : waiting) {
        if (failed == Failure::None && !startStaging(index))
            cancelStagings();
    }
}

void Installation::cancelStagings()
{
    noteStateChanged();
    for (FileStaging *staging : qAsConst(running)) {
        staging->cancel();
        ended.append(staging);
    }
    running.clear();
}

// stageAll() waits for this.
void Installation::noteStateChanged()
{
    stateChanged = true;
    wakeResponsiveWait();
}

void Installation::reportProgress()
{
    const int value = progress->value();
    if (value > lastProgress) {
        lastProgress = value;
        emit progressChanged(value);
    }
}

FileStaging::Context Installation::stagingContext()
{
    return {network.get(), records.get(), stallTimeout, retryPause, retries};
}

// A file staged whole by an earlier run, as the signed manifest describes it,
// need not be fetched again.
bool Installation::isStagedAlready(const PendingFile &file) const
{
    const QString staged = stagedPath(file);
    return file.integrity.isComplete() && QFileInfo(staged).size() == file.integrity.size
        && fileSha256(staged, keepWindowResponsive) == file.integrity.sha256;
}

// The cheapest ways first: a patch from the installed copy, which is hashed
// here and never taken on the local manifest's word, then the .zst, then
// the raw file. Only a result that can be checked is taken compressed.
QVector<FileStaging::Way> Installation::waysTo(const PendingFile &file) const
{
    const QString path = ServerLayout::filePath(file.dir, file.name);
    const QString url = urlPrefix + path;
    const auto compressedWay = [&](const QString &compressedPath, qint64 size, const QString &reference) {
        return FileStaging::Way{urlPrefix + compressedPath, partPath(urlPrefix + compressedPath), compressedPath,
                                {size, {}}, -1, true, reference};
    };
    QVector<FileStaging::Way> ways;
    if (file.integrity.isComplete()) {
        const QString installed = destinationPath(file);
        if (!file.delivery.patches.isEmpty() && QFileInfo(installed).isFile()) {
            const QByteArray installedDigest = fileSha256(installed, keepWindowResponsive);
            for (const Manifest::Delivery::Patch &patch : file.delivery.patches) {
                if (patch.from == installedDigest) {
                    ways.append(compressedWay(ServerLayout::patchPath(path, patch.from), patch.size, installed));
                    break;
                }
            }
        }
        if (file.delivery.compressedSize >= 0)
            ways.append(compressedWay(ServerLayout::compressedPath(path), file.delivery.compressedSize, QString()));
    }
    ways.append(rawWay(file, url, stagedPath(file)));
    return ways;
}

FileStaging::Way Installation::rawWay(const PendingFile &file, const QString &url, const QString &path) const
{
    return {url, path, file.dir + file.name, file.integrity, -1, false, QString()};
}

QString Installation::partPath(const QString &url) const
{
    const QByteArray key = QCryptographicHash::hash(url.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    return layout.partsDir() + QLatin1Char('/') + QString::fromLatin1(key);
}

QString Installation::destinationPath(const PendingFile &file) const
{
    return layout.destinationPath(file.dir, file.name);
}

bool Installation::commit(const QString &version)
{
    // Windows deletes no open file: the staging records go with download/.
    records.reset();
    QVector<ReleaseCommit::File> staged;
    for (const PendingFile &file : qAsConst(files))
        staged.append({file.dir, file.name});
    waitForApplicationToClose();
    ReleaseCommit releaseCommit(applicationDir);
    releaseCommit.setHeldFileLimit(heldFileLimit);
    releaseCommit.setWaitReport([this](const QString &file, const QString &program) {
        if (!file.isEmpty())
            qDebug().noquote() << QStringLiteral("Waiting for %1, held by %2")
                                      .arg(file, program.isEmpty() ? QStringLiteral("another program") : program);
        emit waiting(file.isEmpty() ? QString()
                     : program.isEmpty() ? tr("Waiting for %1, which another program is using…").arg(file)
                                         : tr("Waiting for %1, which %2 is using…").arg(file, program));
    });
    if (releaseCommit.commit(version, staged, localManifest))
        return true;
    failed = releaseCommit.isUnfinished() ? Failure::Unfinished : Failure::NotInstalled;
    error = releaseCommit.errorString();
    const QString blocked = QDir(applicationDir).relativeFilePath(releaseCommit.blockedFile());
    QString program = releaseCommit.blockingProgram();
    // Where Windows cannot tell who holds it, Brenvoth still running is the likely one.
    if (program.isEmpty() && WindowsFiles::isRunning(applicationProgram()))
        program = QFileInfo(applicationProgram()).fileName();
    failureCause = releaseCommit.blockedFile().isEmpty() ? FailureCause::ofWriteFailure(applicationDir)
                   : releaseCommit.wasBlockedByHolder() ? FailureCause::ofHeldFile(blocked, program)
                                                        : FailureCause(FailureCause::Kind::InUse, blocked);
    return false;
}

// Brenvoth, closing after it started the updater, may still hold its files,
// and "OK" must not start a second one beside it. It is never ended from
// here: after the limit the commit goes on and waits for its files.
void Installation::waitForApplicationToClose()
{
    if (!WindowsFiles::isRunning(applicationProgram()))
        return;
    if (!applicationSeen.isValid())
        applicationSeen.start();
    qDebug() << "Waiting for Brenvoth to close";
    emit waiting(tr("Waiting for Brenvoth to close…"));
    while (applicationSeen.elapsed() < closingLimit && WindowsFiles::isRunning(applicationProgram()))
        pauseResponsively(int(qBound<qint64>(1, closingLimit - applicationSeen.elapsed(), closingPoll)));
    if (applicationSeen.elapsed() >= closingLimit)
        qDebug() << "Brenvoth is still running; installing beside it";
    emit waiting(QString());
}

QString Installation::applicationProgram() const
{
    return layout.program();
}

// What fails in staging, besides a download, is writing into the download directory.
bool Installation::fail(const PendingFile &file, const QString &reason)
{
    return fail(file, reason, FailureCause::ofWriteFailure(downloadDir));
}

bool Installation::fail(const PendingFile &file, const QString &reason, const FailureCause &cause)
{
    failed = Failure::NotInstalled;
    error = file.name.isEmpty() ? reason : tr("%1%2: %3").arg(file.dir, file.name, reason);
    failureCause = cause;
    return false;
}

// The one refusal of an entry that is not the manifest's fault: a folder
// where the file must go.
bool Installation::refuseManifest(const PendingFile &file, const QString &reason)
{
    const bool folderInTheWay = !file.name.isEmpty() && QFileInfo(destinationPath(file)).isDir();
    return fail(file, reason,
                folderInTheWay ? FailureCause(FailureCause::Kind::FolderInTheWay, file.dir + file.name)
                               : FailureCause(FailureCause::Kind::BadManifest));
}

bool Installation::refuseOlder(const QString &reason)
{
    failed = Failure::Older;
    error = reason;
    failureCause = FailureCause(FailureCause::Kind::Older, offeredVersion);
    return false;
}

bool Installation::refuse(const QString &reason)
{
    failed = Failure::NotVerified;
    error = reason;
    failureCause = FailureCause(FailureCause::Kind::NotVerified);
    return false;
}
