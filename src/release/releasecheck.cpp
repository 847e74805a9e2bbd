#include "releasecheck.h"
#include "manifest.h"
#include "minisign.h"
#include "serverlayout.h"
#include "zstdframe.h"

#include <QFile>
#include <QFileInfo>

#include <utility>

namespace {

// As the updater: a minisign signature is a few hundred bytes.
constexpr qint64 signatureLimit = 64 * 1024;
// Qt opens this many HTTP/1.1 connections to one host.
constexpr int checksAtOnce = 6;
constexpr int progressInterval = 3000;

// The key line of a minisign .pub file, or the line itself.
QByteArray keyLine(const QString &fileOrLine)
{
    QFile file(fileOrLine);
    if (!QFileInfo(fileOrLine).isFile() || !file.open(QIODevice::ReadOnly))
        return fileOrLine.trimmed().toLatin1();
    for (const QByteArray &line : file.read(64 * 1024).split('\n')) {
        if (!line.trimmed().isEmpty() && !line.startsWith("untrusted comment:"))
            return line.trimmed();
    }
    return QByteArray();
}

} // namespace

ReleaseCheck::ReleaseCheck(CheckOptions options, QObject *parent)
    : QObject(parent)
    , options(std::move(options))
    , source(this->options.location)
{
    connect(&source, &ReleaseSource::transferred, this, [this](qint64 bytes) { bytesFetched += bytes; });
    progressTimer.setInterval(progressInterval);
    connect(&progressTimer, &QTimer::timeout, this, &ReleaseCheck::onProgressTimer);
}

bool ReleaseCheck::run()
{
    if (!source.locationProblem().isEmpty()) {
        found[-1] << source.locationProblem();
        return false;
    }
    if (!options.publicKey.isEmpty() && (publicKey = keyLine(options.publicKey)).isEmpty()) {
        found[-1] << tr("%1 holds no public key").arg(options.publicKey);
        return false;
    }
    progressTimer.start();
    source.fetch(ServerLayout::manifestName(), -1, QByteArray(), Manifest::maxBytes,
                 [this](const QString &localPath, const QString &problem) { onManifestFetched(localPath, problem); });
    loop.exec();
    return found.isEmpty();
}

QStringList ReleaseCheck::problems() const
{
    QStringList lines;
    for (const QStringList &some : found)
        lines += some;
    return lines;
}

QString ReleaseCheck::summary() const
{
    int compressed = 0, patches = 0;
    for (const Item &item : list.items()) {
        compressed += item.kind == Item::Kind::Compressed;
        patches += item.kind == Item::Kind::Patch;
    }
    QString text = tr("release %1 at %2 is whole: %3 files, %4 .zst files and %5 patches, %6")
                       .arg(list.version(), source.where(QString()))
                       .arg(list.items().size() - compressed - patches)
                       .arg(compressed)
                       .arg(patches)
                       .arg(options.deep ? tr("their sizes and digests checked, %1 decoded").arg(decoded)
                                         : tr("their sizes checked"));
    if (notDecoded > 0)
        text += tr(" (%1 patches not decoded: the earlier copy they start from is not listed or not there)")
                    .arg(notDecoded);
    text += signatureVerified ? tr("; the signature verified") : tr("; no signature checked (no --key)");
    const QStringList notesLanguages = list.notesLanguages();
    return text + (notesLanguages.isEmpty() ? tr("; notes in no other language")
                                            : tr("; notes also in %1").arg(notesLanguages.join(QStringLiteral(", "))));
}

void ReleaseCheck::onManifestFetched(const QString &localPath, const QString &problem)
{
    if (!problem.isEmpty()) {
        addProblem(-1, ServerLayout::manifestName(), problem);
        return finish();
    }
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly)) {
        addProblem(-1, ServerLayout::manifestName(), file.errorString());
        return finish();
    }
    manifestBytes = file.readAll();
    file.close();
    source.done(localPath);
    const bool listed = list.read(manifestBytes, !publicKey.isEmpty());
    for (const CheckList::Problem &listProblem : list.problems())
        addProblem(-1, listProblem.path, listProblem.text);
    if (!listed)
        return finish();
    if (publicKey.isEmpty())
        return startItems();
    verifySignature();
}

