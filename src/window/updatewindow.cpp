#include "updatewindow.h"
#include "entrycheck.h"
#include "fileinstall.h"
#include "httpdownloadfile.h"
#include "manifest.h"
#include "updatewindowform.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QDomElement>
#include <QDomNodeList>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>

namespace {

const char *failureLine(Manifest::Status status)
{
    switch (status) {
    case Manifest::Status::Missing:
        return "download version file failed!";
    case Manifest::Status::CannotOpen:
        return "open download xml file failed!";
    case Manifest::Status::NotWellFormed:
        return "xml format error !";
    case Manifest::Status::NotFilelist:
    case Manifest::Status::Read:
        break;
    }
    // The quotation marks are U+2018 and U+2019, spelt out in UTF-8.
    return "xml body is not started with \xE2\x80\x98" "filelist\xE2\x80\x99 !";
}

} // namespace

UpdateWindow::UpdateWindow(const QString &applicationDir, const QString &downloadBaseUrl,
                           QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::UpdateWindow)
    , applicationDir(applicationDir)
    , downloadBaseUrl(downloadBaseUrl)
    , stallTimeout(HttpDownloadFile::defaultStallTimeout)
{
    ui->setupUi(this);
    ui->progressBar->setTextVisible(false);
    setWindowFlags(Qt::FramelessWindowHint);
    detectPendingUpdate();
}

UpdateWindow::~UpdateWindow()
{
    delete ui;
}

void UpdateWindow::detectPendingUpdate()
{
    compareManifests(applicationDir + QStringLiteral("/download/version.xml"),
                     applicationDir + QStringLiteral("/version.xml"));
}

void UpdateWindow::compareManifests(const QString &downloadedManifest, const QString &localManifest)
{
    const Manifest::Document downloaded = Manifest::read(downloadedManifest);
    if (downloaded.status != Manifest::Status::Read) {
        qDebug() << failureLine(downloaded.status);
        return;
    }
    updateDirs.clear();
    updateNames.clear();
    const QDomElement root = downloaded.root();
    newVersion = root.attribute(QStringLiteral("curVersion"), QStringLiteral("1.0.0"));
    ui->version->setText(tr("New Version: ") + newVersion);

    const QDomElement release = Manifest::currentRelease(root, newVersion);
    if (release.isNull())
        return;
    const QString releaseNotes = release.attribute(QStringLiteral("info"));
    if (!releaseNotes.isEmpty())
        ui->textEdit->setText(releaseNotes);
    // One read of the local manifest answers every lookup of the release.
    addPendingFiles(release, Manifest::installedVersions(localManifest));
}

void UpdateWindow::addPendingFiles(const QDomElement &release,
                                   const QHash<QString, QString> &installedVersions)
{
    const QDomNodeList files = release.elementsByTagName(QStringLiteral("file"));
    for (int i = 0; i < files.length(); ++i) {
        const QDomElement file = files.at(i).toElement();
        const QString name = file.attribute(QStringLiteral("name"));
        const QString dir = file.attribute(QStringLiteral("dir"));
        const QString installed = installedVersions.value(name);
        if (installed.isEmpty() || file.attribute(QStringLiteral("version")) != installed) {
            updateDirs.append(dir);
            updateNames.append(name);
        }
    }
}

QString UpdateWindow::localFileVersion(const QString &localManifest, const QString &wantedName) const
{
    return Manifest::installedVersions(localManifest).value(wantedName);
}

void UpdateWindow::on_closeButton_clicked()
{
    close();
}

void UpdateWindow::on_update_clicked()
{
    const QString state = ui->update->text();
    if (state == QLatin1String("Update")) {
        ui->update->setText(tr("Cancle"));
        installUpdate();
    } else if (state == QLatin1String("Cancle")) {
        close();
    } else if (state == QLatin1String("OK")) {
        const QString program = applicationDir + QStringLiteral("/Brenvoth.exe");
        if (QProcess::startDetached(program, QStringList{program}))
            QCoreApplication::quit();
    }
}

