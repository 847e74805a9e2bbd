#include "entrycheck.h"
#include "fileinstall.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

const quint64 unknownTotal = std::numeric_limits<quint64>::max();

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
    void progressNeverGoesBackOrPastHundred();
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
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("count");
    QTest::addColumn<quint64>("received");
    QTest::addColumn<quint64>("total");
    QTest::addColumn<int>("value");

    QTest::newRow("second of four, a quarter in") << 1 << 4 << quint64(50) << quint64(200) << 31;
    QTest::newRow("last of four, complete") << 3 << 4 << quint64(200) << quint64(200) << 100;
    QTest::newRow("one file, half") << 0 << 1 << quint64(1) << quint64(2) << 50;
    QTest::newRow("unknown total shows the base") << 2 << 4 << quint64(123) << unknownTotal << 50;
    QTest::newRow("empty file shows the base") << 1 << 3 << quint64(0) << quint64(0) << 33;
    QTest::newRow("more than announced is capped") << 0 << 2 << quint64(300) << quint64(100) << 50;
    QTest::newRow("huge file without overflow") << 0 << 1 << quint64(1) << unknownTotal - 1 << 0;
    QTest::newRow("huge file half way") << 0 << 1 << (unknownTotal - 1) / 2 << unknownTotal - 1 << 50;
    QTest::newRow("no files") << 0 << 0 << quint64(1) << quint64(1) << 0;
}

void tst_FileInstall::progress()
{
    QFETCH(int, index);
    QFETCH(int, count);
    QFETCH(quint64, received);
    QFETCH(quint64, total);
    QFETCH(int, value);
    QCOMPARE(progressValue(index, count, received, total), value);
}

void tst_FileInstall::progressNeverGoesBackOrPastHundred()
{
    // The handler alone lands on 100 only for divisors of 100; the installation
    // sets 100 itself at the end. What matters here: never above 100, never backwards.
    for (int count = 1; count <= 150; ++count) {
        int previous = 0;
        for (int index = 0; index < count; ++index) {
            for (quint64 received : {quint64(0), quint64(500), quint64(1000)}) {
                const int value = progressValue(index, count, received, 1000);
                QVERIFY2(value >= previous && value <= 100,
                         qPrintable(QString("%1 files, file %2: %3 after %4").arg(count).arg(index).arg(value).arg(previous)));
                previous = value;
            }
        }
    }
}

QTEST_GUILESS_MAIN(tst_FileInstall)
#include "tst_fileinstall.moc"
