#ifndef HTTPANSWER_H
#define HTTPANSWER_H

#include <QByteArray>
#include <QUrl>

/// What the downloader reads from a server's answer, apart from the transfer:
/// the range it sent, its validator and where a redirect leads.
namespace HttpAnswer {

/// Reads a "bytes first-last/length" Content-Range into the first byte and
/// the whole file's length. False unless all three are decimal numbers with
/// first <= last < length.
bool parseContentRange(const QByteArray &header, qint64 *first, qint64 *length);

/// The validator that may guard a range: a strong ETag, else the
/// Last-Modified date; empty without one.
QByteArray validator(const QByteArray &etag, const QByteArray &lastModified);

/// Where a redirect from \a from with the Location \a location leads.
QUrl redirectTarget(const QUrl &from, const QByteArray &location);

enum class RedirectRefusal { None, NotWebAddress, NotSecure };
/// Why a redirect from \a from to \a to is not followed, or None.
RedirectRefusal checkRedirect(const QUrl &from, const QUrl &to);

} // namespace HttpAnswer

#endif // HTTPANSWER_H
