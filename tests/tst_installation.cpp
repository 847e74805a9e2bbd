#include "failurecause.h"
#include "folderlock.h"
#include "manifest.h"
#include "proxysignonform.h"
#include "releasetrial.h"
#include "minisignkeys.h"
#include "scriptedhttpserver.h"
#include "testcertificates.h"
#include "updatecontroller.h"
#include "updatewindow.h"
#include "testfiles.h"
#include "zstdframes.h"
#include "testwaits.h"

#include <QDir>
#include <QDirIterator>
#include <QDomDocument>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMutex>
#include <QProcess>
#include <QProgressBar>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTcpServer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include <functional>

#ifdef Q_OS_LINUX
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#endif

namespace {

// The stall limit of a case whose server goes silent for good: short, so
// that it ends soon, yet far above the time that any answer the same case
// sends at once takes to arrive on a busy machine.
int stallMsecs()
{
    return 2000;
}
// Every other case's: no answer of theirs, however slow the machine, comes
// near it.
const int longStallMsecs = 30000;

struct Entry
{
    QString dir;
    QString name;
    QString version;
    QByteArray integrity = {};   // size and sha256 attributes, as written
    QByteArray children = {};    // patch elements, as written
};
using Entries = QVector<Entry>;

const QString releasePath = QStringLiteral("/brenvothDownload/windows/");

QByteArray manifest(const QString &curVersion, const Entries &files, const QByteArray &info = "notes",
                    const QByteArray &rootAttributes = {})
{
    QByteArray xml = "<filelist curVersion=\"" + curVersion.toUtf8() + "\"" + rootAttributes + ">\n"
                     "\t<software version=\"" + curVersion.toUtf8() + "\" info=\"" + info + "\">\n";
    for (const Entry &file : files) {
        xml += "\t\t<file name=\"" + file.name.toUtf8() + "\" dir=\"" + file.dir.toUtf8()
               + "\" version=\"" + file.version.toUtf8() + "\" " + file.integrity
               + (file.children.isEmpty() ? QByteArray("/>\n") : ">" + file.children + "</file>\n");
    }
    return xml + "\t</software>\n</filelist>\n";
}

// The size of the file \a name staged anywhere under \a downloads, or -1.
qint64 stagedSize(const QString &downloads, const QString &name)
{
    QDirIterator staged(downloads, {name}, QDir::Files, QDirIterator::Subdirectories);
    return staged.hasNext() ? QFileInfo(staged.next()).size() : -1;
}

QByteArray contentFor(const Entry &file)
{
    return QStringLiteral("%1%2 at %3").arg(file.dir, file.name, file.version).toUtf8();
}

// \a file with the size and digest of \a content, by default its own.
Entry hashed(Entry file, QByteArray content = {})
{
    if (content.isNull())
        content = contentFor(file);
    file.integrity = "size=\"" + QByteArray::number(content.size()) + "\" sha256=\""
                     + QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex() + '"';
    return file;
}

// An element as text with its attributes sorted, children included.
QString canonical(const QDomElement &element)
{
    QStringList attributes;
    const QDomNamedNodeMap map = element.attributes();
    for (int i = 0; i < map.length(); ++i)
        attributes << map.item(i).nodeName() + "=" + map.item(i).nodeValue();
    attributes.sort();
    QString text = "<" + element.tagName() + " " + attributes.join(' ') + ">";
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement())
        text += canonical(child);
    return text + "</>";
}

int indentation(const QByteArray &line)
{
    int blanks = 0;
    while (blanks < line.size() && line.at(blanks) == ' ')
        ++blanks;
    return blanks;
}

// The commit logs from a worker thread.
QStringList debugLines;
QMutex debugLinesLock;
void captureDebug(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    const QMutexLocker locked(&debugLinesLock);
    if (type == QtDebugMsg)
        debugLines << text;
}

// A temporary application directory, or a folder \a below one.
class AppFolder
{
public:
    explicit AppFolder(const QString &below = {})
        : folder(below.isEmpty() ? root.path() : root.filePath(below))
    {
        QDir().mkpath(folder);
    }
    QString path() const { return folder; }
    QString filePath(const QString &name) const { return folder + '/' + name; }

private:
    QTemporaryDir root;
    const QString folder;
};

// An application directory with release 1.0.0 installed, a published 2.0.0
// on a scripted loopback server, and the updater on both: its controller,
// and the window on it where a row looks at the window.
class ReleaseSetup
{
public:
    /// Served over TLS with the certificate  tlsIdentity, when given; in
    /// the folder  appBelow of a temporary one, when given.
    ReleaseSetup(const Entries &installed, const Entries &published, const QString &tlsIdentity = {},
                 const QString &appBelow = {})
        : app(appBelow), installed(installed), published(published)
    {
        if (tlsIdentity.isEmpty())
            server.listen();
        else
            server.listenTls(testCertificate(tlsIdentity), testKey(tlsIdentity));
        for (const Entry &file : published)
            serve(file, ScriptedResponse::ok(contentFor(file)));
        writeApplication();
    }

    /// The installed release and the downloaded manifest, written afresh.
    void writeApplication()
    {
        writeFile(app.filePath("version.xml"), manifest("1.0.0", installed));
        for (const Entry &file : installed)
            writeFile(app.filePath(file.dir + file.name), contentFor(file));
        publishManifest();
    }

    void serve(const Entry &file, const ScriptedResponse &response)
    {
        server.setResponse(urlPath(file).toUtf8(), response);
    }
    static QString urlPath(const Entry &file) { return releasePath + "v2.0.0/" + file.dir + file.name; }
    void publishManifest(const QByteArray &rootAttributes = {})
    {
        writeFile(app.filePath("download/version.xml"), manifest("2.0.0", published, notes, rootAttributes));
    }
    void setInstalledRootAttributes(const QByteArray &rootAttributes)
    {
        writeFile(app.filePath("version.xml"), manifest("1.0.0", installed, "notes", rootAttributes));
    }

    /// The updater as the program starts it, with its window or without.
    UpdateController *openUpdater(bool withWindow = false)
    {
        // The earlier updater ends first: it holds the folder's lock.
        window.reset();
        controller.reset();
        controller.reset(new UpdateController(app.path(), downloadBaseUrl.isEmpty() ? server.url(releasePath.toUtf8())
                                                                                     : downloadBaseUrl));
        UpdateJob::Limits limits;
        limits.stallTimeout = stallTimeout;
        limits.retryPause = 10;
        limits.trialTime = trialTime;
        controller->setLimits(limits);
        if (withWindow) {
            window.reset(new UpdateWindow(controller.get()));
            window->show();
        }
        return controller.get();
    }
    UpdateController *openWindow() { return openUpdater(true); }
    QPushButton *updateButton() const { return window->findChild<QPushButton *>("update"); }
    QProgressBar *progressBar() const { return window->findChild<QProgressBar *>("progressBar"); }
    QString text() const { return window->findChild<QTextEdit *>("textEdit")->toPlainText(); }

    /// Clicks "Update" and waits for the update's end, its log captured.
    void clickUpdate()
    {
        capturingLog([this] { updateButton()->click(); });
    }
    /// The same without a window.
    void install()
    {
        capturingLog([this] { controller->install(); });
    }
    const UpdateError &error() const { return controller->job()->error(); }

    QStringList requestedPaths() const
    {
        QStringList paths;
        for (const QByteArray &line : server.requestLines())
            paths << QString::fromUtf8(line.split(' ').value(1));
        return paths;
    }
    /// The request line and headers of the last request for \a path.
    QByteArray lastRequestFor(const QByteArray &path) const
    {
        QByteArray last;
        for (const QByteArray &head : server.requestHeads())
            last = head.startsWith("GET " + path + ' ') ? head : last;
        return last;
    }
    QByteArray installedContent(const Entry &file) const { return contentOf(app.filePath(file.dir + file.name)); }

    AppFolder app;
    ScriptedHttpServer server;
    Entries installed;
    Entries published;
    int stallTimeout = longStallMsecs;
    int trialTime = ReleaseTrial::defaultTrialTime;
    QByteArray notes = "notes";
    QString downloadBaseUrl;   // empty: the scripted server's
    std::unique_ptr<UpdateController> controller;
    std::unique_ptr<UpdateWindow> window;

private:
    void capturingLog(const std::function<void()> &start)
    {
        {
            const QMutexLocker locked(&debugLinesLock);
            debugLines.clear();
        }
        const QtMessageHandler previous = qInstallMessageHandler(captureDebug);
        start();
        QTRY_VERIFY2(!controller->job() || controller->job()->isFinished(), "the update never ended");
        qInstallMessageHandler(previous);
    }
};

const QByteArray scriptedBody = QByteArray("0123456789").repeated(500);
const Entry oldCore{"", "core.dll", "1.0.0"};
const Entry oldRender{"plugins/", "render.dll", "1.0.0"};
const Entry readme{"", "readme.txt", "1.0.0"};
const Entry newCore{"", "core.dll", "2.0.0"};
const Entry newRender{"plugins/", "render.dll", "2.0.0"};
const Entry newJpeg{"plugins/imageformats/", "jpeg.dll", "2.0.0"};

Entries numbered(int count)
{
    Entries files;
    for (int i = 0; i < count; ++i)
        files << Entry{"", QStringLiteral("file%1.dll").arg(i), "2.0.0"};
    return files;
}

