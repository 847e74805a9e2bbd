#ifndef FILEWRITER_H
#define FILEWRITER_H

#include <QByteArray>
#include <QMetaType>
#include <QObject>

#include <memory>

QT_BEGIN_NAMESPACE
class QFile;
QT_END_NAMESPACE

/// Writes one download's file on Qt's thread pool, one step after another
/// in the order given, so that the thread that reads the network never
/// waits for the disk: it keeps the part of the file to continue, writes the
/// bytes that arrive, hashes them, and at the end checks the whole file and
/// closes it. Its signals come on the thread that made it.
///
/// At most `limit` bytes wait for it at once (more only when a single
/// append brings them): append() refuses what would pass that, and
/// resumable() follows once the writes have caught up.
class FileWriter : public QObject
{
    Q_OBJECT

public:
    /// What the whole file must be: `size` bytes (-1: any) whose SHA-256 is
    /// `sha256` (empty: any).
    struct Expected
    {
        qint64 size = -1;
        QByteArray sha256;
    };
    enum class Outcome { Complete, CannotWrite, WrongLength, WrongDigest };

    /// Takes over \a file, open for writing.
    FileWriter(std::unique_ptr<QFile> file, const Expected &expected, qint64 limit);
    /// Waits for the step under way, drops the rest and closes the file;
    /// emits nothing more.
    ~FileWriter() override;

    /// Before any append: the file's first \a bytes stay and count in its
    /// digest; the rest is cut off.
    void keepFirst(qint64 bytes);
    /// Appends \a size bytes at \a data, or refuses them when more than the
    /// limit would then wait: false, and resumable() follows. They are
    /// written once a quarter of the limit waits, or after submit().
    bool append(const char *data, qint64 size);
    /// Has what was appended written.
    void submit();
    /// After the last append: when \a check, compares the file with what is
    /// expected and empties it if it differs, and on Windows flushes it to
    /// the disk; closes it. finished() follows, at once when nothing is left
    /// to do but close.
    void finish(bool check);

signals:
    /// A step failed to write; nothing more is written.
    void failed();
    /// What was refused may be appended now.
    void resumable();
    /// The file is closed; \a length is its size as written.
    void finished(FileWriter::Outcome outcome, qint64 length);

private:
    struct Work;
    std::shared_ptr<Work> work;
};

Q_DECLARE_METATYPE(FileWriter::Outcome)

#endif // FILEWRITER_H
