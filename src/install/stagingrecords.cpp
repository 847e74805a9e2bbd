#include "stagingrecords.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

// A few times a second: many files begin in that time.
constexpr int writeInterval = 250;

StagingRecords::StagingRecords(const QString &path)
    : log(path)
{
    writeSoon.setSingleShot(true);
    writeSoon.setInterval(writeInterval);
    QObject::connect(&writeSoon, &QTimer::timeout, [this] { writePending(); });
    if (!log.open(QIODevice::ReadOnly))
        return;
    while (!log.atEnd()) {
        const QJsonObject line = QJsonDocument::fromJson(log.readLine()).object();
        const QString url = line.value(QStringLiteral("url")).toString();
        const Record record{line.value(QStringLiteral("validator")).toString().toLatin1(),
                            qint64(line.value(QStringLiteral("length")).toDouble(-1))};
        if (!url.isEmpty() && !record.validator.isEmpty() && record.length >= 0)
            records.insert(url, record);
    }
    log.close();
}

StagingRecords::~StagingRecords()
{
    writePending();
}

// Not flushed to disk: a record lost with a power cut only costs a download.
void StagingRecords::remember(const QString &url, const QByteArray &validator, qint64 length)
{
    const Record known = records.value(url);
    if (validator.isEmpty() || length < 0 || (known.validator == validator && known.length == length))
        return;
    const QJsonObject line{{QStringLiteral("url"), url},
                           {QStringLiteral("validator"), QString::fromLatin1(validator)},
                           {QStringLiteral("length"), double(length)}};
    pending += QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n';
    records.insert(url, {validator, length});
    if (!writeSoon.isActive())
        writeSoon.start();
}

void StagingRecords::writePending()
{
    writeSoon.stop();
    if (pending.isEmpty())
        return;
    if (!log.isOpen()) {
        QDir().mkpath(QFileInfo(log).path());
        if (!log.open(QIODevice::Append))
            return;
    }
    log.write(pending);
    log.flush();
    pending.clear();
}