// Debian's tinyproxy on a free loopback port, found by the updater through
// http_proxy and https_proxy as a company's proxy would be; gone with the object.
class LoopbackProxy
{
public:
    explicit LoopbackProxy(const QByteArray &extraConfiguration)
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        port = probe.serverPort();
        probe.close();
        for (const char *variable : {"http_proxy", "https_proxy"})
            qputenv(variable, "http://" + address().toUtf8());
        qunsetenv("no_proxy");
        writeFile(dir.filePath("tinyproxy.conf"),
                  "Port " + QByteArray::number(port) + "\nListen 127.0.0.1\nAllow 127.0.0.1\nTimeout 30\n"
                  "LogLevel Connect\nLogFile \"" + dir.filePath("tinyproxy.log").toUtf8() + "\"\n"
                  + extraConfiguration);
    }
    ~LoopbackProxy()
    {
        qunsetenv("http_proxy");
        qunsetenv("https_proxy");
        process.kill();
        process.waitForFinished();
    }

    static bool installed() { return !QStandardPaths::findExecutable("tinyproxy").isEmpty(); }
    bool start()
    {
        process.start("tinyproxy", {"-d", "-c", dir.filePath("tinyproxy.conf")});
        return process.waitForStarted() && QTest::qWaitFor([this] {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, port);
            return probe.waitForConnected(100);
        }, awaitCeilingMsecs);
    }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port); }
    /// The request lines the proxy logged, "GET http://..." or "CONNECT host:port".
    QStringList requests() const
    {
        QStringList lines;
        for (const QByteArray &line : contentOf(dir.filePath("tinyproxy.log")).split('\n')) {
            const int at = line.indexOf("): ");
            if (line.contains("Request (file descriptor") && at > 0)
                lines << QString::fromUtf8(line.mid(at + 3)).trimmed();
        }
        return lines;
    }

private:
    QTemporaryDir dir;
    quint16 port = 0;
    QProcess process;
};

// Mounts made by a test, undone before its temporary folders go. As root on
// Linux they are made in a mount namespace of the test's own, that its main
// thread enters before any worker thread starts (each thread has its own,
// and a new one takes its creator's), so that nothing shows outside the
// test; elsewhere none can be made.
class TestMounts
{
public:
    static void enterPrivateNamespace()
    {
#ifdef Q_OS_LINUX
        madePrivate();
#endif
    }

    ~TestMounts()
    {
#ifdef Q_OS_LINUX
        for (auto it = points.crbegin(); it != points.crend(); ++it)
            umount2(it->constData(), MNT_DETACH);
#endif
    }

    /// A disk of \a size ("4m") over \a folder.
    bool smallDisk(const QString &folder, const QByteArray &size)
    {
#ifdef Q_OS_LINUX
        return madePrivate() && mounted(folder, mount("tmpfs", QFile::encodeName(folder), "tmpfs", 0,
                                                      ("size=" + size).constData()));
#else
        Q_UNUSED(folder) Q_UNUSED(size) return false;
#endif
    }

    /// \a folder made read-only, as a folder the user may not write.
    bool readOnly(const QString &folder)
    {
#ifdef Q_OS_LINUX
        const QByteArray path = QFile::encodeName(folder);
        return madePrivate() && mounted(folder, mount(path, path, nullptr, MS_BIND, nullptr))
            && mount(nullptr, path, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
#else
        Q_UNUSED(folder) return false;
#endif
    }

private:
#ifdef Q_OS_LINUX
    static bool madePrivate()
    {
        static const bool made = unshare(CLONE_NEWNS) == 0
                                 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        return made;
    }
    bool mounted(const QString &folder, int result)
    {
        if (result == 0)
            points << QFile::encodeName(folder);
        return result == 0;
    }
#endif
    QList<QByteArray> points;
};

// What a row does to the release before the window opens; false: it cannot here.
using Arrangement = std::function<bool(ReleaseSetup &, TestMounts &)>;

// Whether \a codec reads \a bytes without failing, an undecodable byte as U+FFFD.
bool readsAsReplacement(const char *codec, const QByteArray &bytes)
{
    const QTextCodec *textCodec = QTextCodec::codecForName(codec);
    if (!textCodec)
        return false;
    const std::unique_ptr<QTextDecoder> decoder(textCodec->makeDecoder());
    return decoder->toUnicode(bytes).contains(QChar::ReplacementCharacter) && !decoder->hasFailure();
}

} // namespace

Q_DECLARE_METATYPE(Entry)
Q_DECLARE_METATYPE(Arrangement)

class tst_Installation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void wholeUpdate_data();
    void wholeUpdate();
    void manifestIsRewrittenExactly_data();
    void manifestIsRewrittenExactly();
    void rewriteThatWouldNotReadBackLeavesTheCopy_data();
    void rewriteThatWouldNotReadBackLeavesTheCopy();
    void progressReachesOkOnlyAtTheEnd_data();
    void progressReachesOkOnlyAtTheEnd();
    void emptyFileInstalls();
    void failedReleaseChangesNothing_data();
    void failedReleaseChangesNothing();
    void windowTellsWhatHappened_data();
    void windowTellsWhatHappened();
    void resumedTransfers_data();
    void resumedTransfers();
    void transfersInFlightTogether_data();
    void transfersInFlightTogether();
    void compressedWays_data();
    void compressedWays();
    void serverIdentity_data();
    void serverIdentity();
    void systemProxy_data();
    void systemProxy();
    void signedReleases_data();
    void signedReleases();
    void olderReleaseRefused_data();
    void olderReleaseRefused();
    void unreadableDownloadedManifestChangesNothing();
    void handOverStartsTheApplicationWithItsPath();
    void failedStartIsRetried();
    void trialAfterUpdate_data();
    void trialAfterUpdate();
    void waitsForBrenvothToClose();
    void heldFileNamesItsHolder_data();
    void heldFileNamesItsHolder();
    void oneUpdaterPerFolder_data();
    void oneUpdaterPerFolder();
    void closingDuringTransferLetsTheInstallationFinish_data();
    void closingDuringTransferLetsTheInstallationFinish();
};

void tst_Installation::initTestCase()
{
    QVERIFY2(trustTestAuthority(), "the test authority's certificate is missing");
    // Before the first worker thread: those started later share its mounts.
    TestMounts::enterPrivateNamespace();
}

void tst_Installation::wholeUpdate_data()
{
    QTest::addColumn<QString>("appBelow");
    QTest::newRow("a temporary folder") << QString();
    // Windows refuses longer paths to programs that do not ask for the long form.
    QTest::newRow("a path past 260 characters") << QString("Brenvoth application folder/").repeated(10);
    QTest::newRow("non-ASCII letters, blanks and an apostrophe")
        << QString::fromUtf8("Users/Zo\xC3\xAB O'Brien/AppData/Local/\xE5\xBC\xA0\xE4\xBC\x9F app");
}

void tst_Installation::wholeUpdate()
{
    QFETCH(QString, appBelow);
    ReleaseSetup setup({oldCore, oldRender, readme}, {newCore, newRender, readme, newJpeg}, QString(), appBelow);
    QVERIFY2(QFileInfo(setup.app.filePath("version.xml")).isFile(), "the application folder cannot be made here");
    QCOMPARE(setup.openWindow()->pending().updateNames, QStringList({"core.dll", "render.dll", "jpeg.dll"}));

    setup.clickUpdate();

    // The files arrive in any order; they are put in place in the manifest's.
    QStringList requested = setup.requestedPaths();
    requested.sort();
    QCOMPARE(requested, QStringList({releasePath + "v2.0.0/core.dll", releasePath + "v2.0.0/plugins/imageformats/jpeg.dll",
                                     releasePath + "v2.0.0/plugins/render.dll"}));
    QCOMPARE(setup.installedContent(newCore), contentFor(newCore));
    QCOMPARE(setup.installedContent(newRender), contentFor(newRender));
    QCOMPARE(setup.installedContent(newJpeg), contentFor(newJpeg));
    QCOMPARE(setup.installedContent(readme), contentFor(readme));
    QCOMPARE(debugLines, QStringList({"\"" + setup.app.path() + "//core.dll\"",
                                      "\"" + setup.app.path() + "/plugins//render.dll\"",
                                      "\"" + setup.app.path() + "/plugins/imageformats//jpeg.dll\""}));
    QVERIFY2(!QFileInfo::exists(setup.app.filePath("download")), "the download directory is left");
    QVERIFY2(contentOf(setup.app.filePath("version.xml")).startsWith(nativeLines("<filelist curVersion=\"2.0.0\">\n    <software")),
             contentOf(setup.app.filePath("version.xml")).constData());
    QCOMPARE(setup.updateButton()->text(), QStringLiteral("OK"));
    QCOMPARE(setup.progressBar()->value(), 100);
    QCOMPARE(setup.text(), QStringLiteral("notes"));
}

void tst_Installation::manifestIsRewrittenExactly_data()
{
    QTest::addColumn<QByteArray>("downloaded");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<QByteArray>("encoding");

    QTest::newRow("tabs become four blanks")
        << QByteArray("<filelist curVersion='2.0.0'>\n\t<software version='2.0.0'>\n\t\t<file name='a.dll' dir='' version='2'/>\n\t</software>\n</filelist>")
        << QByteArray("<filelist curVersion=\"2.0.0\">\n    <software version=\"2.0.0\">\n        <file version=\"2\" name=\"a.dll\" dir=\"\"/>\n    </software>\n</filelist>\n")
        << QByteArray("UTF-8");
    QTest::newRow("missing curVersion gains the default")
        << QByteArray("<filelist><software version='1.0.0'><file name='a.dll' version='2'/></software></filelist>")
        << QByteArray("<filelist curVersion=\"1.0.0\">\n    <software version=\"1.0.0\">\n        <file version=\"2\" name=\"a.dll\"/>\n    </software>\n</filelist>\n")
        << QByteArray("UTF-8");
    QTest::newRow("carriage returns alone as line ends")
        << QByteArray("<filelist curVersion='2.0.0'>\r<software version='2.0.0'>\r<file name='a.dll'\rversion='2'/>\r</software>\r</filelist>")
        << QByteArray("<filelist curVersion=\"2.0.0\">\n    <software version=\"2.0.0\">\n        <file version=\"2\" name=\"a.dll\"/>\n    </software>\n</filelist>\n")
        << QByteArray("UTF-8");
    QTest::newRow("declared encoding is kept")
        << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<filelist curVersion='2.0.0'><software version='2.0.0' info='caf\xe9'><file name='a.dll' version='2'/></software></filelist>")
        << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<filelist curVersion=\"2.0.0\">\n    <software info=\"caf\xe9\" version=\"2.0.0\">\n        <file version=\"2\" name=\"a.dll\"/>\n    </software>\n</filelist>\n")
        << QByteArray("ISO-8859-1");
}

