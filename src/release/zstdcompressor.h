// Writes the zstd frames published beside a release's files.

#ifndef ZSTDCOMPRESSOR_H
#define ZSTDCOMPRESSOR_H

#include <QString>

class MappedFile;
struct ZSTD_CCtx_s;

/// Writes the zstd frames published beside a release's files: a file alone
/// (its .zst), or a patch that decodes with an older copy of the file as its
/// prefix, as "zstd --patch-from" makes them. Every frame carries its content
/// size and a checksum. Its window covers the whole input, the reference
/// included, so a decoder needs a window as large as that (above 128 MiB it
/// must allow more than libzstd's default); large inputs also get
/// long-distance matching.
///
/// A file alone is always cut into zstd's own jobs, however many workers
/// compress them, so that its bytes do not depend on the number of workers.
/// A patch is made in one piece: zstd lets only its first job see the
/// reference, which would lose most of what a patch saves on a large file.
class ZstdCompressor
{
public:
    explicit ZstdCompressor(int level);
    ~ZstdCompressor();
    ZstdCompressor(const ZstdCompressor &) = delete;
    ZstdCompressor &operator=(const ZstdCompressor &) = delete;

    /// The strongest level; 1 is the fastest.
    static int maxLevel();

    /// Compresses \a input into the new file \a destination, as a patch from
    /// \a reference when one is given, with up to \a workers threads. The
    /// result is kept only when it takes at most \a maxSize bytes: \a size
    /// gets its size, or -1 when it came out larger and was removed. False,
    /// with \a error saying why and nothing left behind, when it could not be
    /// written.
    bool write(const MappedFile &input, const MappedFile *reference, const QString &destination,
               qint64 maxSize, int workers, qint64 *size, QString *error);

private:
    bool startFrame(const MappedFile &input, const MappedFile *reference, int workers, QString *error);

    ZSTD_CCtx_s *context = nullptr;
    int level = 0;
};

#endif // ZSTDCOMPRESSOR_H
