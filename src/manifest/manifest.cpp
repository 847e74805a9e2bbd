#include "manifest.h"

#include <QBuffer>
#include <QDateTime>
#include <QDomNodeList>
#include <QFile>
#include <QTextStream>
#include <QXmlStreamReader>

#include <algorithm>

namespace Manifest {

namespace {

bool readWithinLimit(QIODevice *device, QByteArray *bytes)
{
    if (device->isSequential()) {
        *bytes = device->read(maxBytes + 1);
        return bytes->size() <= maxBytes;
    }
    if (device->size() - device->pos() > maxBytes)
        return false;
    *bytes = device->readAll();
    return true;
}

// One pass over the tokens before any tree is built. Declared entities are
// refused: the reader limits each expansion, not how often one is used, and
// a manifest needs none.
bool withinLimits(const QByteArray &bytes)
{
    QXmlStreamReader xml(bytes);
    int depth = 0;
    int nodes = 0;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++depth > maxDepth)
                return false;
            nodes += xml.attributes().size();
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            continue;
        case QXmlStreamReader::DTD:
            if (!xml.entityDeclarations().isEmpty())
                return false;
            break;
        case QXmlStreamReader::Characters:
            // Layout between elements is most of a manifest's text.
            if (xml.isWhitespace())
                continue;
            break;
        default:
            break;
        }
        if (++nodes > maxNodes)
            return false;
    }
    return !xml.hasError();
}

bool isBetween(QChar c, char first, char last)
{
    return c >= QLatin1Char(first) && c <= QLatin1Char(last);
}

bool isPlainDecimal(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return isBetween(c, '0', '9'); });
}

bool isLowercaseHex(const QString &text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return isBetween(c, '0', '9') || isBetween(c, 'a', 'f'); });
}

// -1 for an absent or empty value; false for anything but plain decimal digits.
bool readCount(const QString &text, qint64 *count)
{
    *count = -1;
    if (text.isEmpty())
        return true;
    bool inRange = false;
    const qint64 value = text.toLongLong(&inRange);
    if (!isPlainDecimal(text) || !inRange)
        return false;
    *count = value;
    return true;
}

bool sameAttributes(const QDomElement &one, const QDomElement &other)
{
    const QDomNamedNodeMap attributes = one.attributes();
    if (attributes.length() != other.attributes().length())
        return false;
    for (int i = 0; i < attributes.length(); ++i) {
        const QDomAttr attribute = attributes.item(i).toAttr();
        if (!other.hasAttribute(attribute.name()) || other.attribute(attribute.name()) != attribute.value())
            return false;
    }
    return true;
}

// Elements and attributes are all that the readers take from a manifest.
bool sameElements(const QDomElement &one, const QDomElement &other)
{
    if (one.tagName() != other.tagName() || !sameAttributes(one, other))
        return false;
    QDomElement a = one.firstChildElement();
    QDomElement b = other.firstChildElement();
    for (; !a.isNull() && !b.isNull(); a = a.nextSiblingElement(), b = b.nextSiblingElement()) {
        if (!sameElements(a, b))
            return false;
    }
    return a.isNull() && b.isNull();
}

Status parsedStatus(QIODevice *device, QDomDocument *document)
{
    if (!parse(device, document))
        return Status::NotWellFormed;
    if (document->documentElement().tagName() != QLatin1String("filelist"))
        return Status::NotFilelist;
    return Status::Read;
}

} // namespace

bool parse(QIODevice *device, QDomDocument *document)
{
    QByteArray bytes;
    if (!readWithinLimit(device, &bytes) || !withinLimits(bytes))
        return false;
    QXmlStreamReader xml(bytes);
    return document->setContent(&xml, false);
}

bool readIntegrity(const QDomElement &file, FileIntegrity *integrity, QString *reason)
{
    *integrity = FileIntegrity();
    if (!readCount(file.attribute(QStringLiteral("size")), &integrity->size)) {
        *reason = QStringLiteral("its size is not a plain decimal number of bytes");
        return false;
    }
    const QString sha256 = file.attribute(QStringLiteral("sha256"));
    if (!sha256.isEmpty()) {
        if (sha256.size() != 64 || !isLowercaseHex(sha256)) {
            *reason = QStringLiteral("its sha256 is not 64 lowercase hex digits");
            return false;
        }
        integrity->sha256 = QByteArray::fromHex(sha256.toLatin1());
    }
    return true;
}

