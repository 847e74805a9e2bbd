#include "hashedcopy.h"
#include "refusal.h"
#include "sha256.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool copyAndHash(const QString &source, const QString &destination, ReleaseFile *file, QString *error)
{
    QFile in(source);
    QFile out(destination);
    if (!in.open(QIODevice::ReadOnly))
        return refuse(error, QStringLiteral("cannot read %1: %2").arg(source, in.errorString()));
    // What an earlier run left is removed, not written through: it may be a
    // link to the very file being copied.
    const bool earlier = out.exists() || QFileInfo(destination).isSymLink();
    if (!QDir().mkpath(QFileInfo(destination).path()) || (earlier && !out.remove())
        || !out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return refuse(error, QStringLiteral("cannot create %1: %2").arg(destination, out.errorString()));
    // Size and hash describe the bytes copied, even if the source changes meanwhile.
    Sha256 sha256;
    qint64 copied = 0;
    QByteArray block;
    while (!(block = in.read(1 << 20)).isEmpty()) {
        sha256.addData(block);
        copied += block.size();
        if (out.write(block) != block.size())
            break;
    }
    out.close();
    if (in.error() != QFileDevice::NoError || out.error() != QFileDevice::NoError)
        return refuse(error, QStringLiteral("copying %1 to %2 failed: %3")
                                 .arg(source, destination, in.error() ? in.errorString() : out.errorString()));
    file->size = copied;
    file->sha256 = sha256.result();
    return true;
}
