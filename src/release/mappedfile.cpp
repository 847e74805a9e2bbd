#include "mappedfile.h"

bool MappedFile::open(const QString &path, QString *error)
{
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    length = file.size();
    if (length == 0)
        return true;
    bytes = file.map(0, length);
    if (!bytes) {
        *error = QStringLiteral("cannot map %1 into memory: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
