#ifndef UPDATEWINDOW_H
#define UPDATEWINDOW_H

#include <QFrame>
#include <QHash>
#include <QString>
#include <QStringList>

class QDomElement;

namespace Ui {
class UpdateWindow;
}

/// The updater's one window: shows the new release found in the downloaded
/// manifest and, on the user's clicks, installs it and starts the application.
class UpdateWindow : public QFrame
{
    Q_OBJECT

public:
    /// The shipped window: works in the executable's directory and downloads
    /// from the host fixed at build time.
    explicit UpdateWindow(QWidget *parent = nullptr);
    /// The same window on another application directory and download base URL
    /// (tests point these at a temporary directory and a loopback server).
    UpdateWindow(const QString &applicationDir, const QString &downloadBaseUrl,
                 QWidget *parent = nullptr);
    ~UpdateWindow() override;

    /// Reads both manifests and records the files of the new release whose
    /// version differs from the installed one.
    void compareManifests(const QString &downloadedManifest, const QString &localManifest);
    /// The installed version of \a wantedName according to \a localManifest,
    /// or the empty text.
    QString localFileVersion(const QString &localManifest, const QString &wantedName) const;

    const QStringList &pendingDirs() const { return updateDirs; }
    const QStringList &pendingNames() const { return updateNames; }
    const QString &releaseVersion() const { return newVersion; }

private slots:
    void on_closeButton_clicked();
    void on_update_clicked();

private:
    void detectPendingUpdate();
    void addPendingFiles(const QDomElement &release,
                         const QHash<QString, QString> &installedVersions);
    void installUpdate();

    Ui::UpdateWindow *ui;
    QStringList updateDirs;
    QStringList updateNames;
    QString newVersion;

    const QString applicationDir;
    const QString downloadBaseUrl;
};

#endif // UPDATEWINDOW_H
