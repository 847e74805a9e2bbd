#include "minisignsigner.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>

namespace {

enum class KeyProtection { Unreadable, None, Password };

// The key line starts with the algorithm ("Ed") and the key derivation
// ("Sc" for scrypt, two zero bytes for none).
KeyProtection protectionOf(const QString &secretKeyPath)
{
    QFile key(secretKeyPath);
    if (!key.open(QIODevice::ReadOnly))
        return KeyProtection::Unreadable;
    key.readLine();
    const QByteArray prefix = QByteArray::fromBase64(key.readLine().trimmed()).left(4);
    if (prefix == QByteArray("Ed\0\0", 4))
        return KeyProtection::None;
    return prefix == "EdSc" ? KeyProtection::Password : KeyProtection::Unreadable;
}

} // namespace

bool signWithMinisign(const QByteArray &message, const QString &secretKeyPath, const QString &signaturePath,
                      const QString &fileName, const QString &version, QString *error)
{
    const KeyProtection protection = protectionOf(secretKeyPath);
    if (protection == KeyProtection::Unreadable) {
        *error = QStringLiteral("%1 is not a readable minisign secret key").arg(secretKeyPath);
        return false;
    }
    QTemporaryFile signedFile;
    if (!signedFile.open() || signedFile.write(message) != message.size() || !signedFile.flush()) {
        *error = QStringLiteral("cannot write a temporary copy of %1 to sign: %2").arg(fileName, signedFile.errorString());
        return false;
    }
    // Verified by anyone with "minisign -V", so it says what was signed.
    const QString trustedComment = QStringLiteral("timestamp:%1\tfile:%2\trelease:%3")
                                       .arg(QDateTime::currentSecsSinceEpoch()).arg(fileName, version);
    QProcess minisign;
    minisign.setInputChannelMode(QProcess::ForwardedInputChannel); // the password, if any
    minisign.setProcessChannelMode(QProcess::ForwardedErrorChannel); // its prompt and errors
    minisign.start(QStringLiteral("minisign"),
                   {QStringLiteral("-S"), QStringLiteral("-s"), secretKeyPath, QStringLiteral("-m"),
                    signedFile.fileName(), QStringLiteral("-x"), signaturePath, QStringLiteral("-t"),
                    trustedComment});
    if (!minisign.waitForStarted()) {
        *error = QStringLiteral("cannot run minisign: %1").arg(minisign.errorString());
        return false;
    }
    minisign.waitForFinished(-1);
    if (minisign.exitStatus() == QProcess::NormalExit && minisign.exitCode() == 0)
        return true;
    *error = protection == KeyProtection::Password
        ? QStringLiteral("minisign could not sign with %1: the key is protected by a password and none, "
                         "or a wrong one, was given; type it on a terminal or give it on standard input "
                         "(a key made with \"minisign -G -W\" needs none)").arg(secretKeyPath)
        : QStringLiteral("minisign could not sign with %1").arg(secretKeyPath);
    QFile::remove(signaturePath);
    return false;
}
