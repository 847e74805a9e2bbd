#include "httpdownloadfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QUrl>

#include <utility>

namespace {
// Qt's network thread reads ahead of this thread without a limit, so an
// unbounded buffer grows with the file whenever writing lags behind.
constexpr qint64 readBufferLimit = 2 * 1024 * 1024;
}

HttpDownloadFile::HttpDownloadFile(QString fileName, QString url, QString saveDir,
                                   QObject *parent)
    : QObject(parent)
    , manager(new QNetworkAccessManager(this))
    , saveDir(std::move(saveDir))
    , fileName(std::move(fileName))
    , url(std::move(url))
{
    stallTimer.setSingleShot(true);
    stallTimer.setInterval(defaultStallTimeout);
    connect(&stallTimer, &QTimer::timeout, this, &HttpDownloadFile::onStallTimeout);
}

HttpDownloadFile::~HttpDownloadFile()
{
    if (!downloading)
        return;
    // Aborting notifies synchronously; none of it may reach a half-destroyed object.
    reply->disconnect(this);
    reply->abort();
    delete file;
}

void HttpDownloadFile::startDownload()
{
    if (downloading || finished)
        return;
    downloading = true;

    // Qt decodes the compressed answers it asks for by default, drops their
    // length and so saves a cut-off one as complete; the file comes as stored.
    QNetworkRequest request(QUrl(url, QUrl::TolerantMode));
    request.setRawHeader("Accept-Encoding", "identity");
    reply = manager->get(request);
    connect(reply, &QIODevice::readyRead, this, &HttpDownloadFile::onReplyDataArrived);
    connect(reply, &QNetworkReply::finished, this, &HttpDownloadFile::onReplyFinished);
    connect(reply, &QNetworkReply::errorOccurred, this, &HttpDownloadFile::onReplyError);
    connect(reply, &QNetworkReply::downloadProgress, this, &HttpDownloadFile::onReplyProgress);
    stallTimer.start();

    if (fileName.isEmpty())
        fileName = QFileInfo(url).fileName();
    if (!saveDir.isEmpty()) {
        if (!QDir(saveDir).exists())
            QDir().mkdir(saveDir);
        fileName = saveDir + QLatin1Char('/') + fileName;
    }
    if (QFile::exists(fileName))
        QFile::remove(fileName);

    file = new QFile(fileName);
    if (file->open(QIODevice::WriteOnly)) {
        reply->setReadBufferSize(readBufferLimit);
        return;
    }
    // Without a file nothing drains the reply: a bounded buffer would stall it.
    file->close();
    file->deleteLater();
    file = nullptr;
    fail(cannotWriteText());
}

void HttpDownloadFile::setStallTimeout(int msecs)
{
    stallTimer.setInterval(msecs);
}

bool HttpDownloadFile::succeeded() const
{
    return finished && !failed;
}

QString HttpDownloadFile::errorString() const
{
    return firstError;
}

void HttpDownloadFile::onReplyDataArrived()
{
    // Every arrival counts against a stall, also the ones left unread.
    stallTimer.start();
    if (!file)
        return;
    const QByteArray data = reply->readAll();
    if (file->write(data) != data.size() || !file->flush())
        abortTransfer(cannotWriteText());
}

void HttpDownloadFile::onReplyFinished()
{
    stallTimer.stop();
    if (!failed)
        checkStatus();

    manager->deleteLater();
    reply->deleteLater();
    if (file) {
        file->close();
        file->deleteLater();
    }
    manager = nullptr;
    reply = nullptr;
    file = nullptr;
    finished = true;
    downloading = false;
    emit downloadFinished();
}

void HttpDownloadFile::onReplyError(QNetworkReply::NetworkError errorCode)
{
    // After our own abort the reply's cancel error only echoes the reported cause.
    if (!abortedHere)
        fail(tr("Network error : %1").arg(int(errorCode)));
}

void HttpDownloadFile::onReplyProgress(uint64_t byteReceived, uint64_t byteTotal)
{
    emit downloadProgress(byteReceived, byteTotal);
}

void HttpDownloadFile::onStallTimeout()
{
    abortTransfer(tr("No data received for %1 s").arg(stallTimer.interval() / 1000.0));
}

void HttpDownloadFile::fail(const QString &errorText)
{
    if (!failed)
        firstError = errorText;
    failed = true;
    emit error(errorText);
}

void HttpDownloadFile::abortTransfer(const QString &errorText)
{
    fail(errorText);
    abortedHere = true;
    reply->abort();
}

// Qt sees no error in a 3xx answer, which is not the file either.
void HttpDownloadFile::checkStatus()
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 200 && status <= 299)
        return;
    const QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    fail(tr("Server answered with HTTP status %1 %2").arg(status).arg(reason).trimmed());
}

QString HttpDownloadFile::cannotWriteText() const
{
    return tr("can not write file %d").replace(QLatin1String("%d"), fileName);
}
