#include "arrivinganswer.h"
#include "curlrequest.h"
#include "filewriter.h"
#include "httpanswer.h"

#include <QUrl>

#include <utility>

ArrivingAnswer::ArrivingAnswer(const CurlRequest &request, HttpSession &session, HttpSession::Transfer &transfer,
                               Asked asked)
    : request(request)
    , session(session)
    , transfer(transfer)
    , asked(std::move(asked))
{
}

// Only for what libcurl has no accessor for: the moment an answer's head
// is complete, and the reason phrase of its status line, which the
// error texts carry.
size_t ArrivingAnswer::onHeader(char *data, size_t size, size_t count, void *self)
{
    auto *answer = static_cast<ArrivingAnswer *>(self);
    const QByteArray line = QByteArray(data, int(size * count)).trimmed();
    if (line.startsWith("HTTP/")) {
        const int afterStatus = line.indexOf(' ', line.indexOf(' ') + 1);
        answer->reason = afterStatus < 0 ? QByteArray() : line.mid(afterStatus + 1).trimmed();
    } else if (line.isEmpty() && !answer->onHeadEnd()) {
        return 0;
    }
    return size * count;
}

size_t ArrivingAnswer::onBody(char *data, size_t size, size_t count, void *self)
{
    return static_cast<ArrivingAnswer *>(self)->takeBody(data, size * count);
}

// In the header callback. A 1xx answer is followed by the real one, and so
// is a proxy's 407 that libcurl answers by signing on (a 407 that stays is
// the transfer's end) and a redirect that libcurl follows.
bool ArrivingAnswer::onHeadEnd()
{
    status = int(request.info(CURLINFO_RESPONSE_CODE));
    if (status < 200 || proxyAsks())
        return true;
    if (status >= 300 && status <= 399 && !request.header("Location").isEmpty())
        return !refusesRedirect();
    return takeHead();
}

// libcurl would refuse some redirects itself, but in words that do not name
// the address, and it would take a host name that is not one: they are
// refused here, before libcurl follows. One past the limit is libcurl's to
// refuse (CURLE_TOO_MANY_REDIRECTS), naming where it led.
bool ArrivingAnswer::refusesRedirect()
{
    if (request.info(CURLINFO_REDIRECT_COUNT) == HttpDownloadFile::maximumRedirects)
        return false;
    char *current = nullptr;
    curl_easy_getinfo(request.handle(), CURLINFO_EFFECTIVE_URL, &current);
    const QUrl from = QUrl::fromEncoded(current);
    const QByteArray location = request.header("Location");
    const QUrl to = HttpAnswer::redirectTarget(from, location);
    switch (HttpAnswer::checkRedirect(from, to)) {
    case HttpAnswer::RedirectRefusal::None:
        return false;
    case HttpAnswer::RedirectRefusal::NotWebAddress:
        // What is no address at all is named as the server wrote it.
        stop(HttpDownloadFile::tr("the server redirected to %1, which is not a web address")
                 .arg(to.isValid() ? to.toString() : QString::fromUtf8(location)),
             Problem::Redirect);
        return true;
    case HttpAnswer::RedirectRefusal::NotSecure:
        stop(HttpDownloadFile::tr("the server redirected to %1, which is not a secure address").arg(to.toString()),
             Problem::Redirect);
        return true;
    }
    return false;
}

// The head of the answer at the end, in the header callback: where its body
// goes, before the first byte of it arrives.
bool ArrivingAnswer::takeHead()
{
    headTaken = true;
    headNews = true;
    session.noteArrival(&transfer);
    curl_off_t length = -1;
    curl_easy_getinfo(request.handle(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    replyLength = length;
    announcedLength = replyLength;
    overHttp2 = request.info(CURLINFO_HTTP_VERSION) == CURL_HTTP_VERSION_2_0;
    // An error page's validator says nothing about the file.
    if ((status >= 200 && status <= 299) || status == 304)
        serverValidator = HttpAnswer::validator(request.header("ETag"), request.header("Last-Modified"));
    if (!startBody())
        return false;
    if (asked.expectedSize >= 0 && announcedLength >= 0 && announcedLength != asked.expectedSize) {
        stop(HttpDownloadFile::tr("The server's file is %1 bytes long, the manifest says %2")
                 .arg(announcedLength)
                 .arg(asked.expectedSize),
             Problem::Damaged);
        return false;
    }
    return true;
}

bool ArrivingAnswer::startBody()
{
    const bool reusing = !asked.stagedValidator.isEmpty();
    if (reusing && status == 304 && asked.stagedBytes == asked.stagedLength) {
        keepsStagedWhole = true;
        writesBody = false;
        announcedLength = asked.stagedLength;
        if (writer)
            writer->keepFirst(asked.stagedLength);
    } else if (status == 206) {
        qint64 first = -1;
        if (!asksForRange() || !HttpAnswer::parseContentRange(request.header("Content-Range"), &first, &announcedLength)
            || first != asked.stagedBytes) {
            if (writer)
                writer->keepFirst(0);
            stop(HttpDownloadFile::tr("The server sent another part of the file than was asked for"), Problem::Damaged,
                 true);
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
size_t ArrivingAnswer::takeBody(const char *data, size_t bytes)
{
    if (!headTaken)
        return bytes;
    if (writer && writesBody) {
        const qint64 limit = asked.expectedSize >= 0 ? asked.expectedSize : asked.maximumSize;
        if (limit >= 0 && bodyOffset + bodyReceived + qint64(bytes) > limit) {
            stop(HttpDownloadFile::tr("The file is longer than the %1 bytes it may have").arg(limit), Problem::Damaged);
            return 0;
        }
        if (!writer->append(data, qint64(bytes))) {
            paused = true;
            return CURL_WRITEFUNC_PAUSE;
        }
    }
    bodyReceived += qint64(bytes);
    session.noteArrival(&transfer);
    return bytes;
}

bool ArrivingAnswer::takeHeadNews()
{
    if (!headNews || !stopText.isEmpty())
        return false;
    headNews = false;
    return true;
}

bool ArrivingAnswer::takePause()
{
    if (!paused)
        return false;
    paused = false;
    return true;
}

// The callback's answer stops the transfer; the download tells why once
// libcurl has ended it.
void ArrivingAnswer::stop(const QString &errorText, Problem kind, bool transientFailure)
{
    if (!stopText.isEmpty())
        return;
    stopText = errorText;
    stopKind = kind;
    stopTransient = transientFailure;
}

bool ArrivingAnswer::asksForRange() const
{
    return !asked.stagedValidator.isEmpty() && asked.stagedBytes < asked.stagedLength;
}

bool ArrivingAnswer::proxyAsks() const
{
    return status == 407 && request.usesProxy();
}
