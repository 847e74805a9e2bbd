#ifndef UPDATEWINDOW_H
#define UPDATEWINDOW_H

#include <QFrame>
#include <QString>

class ProxySignOnForm;
struct PendingUpdate;
class UpdateController;
class UpdateJob;

namespace Ui {
class UpdateWindow;
}

/// The updater's one window: shows what the controller found and how its
/// update goes, and forwards the user's clicks to it.
class UpdateWindow : public QFrame
{
    Q_OBJECT

public:
    explicit UpdateWindow(UpdateController *controller, QWidget *parent = nullptr);
    ~UpdateWindow() override;

    /// What a click on the update button does next. Kept here rather than
    /// read back from the button, whose label a translation changes.
    enum class ButtonState {
        Update,              // "Update": install the release
        Cancel,              // "Cancle": the update runs; a click closes
        Start,               // "OK": start Brenvoth and quit
        CloseOnly,           // "OK": another updater runs; a click closes
    };
    ButtonState buttonState() const { return state; }

private slots:
    void on_closeButton_clicked();
    void on_update_clicked();

private:
    void showPendingUpdate();
    void showAnotherUpdaterRuns();
    void showRefusedRelease();
    void showUpdatesDisabled();
    void showHold(const PendingUpdate &pending);
    void startUpdate();
    void onProgressChanged(int value);
    void onWaiting(const QString &reason);
    void onProxyCredentialsNeeded(const QString &proxyName);
    void onUpdateFinished();
    void onTrialEnded();
    void showFailure();
    void appendToNotes(const QString &html);
    void declineOpenQuestion();
    void setButtonState(ButtonState newState);
    void showApprovalShield();
    void fitUpdateButton();

    Ui::UpdateWindow *ui;
    UpdateController *const controller;
    UpdateJob *job = nullptr;
    int waitingFrom = -1;   // where the text of a wait begins in the notes box
    ProxySignOnForm *signOnForm = nullptr;
    ButtonState state = ButtonState::Update;
};

#endif // UPDATEWINDOW_H
