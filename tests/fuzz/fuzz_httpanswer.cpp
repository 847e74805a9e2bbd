// A server's answer as the downloader reads it: Content-Range, Location and
// the validators. The input's lines are those four header values in turn.
#include "fuzzsupport.h"
#include "httpanswer.h"

#include <QList>

namespace {

// The last byte of a "bytes first-last/length" range, read without the
// parser under test: digits between the dash and the slash.
qint64 lastByteOf(const QByteArray &header)
{
    const int dash = header.indexOf('-'), slash = header.indexOf('/');
    bool ok = false;
    const qint64 last = header.mid(dash + 1, slash - dash - 1).toLongLong(&ok);
    return ok ? last : -1;
}

void checkContentRange(const QByteArray &header)
{
    qint64 first = -1, length = -1;
    if (!HttpAnswer::parseContentRange(header, &first, &length))
        return;
    const qint64 last = lastByteOf(header);
    FUZZ_CHECK(first >= 0 && first <= last && last < length,
               "an accepted Content-Range is not a range inside the file");
}

void checkRedirect(const QUrl &from, const QByteArray &location)
{
    const QUrl to = HttpAnswer::redirectTarget(from, location);
    if (HttpAnswer::checkRedirect(from, to) != HttpAnswer::RedirectRefusal::None)
        return;
    FUZZ_CHECK(to.isValid() && !to.host().isEmpty(), "a redirect to an address without a host is followed");
    FUZZ_CHECK(to.scheme() == QLatin1String("https")
                   || (to.scheme() == QLatin1String("http") && from.scheme() == QLatin1String("http")),
               "a redirect to something but the web, or from https to http, is followed");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    silenceQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QList<QByteArray> fields = fieldsOf(data, size, '\n');
    while (fields.size() < 4)
        fields << QByteArray();
    checkContentRange(fields.at(0));
    for (const char *from : {"http://download.brenvoth.com/brenvothDownload/windows/v2.0.0/core.dll",
                             "https://download.brenvoth.com/brenvothDownload/windows/v2.0.0/core.dll"})
        checkRedirect(QUrl(QString::fromLatin1(from)), fields.at(1));
    const QByteArray validator = HttpAnswer::validator(fields.at(2), fields.at(3));
    if (validator != fields.at(3)) {
        FUZZ_CHECK(validator.size() >= 2 && validator.endsWith('"') && validator.count('"') == 2,
                   "a validator taken from the ETag is not one whole strong entity tag");
    }
    return 0;
}
