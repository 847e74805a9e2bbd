#include "closingwait.h"
#include "runningprograms.h"
#include "updatejob.h"

#include <QDebug>

ClosingWait::ClosingWait(const QString &program, int limitMsecs, QObject *parent)
    : QObject(parent)
    , program(program)
    , limit(limitMsecs)
{
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, &ClosingWait::onPoll);
}

void ClosingWait::noteIfRunning()
{
    if (WindowsFiles::isRunning(program))
        seen.start();
}

void ClosingWait::start()
{
    if (!WindowsFiles::isRunning(program)) {
        QMetaObject::invokeMethod(this, &ClosingWait::finished, Qt::QueuedConnection);
        return;
    }
    if (!seen.isValid())
        seen.start();
    qDebug() << "Waiting for Brenvoth to close";
    emit waiting(UpdateJob::closingWords());
    onPoll();
}

void ClosingWait::onPoll()
{
    if (!WindowsFiles::isRunning(program))
        return end();
    const qint64 left = limit - seen.elapsed();
    if (left <= 0) {
        qDebug() << "Brenvoth is still running; installing beside it";
        return end();
    }
    timer.start(int(qMin<qint64>(left, poll)));
}

void ClosingWait::end()
{
    emit waiting(QString());
    emit finished();
}
