#ifndef MACHINEAPPLY_H
#define MACHINEAPPLY_H

#include "applicationlayout.h"
#include "updateerror.h"

#include <QObject>

class ElevatedStart;
class ServiceStart;

/// The last step of an update of a folder its user may not write: the
/// release the user staged is handed to brenvoth-update-service.exe, as
/// the service where it is installed, else started elevated after one
/// prompt. That side copies, checks and commits it whole; this step reads
/// back the result it left where only it may write, and on success removes
/// the user's staged copy.
class MachineApply : public QObject
{
    Q_OBJECT

public:
    explicit MachineApply(const ApplicationLayout &layout, QObject *parent = nullptr);

    void start();
    const UpdateError &error() const { return failure; }

signals:
    void finished();

private:
    void onServiceFinished();
    void onElevatedFinished();
    void finishWithResult(quint32 exitCode);
    void finish(const UpdateError &error);

    const ApplicationLayout layout;
    QByteArray nonce;
    QString request;
    ServiceStart *service = nullptr;
    ElevatedStart *elevated = nullptr;
    UpdateError failure;
};

#endif // MACHINEAPPLY_H
