// The reader of compressed files and patches with any frame. The input: one
// byte whose lowest bit asks for a patch against a fixed old file and whose
// next bit for a check alone, without an output; two bytes of declared size
// (little-endian), then the frame. Whatever the frame, the reader never
// crashes, never leaves a file of another size than declared, keeps only
// output that matches the digest, and passes no frame that libzstd cannot
// decode to that digest.
#include "fuzzsupport.h"
#include "testfiles.h"
#include "zstdframe.h"

#include <QCryptographicHash>
#include <QTemporaryDir>

#include <zstd.h>

namespace {

QTemporaryDir *scratch = nullptr;
QByteArray referenceBytes;

// The old file a patch starts from, as the seed patches were made from it.
QByteArray makeReference()
{
    QByteArray bytes;
    for (int line = 0; line < 400; ++line)
        bytes += "core.dll 1.0.0 line " + QByteArray::number(line) + '\n';
    return bytes;
}

// What libzstd alone makes of the frame, when that is exactly \a size bytes;
// its digest is the one the manifest gives, so that a good frame gets through.
QByteArray expectedDigest(const QByteArray &frame, const QByteArray &reference, int size)
{
    QByteArray decoded(qMax(size, 1), Qt::Uninitialized);
    ZSTD_DCtx *context = ZSTD_createDCtx();
    if (!reference.isEmpty())
        ZSTD_DCtx_refPrefix(context, reference.constData(), size_t(reference.size()));
    const size_t result = ZSTD_decompressDCtx(context, decoded.data(), size_t(size), frame.constData(),
                                              size_t(frame.size()));
    ZSTD_freeDCtx(context);
    if (ZSTD_isError(result) || result != size_t(size))
        return QByteArray(32, '\0');
    return QCryptographicHash::hash(decoded.left(size), QCryptographicHash::Sha256);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    silenceQt();
    scratch = new QTemporaryDir;
    referenceBytes = makeReference();
    return scratch->isValid() && writeFile(scratch->filePath(QStringLiteral("old")), referenceBytes) ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    const bool patch = data[0] & 1;
    const bool checkOnly = data[0] & 2;
    const int declared = data[1] | data[2] << 8;
    const QByteArray frameBytes = bytesOf(data + 3, size - 3);

    ZstdFrame frame;
    frame.path = scratch->filePath(QStringLiteral("new.zst"));
    frame.reference = patch ? scratch->filePath(QStringLiteral("old")) : QString();
    frame.output = checkOnly ? QString() : scratch->filePath(QStringLiteral("new"));
    frame.size = declared;
    frame.sha256 = expectedDigest(frameBytes, patch ? referenceBytes : QByteArray(), declared);
    FUZZ_CHECK(writeFile(frame.path, frameBytes), "the scratch folder cannot be written");

    QString error;
    if (readZstdFrame(frame, &error)) {
        FUZZ_CHECK(frame.sha256 != QByteArray(32, '\0'), "a frame that libzstd cannot decode to the size passed");
        if (!checkOnly) {
            const QByteArray output = contentOf(frame.output);
            FUZZ_CHECK(output.size() == declared, "a decoded file is not the declared size");
            FUZZ_CHECK(QCryptographicHash::hash(output, QCryptographicHash::Sha256) == frame.sha256,
                       "a decoded file does not match its digest");
        }
    } else {
        FUZZ_CHECK(!error.isEmpty(), "a failed decoding has no reason");
        FUZZ_CHECK(checkOnly || !QFile::exists(frame.output), "a failed decoding left its output behind");
    }
    FUZZ_CHECK(contentOf(scratch->filePath(QStringLiteral("old"))) == referenceBytes, "decoding changed the old file");
    return 0;
}
