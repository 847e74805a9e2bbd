#ifndef APPLYRESULT_H
#define APPLYRESULT_H

#include "updateerror.h"

#include <QByteArray>

/// How applying a release on the updater's behalf ended, as the applying
/// side leaves it in its own folder, which only it may write: the updater
/// shows the same words as if it had committed the release itself.
namespace ApplyResult {

/// \a nonce is the request's, repeated.
QByteArray toBytes(const UpdateError &error, const QByteArray &nonce);
/// False for anything but what toBytes() writes.
bool parse(const QByteArray &bytes, UpdateError *error, QByteArray *nonce);

} // namespace ApplyResult

#endif // APPLYRESULT_H
