#include "entrycheck.h"
#include "minisign.h"
#include "minisignkeys.h"
#include "scriptedhttpserver.h"
#include "testfiles.h"
#include "updatecontroller.h"
#include "updatewindow.h"
#include "zstdframes.h"
#include "testwaits.h"

#include <QCryptographicHash>
#include <QDomDocument>
#include <QDomNodeList>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTextEdit>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Files = QMap<QString, QByteArray>; // relative path -> content

// Text that compresses well; variants 1 to 9 differ in a few lines, not in size.
QByteArray text(int variant)
{
    QByteArray content;
    for (int line = 0; line < 2000; ++line) {
        content += "line " + QByteArray::number(line) + " of the core library"
            + (line % 500 ? QByteArray() : ", variant " + QByteArray::number(variant)) + '\n';
    }
    return content;
}

const Files release100{{"core.dll", text(1)}, {"readme.txt", "read me"}, {"plugins/render.dll", "render"}};

struct Run
{
    int exitCode = -1;
    QString errors;
    QString output;
};

// A server root with its published manifest, and folders to publish from.
class Publisher
{
public:
    QString root() const { return dir.path(); }
    QString windows() const { return dir.path() + QStringLiteral("/srv/brenvothDownload/windows"); }
    QString manifestPath() const { return windows() + QStringLiteral("/version.xml"); }
    QByteArray manifest() const { return contentOf(manifestPath()); }

    bool placeRelease(const Files &files)
    {
        QDir(dir.filePath(QStringLiteral("release"))).removeRecursively();
        QDir().mkpath(dir.filePath(QStringLiteral("release")));
        for (auto file = files.begin(); file != files.end(); ++file) {
            if (!writeFile(dir.filePath(QStringLiteral("release/") + file.key()), file.value()))
                return false;
        }
        return writeFile(dir.filePath(QStringLiteral("notes.txt")), "<b>Notes</b> of the release\n");
    }

    // Whether the release folder holds a file of exactly this name: Windows
    // drops a trailing dot, opens a device name as the device and takes a
    // backslash for a folder.
    bool releaseHolds(const QString &folder, const QString &name) const
    {
        return QDir(dir.filePath(QStringLiteral("release/") + folder))
            .entryList(QDir::Files | QDir::Hidden | QDir::System)
            .contains(name);
    }

    // Windows cannot hold some names (a backslash, two that differ only in case).
    bool releaseHoldsAsNamed(const Files &files) const
    {
        QStringList placed;
        const QMap<QString, QByteArray> entries = snapshot(dir.filePath(QStringLiteral("release")));
        for (auto entry = entries.begin(); entry != entries.end(); ++entry) {
            if (entry.value() != "<folder>")
                placed << entry.key();
        }
        return placed == files.keys();
    }

    Run publish(const QString &version, const QStringList &options = QStringList())
    {
        QProcess tool;
        tool.setWorkingDirectory(dir.path());
        tool.start(QStringLiteral(BRENVOTH_RELEASE_TOOL),
                   options + QStringList{"--version", version, "--notes", "notes.txt", "--out", "srv", "release"});
        tool.closeWriteChannel(); // no terminal, no password
        if (!tool.waitForFinished(awaitCeilingMsecs) || tool.exitStatus() != QProcess::NormalExit)
            return {-1, QStringLiteral("the tool did not end by itself: %1 (exit code %2) %3")
                            .arg(tool.errorString()).arg(tool.exitCode()).arg(QString::fromUtf8(tool.readAllStandardError())), {}};
        return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardError()),
                QString::fromUtf8(tool.readAllStandardOutput())};
    }

    Run publishNext(const QString &version, const QStringList &options = QStringList())
    {
        return publish(version, options + QStringList{"--previous", manifestPath()});
    }

    // 1.0.0, then 1.1.0 with a .zst and a patch for core.dll, signed with \a sign.
    bool publishTwo(const QStringList &sign)
    {
        Files release110 = release100;
        release110[QStringLiteral("core.dll")] = text(2);
        return placeRelease(release100) && publish(QStringLiteral("1.0.0"), sign).exitCode == 0
            && placeRelease(release110) && publishNext(QStringLiteral("1.1.0"), sign).exitCode == 0;
    }

    // The event loop runs meanwhile, so that a server in this process answers.
    Run check(const QStringList &arguments)
    {
        qRegisterMetaType<QProcess::ExitStatus>();
        QProcess tool;
        QSignalSpy finished(&tool, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished));
        tool.start(QStringLiteral(BRENVOTH_RELEASE_TOOL), QStringList{"--check"} + arguments);
        if (!finished.wait(60000) || tool.exitStatus() != QProcess::NormalExit)
            return Run();
        return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardError()),
                QString::fromUtf8(tool.readAllStandardOutput())};
    }

private:
    QTemporaryDir dir;
};

QString hexSha256(const QByteArray &content)
{
    return QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex());
}

// "dir name version size sha256" of each file entry of a release, in order.
QStringList entriesOf(const QDomElement &release)
{
    QStringList entries;
    const QDomNodeList files = release.elementsByTagName(QStringLiteral("file"));
    for (int i = 0; i < files.length(); ++i) {
        const QDomElement file = files.at(i).toElement();
        QStringList fields;
        for (const char *attribute : {"dir", "name", "version", "size", "sha256"})
            fields << file.attribute(QLatin1String(attribute));
        entries << fields.join(QLatin1Char(' '));
    }
    return entries;
}

QString entry(const QString &path, const QString &version, const QByteArray &content)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return QStringList{path.left(slash + 1), path.mid(slash + 1), version, QString::number(content.size()),
                       hexSha256(content)}
        .join(QLatin1Char(' '));
}

void replaceInManifest(const QString &manifestPath, const QString &pattern, const QString &replacement)
{
    QString manifest = QString::fromUtf8(contentOf(manifestPath));
    manifest.replace(QRegularExpression(pattern), replacement);
    QVERIFY(writeFile(manifestPath, manifest.toUtf8()));
}

