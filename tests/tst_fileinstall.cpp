#include "entrycheck.h"
#include "entryname.h"
#include "releaseprogress.h"
#include "testfiles.h"
#include "testwaits.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// A symbolic link to a folder. On Windows QFile::link makes a shortcut, which
// the file system does not follow; a real link may need a privilege, and wine
// reports success without making one.
bool linkFolder(const QString &target, const QString &link)
{
#ifdef Q_OS_WIN
    CreateSymbolicLinkW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(link).utf16()),
                        reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(target).utf16()),
                        SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    return QFileInfo(link).isSymLink();
#else
    return QFile::link(target, link);
#endif
}

} // namespace

class tst_FileInstall : public QObject
{
    Q_OBJECT

private slots:
    void safeEntries_data();
    void safeEntries();
    void unsafeEntries_data();
    void unsafeEntries();
    void linksOutOfTheRootAreNotInside();
    void nestedFoldersAreCreatedWhole();
    void foldersOutsideTheRootAreNotCreated();
    void progress_data();
    void progress();
};

void tst_FileInstall::safeEntries_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("name");
    QTest::newRow("application directory itself") << "" << "core.dll";
    QTest::newRow("one folder") << "plugins/" << "render.dll";
    QTest::newRow("two folders") << "plugins/imageformats/" << "qjpeg.dll";
    QTest::newRow("dots inside a name") << "" << "..hidden..txt";
    QTest::newRow("current-folder segment") << "./plugins/" << "a.dll";
    QTest::newRow("device-like but longer") << "console/" << "nullify.dll";
    QTest::newRow("COM without a digit") << "" << "com.dll";
}

void tst_FileInstall::safeEntries()
{
    QFETCH(QString, dir);
    QFETCH(QString, name);
    QString reason;
    QVERIFY2(isSafeEntry(dir, name, &reason), qPrintable(reason));
}

void tst_FileInstall::unsafeEntries_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("name");
    QTest::newRow("dot-dot segment") << "../" << "core.dll";
    QTest::newRow("dot-dot deeper down") << "plugins/../../" << "core.dll";
    QTest::newRow("dot-dot without slash") << "plugins/.." << "core.dll";
    QTest::newRow("absolute folder") << "/etc/" << "passwd";
    QTest::newRow("drive letter") << "C:/Windows/" << "evil.dll";
    QTest::newRow("drive-relative") << "C:" << "evil.dll";
    QTest::newRow("backslash in folder") << "..\\" << "core.dll";
    QTest::newRow("backslash in name") << "" << "..\\core.dll";
    QTest::newRow("slash in name") << "" << "../core.dll";
    QTest::newRow("name is dot-dot") << "plugins/" << "..";
    QTest::newRow("empty name") << "plugins/" << "";
    QTest::newRow("alternate data stream") << "" << "core.dll:stream";
    QTest::newRow("control character") << "" << QString("core\ndll");
    QTest::newRow("dot-dot backslash segment") << "plugins/..\\" << "core.dll";
    QTest::newRow("backslash inside a folder") << "plugins\\imageformats/" << "a.dll";
    QTest::newRow("UNC start") << "\\\\server\\share/" << "core.dll";
    QTest::newRow("drive letter in the name") << "" << "C:core.dll";
    QTest::newRow("trailing dot in the name") << "" << "core.dll.";
    QTest::newRow("trailing blank in the name") << "" << "core.dll ";
    QTest::newRow("trailing dot in a folder") << "plugins./" << "a.dll";
    QTest::newRow("trailing blank in a folder") << "plugins /" << "a.dll";
    QTest::newRow("alternate data stream of a folder") << "plugins:stream/" << "a.dll";
    QTest::newRow("device CON") << "" << "CON";
    QTest::newRow("device nul with an extension") << "" << "nul.txt";
    QTest::newRow("device Com1 in a folder") << "Com1/" << "a.dll";
    QTest::newRow("device LPT1") << "" << "LPT1";
    QTest::newRow("device aux with a blank before the extension") << "" << "aux .dll";
    QTest::newRow("device PRN") << "plugins/" << "PRN";
}

void tst_FileInstall::unsafeEntries()
{
    QFETCH(QString, dir);
    QFETCH(QString, name);
    QString reason;
    QVERIFY2(!isSafeEntry(dir, name, &reason), "an unsafe entry was accepted");
    QVERIFY2(!reason.isEmpty(), "a refusal gave no reason");
}

