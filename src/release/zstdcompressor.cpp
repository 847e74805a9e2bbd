#include "zstdcompressor.h"
#include "mappedfile.h"

#include <QByteArray>
#include <QFile>
#include <QScopeGuard>

#include <algorithm>

// For ZSTD_c_stableInBuffer, which saves a copy of the input.
#define ZSTD_STATIC_LINKING_ONLY
#include <zstd.h>

namespace {

// Below this the level's own match finders already reach across the input.
constexpr qint64 longDistanceFrom = 8 * 1024 * 1024;

bool fail(QString *error, const QString &why)
{
    *error = why;
    return false;
}

QString zstdError(size_t code)
{
    return QString::fromUtf8(ZSTD_getErrorName(code));
}

int windowLogFor(qint64 bytes)
{
    const ZSTD_bounds bounds = ZSTD_cParam_getBounds(ZSTD_c_windowLog);
    int log = bounds.lowerBound;
    while (log < bounds.upperBound && (qint64(1) << log) < bytes)
        ++log;
    return log;
}

} // namespace

ZstdCompressor::ZstdCompressor(int level) : context(ZSTD_createCCtx()), level(level) {}

ZstdCompressor::~ZstdCompressor()
{
    ZSTD_freeCCtx(context);
}

int ZstdCompressor::maxLevel()
{
    return ZSTD_maxCLevel();
}

bool ZstdCompressor::startFrame(const MappedFile &input, const MappedFile *reference, int workers,
                                QString *error)
{
    if (!context)
        return fail(error, QStringLiteral("zstd could not allocate its compression state"));
    const qint64 span = input.size() + (reference ? reference->size() : 0);
    ZSTD_CCtx_reset(context, ZSTD_reset_session_and_parameters);
    const size_t results[] = {
        ZSTD_CCtx_setParameter(context, ZSTD_c_compressionLevel, level),
        ZSTD_CCtx_setParameter(context, ZSTD_c_checksumFlag, 1),
        ZSTD_CCtx_setParameter(context, ZSTD_c_windowLog, windowLogFor(span)),
        ZSTD_CCtx_setParameter(context, ZSTD_c_enableLongDistanceMatching, span > longDistanceFrom ? 1 : 0),
        ZSTD_CCtx_setParameter(context, ZSTD_c_nbWorkers, reference ? 0 : std::max(1, workers)),
        // Written into the frame, so that a decoder knows the size before it starts.
        ZSTD_CCtx_setPledgedSrcSize(context, quint64(input.size())),
        ZSTD_CCtx_refPrefix(context, reference ? reference->data() : nullptr,
                            reference ? size_t(reference->size()) : 0),
    };
    for (const size_t result : results) {
        if (ZSTD_isError(result))
            return fail(error, QStringLiteral("zstd refused its settings for %1: %2")
                                   .arg(input.path(), zstdError(result)));
    }
    // The input is mapped and stays put until the frame ends, so zstd may read
    // it in place rather than copy it into a window of its own. The number of
    // this parameter is fixed only within one libzstd version; without it the
    // output is the same.
    if (ZSTD_versionNumber() == ZSTD_VERSION_NUMBER)
        ZSTD_CCtx_setParameter(context, ZSTD_c_stableInBuffer, 1);
    return true;
}

bool ZstdCompressor::write(const MappedFile &input, const MappedFile *reference, const QString &destination,
                           qint64 maxSize, int workers, qint64 *size, QString *error)
{
    *size = -1;
    QFile output(destination);
    if (!output.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return fail(error, QStringLiteral("cannot create %1: %2").arg(destination, output.errorString()));
    auto removeOutput = qScopeGuard([&output] { output.remove(); });
    if (!startFrame(input, reference, workers, error))
        return false;

    ZSTD_inBuffer in{input.data(), size_t(input.size()), 0};
    QByteArray chunk(int(ZSTD_CStreamOutSize()), Qt::Uninitialized);
    qint64 written = 0;
    for (size_t left = 1; left != 0;) {
        ZSTD_outBuffer out{chunk.data(), size_t(chunk.size()), 0};
        left = ZSTD_compressStream2(context, &out, &in, ZSTD_e_end);
        if (ZSTD_isError(left))
            return fail(error, QStringLiteral("zstd could not compress %1: %2").arg(input.path(), zstdError(left)));
        written += qint64(out.pos);
        if (written > maxSize)
            return true; // not worth keeping
        if (output.write(chunk.constData(), qint64(out.pos)) != qint64(out.pos))
            break;
    }
    output.close();
    if (output.error() != QFileDevice::NoError)
        return fail(error, QStringLiteral("cannot write %1: %2").arg(destination, output.errorString()));
    removeOutput.dismiss();
    *size = written;
    return true;
}