Delivery readDelivery(const QDomElement &file)
{
    Delivery delivery;
    qint64 size = -1;
    if (readCount(file.attribute(QStringLiteral("zsize")), &size))
        delivery.compressedSize = size;
    for (QDomElement patch = file.firstChildElement(QStringLiteral("patch")); !patch.isNull();
         patch = patch.nextSiblingElement(QStringLiteral("patch"))) {
        const QString from = patch.attribute(QStringLiteral("from"));
        if (from.size() == 64 && isLowercaseHex(from) && readCount(patch.attribute(QStringLiteral("size")), &size)
            && size >= 0)
            delivery.patches.append({QByteArray::fromHex(from.toLatin1()), size});
    }
    return delivery;
}

bool readPublished(const QDomElement &root, qint64 *seconds, QString *reason)
{
    const QString published = root.attribute(QStringLiteral("published"));
    if (readCount(published, seconds))
        return true;
    if (reason)
        *reason = QStringLiteral("its published \"%1\" is not a whole number of seconds").arg(published);
    return false;
}

bool readExpires(const QDomElement &root, qint64 *seconds, QString *reason)
{
    const QString expires = root.attribute(QStringLiteral("expires"));
    if (readCount(expires, seconds))
        return true;
    if (reason)
        *reason = QStringLiteral("its expires \"%1\" is not a whole number of seconds").arg(expires);
    return false;
}

QString publishedText(qint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss 'UTC'"));
}

Document read(const QString &path)
{
    Document manifest;
    if (!QFile::exists(path))
        return manifest;
    QFile file(path);
    // Not in text mode, which drops every carriage return, also one inside a
    // value or between attributes: the XML reader ends lines itself, and the
    // installation reads the signed bytes as they are.
    if (!file.open(QIODevice::ReadOnly))
        manifest.status = Status::CannotOpen;
    else
        manifest.status = parsedStatus(&file, &manifest.document);
    return manifest;
}

Document fromBytes(const QByteArray &bytes)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    Document manifest;
    manifest.status = parsedStatus(&buffer, &manifest.document);
    return manifest;
}

QString offeredVersion(const QDomElement &root)
{
    return root.attribute(QStringLiteral("curVersion"), QStringLiteral("1.0.0"));
}

QStringList releaseVersions(const QDomElement &root)
{
    QStringList versions;
    const QDomNodeList releases = root.elementsByTagName(QStringLiteral("software"));
    for (int i = 0; i < releases.length(); ++i)
        versions.append(releases.at(i).toElement().attribute(QStringLiteral("version")));
    return versions;
}

QDomElement currentRelease(const QDomElement &root, const QString &curVersion)
{
    if (curVersion.isEmpty())
        return QDomElement();
    const QDomNodeList releases = root.elementsByTagName(QStringLiteral("software"));
    for (int i = 0; i < releases.length(); ++i) {
        const QDomElement release = releases.at(i).toElement();
        if (release.attribute(QStringLiteral("version")) == curVersion)
            return release;
    }
    return QDomElement();
}

QVector<QDomElement> fileElements(const QDomElement &release)
{
    QVector<QDomElement> files;
    const QDomNodeList elements = release.elementsByTagName(QStringLiteral("file"));
    files.reserve(elements.length());
    for (int i = 0; i < elements.length(); ++i)
        files.append(elements.at(i).toElement());
    return files;
}

FileEntry readEntry(const QDomElement &file)
{
    return {file.attribute(QStringLiteral("dir")), file.attribute(QStringLiteral("name")),
            file.attribute(QStringLiteral("version"))};
}

QHash<QString, QString> installedVersions(const QString &localManifest)
{
    QHash<QString, QString> versions;
    const Document local = read(localManifest);
    if (local.status != Status::Read)
        return versions;
    const QDomElement root = local.root();
    const QDomElement release = currentRelease(root, root.attribute(QStringLiteral("curVersion")));
    for (const QDomElement &file : fileElements(release)) {
        const FileEntry entry = readEntry(file);
        // No file is ever looked up by the empty name.
        if (!entry.name.isEmpty() && !versions.contains(entry.name))
            versions.insert(entry.name, entry.version);
    }
    return versions;
}

QByteArray serialize(const QDomDocument &document, LineEnds lineEnds)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    // In text mode a device writes the platform's line ends.
    buffer.open(lineEnds == LineEnds::Platform ? QIODevice::WriteOnly | QIODevice::Text : QIODevice::WriteOnly);
    QTextStream stream(&buffer);
    document.save(stream, 4, QDomNode::EncodingFromDocument);
    stream.flush();
    return bytes;
}

QByteArray rewrittenOrCopied(const QDomDocument &rewritten, const QByteArray &copied)
{
    QByteArray bytes = serialize(rewritten, LineEnds::Platform);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QDomDocument readBack;
    if (parse(&buffer, &readBack) && sameElements(readBack.documentElement(), rewritten.documentElement()))
        return bytes;
    return copied;
}

} // namespace Manifest
