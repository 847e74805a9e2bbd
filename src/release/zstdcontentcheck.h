#ifndef ZSTDCONTENTCHECK_H
#define ZSTDCONTENTCHECK_H

#include <QByteArray>
#include <QString>

/// Whether the zstd frame in \a compressedPath decodes, with the file at
/// \a referencePath as its prefix when one is given (a patch), to exactly
/// \a size bytes with the SHA-256 \a sha256 (32 raw bytes). Otherwise
/// \a problem says what differs. Decoding stops at the first byte past
/// \a size; the output is hashed as it comes and never stored, but the
/// decoder holds a window of up to the file's size.
bool zstdDecodesTo(const QString &compressedPath, const QString &referencePath, qint64 size,
                   const QByteArray &sha256, QString *problem);

#endif // ZSTDCONTENTCHECK_H
