#include "updatewindow.h"
#include "updatewindowform.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>

UpdateWindow::UpdateWindow(QWidget *parent)
    : UpdateWindow(QCoreApplication::applicationDirPath(),
                   QStringLiteral(BRENVOTH_DOWNLOAD_BASE_URL), parent)
{
}

UpdateWindow::UpdateWindow(const QString &applicationDir, const QString &downloadBaseUrl,
                           QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::UpdateWindow)
    , applicationDir(applicationDir)
    , downloadBaseUrl(downloadBaseUrl)
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
    // Detection of the pending files comes with the manifest reader.
    Q_UNUSED(downloadedManifest)
    Q_UNUSED(localManifest)
}

QString UpdateWindow::localFileVersion(const QString &localManifest, const QString &wantedName) const
{
    Q_UNUSED(localManifest)
    Q_UNUSED(wantedName)
    return QString();
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
}
