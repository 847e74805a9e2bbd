#include "httpdownloadfile.h"
#include "curlrequest.h"
#include "filewriter.h"
#include "httpanswer.h"
#include "transferfailure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <limits>
#include <utility>

// libcurl's callbacks take what arrives and may stop the transfer; the
// download tells its caller once libcurl has returned
// (HttpSession::Transfer::onArrivals), for a receiver may end it.
struct DownloadCallbacks
{
    // Only for what libcurl has no accessor for: the moment an answer's head
    // is complete, and the reason phrase of its status line, which the
    // error texts carry.
    static size_t onHeader(char *data, size_t size, size_t count, void *self)
    {
        auto *download = static_cast<HttpDownloadFile *>(self);
        const QByteArray line = QByteArray(data, int(size * count)).trimmed();
        if (line.startsWith("HTTP/")) {
            const int afterStatus = line.indexOf(' ', line.indexOf(' ') + 1);
            download->reason = afterStatus < 0 ? QByteArray() : line.mid(afterStatus + 1).trimmed();
        } else if (line.isEmpty() && !download->onHeadEnd()) {
            return 0;
        }
        return size * count;
    }

    static size_t onBody(char *data, size_t size, size_t count, void *self)
    {
        return static_cast<HttpDownloadFile *>(self)->takeBody(data, size * count);
    }
};

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
    curl->setUp(address, stallSeconds, headOnly, {&DownloadCallbacks::onHeader, &DownloadCallbacks::onBody, this});
    curl->setRequestHeaders(stagedBytes, stagedLength, stagedValidator);
    proxyChoice = session->proxyFor(address);
    curl->setProxy(proxyChoice);
}

// The file is written from the pool's threads, unbuffered: what the writer
// wrote is in the file. A staged part is kept until the answer shows whether
// it is continued.
bool HttpDownloadFile::openTarget()
{
    const bool reusing = !stagedValidator.isEmpty();
    if (!reusing && QFile::exists(fileName))
        QFile::remove(fileName);
    auto file = std::make_unique<QFile>(fileName);
    if (!file->open((reusing ? QIODevice::ReadWrite : QIODevice::WriteOnly) | QIODevice::Unbuffered))
        return false;
    writer = std::make_unique<FileWriter>(std::move(file), FileWriter::Expected{expectedSize, expectedSha256},
                                          bufferLimit);
    connect(writer.get(), &FileWriter::failed, this, &HttpDownloadFile::onWriterFailed);
    connect(writer.get(), &FileWriter::resumable, this, &HttpDownloadFile::onWriterResumable);
    connect(writer.get(), &FileWriter::finished, this, &HttpDownloadFile::onWriterFinished);
    return true;
}

bool HttpDownloadFile::succeeded() const
{
    return finished && !failed;
}

// In the header callback. A 1xx answer is followed by the real one, and so
// is a proxy's 407 that libcurl answers by signing on (a 407 that stays is
// the transfer's end) and a redirect that libcurl follows.
bool HttpDownloadFile::onHeadEnd()
{
    status = int(curl->info(CURLINFO_RESPONSE_CODE));
    if (status < 200 || proxyAsks())
        return true;
    if (status >= 300 && status <= 399 && !curl->header("Location").isEmpty())
        return !refusesRedirect();
    return takeHead();
}

// libcurl would refuse some redirects itself, but in words that do not name
// the address, and it would take a host name that is not one: they are
// refused here, before libcurl follows. One past the limit is libcurl's to
// refuse (CURLE_TOO_MANY_REDIRECTS), naming where it led.
bool HttpDownloadFile::refusesRedirect()
{
    if (curl->info(CURLINFO_REDIRECT_COUNT) == maximumRedirects)
        return false;
    char *current = nullptr;
    curl_easy_getinfo(curl->handle(), CURLINFO_EFFECTIVE_URL, &current);
    const QUrl from = QUrl::fromEncoded(current);
    const QByteArray location = curl->header("Location");
    const QUrl to = HttpAnswer::redirectTarget(from, location);
    switch (HttpAnswer::checkRedirect(from, to)) {
    case HttpAnswer::RedirectRefusal::None:
        return false;
    case HttpAnswer::RedirectRefusal::NotWebAddress:
        // What is no address at all is named as the server wrote it.
        stop(tr("the server redirected to %1, which is not a web address")
                 .arg(to.isValid() ? to.toString() : QString::fromUtf8(location)),
             Problem::Redirect);
        return true;
    case HttpAnswer::RedirectRefusal::NotSecure:
        stop(tr("the server redirected to %1, which is not a secure address").arg(to.toString()), Problem::Redirect);
        return true;
    }
    return false;
}

