#ifndef SIGNATURECHECK_H
#define SIGNATURECHECK_H

#include "filestaging.h"
#include "releaseplan.h"
#include "updateerror.h"

#include <QByteArray>
#include <QObject>

#include <memory>

class ProxySignOn;

/// With a publisher's key: the downloaded manifest must give every pending
/// file a size and SHA-256, and carry the publisher's signature, fetched
/// from the release's folder on the server. The signature protects the
/// files only through their sizes and digests.
class SignatureCheck : public QObject
{
    Q_OBJECT

public:
    /// A minisign signature is a few hundred bytes; nothing larger is fetched.
    static constexpr qint64 signatureLimit = 64 * 1024;

    SignatureCheck(const FileStaging::Context &context, const ApplicationLayout &layout, const QByteArray &publicKeys,
                   ProxySignOn *signOn, QObject *parent = nullptr);
    ~SignatureCheck() override;

    /// Checks \a plan, the signature fetched from the folder at \a releaseUrl.
    void start(const ReleasePlan &plan, const QString &releaseUrl);
    const UpdateError &error() const { return failure; }

signals:
    void finished();

private:
    void fetch();
    void onFetched();
    void onSignOnAnswered();
    void refuse(const QString &reason);
    void finish(const UpdateError &error = UpdateError());

    const FileStaging::Context context;
    const ApplicationLayout layout;
    const QByteArray publicKeys;
    ProxySignOn *const signOn;
    QByteArray manifest;
    QString url;
    std::unique_ptr<FileStaging> staging;
    bool waitingForAnswer = false;
    UpdateError failure;
};

#endif // SIGNATURECHECK_H
