// A file's bytes, mapped read-only for the compressor.

#ifndef MAPPEDFILE_H
#define MAPPEDFILE_H

#include <QFile>
#include <QString>

/// A file's bytes, mapped read-only: the compressor reads a large file
/// without a copy of it in the process's own memory.
class MappedFile
{
public:
    /// False, with \a error saying why, when the file cannot be read.
    bool open(const QString &path, QString *error);

    const uchar *data() const { return bytes; }
    qint64 size() const { return length; }
    QString path() const { return file.fileName(); }

private:
    QFile file;
    const uchar *bytes = nullptr; // null for an empty file, which cannot be mapped
    qint64 length = 0;
};

#endif // MAPPEDFILE_H
