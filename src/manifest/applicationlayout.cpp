#include "applicationlayout.h"
#include "serverlayout.h"

#include <QDir>

namespace {

QString joined(const QString &folder, const QString &dir, const QString &name)
{
    return QDir::cleanPath(folder + QLatin1Char('/') + dir + QLatin1Char('/') + name);
}

} // namespace

ApplicationLayout::ApplicationLayout(const QString &applicationDir)
    : appDir(applicationDir)
    , stagingDir(applicationDir + QLatin1Char('/') + downloadFolderName())
    , lock(applicationDir + QLatin1Char('/') + lockName())
    , ownDir(applicationDir + QLatin1Char('/') + bookkeepingFolderName())
{
}

ApplicationLayout::ApplicationLayout(const QString &applicationDir, const QString &stagingDir)
    : appDir(applicationDir)
    , stagingDir(stagingDir)
    , lock(stagingDir + QLatin1Char('/') + lockName())
    , ownDir(applicationDir + QLatin1Char('/') + bookkeepingFolderName())
{
}

ApplicationLayout ApplicationLayout::appliedFrom(const QString &applicationDir, const QString &ownDir)
{
    ApplicationLayout layout(applicationDir, ownDir + QStringLiteral("/staging"));
    layout.ownDir = ownDir;
    return layout;
}

ApplicationLayout ApplicationLayout::stagedByUser(const QString &applicationDir, const QString &userDir,
                                                  const QString &applyingDir)
{
    ApplicationLayout layout(applicationDir, userDir + QLatin1Char('/') + downloadFolderName());
    layout.lock = userDir + QLatin1Char('/') + lockName();
    layout.ownDir = applyingDir;
    layout.forUser = true;
    return layout;
}

QString ApplicationLayout::localManifestName()
{
    return ServerLayout::manifestName();
}

QString ApplicationLayout::programName()
{
    return QStringLiteral("Brenvoth.exe");
}

QString ApplicationLayout::lockName()
{
    return QStringLiteral("BrenvothUpdater.lock");
}

QString ApplicationLayout::downloadFolderName()
{
    return QStringLiteral("download");
}

QString ApplicationLayout::bookkeepingFolderName()
{
    return QStringLiteral(".updater");
}

QString ApplicationLayout::localManifest() const
{
    return appDir + QLatin1Char('/') + localManifestName();
}

QString ApplicationLayout::program() const
{
    return appDir + QLatin1Char('/') + programName();
}

QString ApplicationLayout::lockFile() const
{
    return lock;
}

QString ApplicationLayout::downloadedManifest() const
{
    return stagingDir + QLatin1Char('/') + ServerLayout::manifestName();
}

QString ApplicationLayout::signature() const
{
    return stagingDir + QLatin1Char('/') + ServerLayout::signatureName();
}

QString ApplicationLayout::bookkeepingDir() const
{
    return stagingDir + QLatin1Char('/') + bookkeepingFolderName();
}

QString ApplicationLayout::journal() const
{
    return bookkeepingDir() + QStringLiteral("/journal");
}

QString ApplicationLayout::backupDir() const
{
    return bookkeepingDir() + QStringLiteral("/backup");
}

QString ApplicationLayout::stagingRecords() const
{
    return bookkeepingDir() + QStringLiteral("/staging");
}

QString ApplicationLayout::partsDir() const
{
    return bookkeepingDir() + QStringLiteral("/parts");
}

QString ApplicationLayout::stagedPath(const QString &dir, const QString &name) const
{
    return joined(stagingDir, dir, name);
}

QString ApplicationLayout::destinationPath(const QString &dir, const QString &name) const
{
    return joined(appDir, dir, name);
}

QString ApplicationLayout::backupPath(const QString &dir, const QString &name) const
{
    return joined(backupDir(), dir, name);
}

QString ApplicationLayout::keptReleaseDir() const
{
    return ownDir + QStringLiteral("/previous");
}

QString ApplicationLayout::failedReleaseRecord() const
{
    return ownDir + QStringLiteral("/failed-release");
}
