#include "folderlock.h"
#include "testfiles.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(FolderLock::Result)

namespace {

// The lock taker, beside this test: a process of its own.
QString lockTaker()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/locktaker")
#ifdef Q_OS_WIN
           + QStringLiteral(".exe")
#endif
        ;
}

// Takes the lock in another process; returns what it got, or -1.
int takeInProcess(QProcess &process, const QString &lockPath, const QString &reportPath,
                  const QStringList &programArguments = {})
{
    process.start(lockTaker(), QStringList{lockPath, reportPath} + programArguments);
    if (!process.waitForStarted()
        || !QTest::qWaitFor([&reportPath] { return QFileInfo(reportPath).size() > 0; }, 60000))
        return -1;
    return contentOf(reportPath).toInt();
}

} // namespace

class tst_FolderLock : public QObject
{
    Q_OBJECT

private slots:
    void whatTheLastHolderLeft_data();
    void whatTheLastHolderLeft();
    void anotherProcessIsRefused();
    void releasedLockLeavesNoFile();
};

void tst_FolderLock::whatTheLastHolderLeft_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<FolderLock::Result>("expected");
    QTest::newRow("a holder that still runs") << "running" << FolderLock::Result::HeldByAnother;
    QTest::newRow("a holder killed while it held the lock") << "killed" << FolderLock::Result::Taken;
    QTest::newRow("a holder killed while a program it started runs on")
        << "killed, its program running" << FolderLock::Result::Taken;
    QTest::newRow("a leftover file naming a live process, as after a power cut")
        << "file naming a live process" << FolderLock::Result::Taken;
}

// Only a holder that runs keeps the lock: what a dead one left on the disk,
// whatever it says, is taken at once.
void tst_FolderLock::whatTheLastHolderLeft()
{
    QFETCH(QString, left);
    QFETCH(FolderLock::Result, expected);
    QTemporaryDir dir;
    const QString lockPath = dir.filePath("BrenvothUpdater.lock");
    QProcess holder;
    // The holder's program takes a lock of its own, and ends when its report goes.
    const QString programReport = dir.filePath("program's report");
    const QString programLock = dir.filePath("program.lock");
    const auto endProgram = qScopeGuard([&] {
        if (QFile::remove(programReport))
            QTest::qWaitFor([&programLock] { return !QFileInfo::exists(programLock); }, 60000);
    });
    if (left == "file naming a live process") {
        QVERIFY(writeFile(lockPath, lockFileNamingThisProcess()));
    } else {
        const QStringList program = left == "killed, its program running"
                                        ? QStringList{programLock, programReport}
                                        : QStringList();
        QCOMPARE(takeInProcess(holder, lockPath, dir.filePath("report"), program), int(FolderLock::Result::Taken));
        if (!program.isEmpty())
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(programReport).size() > 0, 60000);
    }
    if (left.startsWith("killed")) {
        holder.kill();
        QVERIFY2(holder.waitForFinished(60000), "the holder did not end when killed");
    }

    FolderLock lock(lockPath);
    QCOMPARE(lock.tryLock(), expected);
    QCOMPARE(lock.isLocked(), expected == FolderLock::Result::Taken);
    holder.kill();
    holder.waitForFinished(60000);
}

// The second taker is the other process here.
void tst_FolderLock::anotherProcessIsRefused()
{
    QTemporaryDir dir;
    const QString lockPath = dir.filePath("BrenvothUpdater.lock");
    FolderLock lock(lockPath);
    QCOMPARE(lock.tryLock(), FolderLock::Result::Taken);
    QProcess second;
    QCOMPARE(takeInProcess(second, lockPath, dir.filePath("report")), int(FolderLock::Result::HeldByAnother));
    QVERIFY2(second.waitForFinished(60000), "the refused taker did not end");

    lock.unlock();
    QProcess third;
    QCOMPARE(takeInProcess(third, lockPath, dir.filePath("report again")), int(FolderLock::Result::Taken));
    third.kill();
    third.waitForFinished(60000);
}

void tst_FolderLock::releasedLockLeavesNoFile()
{
    QTemporaryDir dir;
    const QString lockPath = dir.filePath("BrenvothUpdater.lock");
    {
        FolderLock lock(lockPath);
        QCOMPARE(lock.tryLock(), FolderLock::Result::Taken);
        QVERIFY(QFileInfo::exists(lockPath));
    }
    QVERIFY2(!QFileInfo::exists(lockPath), "the released lock left its file behind");
}

QTEST_GUILESS_MAIN(tst_FolderLock)
#include "tst_folderlock.moc"
