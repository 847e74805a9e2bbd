#include "releasesource.h"
#include "httpdownloadfile.h"
#include "sha256.h"
#include "httpsession.h"
#include "serverlayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace {

// Like the updater: a refused or broken connection, a stall or a busy server
// is tried 3 more times, after 1, 2 and 4 seconds.
constexpr int retries = 3;
constexpr int firstRetryPause = 1000;

} // namespace

ReleaseSource::ReleaseSource(const QString &location, QObject *parent) : QObject(parent)
{
    const bool http = location.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        || location.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
    if (!http && location.contains(QLatin1String("://"))) {
        problem = tr("%1 is neither an http(s) address nor a folder").arg(location);
    } else if (http) {
        remote = true;
        network = new HttpSession(this);
        base = location;
        const QString manifestName = ServerLayout::manifestName();
        if (base.endsWith(QLatin1Char('/') + manifestName))
            base.chop(manifestName.size());
        if (!base.endsWith(QLatin1Char('/')))
            base += QLatin1Char('/');
        copies.reset(new QTemporaryDir);
        if (!copies->isValid())
            problem = tr("cannot make a temporary folder: %1").arg(copies->errorString());
    } else {
        locateFolder(location);
    }
}

void ReleaseSource::locateFolder(const QString &location)
{
    const QFileInfo info(location);
    const QString manifestName = ServerLayout::manifestName();
    QStringList candidates{location, location + QLatin1Char('/') + ServerLayout::basePath()};
    if (info.isFile() && info.fileName() == manifestName)
        candidates = QStringList{info.path()};
    for (const QString &folder : candidates) {
        if (QFileInfo(folder + QLatin1Char('/') + manifestName).isFile()) {
            base = QDir::cleanPath(folder) + QLatin1Char('/');
            return;
        }
    }
    problem = tr("neither %1 nor its %2 holds a %3").arg(location, ServerLayout::basePath(), manifestName);
}

QString ReleaseSource::where(const QString &relative) const
{
    return base + relative;
}

QString ReleaseSource::sizeProblem(qint64 size, qint64 expected)
{
    return tr("The file is %1 bytes long, the manifest says %2").arg(size).arg(expected);
}

void ReleaseSource::askSize(const QString &relative, const SizeAnswer &answer)
{
    if (!remote) {
        QTimer::singleShot(0, this, [this, relative, answer] {
            const QFileInfo file(where(relative));
            if (file.isFile())
                answer(file.size(), QString());
            else
                answer(-1, tr("The file is missing"));
        });
        return;
    }
    const auto head = [this, relative] {
        auto *request = new HttpDownloadFile(QString(), where(relative), QString(), network, this);
        request->askHeadOnly();
        return request;
    };
    download(head, 0, [this, answer](HttpDownloadFile *request) {
        if (!request->succeeded())
            answer(-1, downloadProblem(*request));
        else if (request->fileLength() < 0)
            answer(-1, tr("The server does not tell the file's length"));
        else
            answer(request->fileLength(), QString());
    });
}

void ReleaseSource::fetch(const QString &relative, qint64 size, const QByteArray &sha256, qint64 limit,
                          const CopyAnswer &answer)
{
    if (!remote) {
        QTimer::singleShot(0, this, [=] { readFolderFile(relative, size, sha256, limit, answer); });
        return;
    }
    const QString copy = QString::number(++copiesMade);
    const auto get = [=] {
        auto *request = new HttpDownloadFile(copy, where(relative), copies->path(), network, this);
        request->expectContent(size, sha256);
        request->setMaximumSize(limit);
        auto counted = std::make_shared<uint64_t>(0);
        connect(request, &HttpDownloadFile::downloadProgress, this, [this, counted](uint64_t received, uint64_t) {
            emit transferred(qint64(received - qMin(received, *counted)));
            *counted = received;
        });
        return request;
    };
    download(get, 0, [this, copy, answer](HttpDownloadFile *request) {
        const QString path = copies->filePath(copy);
        if (request->succeeded()) {
            answer(path, QString());
            return;
        }
        QFile::remove(path);
        answer(QString(), downloadProblem(*request));
    });
}

void ReleaseSource::done(const QString &localPath)
{
    if (remote && !localPath.isEmpty())
        QFile::remove(localPath);
}

void ReleaseSource::download(const std::function<HttpDownloadFile *()> &make, int retry,
                             const std::function<void(HttpDownloadFile *)> &finished)
{
    HttpDownloadFile *request = make();
    connect(request, &HttpDownloadFile::downloadFinished, this, [=] {
        request->deleteLater();
        if (request->failureIsTransient() && retry < retries)
            QTimer::singleShot(firstRetryPause << retry, this, [=] { download(make, retry + 1, finished); });
        else
            finished(request);
    });
    request->startDownload();
}

QString ReleaseSource::downloadProblem(const HttpDownloadFile &request) const
{
    const int status = request.statusCode();
    if (status == 404 || status == 410)
        return tr("The file is missing (the server answered HTTP %1)").arg(status);
    // The downloader's text is written for the updater's window; Qt's own words help here.
    const QString detail = request.errorDetail();
    return detail.isEmpty() ? request.errorString() : tr("%1 (%2)").arg(request.errorString(), detail);
}

// Read where it lies, as a server would serve it.
void ReleaseSource::readFolderFile(const QString &relative, qint64 size, const QByteArray &sha256, qint64 limit,
                                   const CopyAnswer &answer)
{
    const QString path = where(relative);
    QFile file(path);
    if (!QFileInfo(path).isFile())
        return answer(QString(), tr("The file is missing"));
    if (!file.open(QIODevice::ReadOnly))
        return answer(QString(), tr("cannot read %1: %2").arg(path, file.errorString()));
    if (size >= 0 && file.size() != size)
        return answer(QString(), sizeProblem(file.size(), size));
    if (size < 0 && limit >= 0 && file.size() > limit)
        return answer(QString(), tr("The file is longer than the %1 bytes it may have").arg(limit));
    if (!sha256.isEmpty()) {
        Sha256 digest;
        QByteArray block;
        while (!(block = file.read(1 << 20)).isEmpty()) {
            digest.addData(block);
            emit transferred(block.size());
        }
        if (file.error() != QFileDevice::NoError)
            return answer(QString(), tr("cannot read %1: %2").arg(path, file.errorString()));
        if (digest.result() != sha256)
            return answer(QString(), tr("The file does not match the SHA-256 digest the manifest gives"));
    }
    answer(path, QString());
}
