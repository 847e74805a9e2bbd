#include "httpanswer.h"

#include <algorithm>

namespace HttpAnswer {

namespace {

// A count in plain decimal digits, blanks around it allowed.
bool readCount(const QByteArray &text, qint64 *count)
{
    const QByteArray digits = text.trimmed();
    bool ok = !digits.isEmpty() && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    *count = ok ? digits.toLongLong(&ok) : -1;
    return ok;
}

} // namespace

bool parseContentRange(const QByteArray &header, qint64 *first, qint64 *length)
{
    if (!header.startsWith("bytes "))
        return false;
    const int dash = header.indexOf('-'), slash = header.indexOf('/');
    if (dash < 0 || slash < dash)
        return false;
    qint64 last = -1;
    return readCount(header.mid(6, dash - 6), first) && readCount(header.mid(dash + 1, slash - dash - 1), &last)
           && readCount(header.mid(slash + 1), length) && *first <= last && last < *length;
}

// A weak ETag ("W/...") may not guard a range, so it is no validator here;
// nor is a broken one, which no server would match.
QByteArray validator(const QByteArray &etag, const QByteArray &lastModified)
{
    const bool strong = etag.size() >= 2 && etag.startsWith('"') && etag.endsWith('"') && etag.count('"') == 2;
    return strong ? etag : lastModified;
}

QUrl redirectTarget(const QUrl &from, const QByteArray &location)
{
    return from.resolved(QUrl::fromEncoded(location));
}

RedirectRefusal checkRedirect(const QUrl &from, const QUrl &to)
{
    const QString scheme = to.scheme();
    // A Location that is no address at all, or names no host, leads nowhere.
    if ((scheme != QLatin1String("http") && scheme != QLatin1String("https")) || !to.isValid() || to.host().isEmpty())
        return RedirectRefusal::NotWebAddress;
    if (scheme == QLatin1String("http") && from.scheme() == QLatin1String("https"))
        return RedirectRefusal::NotSecure;
    return RedirectRefusal::None;
}

} // namespace HttpAnswer
