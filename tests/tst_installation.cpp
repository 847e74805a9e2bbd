#include "scriptedhttpserver.h"
#include "updatewindow.h"
#include "testfiles.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

struct Entry
{
    QString dir;
    QString name;
    QString version;
};
using Entries = QVector<Entry>;

const QString releasePath = QStringLiteral("/brenvothDownload/windows/");

QByteArray manifest(const QString &curVersion, const Entries &files, const QByteArray &info = "notes")
{
    QByteArray xml = "<filelist curVersion=\"" + curVersion.toUtf8() + "\">\n"
                     "\t<software version=\"" + curVersion.toUtf8() + "\" info=\"" + info + "\">\n";
    for (const Entry &file : files) {
        xml += "\t\t<file name=\"" + file.name.toUtf8() + "\" dir=\"" + file.dir.toUtf8()
               + "\" version=\"" + file.version.toUtf8() + "\"/>\n";
    }
    return xml + "\t</software>\n</filelist>\n";
}

QByteArray contentFor(const Entry &file)
{
    return QStringLiteral("%1%2 at %3").arg(file.dir, file.name, file.version).toUtf8();
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

QStringList debugLines;
void captureDebug(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtDebugMsg)
        debugLines << text;
}

// An application directory with release 1.0.0 installed, a published 2.0.0
// on a scripted loopback server, and the updater's window on both.
class Installation
{
public:
    Installation(const Entries &installed, const Entries &published)
        : installed(installed), published(published)
    {
        server.listen();
        writeFile(app.filePath("version.xml"), manifest("1.0.0", installed));
        for (const Entry &file : installed)
            writeFile(app.filePath(file.dir + file.name), contentFor(file));
        for (const Entry &file : published)
            serve(file, ScriptedResponse::ok(contentFor(file)));
        publishManifest();
    }

    void serve(const Entry &file, const ScriptedResponse &response)
    {
        server.setResponse(urlPath(file).toUtf8(), response);
    }
    static QString urlPath(const Entry &file) { return releasePath + "v2.0.0/" + file.dir + file.name; }
    void publishManifest() { writeFile(app.filePath("download/version.xml"), manifest("2.0.0", published)); }

    UpdateWindow *openWindow()
    {
        window.reset(new UpdateWindow(app.path(), server.url(releasePath.toUtf8())));
        window->setStallTimeout(500);
        window->show();
        return window.get();
    }
    QPushButton *updateButton() const { return window->findChild<QPushButton *>("update"); }
    QProgressBar *progressBar() const { return window->findChild<QProgressBar *>("progressBar"); }
    QString text() const { return window->findChild<QTextEdit *>("textEdit")->toPlainText(); }

    // Runs the whole installation: it returns when the click does.
    void clickUpdate()
    {
        debugLines.clear();
        const QtMessageHandler previous = qInstallMessageHandler(captureDebug);
        updateButton()->click();
        qInstallMessageHandler(previous);
    }

    QStringList requestedPaths() const
    {
        QStringList paths;
        for (const QByteArray &line : server.requestLines())
            paths << QString::fromUtf8(line.split(' ').value(1));
        return paths;
    }
    QByteArray installedContent(const Entry &file) const { return contentOf(app.filePath(file.dir + file.name)); }

    QTemporaryDir app;
    ScriptedHttpServer server;
    Entries installed;
    Entries published;
    std::unique_ptr<UpdateWindow> window;
};

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

} // namespace

Q_DECLARE_METATYPE(Entry)

class tst_Installation : public QObject
{
    Q_OBJECT

private slots:
    void wholeUpdate();
    void manifestIsRewrittenExactly_data();
    void manifestIsRewrittenExactly();
    void progressReachesOkOnlyAtTheEnd_data();
    void progressReachesOkOnlyAtTheEnd();
    void emptyFileInstalls();
    void failedFileIsKeptAndPendingAgain_data();
    void failedFileIsKeptAndPendingAgain();
    void unsafeEntriesAreRefused_data();
    void unsafeEntriesAreRefused();
    void unreadableDownloadedManifestKeepsTheLocalOne();
    void handOverStartsTheApplicationWithItsPath();
    void failedStartIsRetried();
    void closingDuringTransferLetsTheInstallationFinish_data();
    void closingDuringTransferLetsTheInstallationFinish();
};

