// The manifest reader in both roles: as downloaded (from memory, every entry's
// size, digest, patches and the publication time) and as the local manifest
// (from a file). A downloaded manifest that reads is then rewritten as the
// installation writes it, and what it installs must read back as the same
// release.
#include "fuzzsupport.h"
#include "manifest.h"
#include "testfiles.h"

#include <QBuffer>
#include <QDomNodeList>
#include <QTemporaryDir>

namespace {

QTemporaryDir *scratch = nullptr;

void readEntries(const QDomElement &release)
{
    const QDomNodeList files = release.elementsByTagName(QStringLiteral("file"));
    for (int i = 0; i < files.length(); ++i) {
        const QDomElement file = files.at(i).toElement();
        Manifest::FileIntegrity integrity;
        QString reason;
        if (Manifest::readIntegrity(file, &integrity, &reason)) {
            FUZZ_CHECK(integrity.sha256.isEmpty() || integrity.sha256.size() == 32, "a digest is not 32 bytes");
        } else {
            FUZZ_CHECK(!reason.isEmpty(), "a refused entry has no reason");
        }
        const Manifest::Delivery delivery = Manifest::readDelivery(file);
        for (const Manifest::Delivery::Patch &patch : delivery.patches)
            FUZZ_CHECK(patch.from.size() == 32 && patch.size >= 0, "a patch is read with a malformed digest or size");
    }
}

// The installation's rewrite: the offered release becomes the current one.
// What it installs, rewritten or copied, must list what the same bytes list
// as a local manifest.
void checkRewrite(QDomDocument document, const QByteArray &copied, const QString &version,
                  const QHash<QString, QString> &offered)
{
    document.documentElement().setAttribute(QStringLiteral("curVersion"), version);
    const QString path = scratch->filePath(QStringLiteral("version.xml"));
    FUZZ_CHECK(writeFile(path, Manifest::rewrittenOrCopied(document, copied)), "the scratch folder cannot be written");

    const Manifest::Document local = Manifest::read(path);
    FUZZ_CHECK(local.status == Manifest::Status::Read, "a rewritten manifest does not read back");
    FUZZ_CHECK(local.root().attribute(QStringLiteral("curVersion")) == version,
               "a rewritten manifest names another current release");
    FUZZ_CHECK(Manifest::installedVersions(path) == offered,
               "a rewritten manifest lists other files or versions than the release offered");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    silenceQt();
    scratch = new QTemporaryDir;
    return scratch->isValid() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes = bytesOf(data, size);
    // The bytes as the local manifest on disk.
    const QString local = scratch->filePath(QStringLiteral("local.xml"));
    FUZZ_CHECK(writeFile(local, bytes), "the scratch folder cannot be written");
    const QHash<QString, QString> installed = Manifest::installedVersions(local);

    // The same bytes as downloaded, read from memory.
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QDomDocument document;
    if (!Manifest::parse(&buffer, &document))
        return 0;
    const QDomElement root = document.documentElement();
    qint64 published = -1;
    if (Manifest::readPublished(root, &published) && published >= 0)
        Manifest::publishedText(published);
    const QDomElement release = Manifest::currentRelease(root, root.attribute(QStringLiteral("curVersion")));
    readEntries(release);
    if (root.tagName() == QLatin1String("filelist") && !release.isNull())
        checkRewrite(document, bytes, release.attribute(QStringLiteral("version")), installed);
    return 0;
}
