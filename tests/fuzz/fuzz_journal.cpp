// Recovery at start-up when the commit's journal is any bytes: cut short by a
// crash, or never written by this program. Whatever it says, recovery stays
// inside the application folder, and a journal it cannot read leaves the
// application as it was.
#include "fuzzsupport.h"
#include "releasecommit.h"
#include "testfiles.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

QTemporaryDir *root = nullptr;

// An application at 1.0.0 with 2.0.0 staged beside it, the journal not yet read.
QString makeApplication(const QByteArray &journal)
{
    const QString app = root->filePath(QStringLiteral("app"));
    QDir(app).removeRecursively();
    const QMap<QString, QByteArray> files{
        {QStringLiteral("Brenvoth.exe"), "exe 1.0.0"},
        {QStringLiteral("core.dll"), "core 1.0.0"},
        {QStringLiteral("plugins/render.dll"), "render 1.0.0"},
        {QStringLiteral("version.xml"), "<filelist curVersion=\"1.0.0\"/>"},
        {QStringLiteral("download/core.dll"), "core 2.0.0"},
        {QStringLiteral("download/plugins/render.dll"), "render 2.0.0"},
        {QStringLiteral("download/plugins/imageformats/jpeg.dll"), "jpeg 2.0.0"},
        {QStringLiteral("download/.updater/backup/readme.txt"), "readme 0.9.0"},
        {QStringLiteral("download/.updater/journal"), journal},
    };
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        FUZZ_CHECK(writeFile(app + QLatin1Char('/') + it.key(), it.value()), "the fixture cannot be written");
    return app;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    silenceQt();
    root = new QTemporaryDir;
    return root->isValid() && writeFile(root->filePath(QStringLiteral("outside/secret.txt")), "secret") ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QMap<QString, QByteArray> outsideBefore = snapshot(root->filePath(QStringLiteral("outside")));
    const QString app = makeApplication(bytesOf(data, size));
    const QMap<QString, QByteArray> appBefore = snapshot(app);

    const QString outcome = ReleaseCommit(ApplicationLayout(app)).recover();
    FUZZ_CHECK(!outcome.isEmpty(), "a journal was there and recovery says it did nothing");
    FUZZ_CHECK(QDir(root->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                   == (QStringList{QStringLiteral("app"), QStringLiteral("outside")}),
               "recovery wrote beside the application folder");
    FUZZ_CHECK(snapshot(root->filePath(QStringLiteral("outside"))) == outsideBefore,
               "recovery changed a file outside the application folder");
    if (outcome.contains(QLatin1String("cannot be read"))) {
        FUZZ_CHECK(snapshot(app) == appBefore, "an unreadable journal changed the application");
        FUZZ_CHECK(QFile::exists(app + QStringLiteral("/download/.updater/journal")),
                   "an unreadable journal was not left alone");
    }
    return 0;
}
