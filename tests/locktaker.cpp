// Takes a FolderLock in a process of its own, as a second updater would:
// flock() is per open file, and Windows' sharing per handle, so only another
// process shows what another updater meets. Writes what it got to the
// report file; a lock it took is held until the process is killed.
#include "folderlock.h"

#include <QFile>
#include <QString>

#include <chrono>
#include <thread>

int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    FolderLock lock(QString::fromLocal8Bit(argv[1]));
    const FolderLock::Result result = lock.tryLock();
    QFile report(QString::fromLocal8Bit(argv[2]));
    if (!report.open(QIODevice::WriteOnly) || report.write(QByteArray::number(int(result))) < 0)
        return 2;
    report.close();
    while (result == FolderLock::Result::Taken)
        std::this_thread::sleep_for(std::chrono::hours(1));
    return 0;
}
