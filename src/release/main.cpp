// brenvoth-release: publishes one release of Brenvoth for the updater.

#include "releasecheck.h"
#include "releasepublisher.h"
#include "serverlayout.h"
#include "zstdcompressor.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHash>
#include <cstdio>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "brenvoth-release: %s\n", qPrintable(message));
    return 1;
}

// Leaves \a value as it is when the option is not given.
bool readWholeNumber(const QCommandLineParser &parser, const QString &option, int *value)
{
    bool isNumber = true;
    if (parser.isSet(option))
        *value = parser.value(option).toInt(&isNumber);
    return isNumber;
}

int check(const QCommandLineParser &parser)
{
    ReleaseCheck check({parser.value(QStringLiteral("check")), parser.value(QStringLiteral("key")),
                        parser.isSet(QStringLiteral("deep"))});
    QObject::connect(&check, &ReleaseCheck::progressed,
                     [](const QString &line) { std::fprintf(stderr, "%s\n", qPrintable(line)); });
    if (check.run()) {
        std::printf("%s\n", qPrintable(check.summary()));
        return 0;
    }
    const QStringList problems = check.problems();
    for (const QString &problem : problems)
        std::printf("%s\n", qPrintable(problem));
    std::fflush(stdout);
    return fail(QStringLiteral("--check found %1 problem(s)").arg(problems.size()));
}

} // namespace

int main(int argc, char **argv)
{
    // Attributes are kept in a hash: a fixed seed makes the same release give
    // the same manifest bytes on every run.
    qSetGlobalQHashSeed(0);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("brenvoth-release"));

    QCommandLineParser parser;
    const QString base = QStringLiteral("SERVER_ROOT/") + ServerLayout::basePath();
    parser.setApplicationDescription(
        QStringLiteral("Copies RELEASE_DIR to %1 and makes it the current release of %2. Beside each file it "
                       "writes it compressed with zstd, and patches from earlier releases' copies, when they save "
                       "bytes.")
            .arg(base + ServerLayout::releaseFolder(QStringLiteral("<VERSION>")), base + ServerLayout::manifestName()));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("previous"), QStringLiteral("The manifest of the releases so far, kept in the new one."),
         QStringLiteral("OLD_MANIFEST")},
        {QStringLiteral("version"), QStringLiteral("The new release's number."), QStringLiteral("VERSION")},
        {QStringLiteral("notes"), QStringLiteral("A UTF-8 text file with the release notes (may hold HTML)."),
         QStringLiteral("NOTES_FILE")},
        {QStringLiteral("notes-for"), QStringLiteral("The release notes in one language, as de=notes.de.txt or "
                                                     "pt-BR=notes.pt-BR.txt; repeatable. Updaters show the best "
                                                     "match for their language, else --notes."),
         QStringLiteral("LANGUAGE=FILE")},
        {QStringLiteral("sign"), QStringLiteral("Sign the manifest with this minisign secret key."),
         QStringLiteral("MINISIGN_SECRET_KEY")},
        {QStringLiteral("out"), QStringLiteral("The folder the download server serves."),
         QStringLiteral("SERVER_ROOT")},
        {QStringLiteral("level"), QStringLiteral("The zstd level of the .zst files and patches, 1 (fastest) to %1 "
                                                 "(smallest); default 19.").arg(ZstdCompressor::maxLevel()),
         QStringLiteral("N")},
        {QStringLiteral("patches-from"), QStringLiteral("Patch from the copies of the last N releases in "
                                                        "OLD_MANIFEST, 0 for no patches; default 3."),
         QStringLiteral("N")},
        {QStringLiteral("jobs"), QStringLiteral("Compress N files at once; default 0, one per core."),
         QStringLiteral("N")},
        {QStringLiteral("expires"), QStringLiteral("Keyed updaters refuse the manifest DAYS days after its "
                                                   "publication, so that a mirror serving it unchanged is "
                                                   "noticed; publish again before then. Default: never."),
         QStringLiteral("DAYS")},
    });
    parser.addOptions({
        {QStringLiteral("check"), QStringLiteral("Instead of publishing, check that the current release is whole "
                                                 "where users fetch it: at the download base URL or in the "
                                                 "server's folder."),
         QStringLiteral("URL|FOLDER")},
        {QStringLiteral("key"), QStringLiteral("With --check, verify the manifest's signature with this minisign "
                                               "public key (a .pub file or its key line)."),
         QStringLiteral("PUBLIC_KEY")},
        {QStringLiteral("deep"), QStringLiteral("With --check, fetch every file whole, check its SHA-256 and "
                                                "decode each .zst and patch.")},
    });
    parser.addPositionalArgument(QStringLiteral("RELEASE_DIR"), QStringLiteral("The release's files."));
    parser.process(app);
    if (parser.isSet(QStringLiteral("check")))
        return check(parser);

    for (const char *required : {"version", "notes", "out"}) {
        if (!parser.isSet(QLatin1String(required)))
            return fail(QStringLiteral("--%1 is required (see --help)").arg(QLatin1String(required)));
    }
    if (parser.positionalArguments().size() != 1)
        return fail(QStringLiteral("give exactly one RELEASE_DIR (see --help)"));

    ReleaseOptions options{parser.value(QStringLiteral("previous")), parser.value(QStringLiteral("version")),
                           parser.value(QStringLiteral("notes")),    parser.value(QStringLiteral("sign")),
                           parser.value(QStringLiteral("out")),      parser.positionalArguments().first()};
    options.notesFor = parser.values(QStringLiteral("notes-for"));
    if (!readWholeNumber(parser, QStringLiteral("level"), &options.level)
        || !readWholeNumber(parser, QStringLiteral("patches-from"), &options.patchesFrom)
        || !readWholeNumber(parser, QStringLiteral("jobs"), &options.jobs)
        || !readWholeNumber(parser, QStringLiteral("expires"), &options.expiresDays))
        return fail(QStringLiteral("--level, --patches-from, --jobs and --expires take a whole number (see --help)"));
    QString summary;
    QString error;
    if (!publishRelease(options, &summary, &error))
        return fail(error);
    std::fputs(qPrintable(summary), stdout);
    return 0;
}