void UpdateWindow::installUpdate()
{
    if (updateDirs.isEmpty() || updateNames.isEmpty())
        return;

    const QString urlPrefix = downloadBaseUrl + tr("v") + newVersion + QLatin1Char('/');
    QSet<QString> failedNames;
    int failedCount = 0;
    for (int i = 0; i < updateDirs.size(); ++i) {
        const QString failure = installPendingFile(i, urlPrefix);
        if (failure.isEmpty())
            continue;
        qDebug().noquote() << QStringLiteral("%1%2 not updated: %3")
                                  .arg(updateDirs.at(i), updateNames.at(i), failure);
        failedNames.insert(updateNames.at(i));
        ++failedCount;
    }

    // The staged files go only once the manifest says what is installed;
    // otherwise the next start finds the same update still offered.
    if (replaceLocalManifest(failedNames))
        QDir(applicationDir + QStringLiteral("/download")).removeRecursively();
    reportFailures(failedCount);
    ui->progressBar->setValue(100);
    ui->update->setText(tr("OK"));
}

// Downloads and installs one pending file; the reason it failed, or empty.
QString UpdateWindow::installPendingFile(int index, const QString &urlPrefix)
{
    const QString dir = updateDirs.at(index);
    const QString name = updateNames.at(index);
    QString failure;
    if (!isSafeEntry(dir, name, &failure))
        return failure;

    const QString downloadDir = applicationDir + QStringLiteral("/download");
    const QString saveDir = downloadDir + QLatin1Char('/') + dir;
    if (!makeFolderInside(applicationDir, downloadDir, &failure)
        || !makeFolderInside(downloadDir, saveDir, &failure))
        return failure;

    auto *downloader = new HttpDownloadFile(name, urlPrefix + dir + name, saveDir, this);
    downloader->setStallTimeout(stallTimeout);
    watchProgress(downloader, index);
    downloader->startDownload();
    // Sleeps until something happens; quit() ends event loops, not this wait.
    while (downloader->downloading)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (!downloader->succeeded())
        return downloader->errorString();

    const QString destinationDir = applicationDir + QLatin1Char('/') + dir;
    const QString destination = destinationDir + QLatin1Char('/') + name;
    if (!makeFolderInside(applicationDir, destinationDir, &failure))
        return failure;
    if (!staysInside(applicationDir, destination))
        return QStringLiteral("%1 leads outside %2").arg(destination, applicationDir);
    if (!installFile(saveDir + QLatin1Char('/') + name, destination, &failure))
        return failure;
    qDebug() << destination;
    return QString();
}

void UpdateWindow::watchProgress(HttpDownloadFile *downloader, int index)
{
    connect(downloader, &HttpDownloadFile::downloadProgress, downloader,
            [this, index](uint64_t byteReceived, uint64_t byteTotal) {
                const int value = progressValue(index, updateDirs.size(), byteReceived, byteTotal);
                ui->progressBar->setValue(qMax(ui->progressBar->value(), value));
            },
            Qt::DirectConnection);
}

// Makes the downloaded manifest the local one, with curVersion set and every
// failed file still claiming only what is installed of it.
bool UpdateWindow::replaceLocalManifest(const QSet<QString> &failedNames)
{
    const QString localManifest = applicationDir + QStringLiteral("/version.xml");
    Manifest::Document downloaded =
        Manifest::read(applicationDir + QStringLiteral("/download/version.xml"));
    if (downloaded.status != Manifest::Status::Read) {
        qDebug() << "the downloaded manifest cannot be read any more; version.xml is kept";
        return false;
    }
    QDomElement root = downloaded.root();
    root.setAttribute(QStringLiteral("curVersion"), newVersion);
    if (!failedNames.isEmpty()) {
        Manifest::keepInstalledVersions(Manifest::currentRelease(root, newVersion), failedNames,
                                        Manifest::installedVersions(localManifest));
    }
    QString error;
    if (!Manifest::write(downloaded.document, localManifest, &error)) {
        qDebug().noquote() << error;
        return false;
    }
    return true;
}

void UpdateWindow::reportFailures(int failedCount)
{
    if (failedCount == 0)
        return;
    ui->textEdit->append(failedCount == 1
        ? tr("1 file could not be updated. It will be tried again at the next update.")
        : tr("%1 files could not be updated. They will be tried again at the next update.")
              .arg(failedCount));
}
