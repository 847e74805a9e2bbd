#include "releasecommit.h"
#include "durablefiles.h"
#include "entrycheck.h"
#include "fileholders.h"
#include "keptrelease.h"
#include "windowsfiles.h"

#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

namespace {

// A held file is tried again after growing pauses, often at first: most
// holders let go within a second.
constexpr int firstHeldPause = 50;
constexpr int longestHeldPause = 2000;

bool writeWhole(const QString &path, const QByteArray &content)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit();
}

} // namespace

ReleaseCommit::ReleaseCommit(const ApplicationLayout &layout)
    : layout(layout)
    , applicationDir(layout.applicationDir())
{
}

QString ReleaseCommit::staged(const File &file) const
{
    return layout.stagedPath(file.dir, file.name);
}

QString ReleaseCommit::destination(const File &file) const
{
    return layout.destinationPath(file.dir, file.name);
}

QString ReleaseCommit::backup(const File &file) const
{
    return layout.backupPath(file.dir, file.name);
}

// Most files share their folder with the one before. A file that another
// program holds is tried again until the limit, and the caller told
// meanwhile; \a step is the test hook's, -1 for none. It runs on a worker
// thread, or before the window shows: a pause blocks no one.
bool ReleaseCommit::moveFile(const QString &from, const QString &to, int step)
{
    const QString folder = QFileInfo(to).path();
    if (!knownFolders.contains(folder)) {
        QDir().mkpath(folder);
        knownFolders.insert(folder);
    }
    const QString installed = from.startsWith(layout.downloadDir() + QLatin1Char('/')) ? to : from;
    QElapsedTimer waited;
    int pause = firstHeldPause;
    bool moved = false;
    while (!(moved = attemptMove(from, to, step)) && held) {
        if (!waited.isValid()) {
            waited.start();
            holder = holderOf(from, to);
            if (waitReport)
                waitReport(QDir(applicationDir).relativeFilePath(installed), holder);
        }
        const qint64 left = heldFileLimit - waited.elapsed();
        if (left <= 0)
            break;
        QThread::msleep(ulong(qMin<qint64>(pause, left)));
        pause = qMin(pause * 2, longestHeldPause);
    }
    if (waited.isValid()) {
        // Whoever holds it at the end is the one to name.
        const QString lastHolder = held ? holderOf(from, to) : QString();
        if (!lastHolder.isEmpty())
            holder = lastHolder;
        if (waitReport)
            waitReport(QString(), QString());
    }
    return moved;
}

bool ReleaseCommit::attemptMove(const QString &from, const QString &to, int step)
{
    lastError = 0;
    held = false;
    const StepAction action = step >= 0 && stepHook ? stepHook(step) : StepAction::Continue;
    if (action == StepAction::Stop)
        stopped = true;
    if (action == StepAction::Stop || action == StepAction::Fail)
        return false;
    lastError = action == StepAction::Hold ? WindowsFiles::sharingViolation : WindowsFiles::move(from, to);
    held = lastError != 0
           && (action == StepAction::Hold || WindowsFiles::isHeldByAnother(lastError, from)
               || WindowsFiles::isHeldByAnother(lastError, to));
    return lastError == 0;
}

QString ReleaseCommit::holderOf(const QString &from, const QString &to) const
{
    QStringList existing;
    for (const QString &path : {from, to}) {
        if (QFileInfo::exists(path))
            existing << path;
    }
    return WindowsFiles::holders(existing).value(0);
}

// Asks the test hook about the step before running it.
bool ReleaseCommit::perform(const std::function<bool()> &operation)
{
    const StepAction action = stepHook ? stepHook(stepCount++) : StepAction::Continue;
    if (action == StepAction::Stop)
        stopped = true;
    return action == StepAction::Continue && operation();
}

bool ReleaseCommit::fail(const QString &text)
{
    error = text;
    return false;
}

// The system's own code, and who held the file, stay in the text for the log.
bool ReleaseCommit::failOn(const QString &path, const QString &text)
{
    blocked = path;
    blockedByHolder = held;
    blockingHolder = held ? holder : QString();
    if (lastError == 0)
        return fail(text);
    const QString by = blockingHolder.isEmpty() ? QString() : QStringLiteral(", held by ") + blockingHolder;
    return fail(QStringLiteral("%1 (error %2%3)").arg(text).arg(lastError).arg(by));
}

bool ReleaseCommit::commit(const QString &version, const QVector<File> &files,
                           const QByteArray &localManifest)
{
    CommitJournal plan{version, files, {}, {}, localManifest};
    QSet<QString> existingFolders;
    for (const File &file : files) {
        plan.existed << QFileInfo::exists(destination(file));
        QString folder = QFileInfo(destination(file)).path();
        QStringList missing;
        while (!existingFolders.contains(folder) && folder.startsWith(applicationDir + QLatin1Char('/'))
               && !QFileInfo::exists(folder)) {
            missing.prepend(folder.mid(applicationDir.size() + 1));
            folder = QFileInfo(folder).path();
        }
        existingFolders.insert(folder);
        for (const QString &dir : qAsConst(missing)) {
            if (!plan.createdDirs.contains(dir))
                plan.createdDirs << dir;
        }
    }
    QDir(layout.backupDir()).removeRecursively();
    if (keepPrevious) {
        QFile installed(layout.localManifest());
        previousManifest = installed.open(QIODevice::ReadOnly) ? installed.readAll() : QByteArray();
    }
    // The journal must never name a staged file that is not wholly on disk.
    if (!perform([&] { return flushStagedFiles(layout.downloadDir()); }))
        return fail(QStringLiteral("the downloaded files cannot be written to disk"));
    if (!perform([&] { return plan.write(layout.journal()); }))
        return fail(QStringLiteral("the update's journal cannot be written"));
    if (!runForward(plan, false)) {
        if (!stopped)
            unfinished = !rollBack(plan);
        return false;
    }
    finish(plan);
    return true;
}