void ReleaseCheck::verifySignature()
{
    const QString path = list.releaseFolder() + ServerLayout::signatureName();
    source.fetch(path, -1, QByteArray(), signatureLimit, [this, path](const QString &localPath, const QString &problem) {
        QFile file(localPath);
        QString reason = problem;
        if (reason.isEmpty() && !file.open(QIODevice::ReadOnly))
            reason = file.errorString();
        if (reason.isEmpty() && !Minisign::verify(publicKey, manifestBytes, file.readAll(), &reason))
            reason = tr("it is no valid signature of %1 by this key: %2").arg(ServerLayout::manifestName(), reason);
        file.close();
        source.done(localPath);
        if (reason.isEmpty())
            signatureVerified = true;
        else
            addProblem(-1, path, reason);
        startItems();
    });
}

void ReleaseCheck::startItems()
{
    while (next < list.items().size() && running < checksAtOnce) {
        ++running;
        checkItem(next++);
    }
    if (running == 0)
        finish();
}

void ReleaseCheck::checkItem(int index)
{
    const Item &item = list.items().at(index);
    if (!options.deep) {
        source.askSize(item.path, [this, index](qint64 size, const QString &problem) {
            const qint64 expected = list.items().at(index).size;
            onItemChecked(index, !problem.isEmpty() || expected < 0 || size == expected
                                     ? problem : ReleaseSource::sizeProblem(size, expected));
        });
        return;
    }
    const QByteArray sha256 = item.kind == Item::Kind::File ? item.sha256 : QByteArray();
    source.fetch(item.path, item.size, sha256, -1, [this, index](const QString &localPath, const QString &problem) {
        const Item &item = list.items().at(index);
        if (!problem.isEmpty() || item.kind == Item::Kind::File) {
            source.done(localPath);
            return onItemChecked(index, problem);
        }
        if (item.kind == Item::Kind::Compressed)
            return checkDecoded(index, localPath, QString());
        if (item.reference.isEmpty()) {
            ++notDecoded;
            source.done(localPath);
            return onItemChecked(index);
        }
        source.fetch(item.reference, item.referenceSize, item.referenceSha256, -1,
                     [this, index, localPath](const QString &referencePath, const QString &referenceProblem) {
                         // Users who patch hold that copy themselves; only this check lacks it.
                         if (!referenceProblem.isEmpty()) {
                             ++notDecoded;
                             source.done(localPath);
                             return onItemChecked(index);
                         }
                         checkDecoded(index, localPath, referencePath);
                     });
    });
}

void ReleaseCheck::checkDecoded(int index, const QString &compressed, const QString &reference)
{
    const Item &item = list.items().at(index);
    QString problem;
    if (readZstdFrame({compressed, reference, QString(), item.decodedSize, item.decodedSha256}, &problem))
        ++decoded;
    source.done(compressed);
    source.done(reference);
    onItemChecked(index, problem);
}

void ReleaseCheck::onItemChecked(int index, const QString &problem)
{
    if (!problem.isEmpty())
        addProblem(index, list.items().at(index).path, problem);
    ++checked;
    --running;
    startItems();
}

void ReleaseCheck::onProgressTimer()
{
    QString line = tr("checked %1 of %2 files").arg(checked).arg(list.items().size());
    if (options.deep)
        line += tr(", %1 MB fetched").arg(bytesFetched / 1000000);
    emit progressed(line);
}

void ReleaseCheck::addProblem(int index, const QString &relative, const QString &problem)
{
    found[index] << QStringLiteral("%1: %2").arg(source.where(relative), problem);
}

void ReleaseCheck::finish()
{
    progressTimer.stop();
    loop.quit();
}