void stripHashes(const QString &manifestPath)
{
    replaceInManifest(manifestPath, QStringLiteral(" (size|sha256)=\"[^\"]*\""), QString());
}

// A manifest whose current release 1.0.0 lists the one file \a dir + \a name.
QByteArray listing(const QString &dir, const QString &name, const QByteArray &content)
{
    return QStringLiteral("<filelist curVersion=\"1.0.0\"><software version=\"1.0.0\" info=\"\">"
                          "<file name=\"%1\" dir=\"%2\" version=\"1.0.0\" size=\"%3\" sha256=\"%4\"/>"
                          "</software></filelist>\n")
        .arg(name.toHtmlEscaped(), dir.toHtmlEscaped())
        .arg(content.size())
        .arg(hexSha256(content))
        .toUtf8();
}

QByteArray randomBytes(int size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator(seed).fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
    return bytes;
}

// The entry of \a name in the document's last release.
QDomElement lastEntry(const QDomDocument &document, const QString &name)
{
    const QDomNodeList releases = document.documentElement().elementsByTagName(QStringLiteral("software"));
    const QDomNodeList files = releases.at(releases.length() - 1).toElement().elementsByTagName(QStringLiteral("file"));
    for (int i = 0; i < files.length(); ++i) {
        if (files.at(i).toElement().attribute(QStringLiteral("name")) == name)
            return files.at(i).toElement();
    }
    return QDomElement();
}

QByteArray withoutPublished(const QByteArray &manifest)
{
    return QString::fromUtf8(manifest).remove(QRegularExpression(QStringLiteral(" published=\"[0-9]*\""))).toUtf8();
}

// 12 MiB of 4 KiB random blocks, each there many times: it compresses, and
// zstd cuts it into several jobs of its own at level 1.
QByteArray largeFile()
{
    const QByteArray pool = randomBytes(64 * 4096, 7);
    QRandomGenerator random(1);
    QByteArray content;
    while (content.size() < 12 << 20)
        content += pool.mid(int(random.bounded(64)) * 4096, 4096);
    return content;
}

qint64 publishedOf(const QByteArray &manifest)
{
    QDomDocument document;
    document.setContent(manifest);
    return document.documentElement().attribute(QStringLiteral("published")).toLongLong();
}

} // namespace

class tst_Release : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void roundTrip_data();
    void roundTrip();
    void refusals_data();
    void refusals();
    void publishableNames_data();
    void publishableNames();
    void published_data();
    void published();
    void expires();
    void compressed_data();
    void compressed();
    void patches_data();
    void patches();
    void sameBytesWithAnyJobs();
    void continued_data();
    void continued();
    void check_data();
    void check();
    void notesPerLanguage();
    void checkOverHttp_data();
    void checkOverHttp();

private:
    QTemporaryDir keys;
    MinisignKey key;
    MinisignKey nextKey; ///< the publisher's replacement key
};

// Without minisign (under wine, say) only what needs no signature is tested.
void tst_Release::initTestCase()
{
    QVERIFY(keys.isValid());
    if (!minisignInstalled())
        return;
    key = makeMinisignKey(keys.path(), QStringLiteral("publisher"));
    nextKey = makeMinisignKey(keys.path(), QStringLiteral("next"));
    QVERIFY2(!key.publicKey.isEmpty() && !nextKey.publicKey.isEmpty(), "minisign -G -W made no key");
}

void tst_Release::roundTrip_data()
{
    QTest::addColumn<bool>("previousHashes");
    QTest::addColumn<bool>("nextSignedWithNextKey");
    QTest::newRow("previous manifest with hashes") << true << false;
    QTest::newRow("previous manifest without hashes") << false << false;
    QTest::newRow("signed with the second of two trusted keys") << true << true;
}

