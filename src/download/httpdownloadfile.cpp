#include "httpdownloadfile.h"
#include "arrivinganswer.h"
#include "curlrequest.h"
#include "filewriter.h"
#include "transferfailure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <limits>
#include <utility>

HttpDownloadFile::HttpDownloadFile(QString fileName, QString url, QString saveDir, HttpSession *session,
                                   QObject *parent)
    : QObject(parent)
    , session(session)
    , saveDir(std::move(saveDir))
    , fileName(std::move(fileName))
    , url(std::move(url))
{
}

// The writer, destroyed with the object, waits for the write under way and
// closes the file.
HttpDownloadFile::~HttpDownloadFile()
{
    if (downloading && !transferEnded)
        session->stop(curl->handle());
}

void HttpDownloadFile::reuseStaged(qint64 stagedBytes, qint64 fileLength, const QByteArray &validator)
{
    if (stagedBytes <= 0 || fileLength < stagedBytes || validator.isEmpty())
        return;
    this->stagedBytes = stagedBytes;
    stagedLength = fileLength;
    stagedValidator = validator;
}

void HttpDownloadFile::expectContent(qint64 size, const QByteArray &sha256)
{
    expectedSize = size;
    expectedSha256 = sha256;
}

void HttpDownloadFile::setStallTimeout(int msecs)
{
    stallSeconds = qMax(1, (msecs + 999) / 1000);
}

void HttpDownloadFile::startDownload()
{
    if (downloading || finished)
        return;
    downloading = true;
    curl = std::make_unique<CurlRequest>();
    answer = std::make_unique<ArrivingAnswer>(
        *curl, *session, static_cast<HttpSession::Transfer &>(*this),
        ArrivingAnswer::Asked{stagedBytes, stagedLength, stagedValidator, expectedSize, maximumSize});
    setUpHandle();

    if (!headOnly) {
        if (fileName.isEmpty())
            fileName = QFileInfo(url).fileName();
        if (!saveDir.isEmpty()) {
            if (!QDir(saveDir).exists())
                QDir().mkdir(saveDir);
            fileName = saveDir + QLatin1Char('/') + fileName;
        }
        if (!openTarget())
            fail(cannotWriteText(), Problem::CannotWrite);
    }
    session->start(curl->handle(), this);
}

void HttpDownloadFile::setUpHandle()
{
    const QUrl address(url, QUrl::TolerantMode);
    curl->setUp(address, stallSeconds, headOnly, {&ArrivingAnswer::onHeader, &ArrivingAnswer::onBody, answer.get()});
    curl->setRequestHeaders(stagedBytes, stagedLength, stagedValidator);
    proxyChoice = session->proxyFor(address);
    curl->setProxy(proxyChoice);
}

// The file is written from the pool's threads, unbuffered: what the writer
// wrote is in the file. A staged part is kept until the answer shows whether
// it is continued.
bool HttpDownloadFile::openTarget()
{
    auto file = std::make_unique<QFile>(fileName);
    if (!stagedValidator.isEmpty()) {
        if (!file->open(QIODevice::ReadWrite | QIODevice::Unbuffered))
            return false;
    } else if (!file->open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        // An earlier file goes first, a link included, rather than being
        // written through; a new one, the usual case, takes one call.
        QFile::remove(fileName);
        if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
    }
    writer = std::make_unique<FileWriter>(std::move(file), FileWriter::Expected{expectedSize, expectedSha256},
                                          bufferLimit);
    connect(writer.get(), &FileWriter::failed, this, &HttpDownloadFile::onWriterFailed);
    connect(writer.get(), &FileWriter::resumable, this, &HttpDownloadFile::onWriterResumable);
    connect(writer.get(), &FileWriter::finished, this, &HttpDownloadFile::onWriterFinished);
    answer->writeTo(writer.get());
    return true;
}

bool HttpDownloadFile::succeeded() const
{
    return finished && !failed;
}

QByteArray HttpDownloadFile::validator() const
{
    return answer ? answer->serverValidator : QByteArray();
}

qint64 HttpDownloadFile::fileLength() const
{
    return answer ? answer->announcedLength : -1;
}

bool HttpDownloadFile::usedHttp2() const
{
    return answer && answer->overHttp2;
}

// libcurl has handed over what it read: the writer takes it all at once.
void HttpDownloadFile::onArrivals()
{
    if (writer)
        writer->submit();
    tellHead();
    reportProgress();
}

