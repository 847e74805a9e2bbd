#ifndef UPDATEWINDOW_H
#define UPDATEWINDOW_H

#include "folderlock.h"

#include <QFrame>
#include <QHash>
#include <QString>
#include <QStringList>

class Installation;
class ProxySignOnForm;
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
    /// Works on the application in \a applicationDir (without a trailing
    /// slash) and downloads releases from below \a downloadBaseUrl. The
    /// shipped program passes its own directory and the address fixed at
    /// build time; tests pass a temporary directory and a loopback server.
    UpdateWindow(const QString &applicationDir, const QString &downloadBaseUrl,
                 QWidget *parent = nullptr);
    ~UpdateWindow() override;

    /// How long a download may receive nothing before it counts as failed.
    void setStallTimeout(int msecs) { stallTimeout = msecs; }
    /// The pause before a failed download is first tried again.
    void setRetryPause(int msecs) { retryPause = msecs; }
    /// The base64 key line of the publisher's minisign.pub, fixed at build
    /// time; with a key, only releases it signed are installed.
    void setPublicKey(const QByteArray &key) { publicKey = key; }

    /// Reads both manifests and records the files of the new release whose
    /// version differs from the installed one.
    void compareManifests(const QString &downloadedManifest, const QString &localManifest);
    /// The installed version of \a wantedName according to \a localManifest,
    /// or the empty text.
    QString localFileVersion(const QString &localManifest, const QString &wantedName) const;

    const QStringList &pendingDirs() const { return updateDirs; }
    const QStringList &pendingNames() const { return updateNames; }
    const QString &releaseVersion() const { return newVersion; }

    /// What a click on the update button does next. Kept here rather than
    /// read back from the button, whose label a translation changes.
    enum class ButtonState {
        Update,              // "Update": install the release
        Cancel,              // "Cancle": the installation runs; a click closes
        Start,               // "OK": start Brenvoth and quit
        CloseOnly,           // "OK": another updater runs; a click closes
    };
    ButtonState buttonState() const { return state; }

private slots:
    void on_closeButton_clicked();
    void on_update_clicked();

private:
    bool lockApplicationDir();
    void showAnotherUpdaterRuns();
    void detectPendingUpdate();
    void installUpdate();
    void showInstallationResult(const Installation &installation);
    void onInstallationWaiting(const QString &reason);
    void askForProxyCredentials(Installation *installation, const QString &proxyName);
    void declineOpenQuestion();
    void setButtonState(ButtonState newState);
    void fitUpdateButton();

    Ui::UpdateWindow *ui;
    QStringList updateDirs;
    QStringList updateNames;
    QString newVersion;

    const QString applicationDir;
    const QString downloadBaseUrl;
    int stallTimeout;
    int retryPause;
    QByteArray publicKey;
    int waitingFrom = -1;   // where the text of a wait begins in the notes box
    FolderLock lock;
    ProxySignOnForm *signOnForm = nullptr;
    ButtonState state = ButtonState::Update;
};

#endif // UPDATEWINDOW_H
