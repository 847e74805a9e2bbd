#include "servicelog.h"
#include "machineinstall.h"

#include <QDateTime>
#include <QFile>
#include <QMutex>

namespace {

void appendToLog(QtMsgType, const QMessageLogContext &, const QString &message)
{
    static QMutex mutex;
    const QMutexLocker locker(&mutex);
    QFile log(MachineInstall::logFile());
    if (log.open(QIODevice::Append | QIODevice::Text))
        log.write((QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs) + QLatin1Char(' ') + message
                   + QLatin1Char('\n')).toUtf8());
}

} // namespace

void logToStateFolder()
{
    qInstallMessageHandler(appendToLog);
}
