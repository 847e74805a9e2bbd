#include "manifest.h"
#include "perfiledetection.h"
#include "pendingupdate.h"
#include "testupdater.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QTextEdit>
#include <QXmlStreamWriter>
#include <QtTest>

namespace {

// Stand-ins for manifest contents that are not files of text.
const QByteArray noFile = "(no file)";
const QByteArray directory = "(a directory)";

const QString formLabel = QStringLiteral("New Version: 1.0.0");
const QString formNotes = QStringLiteral("There is no version infomation!");
const QString formatError = QStringLiteral("xml format error !");
const QString rootError = QStringLiteral("xml body is not started with \u2018filelist\u2019 !");

const QByteArray example =
    "<filelist curVersion='2.1.0'>\n"
    "    <software version='2.0.0' info='First release.'>\n"
    "        <file name='core.dll' dir='' version='2.0.0'/>\n"
    "        <file name='readme.txt' dir='' version='2.0.0'/>\n"
    "    </software>\n"
    "    <software version='2.1.0' info='Faster start-up. Fixed printing.'>\n"
    "        <file name='core.dll' dir='' version='2.1.0'/>\n"
    "        <file name='render.dll' dir='plugins/' version='1.4.2'/>\n"
    "        <file name='readme.txt' dir='' version='2.0.0'/>\n"
    "    </software>\n"
    "</filelist>\n";

const QByteArray installed200 =
    "<filelist curVersion='2.0.0'><software version='2.0.0'>"
    "<file name='core.dll' dir='' version='2.0.0'/>"
    "<file name='readme.txt' dir='' version='2.0.0'/>"
    "</software></filelist>";

QByteArray release21(const QByteArray &files)
{
    return "<filelist curVersion='2.1.0'><software version='2.1.0'>" + files + "</software></filelist>";
}

// A manifest whose deepest element, a pending file, lies at the given depth.
QByteArray nestedTo(int depth)
{
    const int wrappers = depth - 3;
    return "<filelist curVersion='1'><software version='1'>" + QByteArray("<w>").repeated(wrappers)
        + "<file name='deep.dll' dir='' version='1'/>" + QByteArray("</w>").repeated(wrappers)
        + "</software></filelist>";
}

QByteArray billionLaughs()
{
    QByteArray entities = "<!ENTITY lol0 'lol'>";
    for (int i = 1; i < 10; ++i)
        entities += "<!ENTITY lol" + QByteArray::number(i) + " '"
            + QByteArray("&lol" + QByteArray::number(i - 1) + ";").repeated(10) + "'>";
    return "<!DOCTYPE filelist [" + entities + "]><filelist curVersion='&lol9;'/>";
}

QByteArray quadraticExpansion()
{
    return "<!DOCTYPE filelist [<!ENTITY e '" + QByteArray(4000, 'x') + "'>]>"
        "<filelist curVersion='1'><software version='1' info='" + QByteArray("&e;").repeated(100000)
        + "'/></filelist>";
}

QByteArray utf16(const QString &text)
{
    return QTextCodec::codecForName("UTF-16")->fromUnicode(text);
}

QStringList capturedLog;

void captureMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    capturedLog.append(message);
}

bool place(const QString &path, const QByteArray &content)
{
    if (content == noFile)
        return !QFile::exists(path) || QFile::remove(path);
    if (content == directory)
        return QDir().mkpath(path);
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

// An application directory with a downloaded and a local manifest.
class AppDir
{
public:
    bool place(const QByteArray &downloaded, const QByteArray &local)
    {
        return dir.isValid() && QDir(dir.path()).mkpath(QStringLiteral("download"))
            && ::place(downloadedManifest(), downloaded) && ::place(localManifest(), local);
    }
    QString path() const { return dir.path(); }
    QString downloadedManifest() const { return dir.path() + QStringLiteral("/download/version.xml"); }
    QString localManifest() const { return dir.path() + QStringLiteral("/version.xml"); }

private:
    QTemporaryDir dir;
};

struct Detected
{
    QString newVersion;
    QStringList dirs;
    QStringList names;
    QString label;
    QString notes;
    QStringList log;
};

Detected detected(const UpdateWindow &window)
{
    const PendingUpdate &pending = controllerOf(window)->pending();
    return {pending.newVersion, pending.updateDirs, pending.updateNames,
            window.findChild<QLabel *>(QStringLiteral("version"))->text(),
            window.findChild<QTextEdit *>(QStringLiteral("textEdit"))->toPlainText(), capturedLog};
}

// The window that the updater builds at start, its log captured instead of printed.
UpdateWindow *startAt(const AppDir &appDir)
{
    capturedLog.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureMessage);
    auto *window = openUpdater(appDir.path());
    qInstallMessageHandler(previous);
    return window;
}

