#include "programfolders.h"

#include <QFileInfo>
#include <QtTest>

class tst_ProgramFolders : public QObject
{
    Q_OBJECT

private slots:
    void isWithin_data();
    void isWithin();
#ifdef Q_OS_WIN
    void programFilesAreTheSystems();
#endif
};

void tst_ProgramFolders::isWithin_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("within");

    QTest::newRow("below") << "C:/Program Files/Brenvoth" << "C:/Program Files" << true;
    QTest::newRow("the folder itself") << "C:/Program Files" << "C:/Program Files" << true;
    QTest::newRow("another case") << "c:/program files/brenvoth" << "C:/Program Files" << true;
    QTest::newRow("backslashes") << "C:\\Program Files\\Brenvoth" << "C:/Program Files" << true;
    QTest::newRow("a trailing separator") << "C:/Program Files/Brenvoth/" << "C:\\Program Files\\" << true;
    QTest::newRow("a longer name beside it") << "C:/Program Files Extra/Brenvoth" << "C:/Program Files" << false;
    QTest::newRow("the x86 folder beside it") << "C:/Program Files (x86)/Brenvoth" << "C:/Program Files" << false;
    QTest::newRow("a user's folder") << "C:/Users/ann/Brenvoth" << "C:/Program Files" << false;
    QTest::newRow("no folder known") << "C:/Program Files/Brenvoth" << "" << false;
}

void tst_ProgramFolders::isWithin()
{
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QFETCH(bool, within);
    QCOMPARE(ProgramFolders::isWithin(path, folder), within);
}

#ifdef Q_OS_WIN
// What the system names, as it names it: wine's prefix has both folders.
void tst_ProgramFolders::programFilesAreTheSystems()
{
    const QStringList folders = ProgramFolders::programFiles();
    QCOMPARE(folders.size(), 2);
    for (const QString &folder : folders)
        QVERIFY2(QFileInfo(folder).isDir() && !folder.contains(QLatin1Char('\\')), qPrintable(folder));
    QCOMPARE(QFileInfo(folders.first()).fileName(), QString("Program Files"));
    QCOMPARE(QFileInfo(folders.last()).fileName(), QString("Program Files (x86)"));
}
#endif

QTEST_GUILESS_MAIN(tst_ProgramFolders)
#include "tst_programfolders.moc"
