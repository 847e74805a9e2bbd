#include "generatedrelease.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

namespace {

constexpr int folders = 8;
constexpr qint64 kibibyte = 1024;

// The same bytes at the start, the middle and the end of both files (all of
// them for files up to 1 MiB).
bool sameSample(const QString &path, const QString &otherPath, qint64 size)
{
    QFile file(path);
    QFile other(otherPath);
    if (!file.open(QIODevice::ReadOnly) || !other.open(QIODevice::ReadOnly))
        return false;
    const qint64 block = std::min(size, mebibyte);
    for (const qint64 offset : {qint64(0), (size - block) / 2, size - block}) {
        if (!file.seek(offset) || !other.seek(offset) || file.read(block) != other.read(block))
            return false;
    }
    return true;
}

} // namespace

const QByteArray GeneratedRelease::newVersion = "2.0.0";
const QString GeneratedRelease::releasePath = QStringLiteral("brenvothDownload/windows/");
const QString GeneratedRelease::versionPath =
    releasePath + QStringLiteral("v") + QLatin1String(newVersion) + QLatin1Char('/');

GeneratedRelease::GeneratedRelease(const char *key, int files, qint64 fileSize)
    : label(QStringLiteral("%1 x %2").arg(files).arg(
          fileSize < mebibyte ? QStringLiteral("%1 KiB").arg(fileSize / kibibyte)
                              : QStringLiteral("%1 MiB").arg(fileSize / mebibyte))),
      key(QString::fromLatin1(key)), files(files), fileSize(fileSize)
{
}

bool GeneratedRelease::publish(const QString &servedDir) const
{
    for (int i = 0; i < files; ++i) {
        if (!writeGeneratedFile(servedDir + path(i), fileSize, quint32(i + 1)))
            return false;
    }
    return true;
}

QByteArray GeneratedRelease::curlConfig(const QString &urlPrefix, const QString &outputDir) const
{
    QByteArray config;
    for (int i = 0; i < files; ++i) {
        config += "url = \"" + (urlPrefix + path(i)).toUtf8() + "\"\noutput = \""
            + (outputDir + path(i)).toUtf8() + "\"\n";
    }
    return config;
}

bool GeneratedRelease::layOutApplication(const QString &appDir) const
{
    for (int i = 0; i < files; ++i) {
        if (!writeFile(appDir + QLatin1Char('/') + path(i), name(i) + " 1.0.0\n"))
            return false;
    }
    return writeFile(appDir + QStringLiteral("/version.xml"), manifestXml("1.0.0", entries("1.0.0")))
        && writeFile(appDir + QStringLiteral("/download/version.xml"),
                     manifestXml(newVersion, entries(newVersion)));
}

QString GeneratedRelease::wrongFile(const QString &dir, const QString &servedDir) const
{
    const int step = std::max(1, files / 32);
    for (int i = 0; i < files; ++i) {
        const QFileInfo copy(dir + path(i));
        if (copy.size() != fileSize) {
            return QStringLiteral("%1 has %2 bytes, not %3")
                .arg(copy.filePath()).arg(copy.size()).arg(fileSize);
        }
        if ((i % step == 0 || i == files - 1)
            && !sameSample(copy.filePath(), servedDir + path(i), fileSize))
            return copy.filePath() + QStringLiteral(" differs from the served file");
    }
    return {};
}

QByteArray GeneratedRelease::dir(int i) const
{
    return key.toLatin1() + "/part" + QByteArray::number(i % folders) + '/';
}

QVector<ManifestEntry> GeneratedRelease::entries(const QByteArray &version) const
{
    QVector<ManifestEntry> list;
    list.reserve(files);
    for (int i = 0; i < files; ++i)
        list.append({dir(i), name(i), version});
    return list;
}

bool writeGeneratedFile(const QString &path, qint64 size, quint32 seed)
{
    QFile file(path);
    if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly))
        return false;
    QRandomGenerator generator(seed);
    QByteArray block(int(std::min(size, mebibyte)), Qt::Uninitialized);
    for (qint64 left = size; left > 0; left -= block.size()) {
        generator.fillRange(reinterpret_cast<quint32 *>(block.data()), block.size() / 4);
        const qint64 length = std::min<qint64>(left, block.size());
        if (file.write(block.constData(), length) != length)
            return false;
    }
    return true;
}
