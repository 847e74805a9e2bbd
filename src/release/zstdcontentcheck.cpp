#include "zstdcontentcheck.h"
#include "mappedfile.h"
#include "sha256.h"

#include <QFile>

#include <zstd.h>

#include <memory>

namespace {

struct DContextDeleter
{
    void operator()(ZSTD_DCtx *context) const { ZSTD_freeDCtx(context); }
};

bool fail(QString *problem, const QString &why)
{
    *problem = why;
    return false;
}

QString zstdProblem(size_t result)
{
    return QStringLiteral("it cannot be decoded (%1)").arg(QString::fromLatin1(ZSTD_getErrorName(result)));
}

} // namespace

bool zstdDecodesTo(const QString &compressedPath, const QString &referencePath, qint64 size,
                   const QByteArray &sha256, QString *problem)
{
    QFile compressed(compressedPath);
    if (!compressed.open(QIODevice::ReadOnly))
        return fail(problem, QStringLiteral("cannot read %1: %2").arg(compressedPath, compressed.errorString()));
    MappedFile reference;
    if (!referencePath.isEmpty() && !reference.open(referencePath, problem))
        return false;
    std::unique_ptr<ZSTD_DCtx, DContextDeleter> context(ZSTD_createDCtx());
    if (!context)
        return fail(problem, QStringLiteral("zstd could not allocate its decoding state"));
    // The publisher sizes the window to the whole input, beyond libzstd's default limit.
    const int windowLogMax = ZSTD_dParam_getBounds(ZSTD_d_windowLogMax).upperBound;
    for (const size_t result : {ZSTD_DCtx_setParameter(context.get(), ZSTD_d_windowLogMax, windowLogMax),
                                ZSTD_DCtx_refPrefix(context.get(), reference.data(), size_t(reference.size()))}) {
        if (ZSTD_isError(result))
            return fail(problem, zstdProblem(result));
    }

    QByteArray input(int(ZSTD_DStreamInSize()), Qt::Uninitialized);
    QByteArray output(int(ZSTD_DStreamOutSize()), Qt::Uninitialized);
    Sha256 digest;
    qint64 decoded = 0;
    size_t lastResult = 1;
    // A full output buffer may leave more in the decoder, also once the input has ended;
    // a finished frame has left nothing.
    const auto decode = [&](ZSTD_inBuffer *in) {
        ZSTD_outBuffer out{output.data(), size_t(output.size()), 0};
        do {
            out.pos = 0;
            lastResult = ZSTD_decompressStream(context.get(), &out, in);
            if (ZSTD_isError(lastResult))
                return fail(problem, zstdProblem(lastResult));
            decoded += qint64(out.pos);
            if (decoded > size)
                return fail(problem, QStringLiteral("it decodes to more than the %1 bytes the manifest says").arg(size));
            digest.addData(output.constData(), qint64(out.pos));
        } while (in->pos < in->size || (out.pos == out.size && lastResult != 0));
        return true;
    };
    for (qint64 read = 1; read != 0;) {
        read = compressed.read(input.data(), input.size());
        if (read < 0)
            return fail(problem, QStringLiteral("cannot read %1: %2").arg(compressedPath, compressed.errorString()));
        ZSTD_inBuffer in{input.constData(), size_t(read), 0};
        if ((read > 0 || lastResult != 0) && !decode(&in))
            return false;
    }
    if (lastResult != 0)
        return fail(problem, QStringLiteral("its compressed data ends too early"));
    if (decoded != size)
        return fail(problem, QStringLiteral("it decodes to %1 bytes, the manifest says %2").arg(decoded).arg(size));
    if (digest.result() != sha256)
        return fail(problem, QStringLiteral("it decodes to a file that does not match the SHA-256 digest the manifest gives"));
    return true;
}
