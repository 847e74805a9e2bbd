#include "minisign.h"

#include <QList>
#include <QStringList>

#include <sodium.h>

#include <algorithm>

namespace Minisign {

namespace {

// Lengths of the decoded lines: algorithm (2 bytes) + key id (8) + key or signature.
constexpr int algorithmBytes = 2;
constexpr int keyIdBytes = 8;
constexpr int publicKeyBytes = algorithmBytes + keyIdBytes + crypto_sign_PUBLICKEYBYTES;
constexpr int signatureBytes = algorithmBytes + keyIdBytes + crypto_sign_BYTES;

const QByteArray untrustedPrefix = "untrusted comment: ";
const QByteArray trustedPrefix = "trusted comment: ";

// libsodium's decoder (1.0.18) reads any byte above 0x7F as '/', so the
// alphabet is checked first.
bool isBase64Alphabet(const QByteArray &text)
{
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/'
               || c == '=';
    });
}

// Exactly \a size bytes decoded from the base64 \a text; empty when the text
// is not padded base64 of that length.
QByteArray fromBase64(const QByteArray &text, int size)
{
    if (!isBase64Alphabet(text))
        return QByteArray();
    QByteArray bytes(size, Qt::Uninitialized);
    size_t length = 0;
    const char *end = nullptr;
    const bool decoded = sodium_base642bin(reinterpret_cast<unsigned char *>(bytes.data()), bytes.size(),
                                           text.constData(), size_t(text.size()), nullptr, &length, &end,
                                           sodium_base64_VARIANT_ORIGINAL) == 0;
    if (!decoded || end != text.constData() + text.size() || length != size_t(size))
        return QByteArray();
    return bytes;
}

const unsigned char *bytesOf(const QByteArray &array)
{
    return reinterpret_cast<const unsigned char *>(array.constData());
}

bool signs(const QByteArray &signature, const QByteArray &message, const QByteArray &key)
{
    return crypto_sign_verify_detached(bytesOf(signature), bytesOf(message), size_t(message.size()),
                                       bytesOf(key)) == 0;
}

QByteArray blake2b512(const QByteArray &message)
{
    QByteArray digest(crypto_generichash_BYTES_MAX, Qt::Uninitialized);
    crypto_generichash(reinterpret_cast<unsigned char *>(digest.data()), size_t(digest.size()),
                       bytesOf(message), size_t(message.size()), nullptr, 0);
    return digest;
}

// As minisign prints it: the little-endian number in upper-case hex.
QString keyIdText(QByteArray id)
{
    std::reverse(id.begin(), id.end());
    return QString::fromLatin1(id.toHex().toUpper());
}

QList<QByteArray> linesOf(const QByteArray &text)
{
    QList<QByteArray> lines = text.split('\n');
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

// The decoded keys of the ';'-separated key lines; empty when any of them is
// not a minisign Ed25519 key, so that a mistyped list is noticed, not shortened.
QList<QByteArray> decodedKeys(const QByteArray &publicKeys)
{
    QList<QByteArray> keys;
    for (const QByteArray &line : publicKeys.split(';')) {
        const QByteArray key = fromBase64(line.trimmed(), publicKeyBytes);
        if (key.isEmpty() || !key.startsWith("Ed"))
            return {};
        keys << key;
    }
    return keys;
}

QByteArray keyIdOf(const QByteArray &key)
{
    return key.mid(algorithmBytes, keyIdBytes);
}

} // namespace

bool verify(const QByteArray &publicKeys, const QByteArray &message,
            const QByteArray &signatureFile, QString *reason)
{
    const auto refuse = [reason](const char *why) {
        *reason = QString::fromLatin1(why);
        return false;
    };
    if (sodium_init() < 0)
        return refuse("libsodium could not be initialised");

    const QList<QByteArray> keys = decodedKeys(publicKeys);
    if (keys.isEmpty())
        return refuse("the public key is not the key line of a minisign Ed25519 key");

    const QList<QByteArray> lines = linesOf(signatureFile);
    if (lines.size() < 4)
        return refuse("the signature file has fewer than four lines");
    if (!lines.at(0).startsWith(untrustedPrefix))
        return refuse("the signature file does not start with an untrusted comment");
    const QByteArray signature = fromBase64(lines.at(1), signatureBytes);
    if (signature.isEmpty())
        return refuse("the signature line is not base64 of a minisign signature");
    const QByteArray algorithm = signature.left(algorithmBytes);
    if (algorithm != "ED" && algorithm != "Ed")
        return refuse("the signature uses an unknown algorithm");
    const QByteArray signedBy = signature.mid(algorithmBytes, keyIdBytes);
    const auto key = std::find_if(keys.cbegin(), keys.cend(),
                                  [&signedBy](const QByteArray &k) { return keyIdOf(k) == signedBy; });
    if (key == keys.cend()) {
        QStringList trusted;
        for (const QByteArray &k : keys)
            trusted << keyIdText(keyIdOf(k));
        *reason = QStringLiteral("signed with key %1, not with the publisher's key%2 %3")
                      .arg(keyIdText(signedBy), QLatin1String(keys.size() > 1 ? "s" : ""),
                           trusted.join(QLatin1String(", ")));
        return false;
    }

    const QByteArray edKey = key->mid(algorithmBytes + keyIdBytes);
    const QByteArray edSignature = signature.mid(algorithmBytes + keyIdBytes);
    // "ED" signs the BLAKE2b-512 digest, so that large files need not be held whole.
    const QByteArray signedMessage = algorithm == "ED" ? blake2b512(message) : message;
    if (!signs(edSignature, signedMessage, edKey))
        return refuse("the signature does not match the signed file");

    if (!lines.at(2).startsWith(trustedPrefix))
        return refuse("the signature file has no trusted comment");
    const QByteArray trustedComment = lines.at(2).mid(trustedPrefix.size());
    const QByteArray globalSignature = fromBase64(lines.at(3), crypto_sign_BYTES);
    if (globalSignature.isEmpty())
        return refuse("the trusted comment's signature is not base64 of a signature");
    if (!signs(globalSignature, edSignature + trustedComment, edKey))
        return refuse("the trusted comment does not match its signature");
    return true;
}

} // namespace Minisign