// 1.0.0, then 1.1.0 with core.dll changed (same size) and plugins/new.dll added.
void tst_Release::roundTrip()
{
    QFETCH(bool, previousHashes);
    QFETCH(bool, nextSignedWithNextKey);
    if (key.publicKey.isEmpty())
        SKIP_WHERE_MISSING("the minisign command is not installed");
    Publisher publisher;
    const QStringList sign{"--sign", key.secretKeyPath};
    const QByteArray trusted = nextSignedWithNextKey ? key.publicKey + ';' + nextKey.publicKey : key.publicKey;
    QVERIFY(publisher.placeRelease(release100));
    Run run = publisher.publish(QStringLiteral("1.0.0"), sign);
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    if (!previousHashes)
        stripHashes(publisher.manifestPath());
    const QByteArray manifest100 = publisher.manifest();
    QCOMPARE(manifest100.contains("sha256"), previousHashes);

    Files release110 = release100;
    release110[QStringLiteral("core.dll")] = text(2);
    release110[QStringLiteral("plugins/new.dll")] = "new";
    QVERIFY(publisher.placeRelease(release110));
    run = publisher.publishNext(QStringLiteral("1.1.0"),
                                nextSignedWithNextKey ? QStringList{"--sign", nextKey.secretKeyPath} : sign);
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    const QByteArray manifest110 = publisher.manifest();
    QVERIFY2(manifest110.contains(" zsize=") && manifest110.contains("<patch from="),
             "the updater below no longer meets a .zst and a patch in the manifest");

    QDomDocument document;
    QVERIFY(document.setContent(manifest110));
    const QDomElement root = document.documentElement();
    QCOMPARE(root.attribute(QStringLiteral("curVersion")), QStringLiteral("1.1.0"));
    const QDomNodeList releases = root.elementsByTagName(QStringLiteral("software"));
    QCOMPARE(releases.length(), 2);
    QDomDocument previous;
    QVERIFY(previous.setContent(manifest100));
    QCOMPARE(entriesOf(releases.at(0).toElement()),
             entriesOf(previous.documentElement().firstChildElement(QStringLiteral("software"))));
    QCOMPARE(releases.at(1).toElement().attribute(QStringLiteral("info")),
             QStringLiteral("<b>Notes</b> of the release"));
    QCOMPARE(entriesOf(releases.at(1).toElement()),
             (QStringList{entry("core.dll", "1.1.0", text(2)), entry("plugins/new.dll", "1.1.0", "new"),
                          entry("plugins/render.dll", "1.0.0", "render"),
                          entry("readme.txt", "1.0.0", "read me")}));

    for (auto file = release110.begin(); file != release110.end(); ++file)
        QCOMPARE(contentOf(publisher.windows() + "/v1.1.0/" + file.key()), file.value());
    QCOMPARE(contentOf(publisher.windows() + "/v1.0.0/core.dll"), text(1));

    QString reason;
    QVERIFY2(Minisign::verify(trusted, manifest110,
                              contentOf(publisher.windows() + "/v1.1.0/version.xml.minisig"), &reason),
             qPrintable(reason));

    // A keyed updater at 1.0.0, with 1.1.0's manifest placed for it, against
    // a server that serves everything published.
    ScriptedHttpServer server;
    QVERIFY(server.listen());
    const QString srv = publisher.root() + QStringLiteral("/srv");
    for (const QString &path : snapshot(srv).keys())
        server.setResponse("/" + path.toUtf8(), ScriptedResponse::ok(contentOf(srv + "/" + path)));
    QTemporaryDir appDir;
    for (auto file = release100.begin(); file != release100.end(); ++file)
        QVERIFY(writeFile(appDir.filePath(file.key()), file.value()));
    QVERIFY(writeFile(appDir.filePath(QStringLiteral("version.xml")), manifest100));
    QVERIFY(writeFile(appDir.filePath(QStringLiteral("download/version.xml")), manifest110));
    UpdateController controller(appDir.path(), server.url("/brenvothDownload/windows/"));
    controller.setPublicKey(trusted);
    QCOMPARE(controller.pending().updateNames, (QStringList{"core.dll", "new.dll"}));
    QCOMPARE(controller.pending().updateDirs, (QStringList{"", "plugins/"}));
    QSignalSpy ended(controller.install(), &UpdateJob::finished);
    QVERIFY2(ended.wait(awaitCeilingMsecs), "the update never ended");

    // core.dll comes as a patch from the installed copy, new.dll raw: too small to gain.
    const QByteArray patch = "/brenvothDownload/windows/v1.1.0/core.dll.from-"
        + QCryptographicHash::hash(text(1), QCryptographicHash::Sha256).toHex().left(16) + ".zst";
    // The signature first; the files in any order.
    QList<QByteArray> requested = server.requestLines();
    std::sort(requested.begin() + qMin(1, requested.size()), requested.end());
    QCOMPARE(requested,
             (QList<QByteArray>{"GET /brenvothDownload/windows/v1.1.0/version.xml.minisig HTTP/1.1",
                                "GET " + patch + " HTTP/1.1",
                                "GET /brenvothDownload/windows/v1.1.0/plugins/new.dll HTTP/1.1"}));
    const qint64 fetched = contentOf(srv + "/brenvothDownload/windows/v1.1.0/version.xml.minisig").size()
        + contentOf(srv + patch).size() + 3;
    QCOMPARE(server.bodyBytesSent(), fetched);
    QVERIFY2(contentOf(srv + patch).size() * 5 < text(2).size(), "the patch saves too little to be worth it");
    QCOMPARE(snapshot(appDir.path()).value(QStringLiteral("core.dll")), text(2));
    QCOMPARE(contentOf(appDir.filePath(QStringLiteral("plugins/new.dll"))), QByteArray("new"));
    QVERIFY(contentOf(appDir.filePath(QStringLiteral("version.xml"))).contains("curVersion=\"1.1.0\""));
}

void tst_Release::refusals_data()
{
    QTest::addColumn<Files>("files");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("message");

    const QStringList next{"--previous", "srv/brenvothDownload/windows/version.xml"};
    QTest::newRow("unsafe name") << Files{{"core.dll", "c"}, {"a\\b.dll", "x"}} << "1.1.0" << next
        << "would refuse the file \"a\\b.dll\"";
    QTest::newRow("the updater's lock") << Files{{"brenvothupdater.lock", "x"}} << "1.1.0" << next
        << "may not hold brenvothupdater.lock";
    QTest::newRow("a file in the updater's download folder") << Files{{"Download/a.dll", "x"}} << "1.1.0" << next
        << "may not hold Download/a.dll";
    QTest::newRow("name that breaks the download address") << Files{{"a#b.dll", "x"}} << "1.1.0" << next
        << "cannot stand in a download address";
    QTest::newRow("names differing only in case") << Files{{"core.dll", "c"}, {"Core.dll", "C"}} << "1.1.0"
        << next << "differ only in letter case";
    QTest::newRow("folders differing only in case")
        << Files{{"plugins/a.dll", "a"}, {"Plugins/b.dll", "b"}} << "1.1.0" << next << "differ only in letter case";
    QTest::newRow("empty release folder") << Files{} << "1.1.0" << next << "holds no files";
    QTest::newRow("version already present") << release100 << "1.0.0" << next << "already in";
    QTest::newRow("version that is no folder name") << release100 << "../1.1.0" << next
        << "cannot name a release folder";
    QTest::newRow("no previous manifest given while one exists") << release100 << "1.1.0" << QStringList()
        << "give it with --previous";
    QTest::newRow("zstd level out of range") << release100 << "1.1.0" << next + QStringList{"--level", "23"}
        << "--level must be between 1 and 22";
    QTest::newRow("negative number of releases to patch from") << release100 << "1.1.0"
        << next + QStringList{"--patches-from", "-1"} << "--patches-from must be 0 or more";
    QTest::newRow("notes for a language without a file") << release100 << "1.1.0"
        << next + QStringList{"--notes-for", "de"} << "--notes-for takes LANGUAGE=FILE";
    QTest::newRow("notes for no language tag") << release100 << "1.1.0"
        << next + QStringList{"--notes-for", "de DE=notes.txt"} << "--notes-for takes LANGUAGE=FILE";
    QTest::newRow("notes for one language twice") << release100 << "1.1.0"
        << next + QStringList{"--notes-for", "de=notes.txt", "--notes-for", "de=notes.txt"} << "gives de twice";
    QTest::newRow("notes for a language from a missing file") << release100 << "1.1.0"
        << next + QStringList{"--notes-for", "fr=missing.txt"} << "cannot read the notes missing.txt";
    QTest::newRow("password-protected key without a terminal") << release100 << "1.1.0"
        << next + QStringList{"--sign", "protected.key"} << "protected by a password";
}

