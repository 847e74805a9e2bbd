#include "signaturecheck.h"
#include "minisign.h"
#include "proxysignon.h"
#include "serverlayout.h"

#include <QFile>

SignatureCheck::SignatureCheck(const FileStaging::Context &context, const ApplicationLayout &layout,
                               const QByteArray &publicKeys, ProxySignOn *signOn, QObject *parent)
    : QObject(parent)
    , context(context)
    , layout(layout)
    , publicKeys(publicKeys)
    , signOn(signOn)
{
    connect(signOn, &ProxySignOn::answered, this, &SignatureCheck::onSignOnAnswered);
}

SignatureCheck::~SignatureCheck() = default;

void SignatureCheck::start(const ReleasePlan &plan, const QString &releaseUrl)
{
    if (const PendingFile *file = unverifiableFile(plan))
        return refuse(QStringLiteral("%1%2 has no size and sha256 in the manifest").arg(file->dir, file->name));
    manifest = plan.downloadedManifest;
    url = releaseUrl + ServerLayout::signatureName();
    fetch();
}

void SignatureCheck::fetch()
{
    StagingWay way = rawWay(url, layout.signature(), ServerLayout::signatureName(), {});
    way.limit = signatureLimit;
    staging.reset(new FileStaging(context, way.path, {}, -1, {way}));
    connect(staging.get(), &FileStaging::finished, this, &SignatureCheck::onFetched, Qt::QueuedConnection);
    staging->start();
}

void SignatureCheck::onFetched()
{
    if (!staging->succeeded()) {
        const int status = staging->statusCode();
        const UpdateError notFetched(UpdateError::Kind::NotInstalled, staging->cause(), staging->errorString(),
                                     staging->errorDetails());
        if (!staging->credentialsAskedBy().isEmpty() && signOn->state() == ProxySignOn::State::NotAsked) {
            waitingForAnswer = true;
            return signOn->ask(staging->credentialsAskedBy(), notFetched);
        }
        // A server that answers without the signature cannot vouch for the
        // release; one that cannot be reached is a failed download. A
        // proxy's 407 is no answer of the server's.
        if (status >= 400 && status <= 499 && status != 407)
            return refuse(QStringLiteral("the signature cannot be fetched: %1").arg(notFetched.technical));
        return finish(notFetched);
    }
    QFile signatureFile(layout.signature());
    QString reason;
    if (!signatureFile.open(QIODevice::ReadOnly)
        || !Minisign::verify(publicKeys, manifest, signatureFile.read(signatureLimit), &reason))
        return refuse(reason.isEmpty() ? signatureFile.errorString() : reason);
    finish();
}

void SignatureCheck::onSignOnAnswered()
{
    if (!waitingForAnswer)
        return;
    waitingForAnswer = false;
    if (signOn->state() == ProxySignOn::State::Declined)
        return finish(signOn->refusal());
    fetch();
}

void SignatureCheck::refuse(const QString &reason)
{
    finish(UpdateError(UpdateError::Kind::NotVerified, FailureCause(FailureCause::Kind::NotVerified), reason));
}

void SignatureCheck::finish(const UpdateError &error)
{
    failure = error;
    QMetaObject::invokeMethod(this, &SignatureCheck::finished, Qt::QueuedConnection);
}
