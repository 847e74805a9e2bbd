#include "commitjournal.h"
#include "durablefiles.h"
#include "entryname.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {

// A folder recorded in the journal is relative and never climbs out.
bool isSafeFolder(const QString &dir)
{
    QString reason;
    return !dir.isEmpty() && isSafeEntry(dir + QLatin1Char('/'), QStringLiteral("folder"), &reason);
}

} // namespace

bool CommitJournal::write(const QString &path) const
{
    QJsonArray entries;
    for (int i = 0; i < files.size(); ++i) {
        QJsonObject entry{{QStringLiteral("dir"), files.at(i).dir},
                          {QStringLiteral("name"), files.at(i).name},
                          {QStringLiteral("existed"), existed.at(i)}};
        if (files.at(i).removed)
            entry.insert(QStringLiteral("removed"), true);
        entries.append(entry);
    }
    const QJsonObject journal{
        {QStringLiteral("version"), version},
        {QStringLiteral("files"), entries},
        {QStringLiteral("createdDirs"), QJsonArray::fromStringList(createdDirs)},
        {QStringLiteral("localManifest"), QString::fromLatin1(localManifest.toBase64())}};
    const QByteArray content = QJsonDocument(journal).toJson(QJsonDocument::Compact);
    const QString folder = QFileInfo(path).path();
    QSaveFile file(path);
    if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly) || file.write(content) != content.size()
        || !file.commit())
        return false;
    flushDirectory(folder);
    return true;
}

bool CommitJournal::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QJsonObject journal = QJsonDocument::fromJson(file.readAll()).object();
    version = journal.value(QStringLiteral("version")).toString();
    localManifest = QByteArray::fromBase64(journal.value(QStringLiteral("localManifest")).toString().toLatin1());
    const QJsonArray entries = journal.value(QStringLiteral("files")).toArray();
    for (const QJsonValue &value : entries) {
        const QJsonObject entry = value.toObject();
        const File read{entry.value(QStringLiteral("dir")).toString(), entry.value(QStringLiteral("name")).toString(),
                        entry.value(QStringLiteral("removed")).toBool()};
        QString reason;
        if (!isSafeEntry(read.dir, read.name, &reason))
            return false;
        files << read;
        existed << entry.value(QStringLiteral("existed")).toBool();
    }
    const QJsonArray dirs = journal.value(QStringLiteral("createdDirs")).toArray();
    for (const QJsonValue &value : dirs) {
        if (!isSafeFolder(value.toString()))
            return false;
        createdDirs << value.toString();
    }
    return !version.isEmpty() && !files.isEmpty() && !localManifest.isEmpty();
}