void tst_Installation::manifestIsRewrittenExactly()
{
    QFETCH(QByteArray, downloaded);
    QFETCH(QByteArray, expected);
    QFETCH(QByteArray, encoding);
    expected = nativeLines(expected);

    ReleaseSetup setup({}, {});
    setup.server.setResponse((releasePath + (downloaded.contains("curVersion") ? "v2.0.0" : "v1.0.0")
                              + "/a.dll").toUtf8(), ScriptedResponse::ok("a"));
    // A longer local manifest: nothing of it may be left beyond the new end.
    writeFile(setup.app.filePath("version.xml"), manifest("1.0.0", numbered(50)));
    writeFile(setup.app.filePath("download/version.xml"), downloaded);
    setup.openUpdater();
    setup.install();

    // Qt orders attributes by hash, differently in every run: compare the
    // elements with sorted attributes, then the layout line by line.
    const QByteArray written = contentOf(setup.app.filePath("version.xml"));
    QDomDocument writtenDocument, expectedDocument;
    QVERIFY2(writtenDocument.setContent(written), written.constData());
    QVERIFY(expectedDocument.setContent(expected));
    QCOMPARE(canonical(writtenDocument.documentElement()), canonical(expectedDocument.documentElement()));
    QCOMPARE(written.size(), expected.size());
    const QList<QByteArray> writtenLines = written.split('\n'), expectedLines = expected.split('\n');
    QCOMPARE(writtenLines.size(), expectedLines.size());
    for (int i = 0; i < writtenLines.size(); ++i)
        QCOMPARE(indentation(writtenLines.at(i)), indentation(expectedLines.at(i)));
    if (encoding != "UTF-8")
        QVERIFY2(written.contains("caf\xe9"), "the text is not in the declared encoding");
}

void tst_Installation::rewriteThatWouldNotReadBackLeavesTheCopy_data()
{
    QTest::addColumn<QByteArray>("downloaded");

    // A lead byte without its second reads as U+FFFD, which CP949 cannot
    // encode: written back as '?', the attribute's name ends the document.
    // Only ICU's decoder reads it; Qt's own, in a build without ICU (as for
    // Windows), refuses it, and such a manifest does not read at all.
    if (readsAsReplacement("CP949", "\xb3" "0"))
        QTest::newRow("a name that CP949 cannot write back")
            << QByteArray("<?xml version=\"1.0\" encoding=\"CP949\"?><filelist curVersion=\"2.0.0\"><software version=\"2.0.0\">"
                          "<file name=\"a.dll\" dir\xb3\xb3\xb3" "0=\"\" version=\"2\"/></software></filelist>");
    // Written as two references to surrogate halves, which are no characters.
    QTest::newRow("a character beyond 16 bits in an ISO-8859-1 value")
        << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><filelist curVersion=\"2.0.0\">"
                      "<software version=\"2.0.0\" info=\"&#x1F680;\"><file name=\"a.dll\" version=\"2\"/></software></filelist>");
}

void tst_Installation::rewriteThatWouldNotReadBackLeavesTheCopy()
{
    QFETCH(QByteArray, downloaded);
    ReleaseSetup setup({}, {});
    setup.server.setResponse((releasePath + "v2.0.0/a.dll").toUtf8(), ScriptedResponse::ok("a"));
    writeFile(setup.app.filePath("download/version.xml"), downloaded);
    QCOMPARE(setup.openUpdater()->pending().updateNames, QStringList({"a.dll"}));
    setup.install();

    QCOMPARE(setup.error().technical, QString());
    const QString local = setup.app.filePath("version.xml");
    QCOMPARE(contentOf(local), downloaded);
    QVERIFY2(Manifest::installedVersions(local) == (QHash<QString, QString>{{"a.dll", "2"}}),
             "the installed manifest does not list the release it installed");
}

void tst_Installation::progressReachesOkOnlyAtTheEnd_data()
{
    QTest::addColumn<int>("count");
    for (int count : {1, 3, 4, 7})
        QTest::addRow("%d files", count) << count;
}

void tst_Installation::progressReachesOkOnlyAtTheEnd()
{
    QFETCH(int, count);
    const Entries files = numbered(count);
    ReleaseSetup setup({}, files);
    for (const Entry &file : files)
        // Qt reports progress at most every 100 ms: a file must take longer to show steps.
        setup.serve(file, ScriptedResponse::ok(QByteArray(8000, 'x')).inPieces(1000, 40));
    setup.openWindow();

    QVector<int> values;
    QStringList textsMeanwhile;
    QObject::connect(setup.progressBar(), &QProgressBar::valueChanged, [&](int value) {
        values << value;
        textsMeanwhile << setup.updateButton()->text();
    });
    setup.clickUpdate();

    QVERIFY2(std::is_sorted(values.begin(), values.end()), "the bar moved backwards");
    QCOMPARE(values.last(), 100);
    QCOMPARE(textsMeanwhile.count(QStringLiteral("Cancle")), textsMeanwhile.size());
    QCOMPARE(setup.updateButton()->text(), QStringLiteral("OK"));
    for (int i = 0; i < count; ++i) {
        const int base = i * 100 / count, next = (i + 1) * 100 / count;
        QVERIFY2(std::any_of(values.begin(), values.end(), [&](int v) { return v >= base && v < next; }),
                 qPrintable(QStringLiteral("no value of file %1 between %2 and %3").arg(i).arg(base).arg(next)));
    }
}

void tst_Installation::emptyFileInstalls()
{
    const Entry empty{"", "empty.cfg", "2.0.0"};
    ReleaseSetup setup({}, {empty});
    setup.serve(empty, ScriptedResponse::ok(QByteArray()));
    writeFile(setup.app.filePath("empty.cfg"), "old content");
    setup.openWindow();
    setup.clickUpdate();
    QCOMPARE(setup.installedContent(empty), QByteArray());
    QCOMPARE(setup.updateButton()->text(), QStringLiteral("OK"));
    QCOMPARE(setup.progressBar()->value(), 100);
}

void tst_Installation::failedReleaseChangesNothing_data()
{
    QTest::addColumn<Entry>("failing");
    QTest::addColumn<ScriptedResponse>("response");
    QTest::addColumn<bool>("destinationIsFolder");
    QTest::addColumn<int>("expectedRequests");   // of the failing file

    // Published in the order core, render, jpeg; a transient failure is tried 4 times.
    QTest::newRow("404") << newRender << ScriptedResponse::withStatus(404, "Not Found", "gone") << false << 1;
    QTest::newRow("truncated body, retried")
        << newRender << ScriptedResponse::ok(QByteArray(5000, 'r')).truncatedAfter(1000) << false << 4;
    QTest::newRow("stall, retried")
        << newRender << ScriptedResponse::ok(QByteArray(5000, 'r')).stalledAfter(1000) << false << 4;
    QTest::newRow("server error on a new file, retried")
        << newJpeg << ScriptedResponse::withStatus(500, "Oops") << false << 4;
    QTest::newRow("hash mismatch") << hashed(newRender, "other") << ScriptedResponse::ok("other!") << false << 1;
    QTest::newRow("body longer than its size")
        << hashed(newRender, "3 b") << ScriptedResponse::ok(contentFor(newRender)) << false << 1;
    QTest::newRow("folder in the way, nothing fetched") << newRender << ScriptedResponse::ok("render 2") << true << 0;
    const ScriptedResponse evil = ScriptedResponse::ok("evil");
    QTest::newRow("dot-dot segment") << Entry{"../", "evil.dll", "2.0.0"} << evil << false << 0;
    QTest::newRow("dot-dot deeper") << Entry{"plugins/../../", "evil.dll", "2.0.0"} << evil << false << 0;
    QTest::newRow("absolute folder") << Entry{"/tmp/", "evil.dll", "2.0.0"} << evil << false << 0;
    QTest::newRow("drive letter") << Entry{"C:/", "evil.dll", "2.0.0"} << evil << false << 0;
    QTest::newRow("backslash") << Entry{"..\\", "evil.dll", "2.0.0"} << evil << false << 0;
    QTest::newRow("climbing name") << Entry{"", "../evil.dll", "2.0.0"} << evil << false << 0;
    QTest::newRow("the updater's own manifest") << Entry{"./", "version.xml", "2.0.0"} << evil << false << 0;
    QTest::newRow("the updater's lock") << Entry{"", "BrenvothUpdater.lock", "2.0.0"} << evil << false << 0;
    QTest::newRow("into the download folder") << Entry{"download/", "evil.dll", "2.0.0"} << evil << false << 0;
    QTest::newRow("over the update's journal")
        << Entry{"download/.updater/", "journal", "2.0.0"} << evil << false << 0;
}