Detected detectAt(const AppDir &appDir)
{
    const QScopedPointer<UpdateWindow> window(startAt(appDir));
    return detected(*window);
}

} // namespace

class tst_Detection : public QObject
{
    Q_OBJECT

private slots:
    void workedExample();
    void outcomes_data();
    void outcomes();
    void failureKeepsEarlierResults_data();
    void failureKeepsEarlierResults();
    void readingRules_data();
    void readingRules();
    void hostileManifests_data();
    void hostileManifests();
    void indexedDetectionMatchesPerFileRule();
    void integrity_data();
    void integrity();
};

void tst_Detection::workedExample()
{
    AppDir appDir;
    QVERIFY(appDir.place(example, installed200));
    const Detected result = detectAt(appDir);
    QCOMPARE(result.newVersion, QStringLiteral("2.1.0"));
    QCOMPARE(result.label, QStringLiteral("New Version: 2.1.0"));
    QCOMPARE(result.notes, QStringLiteral("Faster start-up. Fixed printing."));
    QCOMPARE(result.dirs, QStringList({QString(), QStringLiteral("plugins/")}));
    QCOMPARE(result.names, QStringList({QStringLiteral("core.dll"), QStringLiteral("render.dll")}));
    QCOMPARE(result.log, QStringList());
}

void tst_Detection::outcomes_data()
{
    QTest::addColumn<QByteArray>("downloaded");
    QTest::addColumn<QString>("newVersion");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("notes");
    QTest::addColumn<QStringList>("log");

    const QStringList none;
    QTest::newRow("no downloaded manifest") << noFile << QString() << none << formLabel
        << formNotes << QStringList{QStringLiteral("download version file failed!")};
    QTest::newRow("downloaded manifest cannot be opened") << directory << QString() << none
        << formLabel << formNotes << QStringList{QStringLiteral("open download xml file failed!")};
    QTest::newRow("not well-formed") << QByteArray("<filelist curVersion='2.1.0'>") << QString()
        << none << formLabel << formNotes << QStringList{formatError};
    QTest::newRow("empty file") << QByteArray() << QString() << none << formLabel << formNotes
        << QStringList{formatError};
    QTest::newRow("root in other letter case") << QByteArray("<FileList curVersion='2.1.0'/>")
        << QString() << none << formLabel << formNotes << QStringList{rootError};
    QTest::newRow("root with a namespace prefix")
        << QByteArray("<b:filelist xmlns:b='urn:brenvoth' curVersion='2.1.0'/>") << QString() << none
        << formLabel << formNotes << QStringList{rootError};
    QTest::newRow("curVersion present but empty")
        << QByteArray("<filelist curVersion=''><software version='' info='Unused'>"
                      "<file name='a.dll' dir='' version='1'/></software></filelist>")
        << QString() << none << QStringLiteral("New Version: ") << formNotes << none;
    QTest::newRow("no release has the new number") << QByteArray("<filelist curVersion='3.0.0'>"
        "<software version='2.1.0' info='Unused'><file name='a.dll' dir='' version='1'/>"
        "</software></filelist>")
        << QStringLiteral("3.0.0") << none << QStringLiteral("New Version: 3.0.0") << formNotes << none;
    QTest::newRow("nothing differs") << QByteArray("<filelist curVersion='2.0.0'>"
        "<software version='2.0.0' info='Same again.'><file name='core.dll' dir='' version='2.0.0'/>"
        "</software></filelist>")
        << QStringLiteral("2.0.0") << none << QStringLiteral("New Version: 2.0.0")
        << QStringLiteral("Same again.") << none;
    QTest::newRow("files differ, release without notes")
        << release21("<file name='core.dll' dir='' version='2.1.0'/>") << QStringLiteral("2.1.0")
        << QStringList{QStringLiteral("core.dll")} << QStringLiteral("New Version: 2.1.0") << formNotes
        << none;
    QTest::newRow("notes with markup are rich text")
        << QByteArray("<filelist curVersion='2.1.0'><software version='2.1.0' "
                      "info='&lt;b&gt;Faster&lt;/b&gt; start-up'/></filelist>")
        << QStringLiteral("2.1.0") << none << QStringLiteral("New Version: 2.1.0")
        << QStringLiteral("Faster start-up") << none;
    QTest::newRow("two releases with the new number") << QByteArray("<filelist curVersion='2.1.0'>"
        "<software version='2.1.0' info='First.'><file name='core.dll' dir='' version='2.1.0'/></software>"
        "<software version='2.1.0' info='Second.'><file name='other.dll' dir='' version='2.1.0'/>"
        "</software></filelist>")
        << QStringLiteral("2.1.0") << QStringList{QStringLiteral("core.dll")}
        << QStringLiteral("New Version: 2.1.0") << QStringLiteral("First.") << none;
    QTest::newRow("no curVersion names release 1.0.0") << QByteArray("<filelist>"
        "<software version='2.1.0'><file name='core.dll' dir='' version='2.1.0'/></software>"
        "<software version='1.0.0' info='Old.'><file name='old.dll' dir='' version='1'/></software>"
        "</filelist>")
        << QStringLiteral("1.0.0") << QStringList{QStringLiteral("old.dll")} << formLabel
        << QStringLiteral("Old.") << none;
}

