#include "failedrelease.h"
#include "durablefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace FailedRelease {

bool record(const ApplicationLayout &layout, const QString &version)
{
    const QString path = layout.failedReleaseRecord();
    const QByteArray content = version.toUtf8();
    QSaveFile file(path);
    if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly)
        || file.write(content) != content.size() || !file.commit())
        return false;
    flushDirectory(QFileInfo(path).path());
    return true;
}

bool isRecorded(const ApplicationLayout &layout, const QString &version)
{
    QFile file(layout.failedReleaseRecord());
    return !version.isEmpty() && file.open(QIODevice::ReadOnly) && QString::fromUtf8(file.readAll()) == version;
}

} // namespace FailedRelease