// Whatever fails, before or after the first download, the application and its
// manifest stay exactly as they were and the next start offers the same update.
void tst_Installation::failedReleaseChangesNothing()
{
    QFETCH(Entry, failing);
    QFETCH(ScriptedResponse, response);
    QFETCH(bool, destinationIsFolder);
    QFETCH(int, expectedRequests);

    Entries published{newCore, newRender, newJpeg};
    const auto same = std::find_if(published.begin(), published.end(),
                                   [&](const Entry &file) { return file.name == failing.name; });
    if (same != published.end())
        *same = failing;
    else
        published.prepend(failing);
    ReleaseSetup setup({oldCore, oldRender}, published);
    setup.serve(failing, response);
    if (response.stallAfter >= 0)
        setup.stallTimeout = stallMsecs();
    if (destinationIsFolder) {
        const QString destination = setup.app.filePath(failing.dir + failing.name);
        QFile::remove(destination);
        QVERIFY(QDir().mkpath(destination));
    }
    QDir outside(setup.app.path());
    outside.cdUp();
    const QMap<QString, QByteArray> before = snapshot(setup.app.path());
    const QStringList pendingBefore = setup.openUpdater()->pending().updateNames;
    setup.install();

    QCOMPARE(snapshot(setup.app.path()), before);
    QVERIFY2(!QFileInfo::exists(outside.filePath("evil.dll")) && !QFileInfo::exists("/tmp/evil.dll"),
             "a file was written outside the application directory");
    const QStringList requested = setup.requestedPaths();
    QCOMPARE(requested.count(ReleaseSetup::urlPath(failing)), expectedRequests);
    QVERIFY2(requested.size() - requested.count(ReleaseSetup::urlPath(failing)) <= published.size() - 1,
             qPrintable("a file besides the failing one was fetched twice: " + requested.join(' ')));
    QVERIFY2(setup.error().technical.contains(failing.name) && setup.error().kind == UpdateError::Kind::NotInstalled,
             qPrintable(setup.error().technical));
    QVERIFY2(debugLines.filter("not installed").size() == 1, qPrintable(debugLines.join('\n')));

    setup.controller.reset();
    const UpdateController next(setup.app.path(), QString());
    QCOMPARE(next.pending().updateNames, pendingBefore);
}

void tst_Installation::windowTellsWhatHappened_data()
{
    QTest::addColumn<Arrangement>("arrange");
    QTest::addColumn<QString>("plainWords");   // empty: installs
    QTest::addColumn<QString>("detail");
    QTest::addColumn<bool>("nothingFetched");

    QTest::newRow("installed") << Arrangement([](ReleaseSetup &, TestMounts &) { return true; })
                               << QString() << QString() << false;
    QTest::newRow("a file missing on the server, below long notes")
        << Arrangement([](ReleaseSetup &setup, TestMounts &) {
               setup.notes = QByteArray("Fixed printing.&lt;br&gt;").repeated(30);
               setup.publishManifest();
               setup.serve(newRender, ScriptedResponse::withStatus(404, "Not Found", "gone"));
               return true;
           })
        << "the publisher's server is missing a file of this release; try again later"
        << "plugins/render.dll: HTTP 404, Network error : 203" << false;
    QTest::newRow("no server")
        << Arrangement([](ReleaseSetup &setup, TestMounts &) {
               QTcpServer closed;
               closed.listen(QHostAddress::LocalHost);
               setup.downloadBaseUrl = QStringLiteral("http://127.0.0.1:%1%2").arg(closed.serverPort()).arg(releasePath);
               return true;
           })
        << "the update server could not be reached; check the internet connection"
        << "core.dll: Network error : 1" << false;
    QTest::newRow("stall") << Arrangement([](ReleaseSetup &setup, TestMounts &) {
                                  setup.serve(newRender, ScriptedResponse::ok(QByteArray(5000, 'r')).stalledAfter(1000));
                                  setup.stallTimeout = stallMsecs();
                                  return true;
                              })
                           << QString("the download stopped for %1 s").arg(stallMsecs() / 1000.0)
                           << QString("plugins/render.dll: No data received for %1 s").arg(stallMsecs() / 1000.0) << false;
    QTest::newRow("damaged")
        << Arrangement([](ReleaseSetup &setup, TestMounts &) {
               setup.published[1] = hashed(newRender);
               setup.publishManifest();
               setup.serve(newRender, ScriptedResponse::ok(contentFor(newRender).toUpper()));
               return true;
           })
        << "a downloaded file was damaged on the way"
        << "plugins/render.dll: The file does not match the SHA-256 digest the manifest gives" << false;
    QTest::newRow("a folder in the way")
        << Arrangement([](ReleaseSetup &setup, TestMounts &) {
               QFile::remove(setup.app.filePath("plugins/render.dll"));
               return QDir().mkpath(setup.app.filePath("plugins/render.dll"));
           })
        << "a folder stands where the file plugins/render.dll of Brenvoth must go"
        << "plugins/render.dll: a folder is in the way of" << true;
    const auto readOnly = [](const QString &path) {
        return Arrangement([=](ReleaseSetup &setup, TestMounts &mounts) {
            return mounts.readOnly(setup.app.filePath(path));
        });
    };
    const QString notWritable = "is read-only or may be changed only by an administrator, so nothing was downloaded";
    QTest::newRow("a folder that may not be written, nothing fetched")
        << readOnly("plugins") << "plugins in the folder of Brenvoth " + notWritable
        << "/plugins cannot be written: " << true;
    QTest::newRow("a read-only application folder, nothing fetched")
        << readOnly(".") << "the folder of Brenvoth " + notWritable << " cannot be written: " << true;
    QTest::newRow("a read-only file, nothing fetched")
        << readOnly("plugins/render.dll") << "plugins/render.dll in the folder of Brenvoth " + notWritable
        << "/plugins/render.dll is read-only" << true;
    QTest::newRow("no room on a 4 MiB disk, nothing fetched")
        << Arrangement([](ReleaseSetup &setup, TestMounts &mounts) {
               if (!mounts.smallDisk(setup.app.path(), "4m"))
                   return false;
               setup.published[1].integrity = "size=\"9000000\"";
               setup.writeApplication();
               return true;
           })
        << "there is not enough free space on the disk: it needs 9 MB more"
        << "the release needs 13194304 bytes, " << true;
}

// A failure reads as one: plain words a person can act on, the technical
// detail after them, below the notes, and a bar that is not full.
void tst_Installation::windowTellsWhatHappened()
{
    QFETCH(Arrangement, arrange);
    QFETCH(QString, plainWords);
    QFETCH(QString, detail);
    QFETCH(bool, nothingFetched);

    ReleaseSetup setup({oldCore, oldRender}, {newCore, newRender});
    TestMounts mounts;
    // The updater ends, its lock gone, before the mounts do.
    const auto closeWindow = qScopeGuard([&setup] {
        setup.window.reset();
        setup.controller.reset();
    });
    if (!arrange(setup, mounts))
        SKIP_WHERE_MISSING("no mount can be made here (it needs root on Linux)");
    setup.openWindow();
    setup.clickUpdate();

    QCOMPARE(setup.updateButton()->text(), QStringLiteral("OK"));
    const QString screenshots = qEnvironmentVariable("BRENVOTH_SCREENSHOTS");
    if (!screenshots.isEmpty())
        setup.window->grab().save(QDir(screenshots).filePath(QString(QTest::currentDataTag()).replace(' ', '-') + ".png"));
    if (plainWords.isEmpty()) {
        QCOMPARE(setup.progressBar()->value(), 100);
        QCOMPARE(setup.text(), QStringLiteral("notes"));
        return;
    }
    const QString text = setup.text();
    const int lead = text.indexOf("The update could not be installed: " + plainWords);
    QVERIFY2(lead > 0 && text.indexOf(detail, lead) > lead, qPrintable(text));
    QVERIFY2(text.contains("\n\nThe update could not be installed: "), "the failure is not set apart from the notes");
    QVERIFY2(setup.progressBar()->value() < 100,
             qPrintable(QStringLiteral("the bar reads %1 after a failure").arg(setup.progressBar()->value())));
    const QScrollBar *scroll = setup.window->findChild<QTextEdit *>("textEdit")->verticalScrollBar();
    QVERIFY2(scroll->value() == scroll->maximum(), "the failure is scrolled out of view");
    const QStringList logged = debugLines.filter(" not installed: ");
    QVERIFY2(logged.size() == 1 && logged.first().contains(detail), qPrintable(debugLines.join('\n')));
    if (nothingFetched)
        QCOMPARE(setup.requestedPaths(), QStringList());
}

void tst_Installation::resumedTransfers_data()
{
    QTest::addColumn<QList<ScriptedResponse>>("firstRun");
    QTest::addColumn<QList<ScriptedResponse>>("secondRun");
    QTest::addColumn<bool>("redirected");
    QTest::addColumn<QByteArray>("expectedHeader");

    const QByteArray body = QByteArray("0123456789").repeated(500);
    const ScriptedResponse tagged = ScriptedResponse::ok(body).withHeader("ETag", "\"v1\"");
    const ScriptedResponse rest = ScriptedResponse::withStatus(206, "Partial Content", body.mid(3000))
                                      .withHeader("Content-Range", "bytes 3000-4999/5000")
                                      .withHeader("ETag", "\"v1\"");
    QTest::newRow("a cut transfer is retried with a range")
        << QList<ScriptedResponse>{ScriptedResponse(tagged).truncatedAfter(3000), rest}
        << QList<ScriptedResponse>{} << false << QByteArray("Range: bytes=3000-\r\nIf-Range: \"v1\"");
    QTest::newRow("a redirected range request, guarded by the final answer's validator")
        << QList<ScriptedResponse>{ScriptedResponse(tagged).truncatedAfter(3000), rest}
        << QList<ScriptedResponse>{} << true << QByteArray("Range: bytes=3000-\r\nIf-Range: \"v1\"");
    QTest::newRow("a later run continues a partly staged file")
        << QList<ScriptedResponse>{ScriptedResponse(tagged).truncatedAfter(3000),
                                   ScriptedResponse::withStatus(404, "Not Found")}
        << QList<ScriptedResponse>{rest} << false << QByteArray("Range: bytes=3000-\r\nIf-Range: \"v1\"");
    QTest::newRow("a later run keeps a whole staged file the server confirms")
        << QList<ScriptedResponse>{tagged}
        << QList<ScriptedResponse>{ScriptedResponse::withStatus(304, "Not Modified")} << false
        << QByteArray("If-None-Match: \"v1\"");
}

