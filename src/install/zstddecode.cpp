#include "zstddecode.h"

#include "sha256.h"

#include <QFile>

#define ZSTD_STATIC_LINKING_ONLY   // ZSTD_d_stableOutBuffer
#include <zstd.h>
#include <zstd_errors.h>

#include <memory>

namespace {

// Whole frames of the largest window any publisher may choose: with the
// output buffer ours, a large window costs no memory.
constexpr int windowLogMax = ZSTD_WINDOWLOG_MAX;
constexpr qint64 hashSlice = 8 * 1024 * 1024;

struct DContextDeleter
{
    void operator()(ZSTD_DCtx *context) const { ZSTD_freeDCtx(context); }
};

class Decoder
{
public:
    Decoder(const ZstdDecoding &decoding, const std::function<void()> &keepResponsive)
        : decoding(decoding)
        , keepResponsive(keepResponsive)
        , compressed(decoding.compressedPath)
        , reference(decoding.referencePath)
        , output(decoding.outputPath)
    {
    }

    bool run()
    {
        return openFiles() && checkDeclaredSize() && configure() && decode() && checkDigest();
    }
    QString error;

private:
    bool openFiles()
    {
        if (!compressed.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("cannot read %1: %2").arg(compressed.fileName(), compressed.errorString()));
        if (!decoding.referencePath.isEmpty()) {
            referenceBytes = reference.open(QIODevice::ReadOnly) && reference.size() > 0
                ? reference.map(0, reference.size()) : nullptr;
            if (!referenceBytes)
                return fail(QStringLiteral("cannot map %1: %2").arg(reference.fileName(), reference.errorString()));
        }
        if (!output.open(QIODevice::ReadWrite | QIODevice::Truncate) || !output.resize(decoding.size))
            return fail(QStringLiteral("cannot write %1: %2").arg(output.fileName(), output.errorString()));
        if (decoding.size > 0 && !(outputBytes = output.map(0, decoding.size)))
            return fail(QStringLiteral("cannot map %1: %2").arg(output.fileName(), output.errorString()));
        return true;
    }

    // A frame that says how long it is tells a bomb before any work.
    bool checkDeclaredSize()
    {
        const QByteArray head = compressed.peek(ZSTD_FRAMEHEADERSIZE_MAX);
        const unsigned long long declared = ZSTD_getFrameContentSize(head.constData(), size_t(head.size()));
        if (declared == ZSTD_CONTENTSIZE_ERROR)
            return fail(QStringLiteral("it is not zstd data"));
        if (declared != ZSTD_CONTENTSIZE_UNKNOWN && declared != quint64(decoding.size))
            return fail(QStringLiteral("it would decode to %1 bytes, the manifest says %2").arg(declared).arg(decoding.size));
        return true;
    }

    bool configure()
    {
        context.reset(ZSTD_createDCtx());
        if (!context)
            return fail(QStringLiteral("out of memory"));
        return check(ZSTD_DCtx_setParameter(context.get(), ZSTD_d_windowLogMax, windowLogMax))
            && check(ZSTD_DCtx_setParameter(context.get(), ZSTD_d_stableOutBuffer, 1))
            && (!referenceBytes
                || check(ZSTD_DCtx_refPrefix(context.get(), referenceBytes, size_t(reference.size()))));
    }

    // Streams the compressed bytes into the mapped output; the digest follows
    // the output slice by slice, while its pages are still in memory.
    bool decode()
    {
        QByteArray block(int(ZSTD_DStreamInSize()), Qt::Uninitialized);
        ZSTD_outBuffer out{outputBytes, size_t(decoding.size), 0};
        size_t lastResult = 1;
        qint64 hashed = 0;
        while (true) {
            const qint64 read = compressed.read(block.data(), block.size());
            if (read < 0)
                return fail(QStringLiteral("cannot read %1: %2").arg(compressed.fileName(), compressed.errorString()));
            if (read == 0)
                break;
            ZSTD_inBuffer in{block.constData(), size_t(read), 0};
            while (in.pos < in.size) {
                const size_t inBefore = in.pos, outBefore = out.pos;
                lastResult = ZSTD_decompressStream(context.get(), &out, &in);
                if (ZSTD_isError(lastResult))
                    return fail(zstdProblem(lastResult));
                if (in.pos == inBefore && out.pos == outBefore)
                    return fail(tooLong());
            }
            if (qint64(out.pos) - hashed >= hashSlice) {
                hashed += hash(hashed, qint64(out.pos) - hashed);
                keepResponsive();
            }
        }
        if (lastResult != 0)
            return fail(QStringLiteral("its compressed data ends too early"));
        if (qint64(out.pos) != decoding.size)
            return fail(QStringLiteral("it decodes to %1 bytes, the manifest says %2").arg(out.pos).arg(decoding.size));
        hash(hashed, decoding.size - hashed);
        return true;
    }

    qint64 hash(qint64 from, qint64 count)
    {
        digest.addData(reinterpret_cast<const char *>(outputBytes) + from, count);
        return count;
    }

    bool checkDigest()
    {
        if (digest.result() == decoding.sha256)
            return true;
        return fail(QStringLiteral("it decodes to a file that does not match the SHA-256 digest the manifest gives"));
    }

    bool check(size_t result)
    {
        return !ZSTD_isError(result) || fail(zstdProblem(result));
    }

    QString zstdProblem(size_t result) const
    {
        if (ZSTD_getErrorCode(result) == ZSTD_error_dstSize_tooSmall)
            return tooLong();
        return QStringLiteral("it cannot be decoded (%1)").arg(QString::fromLatin1(ZSTD_getErrorName(result)));
    }

    QString tooLong() const
    {
        return QStringLiteral("it decodes to more than the %1 bytes the manifest says").arg(decoding.size);
    }

    bool fail(const QString &text)
    {
        error = text;
        return false;
    }

    const ZstdDecoding &decoding;
    const std::function<void()> &keepResponsive;
    QFile compressed;
    QFile reference;
    QFile output;
    uchar *referenceBytes = nullptr;
    uchar *outputBytes = nullptr;
    std::unique_ptr<ZSTD_DCtx, DContextDeleter> context;
    Sha256 digest;
};

} // namespace

bool decodeZstd(const ZstdDecoding &decoding, const std::function<void()> &keepResponsive, QString *error)
{
    bool decoded = false;
    {
        Decoder decoder(decoding, keepResponsive);
        decoded = decoder.run();
        *error = decoder.error;
    }   // unmapped and closed: Windows removes or renames no mapped file
    if (!decoded)
        QFile::remove(decoding.outputPath);
    return decoded;
}
