// Takes a FolderLock in a process of its own, as a second updater would:
// flock() is per open file, and Windows' sharing per handle, so only another
// process shows what another updater meets. Writes what it got to the
// report file, and holds a lock it took until it is killed or the report
// is removed. With a second lock and report it first starts a program of
// its own that takes that one, as the updater starts Brenvoth.
#include "folderlock.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QString>

#include <chrono>
#include <thread>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.size() != 2 && arguments.size() != 4)
        return 2;
    FolderLock lock(arguments.at(0));
    const FolderLock::Result result = lock.tryLock();
    if (arguments.size() == 4 && !QProcess::startDetached(application.applicationFilePath(), arguments.mid(2)))
        return 2;
    QFile report(arguments.at(1));
    if (!report.open(QIODevice::WriteOnly) || report.write(QByteArray::number(int(result))) < 0)
        return 2;
    report.close();
    while (result == FolderLock::Result::Taken && report.exists())
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return 0;
}