// core.dll is the file continued, served from a storage host when redirected;
// in a run that must fail, render.dll fails for good.
void tst_Installation::resumedTransfers()
{
    QFETCH(QList<ScriptedResponse>, firstRun);
    QFETCH(QList<ScriptedResponse>, secondRun);
    QFETCH(bool, redirected);
    QFETCH(QByteArray, expectedHeader);

    const QByteArray body = QByteArray("0123456789").repeated(500);
    ReleaseSetup setup({oldCore}, {newCore, newRender});
    QByteArray corePath = ReleaseSetup::urlPath(newCore).toUtf8();
    if (redirected) {
        setup.server.setResponse(corePath, ScriptedResponse::withStatus(302, "Found")
                                               .withHeader("Location", "/storage/core.dll")
                                               .withHeader("ETag", "\"of the redirect\""));
        corePath = "/storage/core.dll";
    }
    setup.server.setResponses(corePath, firstRun);
    if (!secondRun.isEmpty()) {
        // render.dll's failure ends the first run; before core.dll has its first
        // answer staged it would cut that short, and the second run would ask for another range.
        const ScriptedResponse &first = firstRun.first();
        const qint64 firstStaged = first.truncateAfter >= 0 ? first.truncateAfter : first.body.size();
        const QString downloads = setup.app.filePath("download");
        setup.serve(newRender, ScriptedResponse::withStatus(404, "Not Found").heldUntil([=] {
            return stagedSize(downloads, newCore.name) == firstStaged;
        }));
        setup.openUpdater();
        setup.install();
        QCOMPARE(setup.installedContent(oldCore), contentFor(oldCore));
        setup.server.setResponses(corePath, secondRun);
        setup.serve(newRender, ScriptedResponse::ok(contentFor(newRender)));
    }
    setup.openUpdater();
    setup.install();

    QCOMPARE(setup.installedContent(newCore), body);
    QCOMPARE(setup.installedContent(newRender), contentFor(newRender));
    const QByteArray lastHead = setup.lastRequestFor(corePath);
    QVERIFY2(lastHead.contains(expectedHeader), lastHead.constData());
}

void tst_Installation::transfersInFlightTogether_data()
{
    QTest::addColumn<QList<ScriptedResponse>>("secondFile");  // empty: served like the rest
    QTest::addColumn<bool>("installs");
    QTest::addColumn<int>("secondFileRequests");
    QTest::addColumn<QByteArray>("lastRequestHas");

    const QByteArray body = scriptedBody;
    const ScriptedResponse tagged = ScriptedResponse::ok(body).withHeader("ETag", "\"v1\"");
    QTest::newRow("many files complete") << QList<ScriptedResponse>{} << true << 1 << QByteArray();
    QTest::newRow("a permanent failure stops new requests")
        << QList<ScriptedResponse>{ScriptedResponse::withStatus(404, "Not Found")} << false << 1 << QByteArray();
    QTest::newRow("a transient failure is retried while the others go on")
        << QList<ScriptedResponse>{ScriptedResponse::withStatus(503, "Busy"), ScriptedResponse::ok(body)}
        << true << 2 << QByteArray();
    QTest::newRow("a cut file continues with a range while the others go on")
        << QList<ScriptedResponse>{ScriptedResponse(tagged).truncatedAfter(3000),
                                   ScriptedResponse::withStatus(206, "Partial Content", body.mid(3000))
                                       .withHeader("Content-Range", "bytes 3000-4999/5000")
                                       .withHeader("ETag", "\"v1\"")}
        << true << 2 << QByteArray("Range: bytes=3000-");
}

// Twenty files, each served slowly enough that several are in flight at once;
// the second is the one scripted, with scriptedBody where it installs.
void tst_Installation::transfersInFlightTogether()
{
    QFETCH(QList<ScriptedResponse>, secondFile);
    QFETCH(bool, installs);
    QFETCH(int, secondFileRequests);
    QFETCH(QByteArray, lastRequestHas);

    const Entries files = numbered(20);
    ReleaseSetup setup({}, files);
    for (const Entry &file : files)
        setup.serve(file, ScriptedResponse::ok(contentFor(file)).inPieces(2, 20));
    const QByteArray secondPath = ReleaseSetup::urlPath(files.at(1)).toUtf8();
    if (!secondFile.isEmpty())
        setup.server.setResponses(secondPath, secondFile);
    const QMap<QString, QByteArray> before = snapshot(setup.app.path());
    setup.openWindow();
    setup.clickUpdate();

    const QStringList requested = setup.requestedPaths();
    QCOMPARE(requested.count(secondPath), secondFileRequests);
    QVERIFY2(setup.server.mostAnswersAtOnce() > 1, "the files were fetched one at a time");
    QVERIFY2(QSet<QString>(requested.begin(), requested.end()).size() == requested.size() - secondFileRequests + 1,
             qPrintable("a file besides the scripted one was fetched twice: " + requested.join(' ')));
    QVERIFY2(setup.lastRequestFor(secondPath).contains(lastRequestHas), setup.lastRequestFor(secondPath).constData());
    if (!installs) {
        QCOMPARE(snapshot(setup.app.path()), before);
        // The failure answers at once; the others take 100 ms and more.
        QVERIFY2(requested.size() < files.size(), qPrintable("requests went on after the failure: " + requested.join(' ')));
        return;
    }
    for (const Entry &file : files)
        QCOMPARE(setup.installedContent(file), file.name == files.at(1).name && !secondFile.isEmpty() ? scriptedBody : contentFor(file));
    QCOMPARE(setup.progressBar()->value(), 100);
}

void tst_Installation::compressedWays_data()
{
    QTest::addColumn<QString>("conditions");
    QTest::addColumn<QStringList>("expectedRequests");   // the ways fetched, by suffix
    QTest::addColumn<bool>("installs");

    const QString patch = QStringLiteral(".from-%1.zst");
    QTest::newRow("patch from the installed copy") << "" << QStringList{patch} << true;
    QTest::newRow("installed copy changed by the user: .zst") << "user changed" << QStringList{".zst"} << true;
    QTest::newRow("corrupt patch: .zst") << "corrupt patch" << QStringList{patch, ".zst"} << true;
    QTest::newRow("corrupt patch and .zst: raw") << "corrupt patch, corrupt zst" << QStringList{patch, ".zst", ""}
                                                 << true;
    QTest::newRow("patch and .zst missing: raw") << "missing patch, missing zst" << QStringList{patch, ".zst", ""}
                                                 << true;
    QTest::newRow("all three corrupt: nothing changed") << "corrupt patch, corrupt zst, corrupt raw"
                                                        << QStringList{patch, ".zst", ""} << false;
    QTest::newRow("a .zst bomb that declares its size") << "user changed, bomb, corrupt raw" << QStringList{".zst", ""}
                                                        << false;
    QTest::newRow("a .zst bomb that hides its size") << "user changed, hidden bomb, corrupt raw"
                                                     << QStringList{".zst", ""} << false;
    QTest::newRow("a cut .zst resumed with a range") << "user changed, cut zst" << QStringList{".zst", ".zst"} << true;
}

