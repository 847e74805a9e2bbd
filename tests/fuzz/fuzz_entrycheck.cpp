// The check of where a manifest entry may be written, for any dir and name
// (the input: dir, a NUL byte, name). An accepted entry's destination must
// resolve inside the application folder and outside the download folder the
// updater keeps for itself, and its staged copy inside the download folder
// but not on the updater's own files there. The folders hold links that lead
// outside, as a hostile machine might.
#include "entrycheck.h"
#include "fuzzsupport.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

QTemporaryDir *root = nullptr;
QString app;

// Where a write to \a path lands: the links of its existing part resolved,
// a dangling one to where it points.
QString resolved(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink() && !info.exists())
        return resolved(info.symLinkTarget());
    if (info.exists())
        return info.canonicalFilePath();
    return resolved(info.path()) + QLatin1Char('/') + info.fileName();
}

bool isBelow(const QString &path, const QString &folder)
{
    return path.startsWith(QFileInfo(folder).canonicalFilePath() + QLatin1Char('/'));
}

bool makeFixture()
{
    const QString outside = root->filePath(QStringLiteral("outside"));
    app = root->filePath(QStringLiteral("app"));
    return QDir().mkpath(outside) && QDir().mkpath(app + QStringLiteral("/download/.updater/backup"))
           && QDir().mkpath(app + QStringLiteral("/plugins/imageformats"))
           && writeFile(app + QStringLiteral("/Brenvoth.exe"), "exe")
           && writeFile(app + QStringLiteral("/download/version.xml"), "<filelist/>")
           && QFile::link(outside, app + QStringLiteral("/outlink"))
           && QFile::link(outside, app + QStringLiteral("/download/outlink"))
           && QFile::link(outside + QStringLiteral("/gone"), app + QStringLiteral("/plugins/dangling"))
           && QFile::link(outside + QStringLiteral("/stale.dll"), app + QStringLiteral("/download/stale.dll"));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    silenceQt();
    root = new QTemporaryDir;
    return root->isValid() && makeFixture() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> fields = fieldsOf(data, size, '\0');
    const QString dir = QString::fromUtf8(fields.at(0));
    const QString name = fields.size() > 1 ? QString::fromUtf8(fields.at(1)) : QString();
    const ApplicationLayout layout(app);
    const EntryCheck check(layout);
    QString reason;
    if (!check.allows(dir, name, &reason)) {
        FUZZ_CHECK(!reason.isEmpty(), "a refused entry has no reason");
        return 0;
    }
    const QString download = app + QStringLiteral("/download");
    const QString destination = resolved(layout.destinationPath(dir, name));
    FUZZ_CHECK(isBelow(destination, app), "an accepted entry is written outside the application folder");
    FUZZ_CHECK(!isBelow(destination, download) && destination != QFileInfo(download).canonicalFilePath(),
               "an accepted entry is written into the updater's download folder");

    const QString staged = resolved(layout.stagedPath(dir, name));
    FUZZ_CHECK(isBelow(staged, download), "an accepted entry is staged outside the download folder");
    FUZZ_CHECK(staged != resolved(download + QStringLiteral("/version.xml"))
                   && staged != resolved(download + QStringLiteral("/version.xml.minisig"))
                   && !isBelow(staged, download + QStringLiteral("/.updater"))
                   && staged != resolved(download + QStringLiteral("/.updater")),
               "an accepted entry is staged over the updater's own files");
    return 0;
}