void tst_Detection::outcomes()
{
    QFETCH(QByteArray, downloaded);
    AppDir appDir;
    QVERIFY(appDir.place(downloaded, installed200));
    const Detected result = detectAt(appDir);
    QTEST(result.newVersion, "newVersion");
    QTEST(result.names, "names");
    QCOMPARE(result.dirs.size(), result.names.size());
    QTEST(result.label, "label");
    QTEST(result.notes, "notes");
    QTEST(result.log, "log");
}

void tst_Detection::failureKeepsEarlierResults_data()
{
    QTest::addColumn<QByteArray>("downloaded");

    QTest::newRow("no downloaded manifest") << noFile;
    QTest::newRow("downloaded manifest cannot be opened") << directory;
    QTest::newRow("not well-formed") << QByteArray("<filelist>");
    QTest::newRow("root is not filelist") << QByteArray("<software version='2.1.0'/>");
}

// A manifest that cannot be used gives nothing from part of it, whatever an
// earlier reading found.
void tst_Detection::failureKeepsEarlierResults()
{
    QFETCH(QByteArray, downloaded);
    AppDir first;
    AppDir failing;
    QVERIFY(first.place(example, installed200));
    QVERIFY(failing.place(downloaded, installed200));
    const PendingUpdate before = compareManifests(first.downloadedManifest(), first.localManifest());
    QVERIFY2(!before.updateNames.isEmpty(), "the first detection found nothing to keep");

    const PendingUpdate after = compareManifests(failing.downloadedManifest(), failing.localManifest());
    QVERIFY(after.status != Manifest::Status::Read);
    QCOMPARE(after.newVersion, QString());
    QCOMPARE(after.updateDirs, QStringList());
    QCOMPARE(after.updateNames, QStringList());
    QCOMPARE(after.notes, QString());
    QCOMPARE(before.newVersion, QStringLiteral("2.1.0"));
}