// core.dll changes from a copy that a patch applies to; each way can be
// spoilt on the server, and the first one that comes out right is installed.
void tst_Installation::compressedWays()
{
    QFETCH(QString, conditions);
    QFETCH(QStringList, expectedRequests);
    QFETCH(bool, installs);
    const auto has = [&conditions](const char *condition) { return conditions.contains(QLatin1String(condition)); };
    const auto spoilt = [](QByteArray bytes) {
        for (int i = bytes.size() / 3; i < bytes.size(); i += 7)
            bytes[i] = char(~bytes.at(i));
        return bytes;
    };

    QByteArray oldContent, newContent;
    for (int i = 0; i < 4000; ++i)
        oldContent += "line " + QByteArray::number(i * 7919 % 10007) + " of the old core\n";
    newContent = QByteArray(oldContent).replace("old core\n5", "new core\n5");
    const QByteArray installed = has("user changed") ? oldContent + "patched by hand" : oldContent;
    const QByteArray patchBytes = zstdPatch(oldContent, newContent);
    QByteArray zstBytes = zstdFrame(newContent);
    if (has("bomb"))
        zstBytes = zstdFrame(QByteArray(64 << 20, '\0'), QByteArray(), !has("hidden bomb"));
    const QByteArray from = QCryptographicHash::hash(oldContent, QCryptographicHash::Sha256).toHex();

    Entry core = hashed(newCore, newContent);
    core.integrity += " zsize=\"" + QByteArray::number(zstBytes.size()) + '"';
    core.children = "<patch from=\"" + from + "\" size=\"" + QByteArray::number(patchBytes.size()) + "\"/>";
    ReleaseSetup setup({oldCore}, {core});
    writeFile(setup.app.filePath("core.dll"), installed);
    const QString path = ReleaseSetup::urlPath(core);
    const QString patchPath = path + QStringLiteral(".from-%1.zst").arg(QString::fromLatin1(from.left(16)));
    const auto serve = [&](const QString &at, const QByteArray &body, const char *missing, const char *corrupt) {
        setup.server.setResponse(at.toUtf8(), has(missing) ? ScriptedResponse::withStatus(404, "Not Found")
                                                           : ScriptedResponse::ok(has(corrupt) ? spoilt(body) : body));
    };
    serve(patchPath, patchBytes, "missing patch", "corrupt patch");
    serve(path + ".zst", zstBytes, "missing zst", "corrupt zst");
    serve(path, newContent, "missing raw", "corrupt raw");
    if (has("cut zst")) {
        const ScriptedResponse whole = ScriptedResponse::ok(zstBytes).withHeader("ETag", "\"z\"");
        const int cut = zstBytes.size() / 2;
        setup.server.setResponses((path + ".zst").toUtf8(),
            {ScriptedResponse(whole).truncatedAfter(cut),
             ScriptedResponse::withStatus(206, "Partial Content", zstBytes.mid(cut))
                 .withHeader("Content-Range", "bytes " + QByteArray::number(cut) + '-'
                                                  + QByteArray::number(zstBytes.size() - 1) + '/'
                                                  + QByteArray::number(zstBytes.size()))});
    }
    const QMap<QString, QByteArray> before = snapshot(setup.app.path());
    setup.openUpdater();
    setup.install();

    QStringList requested;
    for (const QString &requestedPath : setup.requestedPaths())
        requested << requestedPath.mid(path.size());
    QCOMPARE(requested, expectedRequests.replaceInStrings("%1", QString::fromLatin1(from.left(16))));
    if (has("cut zst"))
        QVERIFY2(setup.server.requestHeads().last().contains("Range: bytes=" + QByteArray::number(zstBytes.size() / 2) + '-'),
                 setup.server.requestHeads().last().constData());
    if (installs) {
        QCOMPARE(setup.installedContent(core), newContent);
        return;
    }
    QCOMPARE(snapshot(setup.app.path()), before);
    QCOMPARE(setup.error().kind, UpdateError::Kind::NotInstalled);
    if (has("bomb")) {
        QVERIFY2(!debugLines.filter(QRegularExpression("core.dll.zst: it (would decode to 67108864 bytes|decodes to more than)")).isEmpty(),
                 qPrintable(debugLines.join('\n')));
        QDirIterator staged(setup.app.filePath("download"), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (staged.hasNext()) {
            staged.next();
            QVERIFY2(staged.fileInfo().size() <= newContent.size(), qPrintable("written past the size: " + staged.filePath()));
        }
    }
}

void tst_Installation::serverIdentity_data()
{
    QTest::addColumn<QString>("certificate");
    QTest::addColumn<bool>("keyed");
    QTest::addColumn<QString>("problem");   // empty: installs

    QTest::newRow("good certificate") << "localhost" << false << QString();
    QTest::newRow("unknown issuer")
        << "unknown-issuer" << false
        << "core.dll: the server's identity could not be verified: its certificate was issued by an "
           "authority this computer does not trust";
    QTest::newRow("wrong host name")
        << "wrong-host" << false
        << "core.dll: the server's identity could not be verified: its certificate was issued for another host name";
    QTest::newRow("expired") << "expired" << false
                             << "core.dll: the server's identity could not be verified: its certificate has expired";
    QTest::newRow("expired, the signature fetched first")
        << "expired" << true
        << "version.xml.minisig: the server's identity could not be verified: its certificate has expired";
}

// A server that cannot prove who it is gets no request and no second try.
void tst_Installation::serverIdentity()
{
    QFETCH(QString, certificate);
    QFETCH(bool, keyed);
    QFETCH(QString, problem);
    if (keyed && !minisignInstalled())
        SKIP_WHERE_MISSING("the minisign command is not installed");
    QTemporaryDir keys;
    const MinisignKey key = keyed ? makeMinisignKey(keys.path(), "publisher") : MinisignKey();
    // One file: files start together, and each would knock once.
    ReleaseSetup setup({oldCore}, {hashed(newCore)}, certificate);
    const QMap<QString, QByteArray> before = snapshot(setup.app.path());
    setup.openUpdater()->setPublicKey(key.publicKey);
    setup.install();

    if (problem.isEmpty()) {
        QCOMPARE(setup.installedContent(newCore), contentFor(newCore));
        return;
    }
    QCOMPARE(snapshot(setup.app.path()), before);
    QCOMPARE(setup.server.acceptedConnections(), 1);
    QVERIFY2(setup.requestedPaths().isEmpty(), "a request reached a server that was not verified");
    QCOMPARE(setup.error().technical, problem);
    QCOMPARE(setup.error().kind, UpdateError::Kind::NotInstalled);
    // The log line keeps Qt's own words too.
    QVERIFY2(debugLines.filter("not installed").size() == 1
                 && debugLines.filter("not installed").first().contains("[SSL handshake failed; "),
             qPrintable(debugLines.join('\n')));
}

void tst_Installation::systemProxy_data()
{
    QTest::addColumn<QString>("certificate");      // empty: plain http
    QTest::addColumn<QByteArray>("configuration"); // null: no proxy listens
    QTest::addColumn<QString>("expectedRequest");  // %1: the server's address
    QTest::addColumn<QStringList>("answer");       // to the question: user name, password; empty: decline
    QTest::addColumn<bool>("keyed");               // the signature fetched first
    QTest::addColumn<QString>("problem");          // %1: the proxy; empty: installs

    const QByteArray asks("BasicAuth someone se-cret\n");
    const QString get("GET %1/v2.0.0/core.dll HTTP/1.1");
    const QString refused("core.dll: the proxy %1 asks for a user name and password");
    QTest::newRow("http through the proxy") << QString() << QByteArray("") << get << QStringList() << false
                                            << QString();
    QTest::newRow("https through the proxy's tunnel") << "localhost" << QByteArray("") << "CONNECT %1 HTTP/1.1"
                                                      << QStringList() << false << QString();
    QTest::newRow("a proxy that asks, answered") << QString() << asks << get << QStringList{"someone", "se-cret"}
                                                 << false << QString();
    // tinyproxy refuses wrong credentials with a 401 of its own.
    QTest::newRow("a proxy that asks, answered wrongly")
        << QString() << asks << get << QStringList{"someone", "wrong"} << false << "(through the proxy %1)";
    QTest::newRow("a proxy that asks, declined") << QString() << asks << get << QStringList() << false << refused;
    QTest::newRow("a keyed release through a proxy that asks, answered")
        << QString() << asks << "GET %1/v2.0.0/version.xml.minisig HTTP/1.1" << QStringList{"someone", "se-cret"}
        << true << QString();
    QTest::newRow("a proxy that refuses the connection")
        << QString() << QByteArray() << QString() << QStringList() << false
        << "core.dll: the proxy %1 refused the connection";
}

void tst_Installation::systemProxy()
{
    QFETCH(QString, certificate);
    QFETCH(QByteArray, configuration);
    QFETCH(QString, expectedRequest);
    QFETCH(QStringList, answer);
    QFETCH(bool, keyed);
    QFETCH(QString, problem);
    if (!LoopbackProxy::installed())
        SKIP_WHERE_MISSING("tinyproxy is not installed");
    if (keyed && !minisignInstalled())
        SKIP_WHERE_MISSING("the minisign command is not installed");
    // One file: files start together, and each would ask the proxy once.
    ReleaseSetup setup({oldCore}, {keyed ? hashed(newCore) : newCore}, certificate);
    QTemporaryDir keys;
    const MinisignKey key = keyed ? makeMinisignKey(keys.path(), "publisher") : MinisignKey();
    if (keyed)
        setup.server.setResponse((releasePath + "v2.0.0/version.xml.minisig").toUtf8(),
                                 ScriptedResponse::ok(minisignSignature(
                                     key, contentOf(setup.app.filePath("download/version.xml")), keys.path())));
    LoopbackProxy proxy(configuration);
    if (!configuration.isNull())
        QVERIFY2(proxy.start(), "tinyproxy did not start");
    const QMap<QString, QByteArray> before = snapshot(setup.app.path());
    setup.openWindow()->setPublicKey(key.publicKey);
    // Answers the question as a person would, once it is shown.
    QTimer answering;
    QStringList askedFor;
    QObject::connect(&answering, &QTimer::timeout, [&] {
        auto *form = setup.window->findChild<ProxySignOnForm *>();
        if (!form || !form->isVisible())
            return;
        askedFor << form->findChild<QLabel *>()->text();
        form->userNameField()->setText(answer.value(0));
        form->passwordField()->setText(answer.value(1));
        (answer.isEmpty() ? form->cancelButton() : form->signInButton())->click();
    });
    answering.start(10);
    setup.clickUpdate();

    const bool asks = configuration.startsWith("BasicAuth");
    QCOMPARE(askedFor.size(), asks ? 1 : 0);
    if (asks)
        QVERIFY2(askedFor.first().contains(proxy.address()), qPrintable(askedFor.first()));
    QVERIFY2(debugLines.filter("se-cret").isEmpty() && debugLines.filter("wrong").isEmpty(),
             "the password reached the log");
    const QString server = setup.server.url(releasePath.toUtf8());
    const QString serverAddress = certificate.isEmpty() ? server.chopped(1) : QUrl(server).authority();
    if (!expectedRequest.isEmpty())
        QVERIFY2(proxy.requests().contains(expectedRequest.arg(serverAddress)), qPrintable(proxy.requests().join('\n')));
    for (const QByteArray &head : setup.server.requestHeads())
        QVERIFY2(!head.toLower().contains("authorization:"), "the server was sent credentials");
    if (problem.isEmpty()) {
        QCOMPARE(setup.installedContent(newCore), contentFor(newCore));
        QVERIFY2(setup.requestedPaths().size() == (keyed ? 2 : 1), "the file did not come through the proxy");
        return;
    }
    QCOMPARE(snapshot(setup.app.path()), before);
    QVERIFY2(setup.requestedPaths().isEmpty(), "a request passed the proxy");
    if (!expectedRequest.isEmpty())
        // An answer costs a few requests (one to learn the scheme, the
        // network layer's own tries with the credentials), never a loop.
        QVERIFY2(proxy.requests().size() <= (answer.isEmpty() ? 1 : 4),
                 qPrintable(QStringLiteral("a proxy's demand for credentials was tried again: %1 requests")
                                .arg(proxy.requests().size())));
    QVERIFY2(setup.text().contains(problem.arg(proxy.address())) && setup.text().contains("Nothing was changed"),
             qPrintable(setup.text()));
}

void tst_Installation::signedReleases_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("expectedRequests");
    QTest::newRow("good signature installs") << "none" << 3;
    QTest::newRow("tampered manifest") << "manifest" << 1;
    QTest::newRow("another key") << "key" << 1;
    QTest::newRow("signed by the second of two trusted keys") << "second key" << 3;
    QTest::newRow("a key not in the list of two") << "unlisted key" << 1;
    QTest::newRow("missing signature") << "missing" << 1;
    QTest::newRow("truncated signature") << "truncated" << 1;
    QTest::newRow("tampered trusted comment") << "comment" << 1;
    QTest::newRow("an entry without a hash, nothing fetched") << "unhashed" << 0;
}

