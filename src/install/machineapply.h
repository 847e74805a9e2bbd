#ifndef MACHINEAPPLY_H
#define MACHINEAPPLY_H

#include "applicationlayout.h"
#include "applyrequest.h"
#include "updateerror.h"

#include <QObject>

class ElevatedStart;
class ServiceStart;

/// The last step of an update of a folder its user may not write: the
/// release the user staged is handed to brenvoth-update-service.exe, as
/// the service where it is installed, else started elevated after one
/// prompt. That side copies, checks and commits it whole, keeping the
/// release it replaced for this updater's trial key; this step reads back
/// the result it left where only it may write, and on success removes the
/// user's staged copy. After the trial, the same road takes the kept
/// release back, or drops it.
class MachineApply : public QObject
{
    Q_OBJECT

public:
    explicit MachineApply(const ApplicationLayout &layout, QObject *parent = nullptr);

    void start();
    /// After a failed trial of the release that start() applied.
    void restorePrevious(const QByteArray &trialKey);
    /// After a passed trial; only through the service: dropping a copy
    /// early is not worth an administrator's approval.
    void dropPrevious(const QByteArray &trialKey);

    const UpdateError &error() const { return failure; }
    /// The key that start() chose; with it, restorePrevious() or dropPrevious().
    QByteArray trialKey() const { return key; }

signals:
    void finished();

private:
    void onServiceFinished();
    void onElevatedFinished();
    void finishWithResult(quint32 exitCode);
    void finish(const UpdateError &error);
    void send(ApplyRequest asked, bool askForApproval);

    const ApplicationLayout layout;
    ApplyRequest::Kind kind = ApplyRequest::Kind::Apply;
    bool mayAskForApproval = true;
    QByteArray key;
    QByteArray nonce;
    QString request;
    ServiceStart *service = nullptr;
    ElevatedStart *elevated = nullptr;
    UpdateError failure;
};

#endif // MACHINEAPPLY_H