void tst_Detection::readingRules_data()
{
    QTest::addColumn<QByteArray>("downloaded");
    QTest::addColumn<QByteArray>("local");
    QTest::addColumn<QStringList>("dirs");
    QTest::addColumn<QStringList>("names");

    const QByteArray coreAndReadme = release21("<file name='core.dll' dir='' version='2.1.0'/>"
                                               "<file name='readme.txt' dir='' version='2.0.0'/>");
    const QStringList twoInRoot{QString(), QString()};
    const QStringList both{QStringLiteral("core.dll"), QStringLiteral("readme.txt")};
    const QStringList core{QStringLiteral("core.dll")};
    const QStringList inRoot{QString()};

    QTest::newRow("local manifest missing") << coreAndReadme << noFile << twoInRoot << both;
    QTest::newRow("local manifest not well-formed") << coreAndReadme << installed200.left(40)
        << twoInRoot << both;
    QTest::newRow("local root in other letter case") << coreAndReadme
        << QByteArray(installed200).replace("filelist", "FileList") << twoInRoot << both;
    QTest::newRow("local root with a namespace prefix") << coreAndReadme
        << QByteArray("<b:filelist xmlns:b='urn:brenvoth' curVersion='2.0.0'><software version='2.0.0'>"
                      "<file name='readme.txt' dir='' version='2.0.0'/></software></b:filelist>")
        << twoInRoot << both;
    QTest::newRow("local without curVersion") << coreAndReadme
        << QByteArray(installed200).replace(" curVersion='2.0.0'", "") << twoInRoot << both;
    QTest::newRow("local curVersion empty") << coreAndReadme
        << QByteArray("<filelist curVersion=''><software version=''>"
                      "<file name='readme.txt' dir='' version='2.0.0'/></software></filelist>")
        << twoInRoot << both;
    QTest::newRow("local current release missing") << coreAndReadme
        << QByteArray(installed200).replace("curVersion='2.0.0'", "curVersion='9.9'") << twoInRoot << both;
    QTest::newRow("two local releases with the current number") << coreAndReadme
        << QByteArray("<filelist curVersion='2.0.0'>"
                      "<software version='2.0.0'><file name='core.dll' dir='' version='2.0.0'/></software>"
                      "<software version='2.0.0'><file name='core.dll' dir='' version='2.1.0'/>"
                      "<file name='readme.txt' dir='' version='2.0.0'/></software></filelist>")
        << twoInRoot << both;
    QTest::newRow("wrapped releases and files are found")
        << QByteArray("<filelist curVersion='2.1.0'><group><software version='2.1.0'><part>"
                      "<file name='core.dll' dir='' version='2.1.0'/></part>"
                      "<file name='new.dll' dir='' version='1'/></software></group></filelist>")
        << QByteArray("<filelist curVersion='2.0.0'><all><software version='2.0.0'><part><part>"
                      "<file name='core.dll' dir='' version='2.1.0'/></part></part></software></all>"
                      "</filelist>")
        << inRoot << QStringList{QStringLiteral("new.dll")};
    QTest::newRow("files outside a release are ignored")
        << QByteArray("<filelist curVersion='2.1.0'><file name='stray.dll' dir='' version='1'/>"
                      "<software version='2.1.0'><file name='core.dll' dir='' version='2.1.0'/>"
                      "</software></filelist>")
        << QByteArray("<filelist curVersion='2.0.0'><file name='core.dll' dir='' version='2.1.0'/>"
                      "<software version='2.0.0'><file name='core.dll' dir='' version='2.0.0'/>"
                      "</software></filelist>")
        << inRoot << core;
    QTest::newRow("first local entry of a name wins, whatever its dir")
        << release21("<file name='core.dll' dir='' version='2.1.0'/>"
                     "<file name='core.dll' dir='plugins/' version='2.0.0'/>")
        << QByteArray("<filelist curVersion='2.0.0'><software version='2.0.0'>"
                      "<file name='core.dll' dir='' version='2.0.0'/>"
                      "<file name='core.dll' dir='plugins/' version='2.1.0'/></software></filelist>")
        << inRoot << core;
    QTest::newRow("first local entry wins even without a version")
        << release21("<file name='core.dll' dir='' version='2.1.0'/>")
        << QByteArray("<filelist curVersion='2.0.0'><software version='2.0.0'><file name='core.dll'/>"
                      "<file name='core.dll' dir='' version='2.1.0'/></software></filelist>")
        << inRoot << core;
    QTest::newRow("versions that differ only in form or case")
        << release21("<file name='core.dll' dir='' version='2.0'/>"
                     "<file name='readme.txt' dir='' version='rc1'/>")
        << QByteArray("<filelist curVersion='2.0.0'><software version='2.0.0'>"
                      "<file name='core.dll' dir='' version='2.0.0'/>"
                      "<file name='readme.txt' dir='' version='RC1'/></software></filelist>")
        << twoInRoot << both;
    QTest::newRow("installed version higher than the new one")
        << release21("<file name='core.dll' dir='' version='1.0.0'/>"
                     "<file name='readme.txt' dir='' version='2.0.0'/>")
        << installed200 << inRoot << core;
    QTest::newRow("file without a name is always pending")
        << release21("<file dir='plugins/' version='1'/><file name='' dir='' version='1'/>")
        << QByteArray("<filelist curVersion='2.0.0'><software version='2.0.0'>"
                      "<file version='1'/><file name='' version='1'/></software></filelist>")
        << QStringList{QStringLiteral("plugins/"), QString()} << QStringList{QString(), QString()};
    QTest::newRow("file without a version is pending")
        << release21("<file name='core.dll' dir=''/><file name='readme.txt' dir='' version=''/>")
        << QByteArray("<filelist curVersion='2.0.0'><software version='2.0.0'>"
                      "<file name='core.dll' dir='' version='2.0.0'/><file name='readme.txt' dir=''/>"
                      "</software></filelist>")
        << twoInRoot << both;
    QTest::newRow("element names are case-sensitive")
        << QByteArray("<filelist curVersion='2.1.0'><Software version='2.1.0'>"
                      "<file name='wrong.dll' dir='' version='1'/></Software><software version='2.1.0'>"
                      "<file name='core.dll' dir='' version='2.1.0'/><File name='readme.txt' dir=''/>"
                      "</software></filelist>")
        << QByteArray("<filelist curVersion='2.0.0'><software version='2.0.0'>"
                      "<File name='core.dll' dir='' version='2.1.0'/></software></filelist>")
        << inRoot << core;
}