void tst_Installation::wholeUpdate()
{
    Installation setup({oldCore, oldRender, readme}, {newCore, newRender, readme, newJpeg});
    setup.openWindow();
    QCOMPARE(setup.window->pendingNames(), QStringList({"core.dll", "render.dll", "jpeg.dll"}));

    setup.clickUpdate();

    QCOMPARE(setup.requestedPaths(),
             QStringList({releasePath + "v2.0.0/core.dll", releasePath + "v2.0.0/plugins/render.dll",
                          releasePath + "v2.0.0/plugins/imageformats/jpeg.dll"}));
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

    Installation setup({}, {});
    setup.server.setResponse((releasePath + (downloaded.contains("curVersion") ? "v2.0.0" : "v1.0.0")
                              + "/a.dll").toUtf8(), ScriptedResponse::ok("a"));
    // A longer local manifest: nothing of it may be left beyond the new end.
    writeFile(setup.app.filePath("version.xml"), manifest("1.0.0", numbered(50)));
    writeFile(setup.app.filePath("download/version.xml"), downloaded);
    setup.openWindow();
    setup.clickUpdate();

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
    Installation setup({}, files);
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
    Installation setup({}, {empty});
    setup.serve(empty, ScriptedResponse::ok(QByteArray()));
    writeFile(setup.app.filePath("empty.cfg"), "old content");
    setup.openWindow();
    setup.clickUpdate();
    QCOMPARE(setup.installedContent(empty), QByteArray());
    QCOMPARE(setup.updateButton()->text(), QStringLiteral("OK"));
    QCOMPARE(setup.progressBar()->value(), 100);
}

void tst_Installation::failedFileIsKeptAndPendingAgain_data()
{
    QTest::addColumn<Entry>("failing");
    QTest::addColumn<ScriptedResponse>("response");
    QTest::addColumn<bool>("destinationIsFolder");

    QTest::newRow("404") << newRender << ScriptedResponse::withStatus(404, "Not Found", "gone") << false;
    QTest::newRow("redirect") << newRender << ScriptedResponse::withStatus(302, "Found", "elsewhere")
                                                  .withHeader("Location", "/elsewhere") << false;
    QTest::newRow("truncated body") << newRender << ScriptedResponse::ok(QByteArray(5000, 'r')).truncatedAfter(1000) << false;
    QTest::newRow("stall") << newRender << ScriptedResponse::ok(QByteArray(5000, 'r')).stalledAfter(1000) << false;
    QTest::newRow("unwritable destination") << newRender << ScriptedResponse::ok("render 2") << true;
    QTest::newRow("new file that fails") << newJpeg << ScriptedResponse::withStatus(500, "Oops") << false;
}

void tst_Installation::failedFileIsKeptAndPendingAgain()
{
    QFETCH(Entry, failing);
    QFETCH(ScriptedResponse, response);
    QFETCH(bool, destinationIsFolder);

    Installation setup({oldCore, oldRender}, {newCore, newRender, newJpeg});
    setup.serve(failing, response);
    const QString destination = setup.app.filePath(failing.dir + failing.name);
    if (destinationIsFolder) {
        QFile::remove(destination);
        QVERIFY(QDir().mkpath(destination));
    }
    const QByteArray before = contentOf(destination);
    setup.openWindow();
    setup.clickUpdate();

    QCOMPARE(contentOf(destination), before);
    for (const Entry &file : setup.published) {
        if (file.name != failing.name)
            QCOMPARE(setup.installedContent(file), contentFor(file));
    }
    QVERIFY2(debugLines.filter(failing.name + " not updated").size() == 1, qPrintable(debugLines.join('\n')));
    QVERIFY2(setup.text().contains("1 file could not be updated"), qPrintable(setup.text()));
    QCOMPARE(setup.updateButton()->text(), QStringLiteral("OK"));

    // The next start, with the same release, offers exactly the failed file again.
    setup.publishManifest();
    UpdateWindow next(setup.app.path(), QString());
    QCOMPARE(next.pendingNames(), QStringList(failing.name));
    QCOMPARE(next.pendingDirs(), QStringList(failing.dir));
}

