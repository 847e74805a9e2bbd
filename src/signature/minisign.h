#ifndef MINISIGN_H
#define MINISIGN_H

#include <QByteArray>
#include <QString>

/// Signatures in the format of the minisign tool (Ed25519).
namespace Minisign {

/// Whether \a signatureFile (the text of a .minisig file) is a valid signature of
/// \a message by one of \a publicKeys: one or more base64 key lines of minisign.pub
/// files, separated by ';', so that a publisher can move to a new key. Checks the key id,
/// the signature (pre-hashed "ED" with BLAKE2b-512 and legacy "Ed"), and the global
/// signature over signature + trusted comment. On failure \a reason says why, in one line.
bool verify(const QByteArray &publicKeys, const QByteArray &message,
            const QByteArray &signatureFile, QString *reason);

} // namespace Minisign

#endif // MINISIGN_H
