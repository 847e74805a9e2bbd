#include "fileinstall.h"

#include "sha256.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

QByteArray fileSha256(const QString &path, const std::function<void()> &keepResponsive)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    Sha256 digest;
    QByteArray block(4 * 1024 * 1024, Qt::Uninitialized);
    qint64 read = 0;
    while ((read = file.read(block.data(), block.size())) > 0) {
        digest.addData(block.constData(), read);
        keepResponsive();
    }
    return read < 0 ? QByteArray() : digest.result();
}

void keepWindowResponsive()
{
    QCoreApplication::processEvents();
}

// Events, not a nested QEventLoop: that one would return at once once the
// window, closed meanwhile, has asked the application to quit.
void pauseResponsively(int msecs)
{
    QTimer timer;
    timer.setSingleShot(true);
    timer.start(msecs);
    while (timer.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
