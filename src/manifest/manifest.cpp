#include "manifest.h"

#include <QBuffer>
#include <QDomNodeList>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>
#include <QTextCodec>

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

QTextCodec *codecFromByteOrder(const QByteArray &bytes)
{
    if (bytes.startsWith(QByteArray("<\0\0\0", 4)))
        return QTextCodec::codecForName("UTF-32LE");
    if (bytes.startsWith(QByteArray("\0\0\0<", 4)))
        return QTextCodec::codecForName("UTF-32BE");
    if (bytes.startsWith(QByteArray("<\0", 2)))
        return QTextCodec::codecForName("UTF-16LE");
    if (bytes.startsWith(QByteArray("\0<", 2)))
        return QTextCodec::codecForName("UTF-16BE");
    return QTextCodec::codecForUtfText(bytes, QTextCodec::codecForMib(106));
}

QString declaredEncoding(const QString &text)
{
    if (!text.startsWith(QLatin1String("<?xml")))
        return QString();
    const int end = text.indexOf(QLatin1Char('>'));
    int pos = text.indexOf(QLatin1String("encoding"));
    if (end < 0 || pos < 0 || pos >= end)
        return QString();
    while (pos < end && text.at(pos) != QLatin1Char('"') && text.at(pos) != QLatin1Char('\''))
        ++pos;
    const int start = pos + 1;
    while (++pos < end && text.at(pos) != QLatin1Char('"') && text.at(pos) != QLatin1Char('\''))
        ;
    return start < end ? text.mid(start, pos - start) : QString();
}

// The markup must be scanned in the characters the parser will see: it
// decodes by byte order first, then by the encoding that the declaration names.
QString decodedAsTheParserDoes(const QByteArray &bytes)
{
    QTextCodec *codec = codecFromByteOrder(bytes);
    QString text = codec->toUnicode(bytes);
    QTextCodec *declared = QTextCodec::codecForName(declaredEncoding(text).toLatin1());
    if (declared && declared->mibEnum() != codec->mibEnum())
        text = declared->toUnicode(bytes);
    return text;
}

int endOf(const QString &text, QLatin1String terminator, int from)
{
    const int at = text.indexOf(terminator, from);
    return at < 0 ? -1 : at + terminator.size();
}

// Position after the '>' that closes the markup opened at \a from, skipping
// quoted text; inside a document type, also its bracketed internal subset with
// the comments and instructions in it. -1 when unterminated.
int endOfMarkup(const QString &text, int from)
{
    int brackets = 0;
    for (int pos = from + 1; pos < text.size(); ++pos) {
        const QChar c = text.at(pos);
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            pos = text.indexOf(c, pos + 1);
            if (pos < 0)
                return -1;
        } else if (c == QLatin1Char('[')) {
            ++brackets;
        } else if (c == QLatin1Char(']')) {
            --brackets;
        } else if (c == QLatin1Char('>') && brackets <= 0) {
            return pos + 1;
        } else if (c == QLatin1Char('<') && brackets > 0) {
            const QStringRef rest = text.midRef(pos);
            const int end = rest.startsWith(QLatin1String("<!--")) ? endOf(text, QLatin1String("-->"), pos + 4)
                : rest.startsWith(QLatin1String("<?")) ? endOf(text, QLatin1String("?>"), pos + 2)
                : pos + 1;
            if (end < 0)
                return -1;
            pos = end - 1;
        }
    }
    return -1;
}

int attributeCount(const QStringRef &tag)
{
    int count = 0;
    bool quoted = false;
    QChar quote;
    for (const QChar c : tag) {
        if (quoted) {
            quoted = c != quote;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quoted = true;
            quote = c;
        } else if (c == QLatin1Char('=')) {
            ++count;
        }
    }
    return count;
}