void tst_Release::refusals()
{
    QFETCH(Files, files);
    QFETCH(QString, version);
    QFETCH(QStringList, options);
    QFETCH(QString, message);
    if (options.contains(QStringLiteral("protected.key")) && !minisignInstalled())
        SKIP_WHERE_MISSING("the minisign command is not installed");
    Publisher publisher;
    QVERIFY(publisher.placeRelease(release100));
    QCOMPARE(publisher.publish(QStringLiteral("1.0.0")).exitCode, 0);
    if (options.contains(QStringLiteral("protected.key")))
        QVERIFY(!makeMinisignKey(publisher.root(), QStringLiteral("protected"), "secret").publicKey.isEmpty());
    const QByteArray manifest = publisher.manifest();

    QVERIFY(publisher.placeRelease(files));
    if (!publisher.releaseHoldsAsNamed(files))
        QSKIP("this file system cannot hold the release's names");
    const Run run = publisher.publish(version, options);
    QVERIFY2(run.exitCode > 0, "the tool did not refuse");
    QVERIFY2(run.errors.contains(message), qPrintable(run.errors));
    QCOMPARE(publisher.manifest(), manifest);
    // Signing fails only after the work is done, which stays for the next run.
    if (options.contains(QStringLiteral("protected.key")))
        QVERIFY2(!QFileInfo::exists(publisher.windows() + "/v1.1.0/version.xml.minisig"), "a failed signature left");
    else
        QVERIFY2(!QFileInfo::exists(publisher.windows() + "/v1.1.0"), "the refused release left files behind");
}

void tst_Release::publishableNames_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("publishable");

    QTest::newRow("a root file named download") << "" << "download" << false;
    QTest::newRow("a root file named version.xml") << "" << "version.xml" << false;
    QTest::newRow("the manifest's signature") << "" << "version.xml.minisig" << false;
    QTest::newRow("the updater's lock in another letter case") << "" << "BRENVOTHUPDATER.lock" << false;
    QTest::newRow("a folder named as the updater's lock") << "BrenvothUpdater.lock/" << "a.dll" << false;
    QTest::newRow("a folder named as the updater's manifest") << "version.xml/" << "a.dll" << false;
    QTest::newRow("a file in the download folder") << "Download/" << "a.dll" << false;
    QTest::newRow("a file where the updater keeps its records") << ".updater/" << "x" << false;
    QTest::newRow("a # in the name") << "" << "a#b.dll" << false;
    QTest::newRow("a device name") << "plugins/" << "nul.txt" << false;
    QTest::newRow("a trailing dot") << "" << "readme." << false;
    QTest::newRow("a backslash") << "" << "a\\b.dll" << false;
    QTest::newRow("an ordinary file") << "" << "core.dll" << true;
    QTest::newRow("a file two folders down") << "plugins/imageformats/" << "qjpeg.dll" << true;
    QTest::newRow("the application itself") << "" << "Brenvoth.exe" << true;
    QTest::newRow("a version.xml in a folder") << "docs/" << "version.xml" << true;
    QTest::newRow("a folder named like the download folder") << "downloads/" << "a.dll" << true;
}

// The same names through the updater, --check and the publisher: each of
// them accepts what the others accept and refuses the rest for the same reason.
void tst_Release::publishableNames()
{
    QFETCH(QString, dir);
    QFETCH(QString, name);
    QFETCH(bool, publishable);
    const QString path = dir + name;
    const QByteArray content = "the content of " + path.toUtf8();

    QTemporaryDir appDir;
    QVERIFY(QDir(appDir.path()).mkpath(QStringLiteral("download")));
    QString reason;
    QCOMPARE(EntryCheck(ApplicationLayout(appDir.path())).allows(dir, name, &reason), publishable);
    QVERIFY2(publishable || !reason.isEmpty(), "the updater refuses without a reason");

    // Where this file system cannot hold a refused name, --check still refuses the entry alone.
    Publisher server;
    const bool placed = writeFile(server.windows() + QStringLiteral("/v1.0.0/") + path, content);
    QVERIFY2(placed || !publishable, "the file of a publishable entry cannot be written");
    QVERIFY(writeFile(server.manifestPath(), listing(dir, name, content)));
    const Run check = server.check({server.root() + QStringLiteral("/srv")});
    if (publishable) {
        QVERIFY2(check.exitCode == 0, qPrintable(check.output + check.errors));
    } else {
        QVERIFY2(check.exitCode > 0, "--check found nothing wrong");
        const QStringList lines = check.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY2(lines.size() == 1 && lines.first().contains(QStringLiteral("/v1.0.0/") + path + QStringLiteral(": "))
                     && lines.first().contains(reason),
                 qPrintable(check.output));
    }

    Publisher publisher;
    if (!publisher.placeRelease({{path, content}}) || !publisher.releaseHolds(dir, name)) {
        QVERIFY2(!publishable, "the release folder cannot hold a publishable file");
        QSKIP("this file system cannot hold the name as a file in a folder: the publisher's part is not run");
    }
    const Run run = publisher.publish(QStringLiteral("1.0.0"));
    if (publishable) {
        QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
        return;
    }
    QVERIFY2(run.exitCode > 0, "the tool did not refuse");
    QVERIFY2(run.errors.contains(QLatin1Char('"') + path + QLatin1Char('"')) && run.errors.contains(reason),
             qPrintable(run.errors));
    QVERIFY2(!QFileInfo::exists(publisher.manifestPath()) && !QFileInfo::exists(publisher.windows() + "/v1.0.0"),
             "the refused release left files behind");
}

