#include "installation.h"
#include "entrycheck.h"
#include "fileinstall.h"
#include "httpdownloadfile.h"
#include "minisign.h"
#include "releasecommit.h"
#include "stagingrecords.h"
#include "systemproxy.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QDomNodeList>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTimer>

namespace {

const QString signatureName = QStringLiteral("version.xml.minisig");
// A minisign signature is a few hundred bytes; nothing larger is fetched.
constexpr qint64 signatureLimit = 64 * 1024;

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
        return fail({}, tr("the downloaded manifest can no longer be read"));
    if (!isNotOlderThanInstalled(root))
        return false;
    if (!readIntegrities(Manifest::currentRelease(root, version), dirs, names))
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
        return fail({}, tr("the downloaded manifest's publication time \"%1\" is not a whole number of seconds")
                            .arg(downloadedRoot.attribute(QStringLiteral("published"))));
    const Manifest::Document local = Manifest::read(applicationDir + QStringLiteral("/version.xml"));
    if (local.status != Manifest::Status::Read || !Manifest::readPublished(local.root(), &installed)
        || installed < 0)
        return true;
    if (offered < 0 && !publicKey.isEmpty())
        return refuseOlder(tr("it has no publication time, and the installed release has one"));
    if (offered >= 0 && offered < installed)
        return refuseOlder(tr("it was published at %1, before the installed release (%2)")
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
        PendingFile file{dirs.at(i), names.at(i), {}};
        QDomElement entry;
        while (next < entries.length() && entry.isNull()) {
            const QDomElement candidate = entries.at(next++).toElement();
            if (candidate.attribute(QStringLiteral("dir")) == file.dir
                && candidate.attribute(QStringLiteral("name")) == file.name)
                entry = candidate;
        }
        QString reason;
        if (entry.isNull())
            return fail(file, tr("the downloaded manifest changed after it was read"));
        if (!checkEntry(file, &reason) || !Manifest::readIntegrity(entry, &file.integrity, &reason))
            return fail(file, reason);
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
    const QString destination = QDir::cleanPath(applicationDir + QLatin1Char('/') + file.dir
                                                + QLatin1Char('/') + file.name);
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

// The signature protects the files only through their sizes and digests.
bool Installation::verifySignature()
{
    for (const PendingFile &file : qAsConst(files)) {
        if (!file.integrity.isComplete())
            return refuse(tr("%1%2 has no size and sha256 in the manifest").arg(file.dir, file.name));
    }
    const PendingFile signature{QString(), signatureName, {}};
    int status = 0;
    if (!fetch(signature, urlPrefix + signatureName, -1, &status)) {
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
    if (!fetch(file, urlPrefix + file.dir + file.name, index))
        return false;
    emit progressChanged(progressValue(index + 1, files.size(), 0, 0));
    return true;
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
    return false;
}

bool Installation::fetch(const PendingFile &file, const QString &url, int progressIndex, int *status)
{
    for (int attempt = 0;; ++attempt) {
        HttpDownloadFile *downloader = startAttempt(file, url, progressIndex);
        // Sleeps until something happens; quit() ends event loops, not this wait.
        while (downloader->downloading)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const bool transient = downloader->failureIsTransient();
        const bool succeeded = downloader->succeeded();
        const QString reason = downloader->errorString();
        const QString detail = downloader->errorDetail();
        if (status)
            *status = downloader->statusCode();
        delete downloader;
        if (succeeded)
            return true;
        if (!transient || attempt == retries) {
            errorDetail = detail;
            return fail(file, reason);
        }
        const int wait = retryPause << attempt;
        qDebug().noquote() << QStringLiteral("%1%2: %3; trying again in %4 s")
                                  .arg(file.dir, file.name, reason).arg(wait / 1000.0);
        pause(wait);
    }
}

HttpDownloadFile *Installation::startAttempt(const PendingFile &file, const QString &url,
                                             int progressIndex)
{
    auto *downloader = new HttpDownloadFile(file.name, url, downloadDir + QLatin1Char('/') + file.dir,
                                            &network, this);
    downloader->setStallTimeout(stallTimeout);
    downloader->expectContent(file.integrity.size, file.integrity.sha256);
    downloader->setMaximumSize(progressIndex < 0 ? signatureLimit : -1);
    const StagingRecords::Record record = records->find(url);
    downloader->reuseStaged(QFileInfo(stagedPath(file)).size(), record.length, record.validator);
    connect(downloader, &HttpDownloadFile::responseStarted, this, [this, downloader, url] {
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

bool Installation::fail(const PendingFile &file, const QString &reason)
{
    failed = Failure::NotInstalled;
    error = file.name.isEmpty() ? reason : tr("%1%2: %3").arg(file.dir, file.name, reason);
    return false;
}

bool Installation::refuseOlder(const QString &reason)
{
    failed = Failure::Older;
    error = reason;
    return false;
}

bool Installation::refuse(const QString &reason)
{
    failed = Failure::NotVerified;
    error = reason;
    return false;
}
