#include "installation.h"
#include "entrycheck.h"
#include "fileinstall.h"
#include "httpdownloadfile.h"
#include "minisign.h"
#include "releasecommit.h"
#include "stagingrecords.h"
#include "systemproxy.h"
#include "zstddecode.h"

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
#include <QTimer>

namespace {

const QString signatureName = QStringLiteral("version.xml.minisig");
// A minisign signature is a few hundred bytes; nothing larger is fetched.
constexpr qint64 signatureLimit = 64 * 1024;
// Room beyond the release's files: the journal, the manifest, the bookkeeping.
constexpr qint64 spaceMargin = 4 * 1024 * 1024;

// Hashing and decoding large files happen between the window's events.
void keepResponsive()
{
    QCoreApplication::processEvents();
}

// Windows file names differ by more than letter case.
QString pathKey(const QString &path)
{
#ifdef Q_OS_WIN
    return path.toLower();
#else
    return path;
#endif
}

} // namespace

Installation::Installation(const QString &applicationDir, const QString &downloadBaseUrl,
                           QObject *parent)
    : QObject(parent)
    , applicationDir(applicationDir)
    , downloadDir(applicationDir + QStringLiteral("/download"))
    , downloadBaseUrl(downloadBaseUrl)
    , stallTimeout(HttpDownloadFile::defaultStallTimeout)
{
    useSystemProxy(&network);
}

Installation::~Installation() = default;

void Installation::recoverInterrupted(const QString &applicationDir)
{
    const QString done = ReleaseCommit(applicationDir).recover();
    if (!done.isEmpty())
        qDebug().noquote() << QStringLiteral("Recovery: %1").arg(done);
}

void Installation::run(const QString &version, const QStringList &dirs, const QStringList &names)
{
    bool succeeded = prepare(version, dirs, names) && (publicKey.isEmpty() || verifySignature());
    for (int i = 0; succeeded && i < files.size(); ++i)
        succeeded = stage(i);
    succeeded = succeeded && commit(version);
    emit finished(succeeded);
}

// Everything that can be known before the first download is checked first,
// so that a release with one bad entry fetches nothing.
bool Installation::prepare(const QString &version, const QStringList &dirs, const QStringList &names)
{
    offeredVersion = version;
    urlPrefix = downloadBaseUrl + QCoreApplication::translate("UpdateWindow", "v") + version
                + QLatin1Char('/');
    // The bytes that are checked against the signature are the bytes used.
    QFile manifestFile(downloadDir + QStringLiteral("/version.xml"));
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
    if (!readIntegrities(Manifest::currentRelease(root, version), dirs, names) || !hasRoomForRelease())
        return false;
    root.setAttribute(QStringLiteral("curVersion"), version);
    localManifest = Manifest::serialize(document);
    records.reset(new StagingRecords(downloadDir + QLatin1Char('/') + ReleaseCommit::bookkeepingFolder()
                                     + QStringLiteral("/staging")));
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
    const Manifest::Document local = Manifest::read(applicationDir + QStringLiteral("/version.xml"));
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
        if (!checkEntry(file, &reason) || !Manifest::readIntegrity(entry, &file.integrity, &reason))
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

bool Installation::checkEntry(const PendingFile &file, QString *reason) const
{
    if (!isSafeEntry(file.dir, file.name, reason))
        return false;
    const QString staged = pathKey(stagedPath(file));
    const QString bookkeeping = pathKey(downloadDir + QLatin1Char('/') + ReleaseCommit::bookkeepingFolder());
    if (staged == pathKey(downloadDir + QStringLiteral("/version.xml"))
        || staged == pathKey(downloadDir + QLatin1Char('/') + signatureName)
        || staged == bookkeeping || staged.startsWith(bookkeeping + QLatin1Char('/'))) {
        *reason = tr("the name is reserved for the updater's own files");
        return false;
    }
    const QString destination = destinationPath(file);
    if (!pathStaysInside(applicationDir, destination) || !pathStaysInside(downloadDir, stagedPath(file))) {
        *reason = tr("the path leads outside the application directory");
        return false;
    }
    if (QFileInfo(destination).isDir()) {
        *reason = tr("a folder is in the way of %1").arg(destination);
        return false;
    }
    return true;
}

// A disk that fills up half-way fails the update after the whole download; a
// release that cannot fit is not fetched at all. What an earlier run staged
// counts as there, and a compressed copy lies beside its decoded file for a
// moment.
bool Installation::hasRoomForRelease()
{
    qint64 needed = spaceMargin;
    qint64 largestCompressed = 0;
    for (const PendingFile &file : qAsConst(files)) {
        if (file.integrity.size < 0)
            continue;
        needed += file.integrity.size - qBound<qint64>(0, QFileInfo(stagedPath(file)).size(), file.integrity.size);
        largestCompressed = qMax(largestCompressed, file.delivery.compressedSize);
        for (const Manifest::Delivery::Patch &patch : file.delivery.patches)
            largestCompressed = qMax(largestCompressed, patch.size);
    }
    needed += largestCompressed;
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
    const PendingFile signature{QString(), signatureName, {}, {}};
    int status = 0;
    if (!fetch(signature, {urlPrefix + signatureName, stagedPath(signature), {}, signatureLimit}, -1, &status)) {
        // A server that answers without the signature cannot vouch for the
        // release; one that cannot be reached is a failed download.
        if (status >= 400 && status <= 499)
            return refuse(tr("the signature cannot be fetched: %1").arg(error));
        return false;
    }
    QFile signatureFile(stagedPath(signature));
    QString reason;
    if (!signatureFile.open(QIODevice::ReadOnly)
        || !Minisign::verify(publicKey, downloadedManifest, signatureFile.read(signatureLimit), &reason))
        return refuse(reason.isEmpty() ? signatureFile.errorString() : reason);
    return true;
}

// Resolving links costs a system call per level: a folder is resolved once
// for all its files, and a file only when it is a link itself.
bool Installation::pathStaysInside(const QString &root, const QString &path) const
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return staysInside(root, path);
    const QString key = root + QLatin1Char('\n') + info.path();
    auto known = foldersInside.constFind(key);
    if (known == foldersInside.constEnd())
        known = foldersInside.insert(key, staysInside(root, info.path()));
    return known.value();
}