void tst_Release::published_data()
{
    QTest::addColumn<QString>("previous"); // the previous manifest's published; null: none
    QTest::addColumn<QString>("expected"); // the new one's: "now", a number, or "refused"
    QTest::newRow("previous in the past") << "1000000000" << "now";
    QTest::newRow("previous without published") << QString() << "now";
    QTest::newRow("previous in the far future") << "4102444800" << "4102444801";
    QTest::newRow("previous with a sign") << "+1000000000" << "refused";
    QTest::newRow("previous with letters") << "17e8" << "refused";
    QTest::newRow("previous at the largest number") << "9223372036854775807" << "refused";
}

void tst_Release::published()
{
    QFETCH(QString, previous);
    QFETCH(QString, expected);
    Publisher publisher;
    QVERIFY(publisher.placeRelease(release100));
    qint64 before = QDateTime::currentSecsSinceEpoch();
    QCOMPARE(publisher.publish(QStringLiteral("1.0.0")).exitCode, 0);
    const qint64 first = publishedOf(publisher.manifest());
    QVERIFY2(first >= before && first <= QDateTime::currentSecsSinceEpoch(),
             "the first release does not carry the time it was published");
    replaceInManifest(publisher.manifestPath(), QStringLiteral(" published=\"[^\"]*\""),
                      previous.isNull() ? QString() : QStringLiteral(" published=\"%1\"").arg(previous));
    const QByteArray manifest = publisher.manifest();

    before = QDateTime::currentSecsSinceEpoch();
    const Run run = publisher.publishNext(QStringLiteral("1.1.0"));
    const qint64 after = QDateTime::currentSecsSinceEpoch();
    if (expected == QLatin1String("refused")) {
        QVERIFY2(run.exitCode > 0, "the tool did not refuse");
        QVERIFY2(run.errors.contains(QStringLiteral("published \"%1\"").arg(previous)), qPrintable(run.errors));
        QCOMPARE(publisher.manifest(), manifest);
        QVERIFY2(!QFileInfo::exists(publisher.windows() + "/v1.1.0"), "the refused release left files behind");
        return;
    }
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    const qint64 published = publishedOf(publisher.manifest());
    if (expected == QLatin1String("now"))
        QVERIFY2(published >= before && published <= after, qPrintable(QString::number(published)));
    else
        QCOMPARE(published, expected.toLongLong());
}

// An expiry a number of days after the publication, signed with the rest;
// the next release without --expires takes none over from the one before.
void tst_Release::expires()
{
    Publisher publisher;
    QVERIFY(publisher.placeRelease(release100));
    QCOMPARE(publisher.publish(QStringLiteral("1.0.0"), {"--expires", "30"}).exitCode, 0);
    QDomDocument document;
    QVERIFY(document.setContent(publisher.manifest()));
    QCOMPARE(document.documentElement().attribute("expires").toLongLong(),
             publishedOf(publisher.manifest()) + 30 * 24 * 60 * 60);
    QCOMPARE(publisher.publishNext(QStringLiteral("1.1.0")).exitCode, 0);
    QVERIFY(document.setContent(publisher.manifest()));
    QVERIFY2(!document.documentElement().hasAttribute("expires"), qPrintable(publisher.manifest()));
    const Run refused = publisher.publishNext(QStringLiteral("1.2.0"), {"--expires", "-1"});
    QVERIFY2(refused.exitCode > 0 && refused.errors.contains("--expires"), qPrintable(refused.errors));
}

void tst_Release::compressed_data()
{
    QTest::addColumn<Files>("files");
    QTest::addColumn<bool>("zst"); // whether core.dll gets one

    QTest::newRow("compressible file") << Files{{"core.dll", text(1)}} << true;
    QTest::newRow("incompressible file") << Files{{"core.dll", randomBytes(65536, 1)}} << false;
    QTest::newRow("empty file") << Files{{"core.dll", QByteArray()}} << false;
    QTest::newRow("release with its own core.dll.zst") << Files{{"core.dll", text(1)}, {"core.dll.zst", "own"}}
        << false;
}

void tst_Release::compressed()
{
    QFETCH(Files, files);
    QFETCH(bool, zst);
    Publisher publisher;
    QVERIFY(publisher.placeRelease(files));
    const Run run = publisher.publish(QStringLiteral("1.0.0"));
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));

    QDomDocument document;
    QVERIFY(document.setContent(publisher.manifest()));
    const QDomElement entry = lastEntry(document, QStringLiteral("core.dll"));
    const QString zstPath = publisher.windows() + "/v1.0.0/core.dll.zst";
    const QByteArray content = files.value(QStringLiteral("core.dll"));
    QCOMPARE(contentOf(publisher.windows() + "/v1.0.0/core.dll"), content);
    if (zst) {
        QCOMPARE(entry.attribute(QStringLiteral("zsize")), QString::number(QFileInfo(zstPath).size()));
        QCOMPARE(zstdDecoded(contentOf(zstPath)), content);
    } else {
        QVERIFY2(!entry.hasAttribute(QStringLiteral("zsize")), "a zsize without a .zst worth fetching");
        QCOMPARE(contentOf(zstPath), files.value(QStringLiteral("core.dll.zst"), "<unreadable>"));
    }
}

void tst_Release::patches_data()
{
    QTest::addColumn<QByteArrayList>("earlier"); // plugins/core.dll of each earlier release, oldest first
    QTest::addColumn<QByteArray>("current");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QList<int>>("patchedFrom"); // indexes into earlier

    const QByteArrayList four{text(1), text(2), text(3), text(4)};
    QTest::newRow("from each of the last three releases") << four << text(5) << QStringList() << QList<int>{1, 2, 3};
    QTest::newRow("--patches-from 1") << four << text(5) << QStringList{"--patches-from", "1"} << QList<int>{3};
    QTest::newRow("--patches-from 0") << four << text(5) << QStringList{"--patches-from", "0"} << QList<int>();
    QTest::newRow("same old content in two releases") << QByteArrayList{text(1), text(1)} << text(2)
        << QStringList() << QList<int>{0};
    QTest::newRow("unchanged since the last release") << QByteArrayList{text(1), text(2)} << text(2)
        << QStringList() << QList<int>{0};
    QTest::newRow("unrelated incompressible copies, no patch smaller than the file")
        << QByteArrayList{randomBytes(65536, 1)} << randomBytes(65536, 2) << QStringList() << QList<int>();
}