void tst_Detection::readingRules()
{
    QFETCH(QByteArray, downloaded);
    QFETCH(QByteArray, local);
    AppDir appDir;
    QVERIFY(appDir.place(downloaded, local));
    const Detected result = detectAt(appDir);
    QTEST(result.dirs, "dirs");
    QTEST(result.names, "names");
    QCOMPARE(result.log, QStringList());
}

void tst_Detection::hostileManifests_data()
{
    QTest::addColumn<QByteArray>("downloaded");
    QTest::addColumn<QByteArray>("local");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("log");

    const QStringList none;
    const QStringList refused{formatError};
    const QStringList deep{QStringLiteral("deep.dll")};
    const QStringList plain{QStringLiteral("plain.dll")};
    const QByteArray plainFile = "<file name='plain.dll' dir='' version='2.1.0'/>";

    QTest::newRow("billion laughs") << billionLaughs() << noFile << none << refused;
    QTest::newRow("one entity expanded a hundred thousand times") << quadraticExpansion() << noFile
        << none << refused;
    QTest::newRow("entity declared through a parameter entity")
        << QByteArray("<!DOCTYPE filelist [<!ENTITY % p \"<!ENTITY e 'x'>\"> %p;]>"
                      "<filelist curVersion='&e;'/>") << noFile << none << refused;
    QTest::newRow("a hundred thousand nested elements") << nestedTo(100000) << noFile << none << refused;
    QTest::newRow("one level deeper than the limit") << nestedTo(Manifest::maxDepth + 1) << noFile
        << none << refused;
    QTest::newRow("nesting at the limit") << nestedTo(Manifest::maxDepth) << noFile << deep << none;
    QTest::newRow("more elements than the node limit")
        << release21(QByteArray("<a/>").repeated(Manifest::maxNodes)) << noFile << none << refused;
    QTest::newRow("more attributes than the node limit")
        << release21(QByteArray("<a b='' c=''/>").repeated(Manifest::maxNodes / 3 + 1)) << noFile
        << none << refused;
    QTest::newRow("attribute beyond the size limit")
        << release21(plainFile).replace("<software ", "<software info='" + QByteArray(Manifest::maxBytes, 'x') + "' ")
        << noFile << none << refused;
    QTest::newRow("megabyte attribute within the limit")
        << release21("<file name='" + QByteArray(1 << 20, 'n') + "' dir='' version='1'/>") << noFile
        << QStringList{QString(1 << 20, QLatin1Char('n'))} << none;
    QTest::newRow("markup inside comments, CDATA and instructions is not counted")
        << release21("<!--" + QByteArray("<w>").repeated(Manifest::maxDepth) + "--><![CDATA["
                     + QByteArray("<w>").repeated(Manifest::maxDepth) + "]]><?pi "
                     + QByteArray("<w>").repeated(Manifest::maxDepth) + "?>"
                     "<file name='plain.dll' dir='a>b/' version='2.1.0'/>")
        << noFile << plain << none;
    QTest::newRow("document type without entities")
        << "<!DOCTYPE filelist [<!ELEMENT filelist ANY><!-- it's [fine] --><?pi ]>?>]>"
           + release21(plainFile) << noFile << plain << none;
    QTest::newRow("predefined entities and character references")
        << release21("<file name='a&amp;b&#x2e;dll' dir='' version='1'/>") << noFile
        << QStringList{QStringLiteral("a&b.dll")} << none;
    QTest::newRow("UTF-16 with byte order mark") << utf16(QString::fromLatin1(release21(plainFile)))
        << noFile << plain << none;
    QTest::newRow("UTF-16 with too deep nesting") << utf16(QString::fromLatin1(nestedTo(100000)))
        << noFile << none << refused;
    QTest::newRow("UTF-7 by declaration with too deep nesting")
        << "<?xml version='1.0' encoding='UTF-7'?>+ADw-filelist+AD4-" + QByteArray("+ADw-a+AD4-").repeated(100000)
           + QByteArray("+ADw-/a+AD4-").repeated(100000) + "+ADw-/filelist+AD4-"
        << noFile << none << refused;
    QTest::newRow("Latin-1 by declaration")
        << "<?xml version='1.0' encoding='ISO-8859-1'?>" + release21("<file name='caf\xe9.dll'/>")
        << noFile << QStringList{QStringLiteral("caf\u00e9.dll")} << none;
    QTest::newRow("hostile local manifest counts every file pending")
        << release21(plainFile) << nestedTo(100000) << plain << none;
}