void tst_Installation::unsafeEntriesAreRefused_data()
{
    QTest::addColumn<Entry>("unsafe");
    QTest::newRow("dot-dot segment") << Entry{"../", "evil.dll", "2.0.0"};
    QTest::newRow("dot-dot deeper") << Entry{"plugins/../../", "evil.dll", "2.0.0"};
    QTest::newRow("absolute folder") << Entry{"/tmp/", "evil.dll", "2.0.0"};
    QTest::newRow("drive letter") << Entry{"C:/", "evil.dll", "2.0.0"};
    QTest::newRow("backslash") << Entry{"..\\", "evil.dll", "2.0.0"};
    QTest::newRow("climbing name") << Entry{"", "../evil.dll", "2.0.0"};
}

void tst_Installation::unsafeEntriesAreRefused()
{
    QFETCH(Entry, unsafe);
    Installation setup({oldCore}, {unsafe, newCore});
    QDir outside(setup.app.path());
    outside.cdUp();
    const QStringList before = outside.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    setup.openWindow();
    setup.clickUpdate();

    QCOMPARE(setup.requestedPaths(), QStringList(Installation::urlPath(newCore)));
    QCOMPARE(outside.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QCOMPARE(setup.installedContent(newCore), contentFor(newCore));
    QVERIFY2(debugLines.filter(unsafe.name + " not updated").size() == 1, qPrintable(debugLines.join('\n')));
    QVERIFY2(setup.text().contains("1 file could not be updated"), qPrintable(setup.text()));
}

void tst_Installation::unreadableDownloadedManifestKeepsTheLocalOne()
{
    Installation setup({oldCore}, {newCore});
    setup.openWindow();
    const QByteArray local = contentOf(setup.app.filePath("version.xml"));
    writeFile(setup.app.filePath("download/version.xml"), "<filelist");   // spoilt after detection
    setup.clickUpdate();

    QCOMPARE(setup.installedContent(newCore), contentFor(newCore));
    QCOMPARE(contentOf(setup.app.filePath("version.xml")), local);
    QVERIFY2(QFileInfo::exists(setup.app.filePath("download/version.xml")),
             "the staging area went although the manifest was not written");
}

void tst_Installation::handOverStartsTheApplicationWithItsPath()
{
    Installation setup({}, {newCore});
    const QString program = setup.app.filePath("Brenvoth.exe");
    writeFile(program, "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"$0.args\"\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setup.openWindow();
    setup.clickUpdate();
    QCOMPARE(setup.updateButton()->text(), QStringLiteral("OK"));

    setup.updateButton()->click();
    QTRY_COMPARE(contentOf(program + ".args"), "1\n" + program.toUtf8() + "\n");
}

void tst_Installation::failedStartIsRetried()
{
    Installation setup({}, {newCore});
    setup.openWindow();
    setup.clickUpdate();

    setup.updateButton()->click();   // no Brenvoth.exe yet
    QCOMPARE(setup.updateButton()->text(), QStringLiteral("OK"));
    QVERIFY(setup.window->isVisible());

    const QString program = setup.app.filePath("Brenvoth.exe");
    writeFile(program, "#!/bin/sh\ntouch \"$0.started\"\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setup.updateButton()->click();
    QTRY_VERIFY2(QFileInfo::exists(program + ".started"), "the second click did not start the application");
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

    Installation setup({oldCore}, {newCore, newRender});
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
