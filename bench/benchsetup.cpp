#include "benchsetup.h"

#include "httpsession.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSslCertificate>
#include <QSslConfiguration>

#include <algorithm>
#include <chrono>

QByteArray manifestXml(const QByteArray &release, const QVector<ManifestEntry> &files)
{
    QByteArray xml = "<filelist curVersion='" + release + "'>\n    <software version='" + release
        + "' info='Generated release.'>\n";
    for (const ManifestEntry &file : files) {
        xml += "        <file name='" + file.name + "' dir='" + file.dir + "' version='"
            + file.version + "'/>\n";
    }
    return xml + "    </software>\n</filelist>\n";
}

QByteArray generatedManifest(int files, bool downloaded)
{
    QVector<ManifestEntry> entries;
    entries.reserve(files);
    for (int i = 0; i < files; ++i) {
        entries.append({"plugins/part" + QByteArray::number(i % 16) + '/',
                        "file" + QByteArray::number(i) + ".dll",
                        downloaded && i % 2 == 0 ? "2.1.0" : "2.0.0"});
    }
    return manifestXml(downloaded ? "2.1.0" : "2.0.0", entries);
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly)
        && file.write(content) == content.size();
}

QByteArray writeSourceFile(const QString &path, int sizeMiB)
{
    QFile file(path);
    if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly))
        return {};
    QByteArray block(int(mebibyte), Qt::Uninitialized);
    QRandomGenerator generator(4711);
    generator.fillRange(reinterpret_cast<quint32 *>(block.data()), block.size() / 4);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int i = 0; i < sizeMiB; ++i) {
        block.replace(0, int(sizeof i), reinterpret_cast<const char *>(&i), int(sizeof i));
        if (file.write(block) != block.size())
            return {};
        hash.addData(block);
    }
    return hash.result();
}

QByteArray sha1Of(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return hash.result();
}

qint64 procSelfCounter(const char *file, const char *field)
{
    QFile proc(QStringLiteral("/proc/self/") + QLatin1String(file));
    if (!proc.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (QByteArray line = proc.readLine(); !line.isEmpty(); line = proc.readLine()) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

AnonymousMemoryPeak::AnonymousMemoryPeak()
    : sampler([this] {
          while (!stop) {
              peak = std::max<qint64>(peak, procSelfCounter("status", "RssAnon:"));
              std::this_thread::sleep_for(std::chrono::milliseconds(1));
          }
      })
{
}

qint64 AnonymousMemoryPeak::finish()
{
    stop = true;
    if (sampler.joinable())
        sampler.join();
    return peak;
}

double median(QVector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    const int middle = samples.size() / 2;
    return samples.size() % 2 ? samples.at(middle) : (samples.at(middle - 1) + samples.at(middle)) / 2;
}

bool syncDisks()
{
    return QProcess::execute(QStringLiteral("sync"), {}) == 0;
}

bool trustAuthority(const QString &path)
{
    const QList<QSslCertificate> authority = QSslCertificate::fromPath(path);
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.addCaCertificates(authority);
    QSslConfiguration::setDefaultConfiguration(configuration);
    // The downloads go through libcurl, which reads no Qt configuration.
    QFile pem(path);
    if (!pem.open(QIODevice::ReadOnly))
        return false;
    HttpSession::trustAlso(pem.readAll());
    return authority.size() == 1;
}

void discardMessage(QtMsgType, const QMessageLogContext &, const QString &)
{
}