void tst_Release::patches()
{
    QFETCH(QByteArrayList, earlier);
    QFETCH(QByteArray, current);
    QFETCH(QStringList, options);
    QFETCH(QList<int>, patchedFrom);
    Publisher publisher;
    for (int i = 0; i < earlier.size(); ++i) {
        QVERIFY(publisher.placeRelease(Files{{"plugins/core.dll", earlier.at(i)}}));
        const QString version = QStringLiteral("1.%1.0").arg(i);
        const Run run = i == 0 ? publisher.publish(version) : publisher.publishNext(version);
        QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    }
    QVERIFY(publisher.placeRelease(Files{{"plugins/core.dll", current}}));
    const Run run = publisher.publishNext(QStringLiteral("2.0.0"), options);
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));

    QMap<QString, QByteArray> expected; // from -> the old content
    for (const int i : patchedFrom)
        expected.insert(hexSha256(earlier.at(i)), earlier.at(i));
    QDomDocument document;
    QVERIFY(document.setContent(publisher.manifest()));
    const QDomElement entry = lastEntry(document, QStringLiteral("core.dll"));
    const QDomNodeList patches = entry.elementsByTagName(QStringLiteral("patch"));
    const QString folder = publisher.windows() + "/v2.0.0/plugins/";
    QStringList froms;
    for (int i = 0; i < patches.length(); ++i) {
        const QString from = patches.at(i).toElement().attribute(QStringLiteral("from"));
        const QByteArray patch = contentOf(folder + "core.dll.from-" + from.left(16) + ".zst");
        QCOMPARE(patches.at(i).toElement().attribute(QStringLiteral("size")), QString::number(patch.size()));
        QCOMPARE(zstdDecoded(patch, expected.value(from)), current);
        QVERIFY2(patch.size() < entry.attribute(QStringLiteral("zsize")).toInt(), "a patch no smaller than the .zst");
        froms << from;
    }
    froms.sort();
    QCOMPARE(froms, expected.keys());
    QCOMPARE(QDir(folder).entryList({"core.dll.from-*"}).size(), expected.size());
}

// One job or four, with zstd's own workers on the large file or not: the
// same bytes.
void tst_Release::sameBytesWithAnyJobs()
{
    QByteArray changed = largeFile();
    for (int at = 0; at < changed.size(); at += 1 << 20)
        changed[at] = char(changed.at(at) ^ 1);
    QVector<QMap<QString, QByteArray>> folders;
    QByteArrayList manifests;
    for (const char *jobs : {"1", "4"}) {
        Publisher publisher;
        QVERIFY(publisher.placeRelease(Files{{"large.dll", largeFile()}}));
        QCOMPARE(publisher.publish(QStringLiteral("1.0.0"), {"--level", "1"}).exitCode, 0);
        QVERIFY(publisher.placeRelease(Files{{"large.dll", changed}, {"readme.txt", "read me"}}));
        const Run run = publisher.publishNext(QStringLiteral("2.0.0"), {"--level", "1", "--jobs", jobs});
        QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
        folders << snapshot(publisher.windows() + "/v2.0.0");
        manifests << withoutPublished(publisher.manifest());
    }
    QVERIFY2(folders.at(0).contains(QStringLiteral("large.dll.zst"))
                 && folders.at(0).keys().filter(QStringLiteral("large.dll.from-")).size() == 1,
             qPrintable(folders.at(0).keys().join(QLatin1Char(' '))));
    QVERIFY2(folders.at(1) == folders.at(0), "four jobs made other files than one");
    QCOMPARE(manifests.at(1), manifests.at(0));
}

void tst_Release::continued_data()
{
    QTest::addColumn<QString>("earlierRun"); // what the earlier run of 2.0.0 left
    QTest::addColumn<int>("zstTaken");
    QTest::addColumn<int>("patchesTaken");
    QTest::newRow("killed before the manifest") << "all made" << 2 << 2;
    QTest::newRow("failed at signing, with no key to sign with") << "signing failed" << 2 << 2;
    QTest::newRow("killed while writing a patch") << "truncated patch" << 2 << 1;
    QTest::newRow("a patch from another copy under the name") << "other patch" << 2 << 1;
    QTest::newRow("files no longer in the release and a signature")
        << "leftovers" << 2 << 2;
}