// The head of the answer at the end, in the header callback: where its body
// goes, before the first byte of it arrives.
bool HttpDownloadFile::takeHead()
{
    headTaken = true;
    headNews = true;
    session->noteArrival(this);
    curl_off_t length = -1;
    curl_easy_getinfo(curl->handle(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    replyLength = length;
    announcedLength = replyLength;
    overHttp2 = curl->info(CURLINFO_HTTP_VERSION) == CURL_HTTP_VERSION_2_0;
    // An error page's validator says nothing about the file.
    if ((status >= 200 && status <= 299) || status == 304)
        serverValidator = HttpAnswer::validator(curl->header("ETag"), curl->header("Last-Modified"));
    if (!startBody())
        return false;
    if (expectedSize >= 0 && announcedLength >= 0 && announcedLength != expectedSize) {
        stop(tr("The server's file is %1 bytes long, the manifest says %2").arg(announcedLength).arg(expectedSize),
             Problem::Damaged);
        return false;
    }
    return true;
}

bool HttpDownloadFile::startBody()
{
    const bool reusing = !stagedValidator.isEmpty();
    if (reusing && status == 304 && stagedBytes == stagedLength) {
        keepsStagedWhole = true;
        writesBody = false;
        announcedLength = stagedLength;
        if (writer)
            writer->keepFirst(stagedLength);
    } else if (status == 206) {
        qint64 first = -1;
        if (!asksForRange() || !HttpAnswer::parseContentRange(curl->header("Content-Range"), &first, &announcedLength)
            || first != stagedBytes) {
            if (writer)
                writer->keepFirst(0);
            stop(tr("The server sent another part of the file than was asked for"), Problem::Damaged, true);
            return false;
        }
        bodyOffset = first;
        if (writer)
            writer->keepFirst(first);
    } else if (status >= 200 && status <= 299) {
        if (writer && reusing)
            writer->keepFirst(0);
    } else {
        // An error page must not land on top of a staged part.
        writesBody = !reusing;
    }
    return true;
}

// In the write callback. What comes before the answer at the end (the page
// of a proxy that asks who is there) belongs to no file; without a file the
// body is counted and dropped, as if read.
size_t HttpDownloadFile::takeBody(const char *data, size_t bytes)
{
    if (!headTaken)
        return bytes;
    if (writer && writesBody) {
        const qint64 limit = expectedSize >= 0 ? expectedSize : maximumSize;
        if (limit >= 0 && bodyOffset + bodyReceived + qint64(bytes) > limit) {
            stop(tr("The file is longer than the %1 bytes it may have").arg(limit), Problem::Damaged);
            return 0;
        }
        if (!writer->append(data, qint64(bytes))) {
            paused = true;
            return CURL_WRITEFUNC_PAUSE;
        }
    }
    bodyReceived += qint64(bytes);
    session->noteArrival(this);
    return bytes;
}

// libcurl has handed over what it read: the writer takes it all at once.
void HttpDownloadFile::onArrivals()
{
    if (writer)
        writer->submit();
    tellHead();
    reportProgress();
}

// Once, unless a callback stopped the transfer over it.
void HttpDownloadFile::tellHead()
{
    if (!headNews || !stopText.isEmpty())
        return;
    headNews = false;
    emit responseStarted();
}

// A continued file's progress counts the part kept from earlier too. The
// last report of a length-less answer gives the count as the total.
void HttpDownloadFile::reportProgress(bool last)
{
    if (!headTaken || (bodyReceived == reportedReceived && !last))
        return;
    reportedReceived = bodyReceived;
    const uint64_t received = uint64_t(bodyOffset + bodyReceived);
    const uint64_t total = replyLength >= 0 ? uint64_t(bodyOffset + replyLength)
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
    if (!stopText.isEmpty())
        failure = TransferFailure{stopText, stopKind, stopTransient, QString(), false};
    else if (code != CURLE_OK)
        failure = failureOfResult(curl->handle(), code, route, curl->errorWords());
    else if (!keepsStagedWhole)
        failure = failureOfStatus(finalStatus, reason, route);
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
    if (!paused || transferEnded)
        return;
    paused = false;
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

bool HttpDownloadFile::asksForRange() const
{
    return !stagedValidator.isEmpty() && stagedBytes < stagedLength;
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

// From a libcurl callback: the callback's answer stops the transfer, and
// this is told once libcurl has ended it.
void HttpDownloadFile::stop(const QString &errorText, Problem kind, bool transientFailure)
{
    if (!stopText.isEmpty())
        return;
    stopText = errorText;
    stopKind = kind;
    stopTransient = transientFailure;
}

// Ends the transfer at once, the way it ends by itself.
void HttpDownloadFile::abortTransfer(const QString &errorText, Problem kind)
{
    fail(errorText, kind);
    session->stop(curl->handle());
    transferEnded = true;
    finalStatus = status;
    reportProgress();
    endWriting();
}

QString HttpDownloadFile::cannotWriteText() const
{
    return tr("can not write file %d").replace(QLatin1String("%d"), fileName);
}
