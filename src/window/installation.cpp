#include "installation.h"
#include "entrycheck.h"
#include "fileinstall.h"
#include "httpdownloadfile.h"
#include "manifest.h"
#include "stagingrecords.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTimer>

namespace {

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
}

Installation::~Installation()
{
    delete records;
}

void Installation::recoverInterrupted(const QString &applicationDir)
{
    const QString done = ReleaseCommit(applicationDir).recover();
    if (!done.isEmpty())
        qDebug().noquote() << QStringLiteral("Recovery: %1").arg(done);
}

void Installation::run(const QString &version, const QStringList &dirs, const QStringList &names)
{
    bool succeeded = prepare(version, dirs, names);
    for (int i = 0; succeeded && i < files.size(); ++i)
        succeeded = stage(i);
    if (succeeded) {
        ReleaseCommit commit(applicationDir);
        QVector<ReleaseCommit::File> staged;
        for (const PendingFile &file : qAsConst(files))
            staged.append({file.dir, file.name});
        succeeded = commit.commit(version, staged, localManifest);
        if (!succeeded)
            error = commit.errorString();
    }
    emit finished(succeeded);
}

// Everything that can be known before the first download is checked first,
// so that a release with one bad entry fetches nothing.
bool Installation::prepare(const QString &version, const QStringList &dirs, const QStringList &names)
{
    urlPrefix = downloadBaseUrl + QCoreApplication::translate("UpdateWindow", "v") + version
                + QLatin1Char('/');
    Manifest::Document downloaded = Manifest::read(downloadDir + QStringLiteral("/version.xml"));
    if (downloaded.status != Manifest::Status::Read) {
        error = tr("The downloaded manifest can no longer be read.");
        return false;
    }
    downloaded.root().setAttribute(QStringLiteral("curVersion"), version);
    localManifest = Manifest::serialize(downloaded.document);

    QSet<QString> seen;
    for (int i = 0; i < dirs.size() && i < names.size(); ++i) {
        const PendingFile file{dirs.at(i), names.at(i)};
        QString reason;
        if (!checkEntry(file, &reason))
            return fail(file, reason);
        // The same file listed twice is fetched and installed once.
        const QString key = pathKey(stagedPath(file));
        if (!seen.contains(key)) {
            seen.insert(key);
            files.append(file);
        }
    }
    records = new StagingRecords(downloadDir + QLatin1Char('/') + ReleaseCommit::bookkeepingFolder()
                                 + QStringLiteral("/staging"));
    return true;
}

bool Installation::checkEntry(const PendingFile &file, QString *reason) const
{
    if (!isSafeEntry(file.dir, file.name, reason))
        return false;
    const QString staged = pathKey(stagedPath(file));
    const QString bookkeeping = pathKey(downloadDir + QLatin1Char('/') + ReleaseCommit::bookkeepingFolder());
    if (staged == pathKey(downloadDir + QStringLiteral("/version.xml"))
        || staged == bookkeeping || staged.startsWith(bookkeeping + QLatin1Char('/'))) {
        *reason = tr("the name is reserved for the updater's own files");
        return false;
    }
    const QString destination = QDir::cleanPath(applicationDir + QLatin1Char('/') + file.dir
                                                + QLatin1Char('/') + file.name);
    if (!staysInside(applicationDir, destination) || !staysInside(downloadDir, stagedPath(file))) {
        *reason = tr("the path leads outside the application directory");
        return false;
    }
    if (QFileInfo(destination).isDir()) {
        *reason = tr("a folder is in the way of %1").arg(destination);
        return false;
    }
    return true;
}

QString Installation::stagedPath(const PendingFile &file) const
{
    return QDir::cleanPath(downloadDir + QLatin1Char('/') + file.dir + QLatin1Char('/') + file.name);
}

bool Installation::stage(int index)
{
    const PendingFile &file = files.at(index);
    const QString url = urlPrefix + file.dir + file.name;
    QString reason;
    if (!makeFolderInside(downloadDir, downloadDir + QLatin1Char('/') + file.dir, &reason))
        return fail(file, reason);
    for (int attempt = 0;; ++attempt) {
        HttpDownloadFile *downloader = startAttempt(index, url);
        // Sleeps until something happens; quit() ends event loops, not this wait.
        while (downloader->downloading)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const bool transient = downloader->failureIsTransient();
        const bool succeeded = downloader->succeeded();
        reason = downloader->errorString();
        delete downloader;
        if (succeeded) {
            emit progressChanged(progressValue(index + 1, files.size(), 0, 0));
            return true;
        }
        if (!transient || attempt == retries)
            return fail(file, reason);
        const int wait = retryPause << attempt;
        qDebug().noquote() << QStringLiteral("%1%2: %3; trying again in %4 s")
                                  .arg(file.dir, file.name, reason).arg(wait / 1000.0);
        pause(wait);
    }
}

HttpDownloadFile *Installation::startAttempt(int index, const QString &url)
{
    const PendingFile &file = files.at(index);
    auto *downloader = new HttpDownloadFile(file.name, url, downloadDir + QLatin1Char('/') + file.dir,
                                            &network, this);
    downloader->setStallTimeout(stallTimeout);
    const StagingRecords::Record record = records->find(url);
    downloader->reuseStaged(QFileInfo(stagedPath(file)).size(), record.length, record.validator);
    connect(downloader, &HttpDownloadFile::responseStarted, this, [this, downloader, url] {
        records->remember(url, downloader->validator(), downloader->fileLength());
    });
    connect(downloader, &HttpDownloadFile::downloadProgress, this,
            [this, index](uint64_t byteReceived, uint64_t byteTotal) {
                emit progressChanged(progressValue(index, files.size(), byteReceived, byteTotal));
            },
            Qt::DirectConnection);
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
    error = tr("%1%2: %3").arg(file.dir, file.name, reason);
    return false;
}
