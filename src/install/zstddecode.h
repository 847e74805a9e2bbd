#ifndef ZSTDDECODE_H
#define ZSTDDECODE_H

#include <QByteArray>
#include <QString>

#include <functional>

/// One file to decode from zstd: the compressed bytes staged at
/// `compressedPath` become `outputPath`, which must come out exactly `size`
/// bytes long with the SHA-256 `sha256`. A patch names the old file it was
/// made from as `referencePath`.
struct ZstdDecoding
{
    QString compressedPath;
    QString referencePath;   // empty: a plain .zst
    QString outputPath;
    qint64 size = 0;
    QByteArray sha256;       // the 32 raw bytes
};

/// Decodes \a decoding. Memory stays small whatever the sizes: the output and
/// the old file are mapped, the compressed bytes streamed, and nothing is
/// written past the size, so a small file that would expand to gigabytes is
/// stopped at once. \a keepResponsive is called between slices of work. On
/// failure the output is removed and \a error says why.
bool decodeZstd(const ZstdDecoding &decoding, const std::function<void()> &keepResponsive, QString *error);

#endif // ZSTDDECODE_H
