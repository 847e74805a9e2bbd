#ifndef ZSTDFRAME_H
#define ZSTDFRAME_H

#include <QByteArray>
#include <QString>

/// One zstd frame to read: the file `path` holds a single frame that must
/// decode, with the file `reference` as its prefix when one is named (a
/// patch), to exactly `size` bytes with the SHA-256 `sha256`. The decoded
/// bytes go to `output`, or are only checked when it is empty.
struct ZstdFrame
{
    QString path;
    QString reference; // empty: a plain .zst
    QString output;    // empty: only checked
    qint64 size = 0;
    QByteArray sha256; // the 32 raw bytes
};

/// Decodes \a frame and checks its size and digest. Memory stays small
/// whatever the sizes and the frame's window (up to the largest zstd allows):
/// the reference and the output are mapped, the frame is streamed, and
/// decoding stops at the first byte past the size, so a small frame that
/// would expand to gigabytes is stopped at once. Without an output the bytes
/// are decoded into a scratch file in the temporary folder, which goes at
/// the end. Blocks for as long as decoding takes: call it off the GUI
/// thread. On failure the output is removed and \a error says why.
bool readZstdFrame(const ZstdFrame &frame, QString *error);

#endif // ZSTDFRAME_H
