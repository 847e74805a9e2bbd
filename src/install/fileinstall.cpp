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

void pauseResponsively(int msecs)
{
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, wakeResponsiveWait);
    timer.start(msecs);
    waitResponsively([&timer] { return !timer.isActive(); });
}

// Events, not a nested QEventLoop: that one would return at once once the
// window, closed meanwhile, has asked the application to quit.
void waitResponsively(const std::function<bool()> &done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// processEvents() first delivers the events already posted and then, on
// Windows (and with Qt's own Unix dispatcher), blocks until the next message
// as if nothing had happened: a change made by one of them, such as a
// download's queued end, went unseen until an unrelated timer fired. No
// dispatcher blocks while a posted event is pending, however deeply nested the
// code that posted it; a bare wakeUp() message can be taken by a nested
// processEvents() instead.
void wakeResponsiveWait()
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] {}, Qt::QueuedConnection);
}