void HttpDownloadFile::tellHead()
{
    if (answer->takeHeadNews())
        emit responseStarted();
}

// A continued file's progress counts the part kept from earlier too. The
// last report of a length-less answer gives the count as the total.
void HttpDownloadFile::reportProgress(bool last)
{
    if (!answer->headTaken || (answer->bodyReceived == reportedReceived && !last))
        return;
    reportedReceived = answer->bodyReceived;
    const uint64_t received = uint64_t(answer->bodyOffset + answer->bodyReceived);
    const uint64_t total = answer->replyLength >= 0 ? uint64_t(answer->bodyOffset + answer->replyLength)
                                                    : (last ? received : std::numeric_limits<uint64_t>::max());
    emit downloadProgress(received, total);
}

void HttpDownloadFile::onTransferDone(int result)
{
    const CURLcode code = CURLcode(result);
    transferEnded = true;
    tellHead();
    finalStatus = int(curl->info(CURLINFO_RESPONSE_CODE));
    const TransferRoute route{proxyChoice.proxyName(), stallSeconds};
    TransferFailure failure;
    if (!answer->stopText.isEmpty())
        failure = TransferFailure{answer->stopText, answer->stopKind, answer->stopTransient, QString(), false};
    else if (code != CURLE_OK)
        failure = failureOfResult(curl->handle(), code, route, curl->errorWords());
    else if (!answer->keepsStagedWhole)
        failure = failureOfStatus(finalStatus, answer->reason, route);
    if (failure.proxyAsks)
        noteProxyRefusal();
    if (failure.kind != Problem::None)
        fail(failure.text, failure.kind, failure.transient, failure.detail);
    reportProgress(code == CURLE_OK);
    endWriting();
}

// What a refusal for want of credentials leaves to a person: only when no
// scheme the logged-on user could pass is offered.
void HttpDownloadFile::noteProxyRefusal()
{
    if (failed)
        return;
    const long offered = curl->info(CURLINFO_PROXYAUTH_AVAIL);
    if (proxyChoice.needsCredentials(static_cast<unsigned long>(offered)))
        askingProxy = proxyChoice.proxyName();
}

// The file is checked only when the transfer brought all of it.
void HttpDownloadFile::endWriting()
{
    if (writer)
        writer->finish(!failed);
    else
        finishTransfer();
}

void HttpDownloadFile::onWriterFailed()
{
    // Once libcurl has ended, the writer's end tells it.
    if (!transferEnded)
        abortTransfer(cannotWriteText(), Problem::CannotWrite);
}

void HttpDownloadFile::onWriterResumable()
{
    if (transferEnded || !answer->takePause())
        return;
    session->resume(curl->handle());
}

void HttpDownloadFile::onWriterFinished(FileWriter::Outcome outcome, qint64 length)
{
    if (failed) {
        finishTransfer();
        return;
    }
    switch (outcome) {
    case FileWriter::Outcome::Complete:
        break;
    case FileWriter::Outcome::CannotWrite:
        fail(cannotWriteText(), Problem::CannotWrite);
        break;
    case FileWriter::Outcome::WrongLength:
        fail(tr("The file is %1 bytes long, the manifest says %2").arg(length).arg(expectedSize), Problem::Damaged);
        break;
    case FileWriter::Outcome::WrongDigest:
        fail(tr("The file does not match the SHA-256 digest the manifest gives"), Problem::Damaged);
        break;
    }
    finishTransfer();
}

void HttpDownloadFile::finishTransfer()
{
    finished = true;
    downloading = false;
    emit downloadFinished();
}

void HttpDownloadFile::fail(const QString &errorText, Problem kind, bool transientFailure, const QString &detail)
{
    if (!failed) {
        firstError = errorText;
        firstProblem = kind;
        firstErrorDetail = detail;
        transient = transientFailure;
    }
    failed = true;
    emit error(errorText);
}

// Ends the transfer at once, the way it ends by itself.
void HttpDownloadFile::abortTransfer(const QString &errorText, Problem kind)
{
    fail(errorText, kind);
    session->stop(curl->handle());
    transferEnded = true;
    finalStatus = answer->status;
    reportProgress();
    endWriting();
}

QString HttpDownloadFile::cannotWriteText() const
{
    return tr("can not write file %d").replace(QLatin1String("%d"), fileName);
}
