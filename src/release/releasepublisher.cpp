#include "releasepublisher.h"
#include "entryname.h"
#include "manifest.h"
#include "mappedfile.h"
#include "minisignsigner.h"
#include "sha256.h"
#include "zstdcompressor.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QDomNodeList>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QScopeGuard>
#include <QSet>
#include <QTextStream>
#include <QVector>

#include <algorithm>
#include <limits>

namespace {

// A zstd patch that turns an earlier copy of a file into this one.
struct Patch
{
    QByteArray from; // the earlier copy's SHA-256
    qint64 size = 0;
};

struct ReleaseFile
{
    QString dir; // "" or ending in "/"
    QString name;
    qint64 size = 0;
    QByteArray sha256;
    qint64 zsize = -1; // -1: no .zst
    QVector<Patch> patches;

    QString path() const { return dir + name; }
};

// The release that the previous manifest names as current: its folder on the
// server and its first entry of each dir + name.
struct PreviousRelease
{
    QString folder;
    QHash<QString, QDomElement> entries;
};

bool refuse(QString *error, const QString &why)
{
    *error = why;
    return false;
}

// The updater puts names into an address as they stand, where these start a
// fragment, a query or an escape.
bool survivesInAddress(const QString &path, QString *reason)
{
    for (const QChar c : {QLatin1Char('#'), QLatin1Char('?'), QLatin1Char('%')}) {
        if (path.contains(c)) {
            *reason = QStringLiteral("\"%1\" cannot stand in a download address").arg(c);
            return false;
        }
    }
    return true;
}

bool namesReleaseFolder(const QString &version, QString *reason)
{
    if (version.isEmpty()) {
        *reason = QStringLiteral("it is empty");
        return false;
    }
    return isSafeEntry(QString(), QStringLiteral("v") + version, reason) && survivesInAddress(version, reason);
}

// Windows cannot hold two names that differ only in letter case, whether
// files or folders, so every folder on the way counts too.
bool checkCaseClash(const QString &path, QHash<QString, QString> *byFoldedPath, QString *error)
{
    for (int end = path.indexOf(QLatin1Char('/')); ; end = path.indexOf(QLatin1Char('/'), end + 1)) {
        const QString part = path.left(end);
        const QString seen = byFoldedPath->value(part.toCaseFolded());
        if (!seen.isNull() && seen != part)
            return refuse(error, QStringLiteral("\"%1\" and \"%2\" differ only in letter case; Windows cannot "
                                                "hold both").arg(seen, part));
        byFoldedPath->insert(part.toCaseFolded(), part);
        if (end < 0)
            return true;
    }
}

bool listRelease(const QString &releaseDir, QVector<ReleaseFile> *files, QString *error)
{
    if (!QFileInfo(releaseDir).isDir())
        return refuse(error, QStringLiteral("the release folder %1 does not exist").arg(releaseDir));
    const QDir root(QFileInfo(releaseDir).absoluteFilePath());
    QStringList paths;
    // Linked folders are part of the release too; the iterator skips link loops.
    QDirIterator it(root.path(), QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
    while (it.hasNext())
        paths.append(root.relativeFilePath(it.next()));
    if (paths.isEmpty())
        return refuse(error, QStringLiteral("the release folder %1 holds no files").arg(releaseDir));
    paths.sort();
    QHash<QString, QString> byFoldedPath;
    for (const QString &path : paths) {
        const int slash = path.lastIndexOf(QLatin1Char('/'));
        ReleaseFile file;
        file.dir = path.left(slash + 1);
        file.name = path.mid(slash + 1);
        QString reason;
        if (!isSafeEntry(file.dir, file.name, &reason) || !survivesInAddress(path, &reason))
            return refuse(error, QStringLiteral("the updater would refuse the file \"%1\": %2").arg(path, reason));
        if (path == QLatin1String("version.xml.minisig"))
            return refuse(error, QStringLiteral("the release may not hold version.xml.minisig: the manifest's "
                                                "signature goes there"));
        if (!checkCaseClash(path, &byFoldedPath, error))
            return false;
        files->append(file);
    }
    return true;
}

QString statusText(Manifest::Status status)
{
    switch (status) {
    case Manifest::Status::Missing: return QStringLiteral("it does not exist");
    case Manifest::Status::CannotOpen: return QStringLiteral("it cannot be opened");
    case Manifest::Status::NotFilelist: return QStringLiteral("its root element is not filelist");
    default: return QStringLiteral("it is not well-formed XML, or too large or deep for the updater");
    }
}

// The previous manifest with every release kept, or a new one.
bool startManifest(const ReleaseOptions &options, const QString &manifestPath, QDomDocument *document,
                   QString *error)
{
    if (options.previousManifest.isEmpty()) {
        if (QFileInfo::exists(manifestPath))
            return refuse(error, QStringLiteral("%1 exists already: give it with --previous to keep its "
                                                "releases").arg(manifestPath));
        document->appendChild(document->createProcessingInstruction(
            QStringLiteral("xml"), QStringLiteral("version=\"1.0\" encoding=\"UTF-8\"")));
        document->appendChild(document->createElement(QStringLiteral("filelist")));
        return true;
    }
    const Manifest::Document previous = Manifest::read(options.previousManifest);
    if (previous.status != Manifest::Status::Read)
        return refuse(error, QStringLiteral("cannot use the previous manifest %1: %2")
                                 .arg(options.previousManifest, statusText(previous.status)));
    const QDomNodeList releases = previous.root().elementsByTagName(QStringLiteral("software"));
    for (int i = 0; i < releases.length(); ++i) {
        if (releases.at(i).toElement().attribute(QStringLiteral("version")) == options.version)
            return refuse(error, QStringLiteral("release %1 is already in %2")
                                     .arg(options.version, options.previousManifest));
    }
    *document = previous.document;
    return true;
}

// Seconds since 1970, always above the previous manifest's, whatever the
// clock says: an updater can then tell a replayed older manifest by it.
bool stampPublished(QDomElement root, const QString &previousManifest, QString *error)
{
    qint64 last = -1;
    if (!Manifest::readPublished(root, &last) || last == std::numeric_limits<qint64>::max())
        return refuse(error, QStringLiteral("cannot use the previous manifest %1: its published \"%2\" is not "
                                            "a plain decimal number of seconds")
                                 .arg(previousManifest, root.attribute(QStringLiteral("published"))));
    root.setAttribute(QStringLiteral("published"),
                      QString::number(std::max(QDateTime::currentSecsSinceEpoch(), last + 1)));
    return true;
}

PreviousRelease previousRelease(const QDomElement &root, const QString &windowsRoot)
{
    // Read as the updater reads a published manifest.
    const QString curVersion = root.attribute(QStringLiteral("curVersion"), QStringLiteral("1.0.0"));
    PreviousRelease previous{windowsRoot + QStringLiteral("/v") + curVersion, {}};
    const QDomNodeList files =
        Manifest::currentRelease(root, curVersion).elementsByTagName(QStringLiteral("file"));
    for (int i = 0; i < files.length(); ++i) {
        const QDomElement file = files.at(i).toElement();
        const QString key = file.attribute(QStringLiteral("dir")) + file.attribute(QStringLiteral("name"));
        if (!previous.entries.contains(key))
            previous.entries.insert(key, file);
    }
    return previous;
}

bool copyAndHash(const QString &source, const QString &destination, ReleaseFile *file, QString *error)
{
    QFile in(source);
    QFile out(destination);
    if (!in.open(QIODevice::ReadOnly))
        return refuse(error, QStringLiteral("cannot read %1: %2").arg(source, in.errorString()));
    if (!QDir().mkpath(QFileInfo(destination).path()) || !out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return refuse(error, QStringLiteral("cannot create %1: %2").arg(destination, out.errorString()));
    // Size and hash describe the bytes copied, even if the source changes meanwhile.
    Sha256 sha256;
    qint64 copied = 0;
    QByteArray block;
    while (!(block = in.read(1 << 20)).isEmpty()) {
        sha256.addData(block);
        copied += block.size();
        if (out.write(block) != block.size())
            break;
    }
    out.close();
    if (in.error() != QFileDevice::NoError || out.error() != QFileDevice::NoError)
        return refuse(error, QStringLiteral("copying %1 to %2 failed: %3")
                                 .arg(source, destination, in.error() ? in.errorString() : out.errorString()));
    file->size = copied;
    file->sha256 = sha256.result();
    return true;
}

bool sameContent(const QString &path, const QString &otherPath)
{
    QFile file(path);
    QFile other(otherPath);
    if (!file.open(QIODevice::ReadOnly) || !other.open(QIODevice::ReadOnly) || file.size() != other.size())
        return false;
    while (!file.atEnd()) {
        if (file.read(1 << 20) != other.read(1 << 20))
            return false;
    }
    return file.error() == QFileDevice::NoError && other.error() == QFileDevice::NoError;
}

// The previous entry's version when the content is the same, by its hash or,
// without one, by the previous release's copy of the file.
QString fileVersion(const ReleaseFile &file, const QString &copy, const PreviousRelease &previous,
                    const QString &version)
{
    const QDomElement entry = previous.entries.value(file.dir + file.name);
    const QString previousVersion = entry.attribute(QStringLiteral("version"));
    if (previousVersion.isEmpty())
        return version;
    Manifest::FileIntegrity integrity;
    QString malformed;
    const bool hashed = Manifest::readIntegrity(entry, &integrity, &malformed) && !integrity.sha256.isEmpty();
    const bool unchanged = hashed
        ? integrity.sha256 == file.sha256 && (integrity.size < 0 || integrity.size == file.size)
        : sameContent(copy, previous.folder + QLatin1Char('/') + file.dir + file.name);
    return unchanged ? previousVersion : version;
}

QString hex(const QByteArray &digest)
{
    return QString::fromLatin1(digest.toHex());
}

QByteArray sha256Of(const MappedFile &file)
{
    Sha256 sha256;
    sha256.addData(reinterpret_cast<const char *>(file.data()), file.size());
    return sha256.result();
}

// The folders of the last \a count releases of the previous manifest, newest
// first: their users hold those copies, so patches start from them.
QStringList patchSources(const QDomElement &root, const QString &windowsRoot, int count)
{
    QStringList versions;
    const QDomNodeList releases = root.elementsByTagName(QStringLiteral("software"));
    for (int i = releases.length() - 1; i >= 0 && versions.size() < count; --i) {
        const QString version = releases.at(i).toElement().attribute(QStringLiteral("version"));
        QString reason;
        if (!versions.contains(version) && namesReleaseFolder(version, &reason))
            versions.append(version);
    }
    QStringList folders;
    for (const QString &version : qAsConst(versions))
        folders.append(windowsRoot + QStringLiteral("/v") + version);
    return folders;
}

// What the compressed forms of the release's files are made with.
struct Compression
{
    ZstdCompressor &zstd;
    QString releaseFolder;
    QStringList earlierFolders; // newest first
    QSet<QString> releasePaths; // case-folded: a compressed form never takes a release file's place
};

// The .zst beside the copy, kept when it saves at least 5 %.
bool writeZst(const Compression &with, const MappedFile &copy, ReleaseFile *file, QString *error)
{
    const QString zst = file->path() + QStringLiteral(".zst");
    if (with.releasePaths.contains(zst.toCaseFolded()))
        return true;
    return with.zstd.write(copy, nullptr, with.releaseFolder + QLatin1Char('/') + zst, file->size * 19 / 20,
                           &file->zsize, error);
}

// A patch from each earlier release's copy that differs, kept when it is
// smaller than what the updater would fetch without it. The copy is hashed
// from disk: its bytes are the patch's reference, whatever a manifest says.
bool writePatches(const Compression &with, const MappedFile &copy, ReleaseFile *file, QString *error)
{
    QSet<QByteArray> patched{file->sha256};
    for (const QString &folder : with.earlierFolders) {
        const QString earlierPath = folder + QLatin1Char('/') + file->path();
        if (!QFileInfo(earlierPath).isFile())
            continue;
        MappedFile earlier;
        if (!earlier.open(earlierPath, error))
            return false;
        const QByteArray from = sha256Of(earlier);
        const QString patch = file->path() + QStringLiteral(".from-%1.zst").arg(hex(from).left(16));
        if (patched.contains(from) || with.releasePaths.contains(patch.toCaseFolded()))
            continue;
        patched.insert(from);
        const qint64 otherwise = file->zsize >= 0 ? file->zsize : file->size;
        qint64 size = -1;
        if (!with.zstd.write(copy, &earlier, with.releaseFolder + QLatin1Char('/') + patch, otherwise - 1, &size,
                             error))
            return false;
        if (size >= 0)
            file->patches.append({from, size});
    }
    return true;
}

bool compressRelease(int level, const QString &releaseFolder, const QStringList &earlierFolders,
                     QVector<ReleaseFile> *files, QString *error)
{
    ZstdCompressor zstd(level);
    Compression with{zstd, releaseFolder, earlierFolders, {}};
    for (const ReleaseFile &file : qAsConst(*files))
        with.releasePaths.insert(file.path().toCaseFolded());
    for (ReleaseFile &file : *files) {
        MappedFile copy;
        if (!copy.open(releaseFolder + QLatin1Char('/') + file.path(), error) || !writeZst(with, copy, &file, error)
            || !writePatches(with, copy, &file, error))
            return false;
    }
    return true;
}

QDomElement fileElement(QDomDocument &document, const ReleaseFile &file, const QString &version)
{
    QDomElement entry = document.createElement(QStringLiteral("file"));
    entry.setAttribute(QStringLiteral("name"), file.name);
    entry.setAttribute(QStringLiteral("dir"), file.dir);
    entry.setAttribute(QStringLiteral("version"), version);
    entry.setAttribute(QStringLiteral("size"), QString::number(file.size));
    entry.setAttribute(QStringLiteral("sha256"), hex(file.sha256));
    if (file.zsize >= 0)
        entry.setAttribute(QStringLiteral("zsize"), QString::number(file.zsize));
    for (const Patch &patch : file.patches) {
        QDomElement element = document.createElement(QStringLiteral("patch"));
        element.setAttribute(QStringLiteral("from"), hex(patch.from));
        element.setAttribute(QStringLiteral("size"), QString::number(patch.size));
        entry.appendChild(element);
    }
    return entry;
}

QDomElement releaseElement(QDomDocument &document, const QString &version, const QString &notes,
                           const QVector<ReleaseFile> &files, const QStringList &versions)
{
    QDomElement release = document.createElement(QStringLiteral("software"));
    release.setAttribute(QStringLiteral("version"), version);
    release.setAttribute(QStringLiteral("info"), notes);
    for (int i = 0; i < files.size(); ++i)
        release.appendChild(fileElement(document, files.at(i), versions.at(i)));
    return release;
}

// The bytes of the manifest as published; the signature covers exactly these.
QByteArray serialized(const QDomDocument &document)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QTextStream stream(&buffer);
    document.save(stream, 4, QDomNode::EncodingFromDocument);
    stream.flush();
    return bytes;
}

bool readableByTheUpdater(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QDomDocument document;
    return Manifest::parse(&buffer, &document);
}

bool readNotes(const QString &path, QString *notes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(error, QStringLiteral("cannot read the notes %1: %2").arg(path, file.errorString()));
    *notes = QString::fromUtf8(file.readAll()).trimmed();
    return true;
}

bool checkVersion(const QString &version, QString *error)
{
    QString reason;
    if (!namesReleaseFolder(version, &reason))
        return refuse(error, QStringLiteral("\"%1\" cannot name a release folder: %2").arg(version, reason));
    return true;
}

bool checkCompression(const ReleaseOptions &options, QString *error)
{
    if (options.level < 1 || options.level > ZstdCompressor::maxLevel())
        return refuse(error, QStringLiteral("--level must be between 1 and %1").arg(ZstdCompressor::maxLevel()));
    if (options.patchesFrom < 0)
        return refuse(error, QStringLiteral("--patches-from must be 0 or more"));
    return true;
}

bool writeManifest(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    return refuse(error, QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
}

QString compressionSummary(const QVector<ReleaseFile> &files)
{
    int zstCount = 0;
    int patchCount = 0;
    qint64 rawBytes = 0;
    qint64 zstBytes = 0;
    qint64 patchBytes = 0;
    for (const ReleaseFile &file : files) {
        rawBytes += file.size;
        if (file.zsize >= 0) {
            ++zstCount;
            zstBytes += file.zsize;
        }
        patchCount += file.patches.size();
        for (const Patch &patch : file.patches)
            patchBytes += patch.size;
    }
    return QStringLiteral("Compressed: %1 .zst files and %2 patches; %3 bytes raw, %4 in .zst files, %5 in "
                          "patches\n").arg(zstCount).arg(patchCount).arg(rawBytes).arg(zstBytes).arg(patchBytes);
}

} // namespace

bool publishRelease(const ReleaseOptions &options, QString *summary, QString *error)
{
    const QString windowsRoot = options.serverRoot + QStringLiteral("/brenvothDownload/windows");
    const QString manifestPath = windowsRoot + QStringLiteral("/version.xml");
    const QString releaseFolder = windowsRoot + QStringLiteral("/v") + options.version;
    QVector<ReleaseFile> files;
    QDomDocument document;
    QString notes;
    if (!checkVersion(options.version, error) || !checkCompression(options, error)
        || !listRelease(options.releaseDir, &files, error)
        || !startManifest(options, manifestPath, &document, error)
        || !stampPublished(document.documentElement(), options.previousManifest, error)
        || !readNotes(options.notesFile, &notes, error))
        return false;
    if (QFileInfo::exists(releaseFolder))
        return refuse(error, QStringLiteral("the release folder %1 exists already").arg(releaseFolder));

    // Everything below writes only into the new release folder until the
    // manifest replaces the old one; a failure takes the folder away again.
    auto removeFolder = qScopeGuard([&releaseFolder] { QDir(releaseFolder).removeRecursively(); });
    QDomElement root = document.documentElement();
    const PreviousRelease previous = previousRelease(root, windowsRoot);
    const QStringList earlierFolders = patchSources(root, windowsRoot, options.patchesFrom);
    QStringList versions;
    for (ReleaseFile &file : files) {
        const QString copy = releaseFolder + QLatin1Char('/') + file.path();
        if (!copyAndHash(options.releaseDir + QLatin1Char('/') + file.path(), copy, &file, error))
            return false;
        versions.append(fileVersion(file, copy, previous, options.version));
    }
    if (!compressRelease(options.level, releaseFolder, earlierFolders, &files, error))
        return false;
    root.appendChild(releaseElement(document, options.version, notes, files, versions));
    root.setAttribute(QStringLiteral("curVersion"), options.version);
    const QByteArray bytes = serialized(document);
    if (!readableByTheUpdater(bytes))
        return refuse(error, QStringLiteral("the new manifest would be too large or too deep for the updater"));

    const QString signaturePath = releaseFolder + QStringLiteral("/version.xml.minisig");
    if (!options.secretKey.isEmpty()
        && !signWithMinisign(bytes, options.secretKey, signaturePath, QStringLiteral("version.xml"),
                             options.version, error))
        return false;
    if (!writeManifest(manifestPath, bytes, error))
        return false;
    removeFolder.dismiss();

    const int changed = versions.count(options.version);
    *summary = QStringLiteral("Published release %1: %2 files, %3 of them new or changed, in %4\n%5"
                              "Manifest: %6\n")
                   .arg(options.version).arg(files.size()).arg(changed)
                   .arg(releaseFolder, compressionSummary(files), manifestPath);
    if (!options.secretKey.isEmpty())
        *summary += QStringLiteral("Signature: %1\n").arg(signaturePath);
    return true;
}