void tst_Installation::signedReleases()
{
    QFETCH(QString, change);
    QFETCH(int, expectedRequests);
    if (!minisignInstalled())
        SKIP_WHERE_MISSING("the minisign command is not installed");
    QTemporaryDir keys;
    const MinisignKey key = makeMinisignKey(keys.path(), "publisher");
    QVERIFY2(!key.publicKey.isEmpty(), "minisign made no key");

    // The publisher's next key, trusted beside the current one.
    const bool twoKeys = change == "second key" || change == "unlisted key";
    const MinisignKey next = twoKeys ? makeMinisignKey(keys.path(), "next") : MinisignKey();
    const MinisignKey other = change.endsWith("key") ? makeMinisignKey(keys.path(), "other") : MinisignKey();
    const QByteArray trusted = twoKeys ? key.publicKey + ';' + next.publicKey : key.publicKey;

    ReleaseSetup setup({oldCore}, {hashed(newCore), change == "unhashed" ? newRender : hashed(newRender)});
    const QString manifestPath = setup.app.filePath("download/version.xml");
    const MinisignKey &signer = change == "second key" ? next : change.endsWith("key") ? other : key;
    QByteArray signature = minisignSignature(signer, contentOf(manifestPath), keys.path());
    QVERIFY2(!signature.isEmpty(), "minisign made no signature");
    if (change == "truncated")
        signature.chop(signature.size() / 2);
    if (change == "comment")
        signature.replace("trusted comment: ", "trusted comment: not ");
    if (change == "manifest")
        QVERIFY(writeFile(manifestPath, contentOf(manifestPath).replace("notes", "Notes")));
    if (change != "missing")
        setup.server.setResponse((releasePath + "v2.0.0/version.xml.minisig").toUtf8(), ScriptedResponse::ok(signature));
    const QMap<QString, QByteArray> before = snapshot(setup.app.path());
    setup.openUpdater()->setPublicKey(trusted);
    setup.install();

    QCOMPARE(setup.requestedPaths().size(), expectedRequests);
    if (expectedRequests == 3) {
        QCOMPARE(setup.installedContent(newCore), contentFor(newCore));
        QCOMPARE(setup.installedContent(newRender), contentFor(newRender));
        return;
    }
    QCOMPARE(snapshot(setup.app.path()), before);
    QCOMPARE(setup.error().kind, UpdateError::Kind::NotVerified);
    QVERIFY2(setup.error().cause.plainWords().contains("could not be verified as coming from the publisher"),
             qPrintable(setup.error().cause.plainWords()));
    QVERIFY2(debugLines.filter("not installed").size() == 1, qPrintable(debugLines.join('\n')));
}

void tst_Installation::olderReleaseRefused_data()
{
    QTest::addColumn<QByteArray>("installed");
    QTest::addColumn<QByteArray>("offered");
    QTest::addColumn<bool>("keyed");
    QTest::addColumn<QString>("refusal");   // empty: installs

    const QString older = QStringLiteral("older than the installed one and was not installed");
    QTest::newRow("older refused") << QByteArray("1800000000") << QByteArray("1700000000") << true << older;
    QTest::newRow("equal accepted") << QByteArray("1800000000") << QByteArray("1800000000") << true << QString();
    QTest::newRow("newer accepted") << QByteArray("1800000000") << QByteArray("1800000001") << true << QString();
    QTest::newRow("missing refused when the installed one has it")
        << QByteArray("1800000000") << QByteArray() << true << older;
    QTest::newRow("missing accepted without a key") << QByteArray("1800000000") << QByteArray() << false << QString();
    QTest::newRow("older refused without a key too")
        << QByteArray("1800000000") << QByteArray("1700000000") << false << older;
    QTest::newRow("malformed refused") << QByteArray() << QByteArray("2026-12-08") << true
                                       << "publication time \"2026-12-08\" is not a whole number of seconds";
    QTest::newRow("the first one accepted") << QByteArray() << QByteArray("1700000000") << true << QString();
}

// A signed manifest served again after a newer one was installed would take
// the user back to a release with known holes.
void tst_Installation::olderReleaseRefused()
{
    QFETCH(QByteArray, installed);
    QFETCH(QByteArray, offered);
    QFETCH(bool, keyed);
    QFETCH(QString, refusal);
    if (keyed && !minisignInstalled())
        SKIP_WHERE_MISSING("the minisign command is not installed");
    const auto published = [](const QByteArray &time) {
        return time.isNull() ? QByteArray() : " published=\"" + time + '"';
    };
    ReleaseSetup setup({oldCore}, {hashed(newCore)});
    setup.setInstalledRootAttributes(published(installed));
    setup.publishManifest(published(offered));
    QTemporaryDir keys;
    const MinisignKey key = keyed ? makeMinisignKey(keys.path(), "publisher") : MinisignKey();
    if (keyed) {
        const QByteArray signature =
            minisignSignature(key, contentOf(setup.app.filePath("download/version.xml")), keys.path());
        QVERIFY2(!signature.isEmpty(), "minisign made no signature");
        setup.server.setResponse((releasePath + "v2.0.0/version.xml.minisig").toUtf8(), ScriptedResponse::ok(signature));
    }
    const QMap<QString, QByteArray> before = snapshot(setup.app.path());
    setup.openUpdater()->setPublicKey(key.publicKey);
    setup.install();

    if (refusal.isEmpty()) {
        QCOMPARE(setup.installedContent(newCore), contentFor(newCore));
        QVERIFY2(contentOf(setup.app.filePath("version.xml")).contains(published(offered)), "the time was not kept");
        return;
    }
    QCOMPARE(snapshot(setup.app.path()), before);
    QVERIFY2(setup.requestedPaths().isEmpty(), "something was fetched for a refused release");
    const QString told = setup.error().cause.plainWords() + " (" + setup.error().technical + ")";
    QVERIFY2(told.contains(refusal) && setup.error().kind != UpdateError::Kind::Unfinished, qPrintable(told));
    QVERIFY2(debugLines.filter("not installed").size() == 1, qPrintable(debugLines.join('\n')));
}

void tst_Installation::unreadableDownloadedManifestChangesNothing()
{
    ReleaseSetup setup({oldCore}, {newCore});
    setup.openUpdater();
    const QByteArray local = contentOf(setup.app.filePath("version.xml"));
    writeFile(setup.app.filePath("download/version.xml"), "<filelist");   // spoilt after detection
    setup.install();

    QVERIFY2(setup.requestedPaths().isEmpty(), "files were fetched for a manifest that cannot be read");
    QCOMPARE(setup.installedContent(oldCore), contentFor(oldCore));
    QCOMPARE(contentOf(setup.app.filePath("version.xml")), local);
    QVERIFY2(QFileInfo::exists(setup.app.filePath("download/version.xml")), "the staging area went");
}

