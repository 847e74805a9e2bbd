// Signs the new manifest with the minisign command.

#ifndef MINISIGNSIGNER_H
#define MINISIGNSIGNER_H

#include <QByteArray>
#include <QString>

/// Signs \a message with the installed minisign command and the secret key at
/// \a secretKeyPath, writing the signature file to \a signaturePath. The
/// trusted comment names \a fileName and \a version. A key protected by a
/// password makes minisign ask for it on this process's terminal (or read it
/// from standard input). On failure \a error says why.
bool signWithMinisign(const QByteArray &message, const QString &secretKeyPath, const QString &signaturePath,
                      const QString &fileName, const QString &version, QString *error);

#endif // MINISIGNSIGNER_H