void tst_Detection::hostileManifests()
{
    QFETCH(QByteArray, downloaded);
    QFETCH(QByteArray, local);
    AppDir appDir;
    QVERIFY(appDir.place(downloaded, local));
    const Detected result = detectAt(appDir);
    QTEST(result.names, "names");
    QTEST(result.log, "log");
}

namespace {

// Small pools with repeats, so that releases and names often meet.
const QStringList releasePool{QStringLiteral("1.0.0"), QStringLiteral("2.1.0"), QStringLiteral("2.1.0"),
                              QString()};
const QStringList versionPool{QStringLiteral("2.0.0"), QStringLiteral("2.0.0"), QStringLiteral("2.0"),
                              QStringLiteral("RC1"), QStringLiteral("rc1")};
const QStringList namePool{QStringLiteral("core.dll"), QStringLiteral("core.dll"), QStringLiteral("Core.dll"),
                           QStringLiteral("readme.txt"), QString()};
const QStringList dirPool{QString(), QStringLiteral("plugins/"), QStringLiteral("data/")};

void writeMaybe(QXmlStreamWriter &xml, QRandomGenerator &random, const QString &attribute,
                const QStringList &pool)
{
    if (random.bounded(6) != 0)
        xml.writeAttribute(attribute, pool.at(random.bounded(pool.size())));
}

void writeFiles(QXmlStreamWriter &xml, QRandomGenerator &random)
{
    for (int count = random.bounded(7); count > 0; --count) {
        const bool wrapped = random.bounded(5) == 0;
        if (wrapped)
            xml.writeStartElement(QStringLiteral("part"));
        xml.writeStartElement(QStringLiteral("file"));
        writeMaybe(xml, random, QStringLiteral("name"), namePool);
        writeMaybe(xml, random, QStringLiteral("dir"), dirPool);
        writeMaybe(xml, random, QStringLiteral("version"), versionPool);
        xml.writeEndElement();
        if (wrapped)
            xml.writeEndElement();
    }
}

QByteArray randomManifest(QRandomGenerator &random)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument();
    xml.writeStartElement(random.bounded(25) ? QStringLiteral("filelist") : QStringLiteral("Filelist"));
    writeMaybe(xml, random, QStringLiteral("curVersion"), releasePool);
    for (int count = 1 + random.bounded(3); count > 0; --count) {
        const bool wrapped = random.bounded(4) == 0;
        if (wrapped)
            xml.writeStartElement(QStringLiteral("group"));
        xml.writeStartElement(QStringLiteral("software"));
        writeMaybe(xml, random, QStringLiteral("version"), releasePool);
        writeFiles(xml, random);
        xml.writeEndElement();
        if (wrapped)
            xml.writeEndElement();
        if (random.bounded(6) == 0)
            writeFiles(xml, random);
    }
    xml.writeEndDocument();
    const int damage = random.bounded(20);
    return damage == 0 ? noFile : damage == 1 ? bytes.left(bytes.size() / 2) : bytes;
}

