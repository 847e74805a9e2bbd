#include "applyresult.h"

#include <QDataStream>

namespace {

const QByteArray header = "brenvoth-applied 1\n";

} // namespace

namespace ApplyResult {

QByteArray toBytes(const UpdateError &error, const QByteArray &nonce)
{
    QByteArray bytes = header;
    QDataStream out(&bytes, QIODevice::Append);
    out.setVersion(QDataStream::Qt_5_15);
    out << nonce << int(error.kind) << error.cause << error.technical << error.detail;
    return bytes;
}

bool parse(const QByteArray &bytes, UpdateError *error, QByteArray *nonce)
{
    if (!bytes.startsWith(header))
        return false;
    QDataStream in(bytes.mid(header.size()));
    in.setVersion(QDataStream::Qt_5_15);
    int kind = -1;
    UpdateError read;
    QByteArray repeated;
    in >> repeated >> kind >> read.cause >> read.technical >> read.detail;
    if (in.status() != QDataStream::Ok || !in.atEnd() || kind < int(UpdateError::Kind::None)
        || kind > int(UpdateError::Kind::Unfinished))
        return false;
    read.kind = UpdateError::Kind(kind);
    *error = read;
    *nonce = repeated;
    return true;
}

} // namespace ApplyResult