// A run of a release that an earlier run left unfinished takes what decodes
// to its files, makes the rest, and ends as a fresh run would.
void tst_Release::continued()
{
    QFETCH(QString, earlierRun);
    QFETCH(int, zstTaken);
    QFETCH(int, patchesTaken);
    Publisher publisher;
    QVERIFY(publisher.placeRelease(Files{{"core.dll", text(1)}, {"readme.txt", "read me"},
                                         {"plugins/render.dll", text(5)}}));
    QCOMPARE(publisher.publish(QStringLiteral("1.0.0")).exitCode, 0);
    const QByteArray manifest100 = publisher.manifest();
    QVERIFY(publisher.placeRelease(Files{{"core.dll", text(2)}, {"readme.txt", "read me"},
                                         {"plugins/render.dll", text(6)}}));
    QCOMPARE(publisher.publishNext(QStringLiteral("2.0.0")).exitCode, 0);
    const QString folder = publisher.windows() + "/v2.0.0/";
    const QMap<QString, QByteArray> fresh = snapshot(folder);
    const QByteArray freshManifest = withoutPublished(publisher.manifest());
    QVERIFY(writeFile(publisher.manifestPath(), manifest100));

    const QString patch = "core.dll.from-" + hexSha256(text(1)).left(16) + ".zst";
    QVERIFY2(fresh.contains(patch), qPrintable(fresh.keys().join(QLatin1Char(' '))));
    if (earlierRun == QLatin1String("signing failed")) {
        QVERIFY(QDir(folder).removeRecursively());
        const Run failed = publisher.publishNext(QStringLiteral("2.0.0"), {"--sign", "missing.key"});
        QVERIFY2(failed.exitCode > 0 && failed.errors.contains(QStringLiteral("What was finished stays in")),
                 qPrintable(failed.errors));
    } else if (earlierRun == QLatin1String("truncated patch")) {
        QVERIFY(QFile::resize(folder + patch, fresh.value(patch).size() / 2));
    } else if (earlierRun == QLatin1String("other patch")) {
        QVERIFY(writeFile(folder + patch, zstdPatch(text(1), text(4))));
    } else if (earlierRun == QLatin1String("leftovers")) {
        for (const char *path : {"old.dll", "old.dll.zst", "gone/old.dll", "version.xml.minisig"})
            QVERIFY(writeFile(folder + path, "left"));
    }
    const Run run = publisher.publishNext(QStringLiteral("2.0.0"));
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    const QString taken = QStringLiteral("Taken from an earlier run of this release: %1 .zst files and %2 patches")
                              .arg(zstTaken).arg(patchesTaken);
    QVERIFY2(run.output.contains(taken), qPrintable(run.output));
    QVERIFY2(snapshot(folder) == fresh, qPrintable(snapshot(folder).keys().join(QLatin1Char(' '))));
    QCOMPARE(withoutPublished(publisher.manifest()), freshManifest);
}

void tst_Release::check_data()
{
    QTest::addColumn<QString>("damaged");  // a file name pattern in v1.1.0/; empty: none
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("deep");
    QTest::addColumn<QStringList>("expected"); // in the problem's line; empty: the check passes

    const QString patch = QStringLiteral("core.dll.from-*.zst");
    QTest::newRow("whole release") << QString() << QString() << false << QStringList();
    QTest::newRow("whole release, decoded") << QString() << QString() << true << QStringList();
    QTest::newRow("missing patch") << patch << "remove" << false << QStringList{"/v1.1.0/core.dll.from-", "missing"};
    QTest::newRow("truncated .zst") << "core.dll.zst" << "truncate" << false
        << QStringList{"/v1.1.0/core.dll.zst", "bytes long, the manifest says"};
    QTest::newRow("raw file with a wrong digest") << "readme.txt" << "flip" << true
        << QStringList{"/v1.1.0/readme.txt", "SHA-256"};
    QTest::newRow("patch that decodes to something else") << patch << "flip" << true
        << QStringList{"/v1.1.0/core.dll.from-", "decode"};
    QTest::newRow("bad signature") << "version.xml.minisig" << "sign other bytes" << false
        << QStringList{"/v1.1.0/version.xml.minisig", "no valid signature"};
    QTest::newRow("missing signature") << "version.xml.minisig" << "remove" << false
        << QStringList{"/v1.1.0/version.xml.minisig", "missing"};
}

// In the server's folder, as published, then damaged.
void tst_Release::check()
{
    QFETCH(QString, damaged);
    QFETCH(QString, damage);
    QFETCH(bool, deep);
    QFETCH(QStringList, expected);
    if (key.publicKey.isEmpty() && damaged.contains(QLatin1String("minisig")))
        SKIP_WHERE_MISSING("the minisign command is not installed");
    Publisher publisher;
    const QStringList sign = key.publicKey.isEmpty() ? QStringList() : QStringList{"--sign", key.secretKeyPath};
    QVERIFY(publisher.publishTwo(sign));
    const QString folder = publisher.windows() + QStringLiteral("/v1.1.0/");
    const QString path = folder + QDir(folder).entryList({damaged}).value(0);
    QByteArray content = damaged.isEmpty() ? QByteArray() : contentOf(path);
    if (damage == QLatin1String("remove"))
        QVERIFY(QFile::remove(path));
    else if (damage == QLatin1String("truncate"))
        QVERIFY(writeFile(path, content.left(content.size() - 1)));
    else if (damage == QLatin1String("flip"))
        QVERIFY(writeFile(path, content.replace(content.size() / 2, 1, QByteArray(1, content.at(content.size() / 2) ^ 1))));
    else if (damage == QLatin1String("sign other bytes"))
        QVERIFY(writeFile(path, minisignSignature(key, "other bytes", keys.path())));

    QStringList arguments{publisher.root() + QStringLiteral("/srv")};
    if (!key.publicKey.isEmpty())
        arguments << "--key" << QString::fromLatin1(key.publicKey);
    if (deep)
        arguments << "--deep";
    const Run run = publisher.check(arguments);
    if (expected.isEmpty()) {
        QVERIFY2(run.exitCode == 0, qPrintable(run.output + run.errors));
        QVERIFY2(run.output.contains(QStringLiteral("release 1.1.0 at ")), qPrintable(run.output));
        if (deep)
            QVERIFY2(run.output.contains(QStringLiteral(" 2 decoded")), qPrintable(run.output));
        return;
    }
    QVERIFY2(run.exitCode > 0, "the check found nothing wrong");
    const QStringList lines = run.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY2(lines.size() == 1, qPrintable(run.output));
    for (const QString &part : expected)
        QVERIFY2(lines.first().contains(part), qPrintable(run.output));
}

