#include "manifestwriter.h"
#include "releasenotes.h"

namespace Manifest {

namespace {

QString hex(const QByteArray &digest)
{
    return QString::fromLatin1(digest.toHex());
}

QDomElement fileElement(QDomDocument document, const ListedFile &file)
{
    QDomElement element = document.createElement(QStringLiteral("file"));
    element.setAttribute(QStringLiteral("name"), file.entry.name);
    element.setAttribute(QStringLiteral("dir"), file.entry.dir);
    element.setAttribute(QStringLiteral("version"), file.entry.version);
    element.setAttribute(QStringLiteral("size"), QString::number(file.integrity.size));
    element.setAttribute(QStringLiteral("sha256"), hex(file.integrity.sha256));
    if (file.delivery.compressedSize >= 0)
        element.setAttribute(QStringLiteral("zsize"), QString::number(file.delivery.compressedSize));
    for (const Delivery::Patch &patch : file.delivery.patches) {
        QDomElement child = document.createElement(QStringLiteral("patch"));
        child.setAttribute(QStringLiteral("from"), hex(patch.from));
        child.setAttribute(QStringLiteral("size"), QString::number(patch.size));
        element.appendChild(child);
    }
    return element;
}

} // namespace

QDomDocument create()
{
    QDomDocument document;
    document.appendChild(document.createProcessingInstruction(QStringLiteral("xml"),
                                                              QStringLiteral("version=\"1.0\" encoding=\"UTF-8\"")));
    document.appendChild(document.createElement(QStringLiteral("filelist")));
    return document;
}

void setPublished(QDomElement root, qint64 seconds)
{
    root.setAttribute(QStringLiteral("published"), QString::number(seconds));
}

void appendCurrentRelease(QDomElement root, const QString &version, const QString &notes,
                          const QMap<QString, QString> &notesByLanguage, const QVector<ListedFile> &files)
{
    QDomDocument document = root.ownerDocument();
    QDomElement release = document.createElement(QStringLiteral("software"));
    release.setAttribute(QStringLiteral("version"), version);
    ReleaseNotes::write(release, notes, notesByLanguage);
    for (const ListedFile &file : files)
        release.appendChild(fileElement(document, file));
    root.appendChild(release);
    root.setAttribute(QStringLiteral("curVersion"), version);
}

} // namespace Manifest