// Installed manifests that share much with the new one, so that files are found up to date.
QByteArray localFor(const QByteArray &downloaded, QRandomGenerator &random)
{
    switch (random.bounded(3)) {
    case 0:
        return randomManifest(random);
    case 1:
        return downloaded;
    default:
        return QByteArray(downloaded).replace("\"2.0.0\"", "\"2.0\"");
    }
}

} // namespace

void tst_Detection::indexedDetectionMatchesPerFileRule()
{
    QRandomGenerator random(20261207);
    AppDir appDir;
    int pending = 0;
    int upToDate = 0;
    for (int run = 0; run < 400; ++run) {
        const QByteArray downloaded = randomManifest(random);
        const QByteArray local = localFor(downloaded, random);
        QVERIFY(appDir.place(downloaded, local));
        const Detected indexed = detectAt(appDir);
        const PerFileDetection perFile = detectPerFile(appDir.downloadedManifest(), appDir.localManifest());
        const QByteArray where = "in run " + QByteArray::number(run);
        QVERIFY2(indexed.newVersion == perFile.newVersion, where);
        QVERIFY2(indexed.dirs == perFile.dirs, where);
        QVERIFY2(indexed.names == perFile.names, where);
        for (const QString &name : namePool)
            QVERIFY2(localFileVersion(appDir.localManifest(), name)
                         == perFileLocalVersion(appDir.localManifest(), name), where + " for " + name.toUtf8());
        pending += perFile.names.size();
        upToDate += perFile.releaseFiles - perFile.names.size();
    }
    QVERIFY2(pending > 50 && upToDate > 50, "the generated manifests rarely decide anything");
}

void tst_Detection::integrity_data()
{
    QTest::addColumn<QByteArray>("attributes");
    QTest::addColumn<bool>("wellFormed");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QByteArray>("sha256");

    const QByteArray digest = QCryptographicHash::hash("abc", QCryptographicHash::Sha256).toHex();
    QTest::newRow("size and sha256") << "size='3' sha256='" + digest + "'" << true << qint64(3) << digest;
    QTest::newRow("neither given") << QByteArray() << true << qint64(-1) << QByteArray();
    QTest::newRow("empty attributes are unset") << QByteArray("size='' sha256=''") << true << qint64(-1)
        << QByteArray();
    QTest::newRow("empty file") << QByteArray("size='0'") << true << qint64(0) << QByteArray();
    QTest::newRow("size with a sign") << QByteArray("size='+3'") << false << qint64(-1) << QByteArray();
    QTest::newRow("size with a blank") << QByteArray("size=' 3'") << false << qint64(-1) << QByteArray();
    QTest::newRow("size in hex") << QByteArray("size='0x3'") << false << qint64(-1) << QByteArray();
    QTest::newRow("size beyond 64 bits") << QByteArray("size='99999999999999999999'") << false << qint64(-1)
        << QByteArray();
    QTest::newRow("uppercase hex") << "sha256='" + digest.toUpper() + "'" << false << qint64(-1) << QByteArray();
    QTest::newRow("63 hex digits") << "sha256='" + digest.left(63) + "'" << false << qint64(-1) << QByteArray();
    QTest::newRow("not hex") << "sha256='" + digest.left(63) + "g'" << false << qint64(-1) << QByteArray();
}

void tst_Detection::integrity()
{
    QFETCH(QByteArray, attributes);
    QFETCH(bool, wellFormed);
    QDomDocument document;
    QVERIFY(document.setContent("<file name='a.dll' " + attributes + "/>"));
    Manifest::FileIntegrity integrity;
    QString reason;
    QCOMPARE(Manifest::readIntegrity(document.documentElement(), &integrity, &reason), wellFormed);
    QVERIFY2(reason.isEmpty() == wellFormed, "a reason only for malformed attributes");
    QTEST(integrity.size, "size");
    QTEST(integrity.sha256.toHex(), "sha256");
}

QTEST_MAIN(tst_Detection)
#include "tst_detection.moc"