QString Installation::stagedPath(const PendingFile &file) const
{
    return QDir::cleanPath(downloadDir + QLatin1Char('/') + file.dir + QLatin1Char('/') + file.name);
}

bool Installation::stage(int index)
{
    const PendingFile &file = files.at(index);
    const QString saveDir = QFileInfo(stagedPath(file)).path();
    QString reason;
    if (!stagingFolders.contains(saveDir)) {
        if (!makeFolderInside(downloadDir, saveDir, &reason))
            return fail(file, reason);
        stagingFolders.insert(saveDir);
    }
    if (!isStagedAlready(file)) {
        const QVector<Way> ways = waysTo(file);
        for (int i = 0;; ++i) {
            int status = 0;
            if (fetchWay(file, ways.at(i), index, &status))
                break;
            // A server that gave no answer will not have the next way either.
            if (status == 0 || i + 1 == ways.size())
                return false;
            qDebug().noquote() << QStringLiteral("%1; fetching %2%3%4 instead")
                                      .arg(error, file.dir, file.name, ways.at(i + 1).suffix);
            clearFailure();
        }
    }
    emit progressChanged(progressValue(index + 1, files.size(), 0, 0));
    return true;
}

// A file staged whole by an earlier run, as the signed manifest describes it,
// need not be fetched again.
bool Installation::isStagedAlready(const PendingFile &file) const
{
    const QString staged = stagedPath(file);
    return file.integrity.isComplete() && QFileInfo(staged).size() == file.integrity.size
        && fileSha256(staged, keepResponsive) == file.integrity.sha256;
}

// The cheapest ways first: a patch from the installed copy, which is hashed
// here and never taken on the local manifest's word, then the .zst, then
// the raw file. Only a result that can be checked is taken compressed.
QVector<Installation::Way> Installation::waysTo(const PendingFile &file) const
{
    QVector<Way> ways;
    if (file.integrity.isComplete()) {
        const QString installed = destinationPath(file);
        if (!file.delivery.patches.isEmpty() && QFileInfo(installed).isFile()) {
            const QByteArray installedDigest = fileSha256(installed, keepResponsive);
            for (const Manifest::Delivery::Patch &patch : file.delivery.patches) {
                if (patch.from == installedDigest) {
                    const QString suffix = QStringLiteral(".from-%1.zst").arg(QString::fromLatin1(patch.from.toHex().left(16)));
                    ways.append({suffix, installed, patch.size});
                    break;
                }
            }
        }
        if (file.delivery.compressedSize >= 0)
            ways.append({QStringLiteral(".zst"), QString(), file.delivery.compressedSize});
    }
    ways.append({QString(), QString(), file.integrity.size});
    return ways;
}

// A compressed way is fetched into the bookkeeping folder, decoded and checked
// there, and only then takes the staged file's place.
bool Installation::fetchWay(const PendingFile &file, const Way &way, int index, int *status)
{
    const QString url = urlPrefix + file.dir + file.name + way.suffix;
    if (way.suffix.isEmpty())
        return fetch(file, {url, stagedPath(file), file.integrity, -1}, index, status);
    PendingFile shown = file;
    shown.name += way.suffix;
    const QString part = partPath(url);
    QDir().mkpath(QFileInfo(part).path());
    if (!fetch(shown, {url, part, {way.size, {}}, -1}, index, status))
        return false;
    const QString decoded = part + QStringLiteral(".decoded");
    QString reason;
    const bool ok = decodeZstd({part, way.reference, decoded, file.integrity.size, file.integrity.sha256},
                               keepResponsive, &reason);
    QFile::remove(part);
    if (!ok)
        return fail(shown, reason);
    QFile::remove(stagedPath(file));
    if (!QFile::rename(decoded, stagedPath(file)))
        return fail(file, tr("cannot move the decoded file into %1").arg(stagedPath(file)));
    return true;
}