// Notes per language ride beside info, under the signature; an updater that
// reads only info, and one in English, still shows info.
void tst_Release::notesPerLanguage()
{
    Publisher publisher;
    const QStringList sign = key.publicKey.isEmpty() ? QStringList() : QStringList{"--sign", key.secretKeyPath};
    QVERIFY(publisher.placeRelease(release100));
    QVERIFY(writeFile(publisher.root() + "/notes.de.txt", QString::fromUtf8("Hinweise zur Version\n").toUtf8()));
    QVERIFY(writeFile(publisher.root() + "/notes.pt.txt", QString::fromUtf8("Notas da versão\n").toUtf8()));
    const Run run = publisher.publish(QStringLiteral("1.0.0"), sign + QStringList{"--notes-for", "de=notes.de.txt",
                                                                                  "--notes-for", "pt-BR=notes.pt.txt"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    const QByteArray manifest = publisher.manifest();
    QDomDocument document;
    QVERIFY(document.setContent(manifest));
    const QDomElement release = document.documentElement().firstChildElement(QStringLiteral("software"));
    QCOMPARE(release.attribute("info"), QStringLiteral("<b>Notes</b> of the release"));
    QCOMPARE(release.attribute("info-de"), QStringLiteral("Hinweise zur Version"));
    QCOMPARE(release.attribute("info-pt-BR"), QString::fromUtf8("Notas da versão"));
    if (!key.publicKey.isEmpty()) {
        QString reason;
        QVERIFY2(Minisign::verify(key.publicKey, manifest,
                                  contentOf(publisher.windows() + "/v1.0.0/version.xml.minisig"), &reason),
                 qPrintable(reason));
    }

    QTemporaryDir appDir;
    QVERIFY(writeFile(appDir.filePath(QStringLiteral("download/version.xml")), manifest));
    for (const QLocale &language : {QLocale(QLocale::English), QLocale(QLocale::German)}) {
        QLocale::setDefault(language);
        UpdateController controller(appDir.path(), QString());
        UpdateWindow window(&controller);
        QCOMPARE(controller.pending().updateNames.size(), 3);
        QCOMPARE(window.findChild<QTextEdit *>()->toPlainText(),
                 language.language() == QLocale::English ? QStringLiteral("Notes of the release")
                                                         : QStringLiteral("Hinweise zur Version"));
    }
    QLocale::setDefault(QLocale::c());

    const Run check = publisher.check({publisher.root() + QStringLiteral("/srv")});
    QVERIFY2(check.exitCode == 0, qPrintable(check.output + check.errors));
    QVERIFY2(check.output.contains(QStringLiteral("notes also in de, pt-BR")), qPrintable(check.output));
}

void tst_Release::checkOverHttp_data()
{
    QTest::addColumn<bool>("deep");
    QTest::addColumn<QString>("serving"); // "as stored", "slowly" (core.dll for seconds), "moved" (each file redirected)
    QTest::addColumn<QString>("missing"); // a path the server lacks; empty: none
    QTest::addColumn<QByteArray>("method"); // of every request for a release file

    QTest::newRow("whole release, sizes by HEAD") << false << "as stored" << QString() << QByteArray("HEAD");
    QTest::newRow("whole release, every file fetched") << true << "as stored" << QString() << QByteArray("GET");
    QTest::newRow("missing .zst") << false << "as stored" << "v1.1.0/core.dll.zst" << QByteArray("HEAD");
    QTest::newRow("slow server, progress shown") << true << "slowly" << QString() << QByteArray("GET");
    QTest::newRow("every file redirected, sizes by HEAD") << false << "moved" << QString() << QByteArray("HEAD");
}

// What users fetch: from a server, through the updater's downloader.
void tst_Release::checkOverHttp()
{
    QFETCH(bool, deep);
    QFETCH(QString, serving);
    QFETCH(QString, missing);
    QFETCH(QByteArray, method);
    Publisher publisher;
    const QStringList sign = key.publicKey.isEmpty() ? QStringList() : QStringList{"--sign", key.secretKeyPath};
    QVERIFY(publisher.publishTwo(sign));
    ScriptedHttpServer server;
    QVERIFY(server.listen());
    const QString windows = publisher.windows() + QLatin1Char('/');
    const bool slowly = serving == QLatin1String("slowly"), moved = serving == QLatin1String("moved");
    for (const QString &path : snapshot(windows).keys()) {
        const QByteArray served = "/brenvothDownload/windows/" + path.toUtf8();
        ScriptedResponse response = ScriptedResponse::ok(contentOf(windows + path));
        if (slowly && path == QLatin1String("v1.1.0/core.dll"))
            response.inPieces(response.body.size() / 16, 250);
        if (path != missing)
            server.setResponse(served, response);
        if (moved)
            server.setResponse("/moved/" + path.toUtf8(),
                               ScriptedResponse::withStatus(301, "Moved Permanently").withHeader("Location", served));
    }
    QStringList arguments{server.url(moved ? "/moved" : "/brenvothDownload/windows")};
    if (!key.publicKey.isEmpty())
        arguments << "--key" << keys.filePath(QStringLiteral("publisher.pub"));
    if (deep)
        arguments << "--deep";
    const Run run = publisher.check(arguments);

    QCOMPARE(run.errors.contains(QStringLiteral("MB fetched")), slowly);
    if (missing.isEmpty()) {
        QVERIFY2(run.exitCode == 0, qPrintable(run.output + run.errors));
    } else {
        QVERIFY2(run.exitCode > 0, "the check found nothing wrong");
        QVERIFY2(run.output.contains(server.url("/brenvothDownload/windows/" + missing.toUtf8()) + ": ")
                     && run.output.contains(QStringLiteral("HTTP 404")),
                 qPrintable(run.output));
    }
    QStringList checked;
    for (const QByteArray &line : server.requestLines()) {
        const QByteArray path = line.split(' ').value(1);
        if (path.startsWith("/brenvothDownload/windows/v1.1.0/core.dll")
            || path == "/brenvothDownload/windows/v1.1.0/readme.txt")
            checked << QString::fromLatin1(line.split(' ').value(0) + ' ' + path.mid(path.lastIndexOf('/') + 1));
    }
    checked.sort();
    const QString patch = QStringLiteral("core.dll.from-%1.zst").arg(hexSha256(text(1)).left(16));
    QStringList expected{method + " core.dll", method + " core.dll.zst", method + " " + patch, method + " readme.txt"};
    expected.sort();
    QCOMPARE(checked, expected);
}

QTEST_MAIN(tst_Release)
#include "tst_release.moc"
