#include "sha256.h"

#include <QFile>

#include <openssl/evp.h>

Sha256::Sha256()
    : context(EVP_MD_CTX_new())
{
    EVP_DigestInit_ex(context, EVP_sha256(), nullptr);
}

Sha256::~Sha256()
{
    EVP_MD_CTX_free(context);
}

void Sha256::addData(const char *data, qint64 length)
{
    EVP_DigestUpdate(context, data, size_t(length));
}

QByteArray Sha256::result()
{
    if (digest.isEmpty()) {
        digest.resize(EVP_MAX_MD_SIZE);
        unsigned int length = 0;
        EVP_DigestFinal_ex(context, reinterpret_cast<unsigned char *>(digest.data()), &length);
        digest.resize(int(length));
    }
    return digest;
}

QByteArray sha256OfFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    Sha256 digest;
    QByteArray block(1024 * 1024, Qt::Uninitialized);
    qint64 read = 0;
    while ((read = file.read(block.data(), block.size())) > 0)
        digest.addData(block.constData(), read);
    return read < 0 ? QByteArray() : digest.result();
}
