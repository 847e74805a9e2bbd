#ifndef DURABLEFILES_H
#define DURABLEFILES_H

#include <QString>
#include <QStringList>

class QFileDevice;

/// Makes \a files, all on the file system of \a directory, durable on disk:
/// on Linux with one flush of that whole file system, elsewhere file by file.
bool flushToDisk(const QString &directory, const QStringList &files);

/// Where the system makes files durable one by one (Windows), makes the
/// open \a file durable now, as it is staged, on the worker that wrote it;
/// elsewhere does nothing: flushStagedFiles() flushes the whole file system
/// at once.
bool flushAsStaged(QFileDevice &file);
/// The same for the closed file at \a path, staged by an earlier run.
bool flushAsStaged(const QString &path);

/// Before a commit's journal may name them: the files staged in
/// \a directory, durable on disk. On Linux one flush of its whole file
/// system; elsewhere each was flushed as it was staged (flushAsStaged()).
bool flushStagedFiles(const QString &directory);

/// Makes the entries of \a directory (files created, renamed or removed in
/// it) durable. Windows keeps them in order by itself.
void flushDirectory(const QString &directory);

#endif // DURABLEFILES_H