// A lexical pass that bounds what parsing will cost. It leaves well-formedness
// to the parser: whatever the parser accepts is tagged the same way here.
bool withinLimits(const QString &text)
{
    int depth = 0;
    int nodes = 0;
    for (int pos = text.indexOf(QLatin1Char('<')); pos >= 0; pos = text.indexOf(QLatin1Char('<'), pos)) {
        const QStringRef rest = text.midRef(pos);
        int end;
        if (rest.startsWith(QLatin1String("<!--"))) {
            end = endOf(text, QLatin1String("-->"), pos + 4);
        } else if (rest.startsWith(QLatin1String("<![CDATA["))) {
            end = endOf(text, QLatin1String("]]>"), pos + 9);
        } else if (rest.startsWith(QLatin1String("<?"))) {
            end = endOf(text, QLatin1String("?>"), pos + 2);
        } else {
            end = endOfMarkup(text, pos);
            const QStringRef markup = text.midRef(pos, end < 0 ? -1 : end - pos);
            if (rest.startsWith(QLatin1String("<!"))) {
                if (markup.contains(QLatin1String("<!ENTITY"), Qt::CaseInsensitive))
                    return false;
            } else if (rest.startsWith(QLatin1String("</"))) {
                --depth;
            } else {
                nodes += attributeCount(markup);
                if (depth >= maxDepth)
                    return false;
                if (!markup.endsWith(QLatin1String("/>")))
                    ++depth;
            }
        }
        if (++nodes > maxNodes)
            return false;
        if (end < 0)
            return true;
        pos = end;
    }
    return true;
}

} // namespace

bool parse(QIODevice *device, QDomDocument *document)
{
    QByteArray bytes;
    if (!readWithinLimit(device, &bytes) || !withinLimits(decodedAsTheParserDoes(bytes)))
        return false;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return document->setContent(&buffer);
}

Document read(const QString &path)
{
    Document manifest;
    if (!QFile::exists(path))
        return manifest;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        manifest.status = Status::CannotOpen;
    else if (!parse(&file, &manifest.document))
        manifest.status = Status::NotWellFormed;
    else if (manifest.root().tagName() != QLatin1String("filelist"))
        manifest.status = Status::NotFilelist;
    else
        manifest.status = Status::Read;
    return manifest;
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

QHash<QString, QString> installedVersions(const QString &localManifest)
{
    QHash<QString, QString> versions;
    const Document local = read(localManifest);
    if (local.status != Status::Read)
        return versions;
    const QDomElement root = local.root();
    const QDomElement release = currentRelease(root, root.attribute(QStringLiteral("curVersion")));
    const QDomNodeList files = release.elementsByTagName(QStringLiteral("file"));
    versions.reserve(files.length());
    for (int i = 0; i < files.length(); ++i) {
        const QDomElement file = files.at(i).toElement();
        const QString name = file.attribute(QStringLiteral("name"));
        // No file is ever looked up by the empty name.
        if (!name.isEmpty() && !versions.contains(name))
            versions.insert(name, file.attribute(QStringLiteral("version")));
    }
    return versions;
}

void keepInstalledVersions(const QDomElement &release, const QSet<QString> &names,
                           const QHash<QString, QString> &installed)
{
    const QString versionKey = QStringLiteral("version");
    const QDomNodeList files = release.elementsByTagName(QStringLiteral("file"));
    for (int i = 0; i < files.length(); ++i) {
        QDomElement file = files.at(i).toElement();
        const QString name = file.attribute(QStringLiteral("name"));
        if (!names.contains(name))
            continue;
        if (installed.contains(name))
            file.setAttribute(versionKey, installed.value(name));
        else
            file.removeAttribute(versionKey);
    }
}

bool write(const QDomDocument &document, const QString &path, QString *errorText)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        QTextStream stream(&file);
        document.save(stream, 4, QDomNode::EncodingFromDocument);
        stream.flush();
        if (stream.status() == QTextStream::Ok && file.commit())
            return true;
    }
    *errorText = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return false;
}

} // namespace Manifest
