#include "httpanswer.h"

namespace HttpAnswer {

bool parseContentRange(const QByteArray &header, qint64 *first, qint64 *length)
{
    if (!header.startsWith("bytes "))
        return false;
    const int dash = header.indexOf('-'), slash = header.indexOf('/');
    if (dash < 0 || slash < dash)
        return false;
    bool firstOk = false, lengthOk = false;
    *first = header.mid(6, dash - 6).trimmed().toLongLong(&firstOk);
    *length = header.mid(slash + 1).trimmed().toLongLong(&lengthOk);
    return firstOk && lengthOk;
}

// A weak ETag ("W/...") may not guard a range, so it is no validator here.
QByteArray validator(const QByteArray &etag, const QByteArray &lastModified)
{
    return etag.startsWith('"') ? etag : lastModified;
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
