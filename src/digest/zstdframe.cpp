#include "zstdframe.h"
#include "sha256.h"

#include <QFile>
#include <QTemporaryFile>

#define ZSTD_STATIC_LINKING_ONLY // ZSTD_d_stableOutBuffer
#include <zstd.h>
#include <zstd_errors.h>

#include <memory>

namespace {

// The digest follows the output slice by slice, while its pages are still in memory.
constexpr qint64 hashSlice = 8 * 1024 * 1024;

struct DContextDeleter
{
    void operator()(ZSTD_DCtx *context) const { ZSTD_freeDCtx(context); }
};

// Decodes straight into the mapped output: with the output buffer ours, zstd
// keeps no window of its own, so a large window costs no memory.
class FrameReader
{
public:
    explicit FrameReader(const ZstdFrame &frame)
        : frame(frame)
        , compressed(frame.path)
        , reference(frame.reference)
    {
    }

    bool run()
    {
        return openFrame() && checkDeclaredSize() && mapReference() && mapOutput() && configure() && decode()
               && checkDigest();
    }

    QString error;

private:
    bool openFrame()
    {
        return compressed.open(QIODevice::ReadOnly) || fail(cannot("read", compressed));
    }

    // A frame that says how long it is tells a bomb before any work.
    bool checkDeclaredSize()
    {
        const QByteArray head = compressed.peek(ZSTD_FRAMEHEADERSIZE_MAX);
        const unsigned long long declared = ZSTD_getFrameContentSize(head.constData(), size_t(head.size()));
        if (declared == ZSTD_CONTENTSIZE_ERROR)
            return fail(QStringLiteral("it is not zstd data"));
        if (declared != ZSTD_CONTENTSIZE_UNKNOWN && declared != quint64(frame.size))
            return fail(QStringLiteral("it would decode to %1 bytes, the manifest says %2")
                            .arg(declared).arg(frame.size));
        return true;
    }

    // An empty copy is no prefix at all, and cannot be mapped.
    bool mapReference()
    {
        if (frame.reference.isEmpty())
            return true;
        if (!reference.open(QIODevice::ReadOnly))
            return fail(cannot("read", reference));
        if (reference.size() > 0 && !(referenceBytes = reference.map(0, reference.size())))
            return fail(cannot("map", reference));
        return true;
    }

    bool mapOutput()
    {
        if (frame.output.isEmpty()) {
            auto *scratch = new QTemporaryFile;
            output.reset(scratch);
            if (!scratch->open())
                return fail(cannot("write", *scratch));
        } else {
            output.reset(new QFile(frame.output));
            if (!output->open(QIODevice::ReadWrite | QIODevice::Truncate))
                return fail(cannot("write", *output));
        }
        if (!output->resize(frame.size))
            return fail(cannot("write", *output));
        if (frame.size > 0 && !(outputBytes = output->map(0, frame.size)))
            return fail(cannot("map", *output));
        return true;
    }

    bool configure()
    {
        context.reset(ZSTD_createDCtx());
        if (!context)
            return fail(QStringLiteral("out of memory"));
        const int windowLogMax = ZSTD_dParam_getBounds(ZSTD_d_windowLogMax).upperBound;
        return check(ZSTD_DCtx_setParameter(context.get(), ZSTD_d_windowLogMax, windowLogMax))
               && check(ZSTD_DCtx_setParameter(context.get(), ZSTD_d_stableOutBuffer, 1))
               && (!referenceBytes
                   || check(ZSTD_DCtx_refPrefix(context.get(), referenceBytes, size_t(reference.size()))));
    }

    bool decode()
    {
        QByteArray block(int(ZSTD_DStreamInSize()), Qt::Uninitialized);
        ZSTD_outBuffer out{outputBytes, size_t(frame.size), 0};
        size_t lastResult = 1;
        qint64 hashed = 0;
        while (true) {
            const qint64 read = compressed.read(block.data(), block.size());
            if (read < 0)
                return fail(cannot("read", compressed));
            if (read == 0)
                break;
            ZSTD_inBuffer in{block.constData(), size_t(read), 0};
            while (in.pos < in.size) {
                if (lastResult == 0)
                    return fail(QStringLiteral("it holds more than one zstd frame"));
                const size_t inBefore = in.pos, outBefore = out.pos;
                lastResult = ZSTD_decompressStream(context.get(), &out, &in);
                if (ZSTD_isError(lastResult))
                    return fail(zstdProblem(lastResult));
                if (in.pos == inBefore && out.pos == outBefore)
                    return fail(tooLong());
            }
            if (qint64(out.pos) - hashed >= hashSlice)
                hashed += hash(hashed, qint64(out.pos) - hashed);
        }
        if (lastResult != 0)
            return fail(QStringLiteral("its compressed data ends too early"));
        if (qint64(out.pos) != frame.size)
            return fail(QStringLiteral("it decodes to %1 bytes, the manifest says %2").arg(out.pos).arg(frame.size));
        hash(hashed, frame.size - hashed);
        return true;
    }

    qint64 hash(qint64 from, qint64 count)
    {
        digest.addData(reinterpret_cast<const char *>(outputBytes) + from, count);
        return count;
    }

    bool checkDigest()
    {
        if (digest.result() == frame.sha256)
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
        return QStringLiteral("it decodes to more than the %1 bytes the manifest says").arg(frame.size);
    }

    static QString cannot(const char *what, const QFile &file)
    {
        return QStringLiteral("cannot %1 %2: %3").arg(QLatin1String(what), file.fileName(), file.errorString());
    }

    bool fail(const QString &text)
    {
        error = text;
        return false;
    }

    const ZstdFrame &frame;
    QFile compressed;
    QFile reference;
    std::unique_ptr<QFile> output;
    uchar *referenceBytes = nullptr;
    uchar *outputBytes = nullptr;
    std::unique_ptr<ZSTD_DCtx, DContextDeleter> context;
    Sha256 digest;
};

} // namespace

bool readZstdFrame(const ZstdFrame &frame, QString *error)
{
    bool decoded = false;
    {
        FrameReader reader(frame);
        decoded = reader.run();
        *error = reader.error;
    } // unmapped and closed: Windows removes or renames no mapped file
    if (!decoded && !frame.output.isEmpty())
        QFile::remove(frame.output);
    return decoded;
}