// A fresh commit knows where every file is. One \a resuming a commit that
// stopped half-way looks: what is in place stays.
bool ReleaseCommit::runForward(const CommitJournal &plan, bool resuming)
{
    for (const QString &dir : plan.createdDirs) {
        const QString folder = applicationDir + QLatin1Char('/') + dir;
        if (!perform([&] { return QDir().mkpath(folder) && staysInside(applicationDir, folder); }))
            return fail(QStringLiteral("cannot create the folder %1").arg(folder));
    }
    for (int i = 0; i < plan.files.size(); ++i) {
        const File &file = plan.files.at(i);
        const QString target = destination(file);
        if (file.removed) {
            if (QFileInfo::exists(target) && !moveFile(target, backup(file), stepCount++))
                return failOn(target, QStringLiteral("%1 cannot be moved aside").arg(target));
            continue;
        }
        if (resuming && !QFileInfo::exists(staged(file)))
            continue;
        if (plan.existed.at(i) && (!resuming || (QFileInfo::exists(target) && !QFileInfo::exists(backup(file))))) {
#ifndef Q_OS_WIN
            // An executable stays executable. Windows has no such bit, and a
            // read-only file was refused before the download.
            QFile::setPermissions(staged(file), QFile::permissions(target));
#endif
            if (!moveFile(target, backup(file), stepCount++))
                return failOn(target, QStringLiteral("%1 cannot be moved aside").arg(target));
        }
        if (!moveFile(staged(file), target, stepCount++))
            return failOn(target, QStringLiteral("%1 cannot be replaced").arg(target));
        qDebug() << applicationDir + QLatin1Char('/') + file.dir + QLatin1Char('/') + file.name;
    }
    const QString localManifest = layout.localManifest();
    if (!perform([&] { return writeWhole(localManifest, plan.localManifest); }))
        return failOn(localManifest, QStringLiteral("%1 cannot be written").arg(localManifest));
    return true;
}

// The renames reach the disk before the journal that could undo them goes.
bool ReleaseCommit::finish(const CommitJournal &plan)
{
    flushToDisk(applicationDir, {layout.localManifest()});
    if (!QFile::remove(layout.journal()))
        return fail(QStringLiteral("the journal cannot be removed"));
    flushDirectory(layout.bookkeepingDir());
    // Kept after the journal went: a power cut before then finishes or undoes
    // the commit, and a release finished by recovery is not tried.
    if (!previousManifest.isEmpty() && !KeptRelease(layout).keep(plan, previousManifest))
        qDebug().noquote() << QStringLiteral("The replaced release cannot be kept");
    // A backup still in use (a running library on Windows) stays until the next start.
    QDir(layout.downloadDir()).removeRecursively();
    return true;
}

// Works from what is on disk, so it undoes a commit stopped at any step.
bool ReleaseCommit::rollBack(const CommitJournal &plan)
{
    bool restored = true;
    for (int i = plan.files.size() - 1; i >= 0; --i) {
        const File &file = plan.files.at(i);
        const QString target = destination(file), stagedCopy = staged(file), saved = backup(file);
        const bool newInPlace = QFileInfo::exists(target) && !QFileInfo::exists(stagedCopy)
                                && (QFileInfo::exists(saved) || !plan.existed.at(i));
        // The new file goes back to the staging area, ready for the next attempt.
        if (newInPlace)
            restored = moveFile(target, stagedCopy) && restored;
        if (QFileInfo::exists(saved)) {
            if (QFileInfo::exists(target))
                restored = QFile::remove(target) && restored;
            restored = moveFile(saved, target) && restored;
        }
    }
    for (int i = plan.createdDirs.size() - 1; i >= 0; --i)
        QDir(applicationDir).rmdir(plan.createdDirs.at(i));
    // A journal stays as long as something is not back, for the next start.
    if (!restored)
        return fail(error + QStringLiteral("; putting the old files back failed too"));
    QDir(layout.backupDir()).removeRecursively();
    QFile::remove(layout.journal());
    return true;
}

bool ReleaseCommit::canGoForward(const CommitJournal &plan) const
{
    for (int i = 0; i < plan.files.size(); ++i) {
        const File &file = plan.files.at(i);
        if (file.removed)
            continue;   // aside or still in place, either way it can go
        const bool inPlace = QFileInfo::exists(destination(file))
                             && (!plan.existed.at(i) || QFileInfo::exists(backup(file)));
        if (!QFileInfo::exists(staged(file)) && !inPlace)
            return false;
    }
    return true;
}

QString ReleaseCommit::recover()
{
    if (!QFileInfo::exists(layout.journal())) {
        const QString backups = layout.backupDir();
        if (!QFileInfo::exists(backups))
            return QString();
        QDir(backups).removeRecursively();
        return QStringLiteral("deleted the backups left by the last update");
    }
    CommitJournal plan;
    if (!plan.read(layout.journal()))
        return QStringLiteral("the journal of an interrupted update cannot be read; it is left alone");
    if (canGoForward(plan) && runForward(plan, true)) {
        finish(plan);
        return QStringLiteral("finished the interrupted update to %1").arg(plan.version);
    }
    if (rollBack(plan))
        return QStringLiteral("undid the interrupted update to %1").arg(plan.version);
    return QStringLiteral("could not undo the interrupted update to %1: %2").arg(plan.version, error);
}