void tst_FileInstall::linksOutOfTheRootAreNotInside()
{
    QTemporaryDir root, outside;
    if (!linkFolder(outside.path(), root.filePath("escape")))
        QSKIP("no symbolic link to a folder can be made here (privilege, or wine)");
    QVERIFY(staysInside(root.path(), root.filePath("plugins/new/a.dll")));
    QVERIFY2(!staysInside(root.path(), root.filePath("escape/a.dll")), "a link out of the root was followed");
    QVERIFY(linkFolder(outside.filePath("gone"), root.filePath("dangling")));
    QVERIFY2(!staysInside(root.path(), root.filePath("dangling")), "a dangling link out of the root counted as inside");
    QVERIFY2(!staysInside(root.path(), root.filePath("dangling/new/a.dll")), "a dangling link out of the root was followed");
    QVERIFY2(!staysInside(root.path(), outside.filePath("a.dll")), "a path outside counted as inside");
    QVERIFY2(!staysInside(root.path(), root.path() + "-sibling/a.dll"), "a sibling with the root's prefix counted as inside");
}

void tst_FileInstall::nestedFoldersAreCreatedWhole()
{
    QTemporaryDir root;
    QString error;
    QVERIFY2(makeFolderInside(root.path(), root.filePath("plugins/imageformats/"), &error), qPrintable(error));
    QVERIFY(QDir(root.filePath("plugins/imageformats")).exists());
}

void tst_FileInstall::foldersOutsideTheRootAreNotCreated()
{
    QTemporaryDir root, outside;
    if (!linkFolder(outside.path(), root.filePath("escape")))
        QSKIP("no symbolic link to a folder can be made here (privilege, or wine)");
    QString error;
    QVERIFY(!makeFolderInside(root.path(), root.filePath("escape/new/"), &error));
    QVERIFY2(!QDir(outside.filePath("new")).exists(), "a folder was created through the link");
    QVERIFY(!error.isEmpty());
}

void tst_FileInstall::progress_data()
{
    // Sizes from the manifest (-1: none), then steps "received/total" on a
    // file or "staged" ("2:staged"), and the value after the last step.
    QTest::addColumn<QVector<qint64>>("sizes");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("value");

    const QVector<qint64> quarters{100, 100, 100, 100};
    QTest::newRow("nothing yet") << quarters << QStringList() << 0;
    QTest::newRow("two files staged of four") << quarters << QStringList{"0:staged", "3:staged"} << 50;
    QTest::newRow("halves of two files in flight") << quarters << QStringList{"1:50/100", "2:50/100"} << 25;
    QTest::newRow("files weigh their sizes") << QVector<qint64>{900, 100} << QStringList{"0:staged"} << 90;
    QTest::newRow("no size: the average weight") << QVector<qint64>{100, -1, 100} << QStringList{"1:5/10"} << 16;
    QTest::newRow("no sizes at all: alike") << QVector<qint64>{-1, -1} << QStringList{"0:staged"} << 50;
    QTest::newRow("empty files only") << QVector<qint64>{0, 0, 0} << QStringList{"0:staged"} << 33;
    QTest::newRow("unknown total counts nothing") << quarters << QStringList{"0:50/0"} << 0;
    QTest::newRow("a retry does not go back") << quarters << QStringList{"0:100/100", "0:10/100"} << 25;
    QTest::newRow("more than announced is capped") << quarters << QStringList{"0:300/100"} << 25;
    QTest::newRow("all staged stays below 100") << quarters
        << QStringList{"0:staged", "1:staged", "2:staged", "3:staged"} << 99;
    QTest::newRow("huge files") << QVector<qint64>{std::numeric_limits<qint64>::max() / 2, 1}
        << QStringList{"0:1/2"} << 50;
}

void tst_FileInstall::progress()
{
    QFETCH(QVector<qint64>, sizes);
    QFETCH(QStringList, steps);
    QFETCH(int, value);
    ReleaseProgress progress(sizes);
    for (const QString &step : steps) {
        const int file = step.section(':', 0, 0).toInt();
        const QString what = step.section(':', 1);
        if (what == "staged")
            progress.setStaged(file);
        else
            progress.setReceived(file, what.section('/', 0, 0).toLongLong(), what.section('/', 1).toLongLong());
    }
    QCOMPARE(progress.value(), value);
}

QTEST_GUILESS_MAIN(tst_FileInstall)
#include "tst_fileinstall.moc"
