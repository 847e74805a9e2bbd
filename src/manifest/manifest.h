#ifndef MANIFEST_H
#define MANIFEST_H

#include <QByteArray>
#include <QDomDocument>
#include <QDomElement>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

class QIODevice;

/// version.xml: the root "filelist" names the current release in curVersion
/// and lists releases ("software") with their files ("file").
namespace Manifest {

/// Input beyond these limits is refused as not well-formed: the document tree
/// takes up to a hundred times the file's size, and deep nesting costs the
/// document classes far more than its size.
constexpr qint64 maxBytes = 16 * 1024 * 1024;
constexpr int maxDepth = 256;
constexpr int maxNodes = 1000000;

enum class Status { Read, Missing, CannotOpen, NotWellFormed, NotFilelist };

struct Document
{
    Status status = Status::Missing;
    QDomDocument document;

    QDomElement root() const { return document.documentElement(); }
};

/// Parses the rest of \a device into \a document. Refuses input that is too
/// large, nested too deeply or that declares entities, which expand without
/// bound.
bool parse(QIODevice *device, QDomDocument *document);

/// What a manifest entry says its file's content must be. Unset fields were not given.
struct FileIntegrity {
    qint64 size = -1;      // -1: no size attribute
    QByteArray sha256;     // the 32 raw bytes of the digest; empty: no sha256 attribute
    bool isComplete() const { return size >= 0 && !sha256.isEmpty(); }
};

/// The smaller ways to a file that a release may offer beside the raw file:
/// <dir><name>.zst, and patches from earlier copies of it.
struct Delivery {
    struct Patch {
        QByteArray from;   // the 32 raw bytes of the old file's SHA-256
        qint64 size = -1;
    };
    qint64 compressedSize = -1;   // the .zst's bytes ("zsize"); -1: none
    QVector<Patch> patches;       // "patch" children of the file element
};

/// Reads zsize and the patch elements of a file element. A malformed value
/// leaves out that way only: the raw file is always there.
Delivery readDelivery(const QDomElement &file);

/// Reads size and sha256 of a file element. False, with \a reason, when either is
/// present but malformed (not plain decimal digits / not 64 lowercase hex digits);
/// an absent or empty attribute is simply unset.
bool readIntegrity(const QDomElement &file, FileIntegrity *integrity, QString *reason);

/// Reads the root's "published", the publication time in whole seconds since
/// 1970 UTC, into \a seconds: -1 when it is absent or empty. False when it is
/// present but not plain decimal digits; then \a reason, if given, says so.
bool readPublished(const QDomElement &root, qint64 *seconds, QString *reason = nullptr);
/// Reads the root's "expires", the time after which the manifest is stale,
/// as readPublished() reads "published".
bool readExpires(const QDomElement &root, qint64 *seconds, QString *reason = nullptr);
/// \a seconds since 1970 as a UTC date and time, for messages.
QString publishedText(qint64 seconds);

/// Reads the manifest at \a path; usable only when the status is Read.
Document read(const QString &path);
/// Reads the manifest in \a bytes, as read() reads a file.
Document fromBytes(const QByteArray &bytes);

/// The release a downloaded manifest names current: its curVersion, "1.0.0"
/// where it has none.
QString offeredVersion(const QDomElement &root);

/// The version of every release below \a root, in document order.
QStringList releaseVersions(const QDomElement &root);

/// The first release below \a root whose version is \a curVersion, or a null
/// element when \a curVersion is empty or no release matches.
QDomElement currentRelease(const QDomElement &root, const QString &curVersion);

/// What a file element names.
struct FileEntry {
    QString dir;     // "" or ending in "/"
    QString name;
    QString version;
};

/// The file elements below \a release, at any depth, in document order.
QVector<QDomElement> fileElements(const QDomElement &release);
FileEntry readEntry(const QDomElement &file);

/// Name -> installed version for the current release of the local manifest,
/// each name taken from its first entry; empty when the manifest is unusable.
QHash<QString, QString> installedVersions(const QString &localManifest);

/// How serialize() ends lines: "\n" on every platform (what the publisher
/// signs), or the platform's ("\r\n" on Windows).
enum class LineEnds { Newline, Platform };

/// \a document as it is written: indented by 4, in the encoding its
/// declaration names (UTF-8 without one), with \a lineEnds.
QByteArray serialize(const QDomDocument &document, LineEnds lineEnds);

/// What the local manifest becomes at the end of an update: \a rewritten as
/// serialize() writes it with the platform's line ends when that reads back
/// as the same elements with the same attributes, else \a copied, the
/// downloaded bytes it was read from. A declared encoding may be unable to
/// write what was read in it.
QByteArray rewrittenOrCopied(const QDomDocument &rewritten, const QByteArray &copied);

} // namespace Manifest

#endif // MANIFEST_H
