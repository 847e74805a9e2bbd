#include "writeprobe.h"

#include <QFileInfo>
#include <QTemporaryFile>

bool canCreateFileIn(const QString &folder, QString *reason)
{
    // A name of its own: nothing of the user's is ever opened, and the file
    // goes again when the probe does.
    QTemporaryFile probe(folder + QStringLiteral("/.write-probe-XXXXXX"));
    if (probe.open())
        return true;
    *reason = QStringLiteral("%1 cannot be written: %2").arg(folder, probe.errorString());
    return false;
}

bool mayReplaceFile(const QString &path, QString *reason)
{
    if (QFileInfo(path).isWritable())
        return true;
    *reason = QStringLiteral("%1 is read-only").arg(path);
    return false;
}
