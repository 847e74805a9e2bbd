#include "minisignkeys.h"
#include "testfiles.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

bool runMinisign(const QStringList &arguments, const QByteArray &input = QByteArray())
{
    QProcess minisign;
    minisign.start(QStringLiteral("minisign"), arguments);
    minisign.write(input);
    minisign.closeWriteChannel();
    // A password-protected key costs scrypt's sensitive limits: 6 s of CPU
    // and 1 GiB, a minute on a busy machine. Its end is the event awaited;
    // Qt Test's watchdog bounds a hang.
    return minisign.waitForFinished(-1) && minisign.exitStatus() == QProcess::NormalExit
        && minisign.exitCode() == 0;
}

} // namespace

bool minisignInstalled()
{
    return !QStandardPaths::findExecutable(QStringLiteral("minisign")).isEmpty();
}

MinisignKey makeMinisignKey(const QString &dir, const QString &name, const QByteArray &password)
{
    const QString base = dir + QLatin1Char('/') + name;
    MinisignKey key{base + QStringLiteral(".key"), QByteArray()};
    QStringList arguments{QStringLiteral("-G"), QStringLiteral("-p"), base + QStringLiteral(".pub"),
                          QStringLiteral("-s"), key.secretKeyPath};
    if (password.isEmpty())
        arguments << QStringLiteral("-W");
    // Without a terminal minisign reads the password and its repetition from standard input.
    if (runMinisign(arguments, password.isEmpty() ? QByteArray() : password + '\n' + password + '\n')) {
        // The first line is the untrusted comment, the second the key.
        key.publicKey = contentOf(base + QStringLiteral(".pub")).split('\n').value(1).trimmed();
    }
    return key;
}

QByteArray minisignSignature(const MinisignKey &key, const QByteArray &message, const QString &dir,
                             const QStringList &options)
{
    const QString messagePath = dir + QStringLiteral("/message");
    const QString signaturePath = messagePath + QStringLiteral(".minisig");
    QFile::remove(signaturePath);
    if (!writeFile(messagePath, message)
        || !runMinisign(QStringList{QStringLiteral("-S"), QStringLiteral("-s"), key.secretKeyPath,
                                    QStringLiteral("-m"), messagePath, QStringLiteral("-x"), signaturePath}
                        + options))
        return QByteArray();
    return contentOf(signaturePath);
}
