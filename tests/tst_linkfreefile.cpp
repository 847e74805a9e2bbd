#include "linkfreefile.h"
#include "testfiles.h"
#include "testwaits.h"

#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

bool symbolicLink(const QString &target, const QString &link, bool folder)
{
#ifdef Q_OS_WIN
    const DWORD flags = (folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE;
    return CreateSymbolicLinkW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(link).utf16()),
                               reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(target).utf16()), flags);
#else
    Q_UNUSED(folder);
    return symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) == 0;
#endif
}

// wine 8 answers CreateSymbolicLinkW with success and makes nothing, and
// shows the links of the Unix side as what they point to.
bool symbolicLinksCanBeMade()
{
    QTemporaryDir dir;
    return writeFile(dir.filePath("target"), "target") && symbolicLink(dir.filePath("target"), dir.filePath("link"), false)
           && QFileInfo(dir.filePath("link")).isSymLink();
}

bool hardLink(const QString &target, const QString &secondName)
{
#ifdef Q_OS_WIN
    return CreateHardLinkW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(secondName).utf16()),
                           reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(target).utf16()), nullptr);
#else
    return ::link(QFile::encodeName(target).constData(), QFile::encodeName(secondName).constData()) == 0;
#endif
}

// Lays out root/ with what a row needs: "staged" is the folder opened from.
using Layout = std::function<bool(const QDir &root)>;

} // namespace

Q_DECLARE_METATYPE(Layout)

class tst_LinkFreeFile : public QObject
{
    Q_OBJECT

private slots:
    void open_data();
    void open();
};

void tst_LinkFreeFile::open_data()
{
    QTest::addColumn<Layout>("layout");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("refusal");   // empty: opened
    QTest::addColumn<bool>("symbolicLinks");

    const auto plainFiles = [](const QDir &root) {
        return writeFile(root.filePath("staged/a.dll"), "a") && writeFile(root.filePath("staged/x/y/b.dll"), "b")
               && writeFile(root.filePath("elsewhere/c.dll"), "c");
    };
    QTest::newRow("a file in the folder") << Layout(plainFiles) << "a.dll" << "" << false;
    QTest::newRow("a file two folders down") << Layout(plainFiles) << "x/y/b.dll" << "" << false;
    QTest::newRow("a way up and back") << Layout(plainFiles) << "../staged/a.dll" << "not a plain name" << false;
    QTest::newRow("an empty name on the way") << Layout(plainFiles) << "x//b.dll" << "not a plain name" << false;
    QTest::newRow("nothing there") << Layout(plainFiles) << "missing.dll" << "missing.dll" << false;
    QTest::newRow("a folder where the file is looked for") << Layout(plainFiles) << "x/y" << "y: " << false;
    QTest::newRow("a file that is a link")
        << Layout([=](const QDir &root) {
               return plainFiles(root) && symbolicLink(root.filePath("elsewhere/c.dll"), root.filePath("staged/c.dll"), false);
           })
        << "c.dll" << "c.dll: a link" << true;
    QTest::newRow("a folder on the way that is a link")
        << Layout([=](const QDir &root) {
               return plainFiles(root) && symbolicLink(root.filePath("elsewhere"), root.filePath("staged/x/z"), true);
           })
        << "x/z/c.dll" << "z: a link" << true;
    QTest::newRow("the folder itself a link")
        << Layout([=](const QDir &root) {
               return plainFiles(root) && QDir(root.filePath("staged")).removeRecursively()
                      && symbolicLink(root.filePath("elsewhere"), root.filePath("staged"), true);
           })
        << "c.dll" << "staged: a link" << true;
    QTest::newRow("a file with a second name")
        << Layout([=](const QDir &root) {
               return plainFiles(root) && hardLink(root.filePath("elsewhere/c.dll"), root.filePath("staged/c.dll"));
           })
        << "c.dll" << "hard link" << false;
}

void tst_LinkFreeFile::open()
{
    QFETCH(Layout, layout);
    QFETCH(QString, path);
    QFETCH(QString, refusal);
    QFETCH(bool, symbolicLinks);
    if (symbolicLinks && !symbolicLinksCanBeMade())
        SKIP_WHERE_MISSING("symbolic links cannot be made here");
    QTemporaryDir root;
    QVERIFY2(layout(QDir(root.path())), "the row's files could not be made");
    LinkFreeFile file;
    const bool opened = file.open(root.filePath("staged"), path);
    if (refusal.isEmpty()) {
        QVERIFY2(opened, qPrintable(file.errorString()));
        QCOMPARE(file.file().readAll(), contentOf(root.filePath("staged/" + path)));
        return;
    }
    QVERIFY2(!opened, "opened what it should refuse");
    QVERIFY2(file.errorString().contains(refusal), qPrintable(file.errorString()));
}

QTEST_GUILESS_MAIN(tst_LinkFreeFile)
#include "tst_linkfreefile.moc"
