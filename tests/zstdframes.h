#ifndef ZSTDFRAMES_H
#define ZSTDFRAMES_H

#include <QByteArray>

#include <zstd.h>

// zstd frames made and read in memory for the tests: a plain one, and a
// patch that takes an old copy as its reference, as "zstd --patch-from"
// makes them.

/// \a data compressed; without \a declareSize the frame does not say how long
/// its content is, so that only decoding can tell.
inline QByteArray zstdFrame(const QByteArray &data, const QByteArray &reference = QByteArray(),
                            bool declareSize = true)
{
    ZSTD_CCtx *context = ZSTD_createCCtx();
    ZSTD_CCtx_setParameter(context, ZSTD_c_compressionLevel, 19);
    ZSTD_CCtx_setParameter(context, ZSTD_c_contentSizeFlag, declareSize ? 1 : 0);
    if (!reference.isEmpty())
        ZSTD_CCtx_refPrefix(context, reference.constData(), size_t(reference.size()));
    QByteArray frame(int(ZSTD_compressBound(size_t(data.size()))), Qt::Uninitialized);
    const size_t written = ZSTD_compress2(context, frame.data(), size_t(frame.size()), data.constData(),
                                          size_t(data.size()));
    ZSTD_freeCCtx(context);
    return ZSTD_isError(written) ? QByteArray() : frame.left(int(written));
}

// The content a zstd frame announces, decoded with \a prefix as a patch's
// reference; "<undecodable>" when it does not decode to that size.
inline QByteArray zstdDecoded(const QByteArray &frame, const QByteArray &prefix = QByteArray())
{
    const unsigned long long size = ZSTD_getFrameContentSize(frame.constData(), size_t(frame.size()));
    if (size == ZSTD_CONTENTSIZE_UNKNOWN || size == ZSTD_CONTENTSIZE_ERROR)
        return "<undecodable>";
    QByteArray content(int(size), Qt::Uninitialized);
    ZSTD_DCtx *context = ZSTD_createDCtx();
    ZSTD_DCtx_refPrefix(context, prefix.constData(), size_t(prefix.size()));
    ZSTD_inBuffer in{frame.constData(), size_t(frame.size()), 0};
    ZSTD_outBuffer out{content.data(), size_t(content.size()), 0};
    const size_t left = ZSTD_decompressStream(context, &out, &in);
    ZSTD_freeDCtx(context);
    return left == 0 && out.pos == size ? content : QByteArray("<undecodable>");
}

/// A patch that turns \a reference into \a data.
inline QByteArray zstdPatch(const QByteArray &reference, const QByteArray &data)
{
    return zstdFrame(data, reference);
}

#endif // ZSTDFRAMES_H
