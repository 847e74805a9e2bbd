#include "fileinstall.h"

#include "sha256.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <limits>

int progressValue(int index, int count, quint64 received, quint64 total)
{
    if (count <= 0)
        return 0;
    const int base = index * 100 / count;
    if (total == 0 || total == std::numeric_limits<quint64>::max())
        return base;
    received = qMin(received, total);
    const quint64 percent = received <= std::numeric_limits<quint64>::max() / 100
                                ? received * 100 / total
                                : received / (total / 100);
    return base + int(percent / quint64(count));
}

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