QString Installation::partPath(const QString &url) const
{
    const QByteArray key = QCryptographicHash::hash(url.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    return downloadDir + QLatin1Char('/') + ReleaseCommit::bookkeepingFolder() + QStringLiteral("/parts/")
        + QString::fromLatin1(key);
}

QString Installation::destinationPath(const PendingFile &file) const
{
    return QDir::cleanPath(applicationDir + QLatin1Char('/') + file.dir + QLatin1Char('/') + file.name);
}

bool Installation::commit(const QString &version)
{
    // Windows deletes no open file: the staging records go with download/.
    records.reset();
    QVector<ReleaseCommit::File> staged;
    for (const PendingFile &file : qAsConst(files))
        staged.append({file.dir, file.name});
    ReleaseCommit releaseCommit(applicationDir);
    if (releaseCommit.commit(version, staged, localManifest))
        return true;
    failed = releaseCommit.isUnfinished() ? Failure::Unfinished : Failure::NotInstalled;
    error = releaseCommit.errorString();
    const QString blocked = releaseCommit.blockedFile();
    failureCause = blocked.isEmpty() ? FailureCause::ofWriteFailure(applicationDir)
                                     : FailureCause(FailureCause::Kind::InUse, QDir(applicationDir).relativeFilePath(blocked));
    return false;
}

bool Installation::fetch(const PendingFile &file, const Transfer &transfer, int progressIndex, int *status)
{
    for (int attempt = 0;; ++attempt) {
        HttpDownloadFile *downloader = startAttempt(transfer, progressIndex);
        // Sleeps until something happens; quit() ends event loops, not this wait.
        while (downloader->downloading)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const bool transient = downloader->failureIsTransient();
        const bool succeeded = downloader->succeeded();
        const QString reason = downloader->errorString();
        const QString detail = downloader->errorDetail();
        const int httpStatus = downloader->statusCode();
        if (status)
            *status = httpStatus;
        delete downloader;
        if (succeeded)
            return true;
        if (!transient || attempt == retries) {
            errorDetail = detail;
            return failDownload(file, transfer, reason, httpStatus);
        }
        const int wait = retryPause << attempt;
        qDebug().noquote() << QStringLiteral("%1%2: %3; trying again in %4 s")
                                  .arg(file.dir, file.name, reason).arg(wait / 1000.0);
        pause(wait);
    }
}

HttpDownloadFile *Installation::startAttempt(const Transfer &transfer, int progressIndex)
{
    const QFileInfo target(transfer.path);
    auto *downloader = new HttpDownloadFile(target.fileName(), transfer.url, target.path(), &network, this);
    downloader->setStallTimeout(stallTimeout);
    downloader->expectContent(transfer.expected.size, transfer.expected.sha256);
    downloader->setMaximumSize(transfer.limit);
    const StagingRecords::Record record = records->find(transfer.url);
    downloader->reuseStaged(target.size(), record.length, record.validator);
    connect(downloader, &HttpDownloadFile::responseStarted, this, [this, downloader, url = transfer.url] {
        records->remember(url, downloader->validator(), downloader->fileLength());
    });
    if (progressIndex >= 0) {
        connect(downloader, &HttpDownloadFile::downloadProgress, this,
                [this, progressIndex](uint64_t byteReceived, uint64_t byteTotal) {
                    emit progressChanged(progressValue(progressIndex, files.size(), byteReceived, byteTotal));
                },
                Qt::DirectConnection);
    }
    downloader->startDownload();
    return downloader;
}

// The window stays responsive while the thread sleeps.
void Installation::pause(int msecs)
{
    bool over = false;
    QTimer::singleShot(msecs, this, [&over] { over = true; });
    while (!over)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
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

// Qt's words for a refused request ("Network error : 203") do not say which status it was.
bool Installation::failDownload(const PendingFile &file, const Transfer &transfer, const QString &reason,
                                int httpStatus)
{
    const FailureCause cause = FailureCause::ofDownload(httpStatus, reason, transfer.path, stallTimeout);
    const QString status = QString::number(httpStatus);
    const bool statusUnsaid = (cause.kind() == FailureCause::Kind::MissingFile
                               || cause.kind() == FailureCause::Kind::ServerTrouble)
                              && httpStatus >= 300 && !reason.contains(status);
    return fail(file, statusUnsaid ? tr("HTTP %1, %2").arg(status, reason) : reason, cause);
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

void Installation::clearFailure()
{
    failed = Failure::None;
    error.clear();
    errorDetail.clear();
    failureCause = FailureCause();
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
