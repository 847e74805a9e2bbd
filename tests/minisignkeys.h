#ifndef MINISIGNKEYS_H
#define MINISIGNKEYS_H

#include <QByteArray>
#include <QString>
#include <QStringList>

// Keys and signatures made by the real minisign command, shared by the tests.

/// A key pair made with "minisign -G", unencrypted ("-W") unless it has a password.
struct MinisignKey
{
    QString secretKeyPath;
    QByteArray publicKey; ///< the base64 key line of the .pub file; empty when minisign failed
};

/// Whether the minisign command is installed.
bool minisignInstalled();

/// A new key pair in \a dir, its files named after \a name.
MinisignKey makeMinisignKey(const QString &dir, const QString &name, const QByteArray &password = QByteArray());

/// The .minisig text of \a message signed by \a key with \a options added
/// (such as "-t" and a trusted comment, or "-l"); empty when minisign failed.
QByteArray minisignSignature(const MinisignKey &key, const QByteArray &message, const QString &dir,
                             const QStringList &options = QStringList());

#endif // MINISIGNKEYS_H
