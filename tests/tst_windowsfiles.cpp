#include "runningprograms.h"
#include "testfiles.h"
#include "windowsfiles.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QtTest>

namespace {

#ifdef Q_OS_WIN
constexpr bool namesIgnoreCase = true;
#else
constexpr bool namesIgnoreCase = false;
#endif

} // namespace

class tst_WindowsFiles : public QObject
{
    Q_OBJECT

private slots:
    void longPath_data();
    void longPath();
    void moveNeverReplaces();
    void runningProgram_data();
    void runningProgram();
};

void tst_WindowsFiles::longPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");

    const QString deep = QString("a123456789/").repeated(30) + "render.dll";
    QTest::newRow("a drive path") << "C:/Users/Zo\u00eb O'Brien/app/render.dll"
                                  << "\\\\?\\C:\\Users\\Zo\u00eb O'Brien\\app\\render.dll";
    QTest::newRow("past 260 characters") << "C:/app/" + deep
                                         << "\\\\?\\C:\\app\\" + QString(deep).replace('/', '\\');
    QTest::newRow("cleaned, as the prefix turns cleaning off") << "D:\\app\\.\\plugins\\..\\x.dll"
                                                              << "\\\\?\\D:\\app\\x.dll";
    QTest::newRow("a network share") << "//server/share/app/x.dll" << "\\\\?\\UNC\\server\\share\\app\\x.dll";
    QTest::newRow("already prefixed") << "\\\\?\\C:\\app\\x.dll" << "\\\\?\\C:\\app\\x.dll";
    QTest::newRow("a prefixed share") << "\\\\?\\UNC\\server\\share\\x.dll" << "\\\\?\\UNC\\server\\share\\x.dll";
    QTest::newRow("relative, no prefix") << "plugins/x.dll" << "plugins\\x.dll";
}

void tst_WindowsFiles::longPath()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(WindowsFiles::longPath(path), expected);
}

// The commit relies on a move that fails rather than overwrite.
void tst_WindowsFiles::moveNeverReplaces()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("a"), "a") && writeFile(dir.filePath("b"), "b"));
    QVERIFY2(WindowsFiles::move(dir.filePath("a"), dir.filePath("b")) != 0, "a move overwrote a file");
    QCOMPARE(contentOf(dir.filePath("b")), QByteArray("b"));
    QCOMPARE(WindowsFiles::move(dir.filePath("a"), dir.filePath("c")), WindowsFiles::ErrorCode(0));
    QCOMPARE(contentOf(dir.filePath("c")), QByteArray("a"));
    QVERIFY(!QFileInfo::exists(dir.filePath("a")));
}

void tst_WindowsFiles::runningProgram_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<bool>("running");

    const QString self = QCoreApplication::applicationFilePath();
    QTest::newRow("this test") << self << true;
    QTest::newRow("this test, by another letter case") << self.toUpper() << namesIgnoreCase;
    QTest::newRow("a copy of it that does not run") << QString() << false;
    QTest::newRow("no such file") << QFileInfo(self).path() + "/Brenvoth-nowhere.exe" << false;
}

void tst_WindowsFiles::runningProgram()
{
    QFETCH(QString, program);
    QFETCH(bool, running);
    QTemporaryDir dir;
    if (program.isEmpty()) {
        program = dir.filePath(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), program));
    }
    QCOMPARE(WindowsFiles::isRunning(program), running);
}

QTEST_GUILESS_MAIN(tst_WindowsFiles)
#include "tst_windowsfiles.moc"