void tst_Installation::handOverStartsTheApplicationWithItsPath()
{
    ReleaseSetup setup({}, {newCore});
    const QString program = setup.app.filePath("Brenvoth.exe");
    writeFile(program, "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"$0.args\"\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setup.openWindow();
    setup.clickUpdate();
    QCOMPARE(setup.updateButton()->text(), QStringLiteral("OK"));

    setup.updateButton()->click();
    QTRY_COMPARE(contentOf(program + ".args"), "1\n" + program.toUtf8() + "\n");
}

// Without an update there is no trial: a Brenvoth that cannot start now may be started by another click.
void tst_Installation::failedStartIsRetried()
{
    ReleaseSetup setup({}, {newCore});
    setup.serve(newCore, ScriptedResponse::withStatus(404, "Not Found", "gone"));
    setup.openWindow();
    setup.clickUpdate();
    QVERIFY(setup.error().failed());

    setup.updateButton()->click();   // no Brenvoth.exe yet
    QCOMPARE(setup.updateButton()->text(), QStringLiteral("OK"));
    QVERIFY(setup.window->isVisible());

    const QString program = setup.app.filePath("Brenvoth.exe");
    writeFile(program, "#!/bin/sh\ntouch \"$0.started\"\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setup.updateButton()->click();
    QTRY_VERIFY2(QFileInfo::exists(program + ".started"), "the second click did not start the application");
}

void tst_Installation::trialAfterUpdate_data()
{
    QTest::addColumn<QByteArray>("newProgram");
    QTest::addColumn<QString>("failure");   // empty: the new release passes its trial
    QTest::newRow("killed by a signal at once") << QByteArray("#!/bin/sh\nkill -SEGV $$\n") << "ended with signal 11";
    QTest::newRow("not a program that can start") << QByteArray("MZ\x90\0 not here") << "cannot be started";
    QTest::newRow("ends at once with status 0") << QByteArray("#!/bin/sh\nexit 0\n") << QString();
    QTest::newRow("ends at once with status 3") << QByteArray("#!/bin/sh\nexit 3\n") << QString();
    QTest::newRow("runs past the trial")
        << QByteArray("#!/bin/sh\necho $$ > \"$0.pid\"\nexec sleep 60\n") << QString();
}

// A release whose Brenvoth does not start is replaced by the one before it,
// whole, under its own manifest, and not offered again; one that starts
// keeps no copy of the one before.
void tst_Installation::trialAfterUpdate()
{
#ifndef Q_OS_LINUX
    QSKIP("shell scripts stand in for Brenvoth here");
#else
    QFETCH(QByteArray, newProgram);
    QFETCH(QString, failure);
    const Entry oldProgram{"", "Brenvoth.exe", "1.0.0"}, newProgram2{"", "Brenvoth.exe", "2.0.0"};
    ReleaseSetup setup({oldCore, oldProgram}, {newCore, newProgram2, newJpeg});
    setup.trialTime = 1500;
    const QString program = setup.app.filePath("Brenvoth.exe");
    const QByteArray oldScript = "#!/bin/sh\ntouch \"$0.old-started\"\n";
    writeFile(program, oldScript);
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setup.serve(newProgram2, ScriptedResponse::ok(newProgram));
    const QByteArray oldManifest = contentOf(setup.app.filePath("version.xml"));
    const QString kept = setup.app.filePath(".updater/previous");
    setup.openWindow();
    setup.clickUpdate();
    QVERIFY2(!setup.error().failed(), qPrintable(setup.error().technical));
    QVERIFY2(QFileInfo::exists(kept), "the replaced release is not kept");

    QSignalSpy trialEnded(setup.controller.get(), &UpdateController::trialEnded);
    setup.updateButton()->click();
    QVERIFY2(!setup.window->isVisible(), "the window stays during the trial");
    QTRY_COMPARE(trialEnded.count(), 1);
    QVERIFY2(!QFileInfo::exists(kept), "the kept copy is left");
    if (failure.isEmpty()) {
        QCOMPARE(setup.installedContent(newCore), contentFor(newCore));
        QCOMPARE(contentOf(program), newProgram);
        QVERIFY(!setup.window->isVisible());
        if (newProgram.contains("exec sleep")) {
            const pid_t pid = pid_t(contentOf(program + ".pid").trimmed().toLongLong());
            setup.window.reset();
            setup.controller.reset();   // as when the updater quits
            QVERIFY2(pid > 0 && ::kill(pid, 0) == 0, "Brenvoth did not outlive its trial and the updater");
            ::kill(pid, SIGTERM);
        }
        return;
    }
    QCOMPARE(setup.installedContent(oldCore), contentFor(oldCore));
    QCOMPARE(contentOf(program), oldScript);
    QCOMPARE(contentOf(setup.app.filePath("version.xml")), oldManifest);
    QVERIFY2(!QFileInfo::exists(setup.app.filePath("plugins")), "the failed release's own files are left");
    QTRY_VERIFY2(QFileInfo::exists(program + ".old-started"), "the previous Brenvoth was not started");
    QVERIFY(setup.window->isVisible());
    QVERIFY2(setup.text().contains("Brenvoth 2.0.0 did not start on this PC (" + failure), qPrintable(setup.text()));
    QVERIFY2(setup.text().contains("Brenvoth 1.0.0 was put back"), qPrintable(setup.text()));

    setup.publishManifest();
    QVERIFY(setup.openWindow()->pending().updateNames.isEmpty());
    QVERIFY2(setup.text().contains("Brenvoth 2.0.0 did not start on this PC, so it is not installed again. "
                                   "The installed Brenvoth 1.0.0 is kept."), qPrintable(setup.text()));
    writeFile(setup.app.filePath("download/version.xml"), manifest("3.0.0", {newCore}));
    QCOMPARE(setup.openWindow()->pending().updateNames, QStringList{"core.dll"});
#endif
}

// Brenvoth, still closing after "Update", is waited for and never ended; the
// window says so meanwhile, and the words go when the update goes on.
void tst_Installation::waitsForBrenvothToClose()
{
#ifndef Q_OS_LINUX
    QSKIP("a copy of sleep stands in for Brenvoth here; under wine a stand-in of its own does");
#else
    ReleaseSetup setup({oldCore, oldRender}, {newCore, newRender});
    const QString program = setup.app.filePath("Brenvoth.exe");
    QVERIFY(QFile::copy(QStandardPaths::findExecutable("sleep"), program));
    QElapsedTimer clock;
    clock.start();
    QProcess brenvoth;
    brenvoth.start(program, {"1.5"});
    QVERIFY(brenvoth.waitForStarted());
    setup.openWindow();
    QStringList shown;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, this, [&] {
        if (!shown.contains(setup.text()))
            shown << setup.text();
    });
    watcher.start(20);

    setup.clickUpdate();

    QVERIFY2(shown.contains("notes\n\nWaiting for Brenvoth to close\u2026"), qPrintable(shown.join(" | ")));
    QVERIFY2(clock.elapsed() >= 1500, "the update went on while Brenvoth was still running");
    QVERIFY(brenvoth.state() == QProcess::NotRunning || brenvoth.waitForFinished(awaitCeilingMsecs));
    QVERIFY2(brenvoth.exitStatus() == QProcess::NormalExit && brenvoth.exitCode() == 0, "Brenvoth was ended");
    QCOMPARE(setup.installedContent(newCore), contentFor(newCore));
    QCOMPARE(setup.text(), QStringLiteral("notes"));
    QCOMPARE(setup.updateButton()->text(), QStringLiteral("OK"));
#endif
}

void tst_Installation::heldFileNamesItsHolder_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("words");

    QTest::newRow("Brenvoth") << "brenvoth.exe"
        << "a file of Brenvoth, plugins/render.dll, is in use by Brenvoth: close Brenvoth and try again";
    QTest::newRow("a backup tool") << "Backup.exe"
        << "a file of Brenvoth, plugins/render.dll, is in use by Backup.exe; try again once Backup.exe is done with it";
    QTest::newRow("unknown") << ""
        << "a file of Brenvoth, plugins/render.dll, is in use by another program; try again in a minute";
}

// Only Brenvoth itself is for the user to close.
void tst_Installation::heldFileNamesItsHolder()
{
    QFETCH(QString, program);
    QFETCH(QString, words);
    QCOMPARE(FailureCause::ofHeldFile("plugins/render.dll", program).plainWords(), words);
}

void tst_Installation::oneUpdaterPerFolder_data()
{
    QTest::addColumn<bool>("holderRuns");
    QTest::newRow("a second updater while one runs changes nothing") << true;
    QTest::newRow("a lock file left by an ended updater, naming a live process, is taken over") << false;
}

// The other updater is this process, whose lock is live, or one that has
// ended and left its file behind, naming a process that runs, as after a
// power cut when the next updater gets the same process id.
void tst_Installation::oneUpdaterPerFolder()
{
    QFETCH(bool, holderRuns);

    ReleaseSetup setup({oldCore}, {newCore});
    const QString lockPath = setup.app.filePath("BrenvothUpdater.lock");
    FolderLock other(lockPath);
    if (holderRuns)
        QCOMPARE(other.tryLock(), FolderLock::Result::Taken);
    else
        QVERIFY(writeFile(lockPath, lockFileNamingThisProcess()));
    const QMap<QString, QByteArray> before = snapshot(setup.app.path());
    const QByteArray staged = contentOf(setup.app.filePath("download/version.xml"));
    setup.openWindow();

    if (!holderRuns) {
        setup.clickUpdate();
        QCOMPARE(setup.installedContent(newCore), contentFor(newCore));
        setup.window.reset();
        setup.controller.reset();
        QVERIFY2(!QFileInfo::exists(lockPath), "the updater left its lock behind");
        return;
    }
    QCOMPARE(setup.text(), QStringLiteral("An update of Brenvoth is already running."));
    QCOMPARE(setup.controller->pending().updateNames, QStringList());
    QCOMPARE(setup.updateButton()->text(), QStringLiteral("OK"));
    setup.updateButton()->click();
    QVERIFY2(!setup.window->isVisible(), "OK did not close the second updater");
    QCOMPARE(snapshot(setup.app.path()), before);
    QCOMPARE(contentOf(setup.app.filePath("download/version.xml")), staged);
    QCOMPARE(setup.requestedPaths(), QStringList());
    QVERIFY2(QFileInfo::exists(lockPath) && other.isLocked(), "the running updater's lock was taken");
}

void tst_Installation::closingDuringTransferLetsTheInstallationFinish_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("duringFile");
    QTest::newRow("Cancle during the first file") << "update" << 0;
    QTest::newRow("Cancle during the last file") << "update" << 1;
    QTest::newRow("close button during the first file") << "closeButton" << 0;
}

void tst_Installation::closingDuringTransferLetsTheInstallationFinish()
{
    QFETCH(QString, button);
    QFETCH(int, duringFile);

    ReleaseSetup setup({oldCore}, {newCore, newRender});
    for (const Entry &file : setup.published)
        setup.serve(file, ScriptedResponse::ok(contentFor(file).repeated(1000)).inPieces(1000, 20));
    const QString program = setup.app.filePath("Brenvoth.exe");
    writeFile(program, "#!/bin/sh\ntouch \"$0.started\"\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setup.openWindow();

    auto *target = setup.window->findChild<QPushButton *>(button);
    QString textWhenClicked;
    QObject::connect(setup.progressBar(), &QProgressBar::valueChanged, target, [&](int value) {
        const bool inTheFile = value > duringFile * 50 && value < (duringFile + 1) * 50;
        if (inTheFile && textWhenClicked.isEmpty()) {
            textWhenClicked = setup.updateButton()->text();
            QTimer::singleShot(0, target, &QPushButton::click);   // as a user's click would arrive
        }
    });
    setup.clickUpdate();

    QCOMPARE(textWhenClicked, QStringLiteral("Cancle"));
    QVERIFY2(!setup.window->isVisible(), "the window stayed open");
    for (const Entry &file : setup.published)
        QCOMPARE(setup.installedContent(file), contentFor(file).repeated(1000));
    QVERIFY(contentOf(setup.app.filePath("version.xml")).startsWith("<filelist curVersion=\"2.0.0\">"));
    QTest::qWait(200);
    QVERIFY2(!QFileInfo::exists(program + ".started"), "the application was started");
}

QTEST_MAIN(tst_Installation)
#include "tst_installation.moc"
